// Table storage: records appended, read, modified and deleted through the
// real file, with index chains and unique keys, auto-increment, blob areas
// and the stored forms of compressed and encrypted values.
#include <functional>
#include <random>
#include <map>
#include <set>

#include "support/TestSupport.h"
#include "tabledb/TomeDBFileCheck.h"
#include "tabledb/TomeDBTable.h"
#include "test_tomedb_file_util.h"

using namespace tomedb_test;
using testing_support::TempDir;

namespace {

constexpr char kPeopleSchema[] = R"(
table People
  field Id autoinc
  field Name string 20
  field Age smallint
  field Score float
  field Note memo
  index ByName Name unique caseinsensitive
  index ByAge Age,Name descending
)";

std::vector<String> Names(TTomeTableIO& table, int listNo) {
  std::vector<String> names;
  Row row(table);
  for (int i = 0; i < int(table.IndexList(listNo).size()); ++i) {
    row.Read(listNo, i);
    names.push_back(row.Text("Name"));
  }
  return names;
}

TEST(TomeDBFileTables, AppendReadAndOrders) {
  TempDir dir;
  const String file = dir.File("p.tdb");
  MakeDatabase(file, kPeopleSchema);
  {
    OpenTable t(file, "People");
    const struct {
      const char* name;
      int16_t age;
    } people[] = {{"mia", 30}, {"Bob", 25}, {"zoe", 30}, {"al", 41}};
    for (auto& p : people) Row(t.table).SetText("Name", p.name).Set<int16_t>("Age", p.age).Append();
    EXPECT_EQ(Names(t.table, 0), (std::vector<String>{"mia", "Bob", "zoe", "al"}));
    EXPECT_EQ(Names(t.table, 1), (std::vector<String>{"al", "Bob", "mia", "zoe"}));  // ignoring case
    EXPECT_EQ(Names(t.table, 2), (std::vector<String>{"al", "zoe", "mia", "Bob"}));  // age, name descending
  }
  // A fresh load follows the chains written to the file.
  OpenTable t(file, "PEOPLE");
  EXPECT_EQ(Names(t.table, 1), (std::vector<String>{"al", "Bob", "mia", "zoe"}));
  EXPECT_EQ(Names(t.table, 2), (std::vector<String>{"al", "zoe", "mia", "Bob"}));
  Row row(t.table);
  row.Read(0, 2);
  EXPECT_EQ(row.Get<int32_t>("Id"), 3);
  EXPECT_EQ(t.table.Header().AutoIncCounter(), 4);
  EXPECT_EQ(DatabaseErrorOf([&] { TTomeTableIO(t.fileIO, "Nobody").Open(); }), "Table 'Nobody' not found");
}

TEST(TomeDBFileTables, AutoIncrementTakesAndRaisesTheCounter) {
  TempDir dir;
  const String file = dir.File("a.tdb");
  MakeDatabase(file, kPeopleSchema);
  OpenTable t(file, "People");
  Row a(t.table);
  a.SetText("Name", "a").Append();
  EXPECT_EQ(a.Get<int32_t>("Id"), 1);  // written back to the record
  Row(t.table).SetText("Name", "b").Set<int32_t>("Id", 10).Append();
  Row c(t.table);
  c.SetText("Name", "c").Append();
  EXPECT_EQ(c.Get<int32_t>("Id"), 11);
  // A modify with 0 keeps the stored number; a larger one raises the counter.
  Row m(t.table);
  m.Read(0, 0);
  m.Set<int32_t>("Id", 0).Set<int16_t>("Age", 5);
  t.table.ModifyRecord(m.Buffers(), 0, nullptr, nullptr, false);
  m.Read(0, 0);
  EXPECT_EQ(m.Get<int32_t>("Id"), 1);
  m.Set<int32_t>("Id", 50);
  t.table.ModifyRecord(m.Buffers(), 0, nullptr, nullptr, false);
  EXPECT_EQ(Int32At(FileBytes(file), kFirstDataPos + kThAutoIncCounter), 50);
}

TEST(TomeDBFileTables, UniqueViolationLeavesTheFileAsItWas) {
  TempDir dir;
  const String file = dir.File("u.tdb");
  MakeDatabase(file, kPeopleSchema);
  OpenTable t(file, "People");
  Row(t.table).SetText("Name", "Ann").Set<int16_t>("Age", 1).Append();
  Row(t.table).SetText("Name", "Ben").Set<int16_t>("Age", 2).Append();
  const Bytes before = FileBytes(file);
  EXPECT_EQ(DatabaseErrorOf([&] { Row(t.table).SetText("Name", "ANN").SetBlob("Note", "x").Append(); }),
            "Invalid unique field value 'ANN'");
  Row ben(t.table);
  ben.Read(0, 1);
  ben.SetText("Name", "ann");
  EXPECT_EQ(DatabaseErrorOf([&] { t.table.ModifyRecord(ben.Buffers(), 1, nullptr, nullptr, false); }),
            "Invalid unique field value 'ann'");
  EXPECT_EQ(FileBytes(file), before);
  EXPECT_EQ(t.table.IndexList(0).size(), 2u);
  // The record may keep its own key.
  ben.SetText("Name", "Ben").Set<int16_t>("Age", 3);
  t.table.ModifyRecord(ben.Buffers(), 1, nullptr, nullptr, false);
}

TEST(TomeDBFileTables, ModifyMovesRecordsInTheirChains) {
  TempDir dir;
  const String file = dir.File("m.tdb");
  MakeDatabase(file, kPeopleSchema);
  OpenTable t(file, "People");
  for (const char* n : {"b", "c", "d"}) Row(t.table).SetText("Name", n).Append();
  std::vector<std::tuple<int, int, int>> moves;
  auto onMove = [&](TObject*, int j, int o, int n) { moves.emplace_back(j, o, n); };

  // ByAge (age, name descending) holds d, c, b.
  Row b(t.table);
  b.Read(0, 0);
  b.Set<int16_t>("Age", 9);  // moves only in ByAge, to the front
  t.table.ModifyRecord(b.Buffers(), 0, onMove, nullptr, false);
  EXPECT_EQ(moves, (std::vector<std::tuple<int, int, int>>{{1, 2, 0}}));
  moves.clear();
  Row d(t.table);
  d.Read(0, 2);
  d.SetText("Name", "a");  // first by name: the new head of ByName; last in ByAge
  t.table.ModifyRecord(d.Buffers(), 2, onMove, nullptr, false);
  EXPECT_EQ(moves, (std::vector<std::tuple<int, int, int>>{{0, 2, 0}, {1, 1, 3}}));
  EXPECT_EQ(Int32At(FileBytes(file), kFirstDataPos + TTomeTableHeader::IndexItemPos(0) + kIiHead), 2);
  moves.clear();
  t.table.ModifyRecord(d.Buffers(), 2, onMove, nullptr, false);  // nothing moves
  EXPECT_TRUE(moves.empty());

  OpenTable again(file, "People");
  EXPECT_EQ(Names(again.table, 1), (std::vector<String>{"a", "b", "c"}));
  EXPECT_EQ(Names(again.table, 2), (std::vector<String>{"b", "c", "a"}));
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

TEST(TomeDBFileTables, DeleteOnlyFlagsTheRecord) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  MakeDatabase(file, kPeopleSchema);
  {
    OpenTable t(file, "People");
    for (const char* n : {"a", "b", "c"}) Row(t.table).SetText("Name", n).Append();
    const Bytes before = FileBytes(file);
    t.table.DeleteRecord(1, false);
    const Bytes after = FileBytes(file);
    ASSERT_EQ(before.size(), after.size());
    std::vector<size_t> changed;
    for (size_t i = 0; i < after.size(); ++i)
      if (before[i] != after[i]) changed.push_back(i);
    const int64_t item = t.table.Header().RecordTabPos() + 4 + 5;
    // The deleted flag of item 1, and the change stamp.
    EXPECT_EQ(changed, (std::vector<size_t>{size_t(kFirstDataPos + kThChangeStamp), size_t(item + 4)}));
    EXPECT_EQ(t.table.Header().RecordCount(), 3);
    Row d(t.table);
    d.SetText("Name", "d").Append();
    EXPECT_EQ(t.table.IndexList(0).back().RecNo, 3);
    t.table.DeleteRecord(0, false);
    t.table.DeleteRecord(0, false);
    t.table.DeleteRecord(0, false);
  }
  OpenTable t(file, "People");
  EXPECT_EQ(t.table.Header().RecordCount(), 4);
  for (int l = 0; l < 3; ++l) EXPECT_TRUE(t.table.IndexList(l).empty());
  Row(t.table).SetText("Name", "b").Append();  // a deleted key is free again
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

TEST(TomeDBFileTables, ThreeThousandAppendsMakeThreeLinkedChunks) {
  TempDir dir;
  const String file = dir.File("t.tdb");
  MakeDatabase(file, "table T\n field K integer\n index ByK K unique\n");
  OpenTable t(file, "T");
  Row row(t.table);
  for (int32_t i = 0; i < 3000; ++i) {
    row.Set<int32_t>("K", (i * 7919) % 3000);
    row.Append();
    if (i == 1023) {
      // Record 1023 still fills the first chunk.
      const Bytes b = FileBytes(file);
      EXPECT_EQ(Int32At(b, t.table.Header().RecordTabPos()), 0);
    }
  }
  const Bytes b = FileBytes(file);
  int32_t pos = t.table.Header().RecordTabPos();
  std::vector<int32_t> chunks, indexChunks;
  for (; pos != 0; pos = Int32At(b, pos)) chunks.push_back(pos);
  for (pos = t.table.Header().IndexTabPos(0); pos != 0; pos = Int32At(b, pos)) indexChunks.push_back(pos);
  ASSERT_EQ(chunks.size(), 3u);
  EXPECT_EQ(indexChunks.size(), 3u);
  // Record 1024 lives right behind the chunk appended for it.
  EXPECT_EQ(Int32At(b, chunks[1] + 4), chunks[1] + kRecordTabChunkSize);
  EXPECT_EQ(Int32At(b, chunks[2] + 4 + 5 * (2999 - 2048)), t.table.RecordTab().DataPos(2999));
  const TPositionList& byK = t.table.IndexList(1);
  for (int32_t i = 0; i < 3000; ++i) {
    row.Read(1, i);
    ASSERT_EQ(row.Get<int32_t>("K"), i);
  }
  EXPECT_EQ(byK.size(), 3000u);
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

// Ascending keys link each new record behind the one before it, whose entry
// is its neighbour in the index tab except across a chunk boundary; a fresh
// load follows the chain that went to the file.
TEST(TomeDBFileTables, AscendingAppendsChainNeighbouringEntries) {
  TempDir dir;
  const String file = dir.File("t.tdb");
  MakeDatabase(file, "table T\n field K integer\n index ByK K unique\n index ByKDown K descending\n");
  constexpr int32_t kRows = 1030;  // crosses the first chunk's end
  {
    OpenTable t(file, "T");
    Row row(t.table);
    for (int32_t i = 0; i < kRows; ++i) {
      row.Set<int32_t>("K", i);
      row.Append();
    }
  }
  OpenTable fresh(file, "T");
  Row row(fresh.table);
  for (int32_t i = 0; i < kRows; ++i) {
    row.Read(1, i);
    ASSERT_EQ(row.Get<int32_t>("K"), i);
    row.Read(2, i);
    ASSERT_EQ(row.Get<int32_t>("K"), kRows - 1 - i);
  }
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

std::vector<int32_t> Keys(TTomeTableIO& table, int listNo) {
  std::vector<int32_t> keys;
  Row row(table);
  for (int i = 0; i < int(table.IndexList(listNo).size()); ++i) {
    row.Read(listNo, i);
    keys.push_back(row.Get<int32_t>("K"));
  }
  return keys;
}

// A chain in record order (keys appended in order) is read without its
// links, its order the natural one; one that leaves record order anywhere
// is read as any other. Either way the order read is the keys' order, and
// a write through a table loaded so (which then needs the links) keeps the
// chain sound.
TEST(TomeDBFileTables, ChainsInAndOutOfRecordOrder) {
  constexpr int32_t kRows = 1030;  // crosses the first chunk's end
  struct Case {
    const char* what;
    std::function<int32_t(int32_t)> key;
    int32_t deleted;  // a record deleted before the table is loaded again, -1 none
  };
  const Case cases[] = {
      {"ascending", [](int32_t i) { return i * 2; }, -1},
      {"equal keys", [](int32_t) { return 7; }, -1},
      {"ascending, one deleted", [](int32_t i) { return i * 2; }, 500},
      {"the last first", [](int32_t i) { return i == kRows - 1 ? -1 : i * 2; }, -1},
      {"the first last", [](int32_t i) { return i == 0 ? 1 << 20 : i * 2; }, -1},
      {"one out in the middle", [](int32_t i) { return i == 600 ? 1 : i * 2; }, -1},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const String file = dir.File("o.tdb");
    MakeDatabase(file, "table T\n field K integer\n index ByK K\n");
    std::vector<int32_t> keys;
    {
      OpenTable t(file, "T");
      for (int32_t i = 0; i < kRows; ++i) {
        Row(t.table).Set<int32_t>("K", c.key(i)).Append();
        keys.push_back(c.key(i));
      }
      if (c.deleted >= 0) {
        t.table.DeleteRecord(c.deleted, false);
        keys.erase(keys.begin() + c.deleted);
      }
    }
    std::vector<int32_t> sorted = keys;
    std::stable_sort(sorted.begin(), sorted.end());
    {
      OpenTable t(file, "T");
      EXPECT_EQ(Keys(t.table, 1), sorted) << c.what;
      EXPECT_EQ(Keys(t.table, 0), keys) << c.what;
      Row(t.table).Set<int32_t>("K", 5).Append();
      sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), 5), 5);
      EXPECT_EQ(Keys(t.table, 1), sorted) << c.what;
    }
    EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{}) << c.what;
    OpenTable fresh(file, "T");
    EXPECT_EQ(Keys(fresh.table, 1), sorted) << c.what;
  }
}

// An index order read after the table was loaded is the file's as it is
// then: records another writer appended since, in record order or not,
// are in it, and the natural order read before is read again with them.
TEST(TomeDBFileTables, AnIndexOrderReadLateSeesAnotherWritersAppends) {
  for (const int32_t lateKey : {100, -1}) {  // in record order, out of it
    TempDir dir;
    const String file = dir.File("late.tdb");
    MakeDatabase(file, "table T\n field K integer\n index ByK K\n");
    OpenTable a(file, "T"), b(file, "T");
    for (int32_t k : {1, 2, 3}) Row(a.table).Set<int32_t>("K", k).Append();
    OpenTable reader(file, "T");
    EXPECT_EQ(Keys(reader.table, 0), (std::vector<int32_t>{1, 2, 3}));
    Row(b.table).Set<int32_t>("K", lateKey).Append();
    std::vector<int32_t> sorted{1, 2, 3, lateKey};
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(Keys(reader.table, 1), sorted) << lateKey;
    EXPECT_EQ(Keys(reader.table, 0), (std::vector<int32_t>{1, 2, 3, lateKey})) << lateKey;
  }
}

// Random appends, modifies and deletes against a model of the table; the
// orders in memory, a fresh load and the file check agree with it.
TEST(TomeDBFileTables, RandomChangesKeepChainsSorted) {
  TempDir dir;
  const String file = dir.File("r.tdb");
  MakeDatabase(file, kPeopleSchema);
  std::mt19937 random(7);
  std::map<int32_t, std::pair<String, int16_t>> model;  // record number -> name, age
  {
    OpenTable t(file, "People");
    for (int step = 0; step < 4000; ++step) {
      const int op = int(random() % 10);
      const auto& natural = t.table.IndexList(0);
      const String name = "n" + IntToStr(random() % 5000);
      const int16_t age = int16_t(random() % 50);
      if (op < 6 || natural.empty()) {
        Row r(t.table);
        r.SetText("Name", name).Set<int16_t>("Age", age);
        if (DatabaseErrorOf([&] { r.Append(); }).empty()) model[t.table.Header().RecordCount() - 1] = {name, age};
      } else if (op < 9) {
        const int pos = int(random() % natural.size());
        const int32_t recNo = natural[size_t(pos)].RecNo;
        Row r(t.table);
        r.Read(0, pos);
        r.SetText("Name", name).Set<int16_t>("Age", age);
        if (DatabaseErrorOf([&] { t.table.ModifyRecord(r.Buffers(), pos, nullptr, nullptr, false); }).empty())
          model[recNo] = {name, age};
      } else {
        const int pos = int(random() % natural.size());
        model.erase(natural[size_t(pos)].RecNo);
        t.table.DeleteRecord(pos, false);
      }
    }
  }
  EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{});
  OpenTable t(file, "People");
  std::vector<String> expected;
  for (auto& [recNo, value] : model) expected.push_back(value.first);
  EXPECT_EQ(Names(t.table, 0), expected);
  std::sort(expected.begin(), expected.end(), [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
  EXPECT_EQ(Names(t.table, 1), expected);
}

// Appends, modifies and deletes place each record where a search of the
// index's own list puts it (the write's search reads the keys it keeps in
// index order): duplicates, keys that share long prefixes, empty keys and
// keys equal but for case, in a case-insensitive and a two-field
// descending index; after a reopen too, whose first write starts from
// keys not read yet.
TEST(TomeDBFileTables, WritesPlaceKeysWhereTheListSearchDoes) {
  TempDir dir;
  const String file = dir.File("k.tdb");
  MakeDatabase(file, R"(
table K
  field Id autoinc
  field Name string 60
  field Code integer
  index ByName Name caseinsensitive
  index ByCode Code,Name descending
)");
  std::mt19937 random(3);
  const auto keyText = [&] {
    switch (random() % 5) {
      case 0:
        return String();
      case 1:
        return "a-long-shared-prefix-longer-than-a-cache-line-of-keys-" + IntToStr(random() % 40);
      case 2:
        return String(random() % 2 ? "MiXeD" : "mixed") + IntToStr(random() % 3);
      default:
        return "k" + IntToStr(random() % 3000);
    }
  };
  const auto fill = [&](Row& r) { r.SetText("Name", keyText()).Set<int32_t>("Code", int32_t(random() % 30)); };
  // Where the list's search puts the row's key in each index.
  const auto listPlaces = [](OpenTable& t, Row& r) {
    std::vector<int> places;
    for (int j = 0; j < 2; ++j) {
      int side;
      const int probe = t.table.SearchKey(r.Buffers(), t.table.IndexList(j + 1), false, 0, side, j);
      places.push_back(side == -2 ? 0 : side == -1 ? probe : probe + 1);
    }
    return places;
  };
  const auto randomWrites = [&](OpenTable& t, int steps) {
    for (int step = 0; step < steps; ++step) {
      Row r(t.table);
      const auto& natural = t.table.IndexList(0);
      if (step % 10 == 9 && !natural.empty()) {
        t.table.DeleteRecord(int(random() % natural.size()), false);
        continue;
      }
      if (step % 10 == 8 && !natural.empty()) {
        const int pos = int(random() % natural.size());
        r.Read(0, pos);
        fill(r);
        t.table.ModifyRecord(r.Buffers(), pos, nullptr, nullptr, false);
        continue;
      }
      fill(r);
      const std::vector<int> expected = listPlaces(t, r);
      std::vector<int> placed;
      t.table.AppendRecord(
          r.Buffers(), false, [&](TObject*, int j, int position, const TRecordPosition&) {
            if (j >= 0) placed.push_back(position);
          },
          nullptr);
      ASSERT_EQ(placed, expected) << "append " << step;
    }
  };
  const auto expectSorted = [](OpenTable& t) {
    Row r(t.table);
    String last;
    for (int i = 0; i < int(t.table.IndexList(1).size()); ++i) {
      r.Read(1, i);
      ASSERT_LE(AnsiCompareText(last, r.Text("Name")), 0) << "at " << i;
      last = r.Text("Name");
    }
  };
  {
    OpenTable t(file, "K");
    randomWrites(t, 6000);
    expectSorted(t);
  }
  EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{});
  {
    OpenTable t(file, "K");
    randomWrites(t, 3000);
    expectSorted(t);
  }
  EXPECT_EQ(CheckTomeDatabase(file, ""), std::vector<String>{});
}

// Two file objects on one file, as two processes would have: each write
// first takes in what the other wrote, deletes and key moves included.
TEST(TomeDBFileTables, WritersSeeEachOthersChanges) {
  TempDir dir;
  const String file = dir.File("two.tdb");
  MakeDatabase(file, kPeopleSchema);
  OpenTable a(file, "People"), b(file, "People");
  for (const char* n : {"b", "d", "f"}) Row(a.table).SetText("Name", n).Append();
  Row(b.table).SetText("Name", "c").Append();  // b loaded before a's appends
  EXPECT_EQ(Names(b.table, 1), (std::vector<String>{"b", "c", "d", "f"}));
  EXPECT_EQ(DatabaseErrorOf([&] { Row(a.table).SetText("Name", "C").Append(); }),
            "Invalid unique field value 'C'");

  Row f(a.table);
  f.Read(0, 2);
  f.SetText("Name", "a");  // a moves "f" to the front of ByName
  a.table.ModifyRecord(f.Buffers(), 2, nullptr, nullptr, false);
  a.table.DeleteRecord(0, false);  // and deletes "b"
  Row e(b.table);
  e.SetText("Name", "e").Append();
  EXPECT_EQ(Names(b.table, 1), (std::vector<String>{"a", "c", "d", "e"}));
  Row d(a.table);
  d.Read(0, 0);              // "d", first in a's natural order
  b.table.DeleteRecord(0, false);  // b deletes the same record
  d.SetText("Name", "dd");
  EXPECT_EQ(DatabaseErrorOf([&] { a.table.ModifyRecord(d.Buffers(), 0, nullptr, nullptr, false); }),
            "Record deleted by another user");
  EXPECT_EQ(Names(a.table, 1), (std::vector<String>{"a", "c", "e"}));
  EXPECT_TRUE(CheckTomeDatabase(file, "").empty());
}

constexpr char kCoded[] = R"(
compress ZLIB
encrypt Blowfish 1
password s3cret
table Docs
  field Title string 30
  field Body blob
  field Tag string 10 plain
  field Raw blob plain
  field When datetime
  field Big largeint
  index ByTitle Title unique
)";

TEST(TomeDBFileTables, CompressedAndEncryptedValues) {
  TempDir dir;
  const String file = dir.File("c.tdb");
  MakeDatabase(file, kCoded);
  const String body(5000, 'z');
  {
    OpenTable t(file, "Docs", "s3cret");
    EXPECT_TRUE(t.table.IsFieldEncrypted(0) && !t.table.IsFieldCompressed(0));
    EXPECT_TRUE(t.table.IsFieldEncrypted(1) && t.table.IsFieldCompressed(1));
    EXPECT_FALSE(t.table.IsFieldEncrypted(2) || t.table.IsFieldCompressed(3));
    Row(t.table)
        .SetText("Title", "secret title")
        .SetBlob("Body", body)
        .SetText("Tag", "PLAINTAG")
        .SetBlob("Raw", "PLAINBLOB")
        .Set<double>("When", 63000000000000.0)
        .Set<int64_t>("Big", -5)
        .Append();
  }
  const Bytes b = FileBytes(file);
  const String all(b.begin(), b.end());
  EXPECT_EQ(all.find("secret title"), String::npos);
  EXPECT_EQ(all.find("zzzzzzzzzz"), String::npos);
  EXPECT_NE(all.find("PLAINTAG"), String::npos);  // processing mode 1: stored as it is
  EXPECT_NE(all.find("PLAINBLOB"), String::npos);
  // The body was compressed: the file holds little beyond its structures.
  EXPECT_LT(b.size(), size_t(kFirstDataPos + kTableHeaderSize + kRecordTabChunkSize + kIndexTabChunkSize + 1000));

  OpenTable t(file, "Docs", "s3cret");
  Row r(t.table);
  r.Read(0, 0);
  EXPECT_EQ(r.Text("Title"), "secret title");
  EXPECT_EQ(r.Blob("Body"), body);
  EXPECT_EQ(r.Text("Tag"), "PLAINTAG");
  EXPECT_EQ(r.Blob("Raw"), "PLAINBLOB");
  EXPECT_EQ(r.Get<double>("When"), 63000000000000.0);
  EXPECT_EQ(r.Get<int64_t>("Big"), -5);
  EXPECT_TRUE(CheckTomeDatabase(file, "s3cret").empty());
  EXPECT_FALSE(CheckTomeDatabase(file, "wrong").empty());
}

// The codec's own message says only "error": the database says which
// value in which file.
TEST(TomeDBFileTables, ADamagedCompressedValueNamesWhereItIs) {
  TempDir dir;
  const String file = dir.File("d.tdb");
  MakeDatabase(file, "compress ZLIB\ntable T\n field Body blob\n");
  {
    OpenTable t(file, "T");
    Row(t.table).SetBlob("Body", String(5000, 'z')).Append();
  }
  const Bytes b = FileBytes(file);
  const String all(b.begin(), b.end());
  const size_t zlib = all.find("\x78\x9c");
  ASSERT_NE(zlib, String::npos);
  const uint8_t junk[4] = {0xFF, 0xFF, 0xFF, 0xFF};
  PatchFile(file, int64_t(zlib) + 2, junk, sizeof junk);
  const auto expectNamed = [&](const String& message) {
    EXPECT_NE(message.find("field 'Body' of table 'T'"), String::npos) << message;
    EXPECT_NE(message.find("cannot be decoded: error"), String::npos) << message;
    EXPECT_NE(message.find(file), String::npos) << message;
  };
  {
    OpenTable t(file, "T");
    Row r(t.table);
    expectNamed(DatabaseErrorOf([&] { r.Read(0, 0); }));
  }
  // Through a data set the value loads when the field is first read.
  TTomeTable t(nullptr);
  t.SetDatabaseName(file);
  t.SetTableName("T");
  t.Open();
  expectNamed(DatabaseErrorOf([&] { t.FieldByName("Body")->AsString(); }));
}

TEST(TomeDBFileTables, BlobAreasKeepMoveOrGrowInPlace) {
  TempDir dir;
  const String file = dir.File("b.tdb");
  MakeDatabase(file, "table B\n field Id integer\n field Data blob\n");
  OpenTable t(file, "B");
  auto descriptor = [&](int recNo) {
    Bytes raw(kBlobDescriptorSize);
    t.fileIO.ReadBuffer(raw.data(), t.table.RecordTab().DataPos(size_t(recNo)) + 4, kBlobDescriptorSize);
    return LoadBlobDescriptor(raw.data());
  };
  Row(t.table).SetBlob("Data", "").Append();
  EXPECT_EQ(descriptor(0).DataSize, 0);
  EXPECT_EQ(descriptor(0).AreaSize, 64);  // an empty value still gets an area
  Row(t.table).SetBlob("Data", String(10, 'a')).Append();
  Row(t.table).Set<int32_t>("Id", 2).Append();

  struct Case {
    int recNo;
    size_t size;
    const char* where;  // "kept", "moved", "in place"
    int32_t area;
  };
  // Record 2's area is the last thing in the file, record 1's is not.
  const Case cases[] = {
      {2, 64, "in place", 128},  // as large as the area, but last
      {1, 63, "kept", 64},       // smaller than the area
      {1, 64, "moved", 128},     // as large as the area: a new one at the end
      {2, 10, "kept", 128},
  };
  for (const Case& c : cases) {
    const TBlobDescriptor old = descriptor(c.recNo);
    const int64_t sizeBefore = t.fileIO.FileSize();
    Row r(t.table);
    r.Read(0, c.recNo);
    r.SetBlob("Data", String(c.size, 'x'));
    t.table.ModifyRecord(r.Buffers(), c.recNo, nullptr, nullptr, false);
    const TBlobDescriptor now = descriptor(c.recNo);
    EXPECT_EQ(now.DataSize, int32_t(c.size)) << c.where;
    EXPECT_EQ(now.AreaSize, c.area) << c.where;
    if (String(c.where) == "moved")
      EXPECT_EQ(now.DataPos, sizeBefore);
    else
      EXPECT_EQ(now.DataPos, old.DataPos) << c.where;
    r.Read(0, c.recNo);
    EXPECT_EQ(r.Blob("Data"), String(c.size, 'x'));
  }
}

// A deferred blob that was never loaded keeps its stored value on modify;
// once loaded (even as empty) or replaced it is written.
class DeferredBlob : public TTomeDeferredBlob {
 public:
  void SetLoadInfo(int32_t position, bool, bool) override {
    position_ = position;
    loaded_ = false;
  }
  bool IsLoaded() const override { return loaded_; }
  void MarkLoaded() { loaded_ = true; }
  int32_t position_ = 0;

 private:
  bool loaded_ = false;
};

TEST(TomeDBFileTables, ModifyLeavesUnloadedBlobsAlone) {
  TempDir dir;
  const String file = dir.File("l.tdb");
  MakeDatabase(file, "table B\n field Id integer\n field Data blob\n");
  OpenTable t(file, "B");
  Row(t.table).Set<int32_t>("Id", 1).SetBlob("Data", "keep me").Append();

  int32_t id = 2;
  DeferredBlob blob;
  TMemoryStream* ref = &blob;
  TFieldBuffers fields;
  fields.Add(&id, ftInteger, 4);
  fields.Add(&ref, ftBlob, 0);
  t.table.ReadRecord(fields, t.table.IndexList(0), 0);
  EXPECT_EQ(blob.position_, t.table.RecordTab().DataPos(0) + 4);
  EXPECT_EQ(blob.Size(), 0);  // not read by the record read
  id = 7;
  t.table.ModifyRecord(fields, 0, nullptr, nullptr, false);
  Row r(t.table);
  r.Read(0, 0);
  EXPECT_EQ(r.Get<int32_t>("Id"), 7);
  EXPECT_EQ(r.Blob("Data"), "keep me");

  blob.MarkLoaded();  // loaded as empty: the empty value is stored
  t.table.ModifyRecord(fields, 0, nullptr, nullptr, false);
  r.Read(0, 0);
  EXPECT_EQ(r.Blob("Data"), "");
}

TEST(TomeDBFileTables, WriteVerifyReadsBlobsBack) {
  TempDir dir;
  const String file = dir.File("w.tdb");
  MakeDatabase(file, "compress ZLIB\nwriteverify\ntable B\n field Data blob\n");
  OpenTable t(file, "B");
  EXPECT_TRUE(t.fileIO.ExtensionHeader().WriteVerify());
  int reads = 0;
  t.fileIO.OnUncompressProgress = [&](TObject*, int percent) { reads += percent == 100; };
  Row(t.table).SetBlob("Data", String(3000, 'q')).Append();
  EXPECT_EQ(reads, 1);  // written, read back and compared once
  Row r(t.table);
  r.Read(0, 0);
  EXPECT_EQ(r.Blob("Data"), String(3000, 'q'));
}

// The file grows past 2 GiB only by a write that is refused before it
// starts. A sparse file stands in for a large database.
TEST(TomeDBFileTables, WritesPast2GiBAreRefused) {
  TempDir dir;
  const String file = dir.File("g.tdb");
  MakeDatabase(file, "table B\n field Data blob\n");
  {
    TFileStream f(file, fmOpenReadWrite);
    f.SetSize(kMaxFileSize - 100);
  }
  OpenTable t(file, "B");
  const int64_t size = t.fileIO.FileSize();
  EXPECT_EQ(DatabaseErrorOf([&] { Row(t.table).SetBlob("Data", "x").Append(); }),
            "Database file '" + file + "' cannot grow past 2 GB");
  EXPECT_EQ(t.fileIO.FileSize(), size);
  EXPECT_EQ(t.table.Header().RecordCount(), 0);
  t.fileIO.ReadTableHeader(0, const_cast<TTomeTableHeader&>(t.table.Header()));
  EXPECT_EQ(t.table.Header().ChangeStamp(), 0u);
}

}  // namespace
