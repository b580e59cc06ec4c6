// The stored layout of a database file: where each structure lies, what a
// reader accepts, and the files it refuses as corrupt.
#include "test_tomedb_file_util.h"

#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"

using namespace tomedb_test;
using testing_support::TempDir;

namespace {

constexpr char kFormatSchema[] = R"(
table People
  field Id autoinc
  field Name string 20
  field Photo blob
  index ByName Name unique
table Empty
  field X integer
)";

TEST(TomeDBFileLayout, NewFileAndFirstAppend) {
  TempDir dir;
  const String file = dir.File("layout.tdb");
  MakeDatabase(file, kFormatSchema);
  Bytes b = FileBytes(file);
  const int32_t people = kFirstDataPos, empty = kFirstDataPos + kTableHeaderSize;
  ASSERT_EQ(b.size(), size_t(empty + kTableHeaderSize));
  EXPECT_EQ(0, std::memcmp(b.data(), "TomeDB\0" "2.0\0", 11));
  EXPECT_EQ(Int32At(b, kTableDirPos), 2);
  EXPECT_EQ(Int32At(b, kTableDirPos + 8), people);
  EXPECT_EQ(Int32At(b, kTableDirPos + 12), empty);
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[people]), "People");
  EXPECT_EQ(Int32At(b, people + 45), 3);                        // field count
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[people + 49 + 43]), "Name");
  EXPECT_EQ(b[people + 49 + 43 + 33], ftString);
  EXPECT_EQ(Int32At(b, people + 49 + 43 + 34), 20);
  EXPECT_EQ(Int32At(b, people + 4177), 1);                      // index count
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[people + 4181]), "ByName");
  EXPECT_EQ(b[people + 4181 + 33], 2);                          // tiUnique
  EXPECT_EQ(Int32At(b, people + 4181 + 34), 1);                 // key field Name
  EXPECT_EQ(Int32At(b, people + 4181 + 38), -1);

  {
    OpenTable t(file, "people");
    EXPECT_EQ(t.table.RecordSize(), 4 + 21 + 20);
    Row(t.table).SetText("Name", "Ada").SetBlob("Photo", "pixels").Append();
  }
  b = FileBytes(file);
  const int32_t chunk = empty + kTableHeaderSize;  // the first record tab chunk
  const int32_t data = chunk + kRecordTabChunkSize;
  const int32_t area = data + 45;
  const int32_t indexChunk = area + 64;
  ASSERT_EQ(b.size(), size_t(indexChunk + kIndexTabChunkSize));
  EXPECT_EQ(Int32At(b, people + 33), chunk);     // record tab position
  EXPECT_EQ(Int32At(b, people + 37), 1);         // record count
  EXPECT_EQ(Int32At(b, people + 41), 1);         // auto-increment counter
  EXPECT_EQ(Int32At(b, chunk), 0);               // next chunk
  EXPECT_EQ(Int32At(b, chunk + 4), data);        // item 0
  EXPECT_EQ(b[chunk + 8], 0);                    // not deleted
  EXPECT_EQ(Int32At(b, data), 1);                // Id
  EXPECT_STREQ(reinterpret_cast<const char*>(&b[data + 4]), "Ada");
  EXPECT_EQ(Int32At(b, data + 25), area);        // blob descriptor
  EXPECT_EQ(Int32At(b, data + 29), 6);
  EXPECT_EQ(Int32At(b, data + 33), 64);
  EXPECT_EQ(0, std::memcmp(&b[area], "pixels", 6));
  EXPECT_EQ(Int32At(b, people + 4181 + 66), indexChunk);  // index tab position
  EXPECT_EQ(Int32At(b, people + 4181 + 70), 0);           // head
  EXPECT_EQ(Int32At(b, indexChunk + 4), 0);               // entry 0 = (0, -1)
  EXPECT_EQ(Int32At(b, indexChunk + 8), -1);
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

TEST(TomeDBFileLayout, VersionsAndMagic) {
  TempDir dir;
  const String file = dir.File("v.tdb");
  struct Case {
    const char* header;  // the first 12 bytes
    const char* error;   // "" when accepted
  };
  const Case cases[] = {
      {"TomeDB\0" "2.0\0\0", ""},
      {"TomeDB\0" "1.5\0\0", ""},
      {"TomeDB\0" "1.01\0", ""},
      {"TomeDB\0" "\0\0\0\0\0", ""},
      {"TomeDB\0" "1.00\0", "Version 1.00 is not compatible"},
      {"TomeDB\0" "2.00\0", "Version of database file is too High"},
      {"TomeDB\0" "2.1\0\0", "Version of database file is too High"},
      {"TomeDB\0" "20000", "Version of database file is too High"},
      {"TomeDBX" "2.0\0\0", "is a invalid TomeDB"},
      {"tomedb\0" "2.0\0\0", "is a invalid TomeDB"},
  };
  for (const Case& c : cases) {
    MakeDatabase(file, kFormatSchema);
    PatchFile(file, 0, c.header, kFileHeaderSize);
    TTomeDBFileIO io(nullptr);
    String error = DatabaseErrorOf([&] { io.Open(file, mtDisk, 0, false, false); });
    if (*c.error == 0) {
      EXPECT_EQ(error, "") << c.header + 7;
      EXPECT_TRUE(io.IsOpen());
    } else {
      EXPECT_NE(error.find(c.error), String::npos) << c.header + 7 << ": " << error;
      EXPECT_FALSE(io.IsOpen());
    }
  }
  EXPECT_EQ(DatabaseErrorOf([&] {
              PatchFile(file, 0, "TomeDBX", 7);
              TTomeDBFileIO(nullptr).Open(file, mtDisk, 0, false, false);
            }),
            "Database file '" + file + "' is a invalid TomeDB");
}

// Each damage makes the file fail with the corrupt-file error when it is
// opened, the table is loaded or an index order is first read, never with
// a crash or a wild read; the index chain in record order (read without
// its links) and out of it alike.
TEST(TomeDBFileLayout, CorruptFilesAreRefused) {
  TempDir dir;
  const String file = dir.File("c.tdb");
  const int32_t people = kFirstDataPos;
  const int32_t chunk = kFirstDataPos + 2 * kTableHeaderSize;
  struct Damage {
    const char* what;
    bool inIndexTab;  // pos is relative to the first index tab chunk
    int64_t pos;
    int32_t value;
  };
  const Damage damages[] = {
      {"table count", false, kTableDirPos, 257},
      {"table header position", false, kTableDirPos + 8, 100},
      {"field count", false, people + 45, 97},
      {"index count", false, people + 4177, 9},
      {"key field", false, people + 4181 + 34, 7},
      {"field type", false, people + 49 + 43 + 30, 12 << 24},  // the type byte of field 1
      {"string size", false, people + 49 + 43 + 34, -5},
      {"record count", false, people + 37, 0x7FFFFFF0},
      {"record tab into the headers", false, people + 33, 100},
      {"record data position", false, chunk + 4 + 5, 2},
      // In memory the top bit of a position is the deleted flag: this one
      // must not pass as a deleted record at the first data position.
      {"record data position with the top bit set", false, chunk + 4 + 5, int32_t(0x80000000u | kFirstDataPos)},
      {"record tab chunk pointing to itself", false, chunk, chunk},
      {"index head", false, people + 4181 + 70, 5000},
      {"index entry next", true, 4 + 8 + 4, 7000},  // entry 1
      {"index chain cycle", true, 4 + 8 + 4, 1},    // entry 1 follows itself
      {"index head inside the chain", false, people + 4181 + 70, 1},
      {"index chain ending early", true, 4 + 5 * 8 + 4, -1},  // entry 5 ends it
  };
  for (const bool inRecordOrder : {false, true}) {
    for (const Damage& d : damages) {
      MakeDatabase(file, kFormatSchema);
      int32_t indexChunk;
      {
        OpenTable t(file, "People");
        for (int i = 0; i < 1100; ++i)
          Row(t.table).SetText("Name", inRecordOrder ? Format("n%.4d", {i}) : "n" + IntToStr(i)).Append();
        indexChunk = t.table.Header().IndexTabPos(0);
      }
      PatchInt32(file, d.pos + (d.inIndexTab ? indexChunk : 0), d.value);
      String error;
      try {
        error = DatabaseErrorOf([&] {
          OpenTable t(file, "People");
          t.table.IndexList(1);
        });
      } catch (const std::exception& e) {
        ADD_FAILURE() << d.what << ": " << e.what();
      }
      EXPECT_EQ(error.rfind("Corrupt file '" + file + "': ", 0), 0u) << d.what << ", in record order "
                                                                   << inRecordOrder << ": " << error;
    }
  }
}

TEST(TomeDBFileLayout, SchemaErrors) {
  const char* bad[] = {
      "field X integer",                      // no table
      "table T\nfield X text",                // unknown type
      "table T\nfield S string",              // no size
      "table T\nfield X integer\nindex I Y",  // no such field
      "encrypt Blowfish 1",                   // no password
      "encrypt Blowfish 9\npassword p",       // mode
      "table T\nindex",                       // incomplete
  };
  for (const char* text : bad)
    EXPECT_EQ(DatabaseErrorOf([&] { ParseTomeSchema(text); }).rfind("Schema line ", 0), 0u) << text;
}

}  // namespace
