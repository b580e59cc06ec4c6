// Writes the seed corpus of the database file fuzzer: small databases with
// records in every field type, in plain, compressed and encrypted form, with
// enough records for a second record tab chunk in a small one.
//   tabledb_file_seeds DIR
#include <cstdio>
#include <cstring>

#include "platform/Errors.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBFileTables.h"

namespace {

constexpr const char* kSchemas[] = {
    "table T\n field Id autoinc\n field Name string 12\n field Note memo\n index ByName Name unique\n",
    "compress ZLIB\nencrypt Blowfish 1\npassword fuzz\n"
    "table T\n field Id autoinc\n field Name string 12\n field Note memo\n field Raw blob plain\n"
    " index ByName Name unique caseinsensitive\n index ById Id descending\n",
    "encrypt Gost 0\npassword fuzz\nwriteverify\n"
    "table A\n field S smallint\n field W word\n field B boolean\n field F float\n field C currency\n"
    " field D date\n field T time\n field DT datetime\n field L largeint\n field X fixedchar 3\n"
    " index ByL L,X primary\n"
    "table B\n field G graphic\n field M fmtmemo\n",
    "table K\n field K integer\n index ByK K\n",
};

void Fill(TTomeTableIO& table, int rows) {
  const int n = table.FieldDefs().Count();
  for (int r = 0; r < rows; ++r) {
    std::vector<std::vector<uint8_t>> values(static_cast<size_t>(n));
    std::vector<std::unique_ptr<TMemoryStream>> streams;
    TFieldBuffers buffers;
    for (int f = 0; f < n; ++f) {
      const TTomeFieldDef* def = table.FieldDefs().Items(f);
      if (TFieldBufferItem::IsBlobType(def->FieldType)) {
        streams.push_back(std::make_unique<TMemoryStream>());
        const String text = "value " + IntToStr(r * 31 % 97) + String(size_t(r % 5) * 20, 'x');
        streams.back()->WriteBuffer(text.data(), int64_t(text.size()));
        TMemoryStream* stream = streams.back().get();
        buffers.Add(&stream, def->FieldType, 0);
        continue;
      }
      std::vector<uint8_t>& v = values[size_t(f)];
      v.assign(size_t(StoredFieldWidth(def->FieldType, def->DataSize)), 0);
      if (def->FieldType == ftString || def->FieldType == ftFixedChar) {
        const String text = IntToStr(r * 7919 % 100003);
        std::memcpy(v.data(), text.data(), std::min(text.size(), v.size() - 1));
      } else if (def->FieldType != ftAutoInc) {
        const int32_t x = r * 37 % 1000;
        std::memcpy(v.data(), &x, std::min<size_t>(4, v.size()));
      }
      buffers.Add(v.data(), def->FieldType, int32_t(v.size()));
    }
    table.AppendRecord(buffers, false, nullptr, nullptr);
  }
  if (!table.IndexList(0).empty()) table.DeleteRecord(0, false);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tabledb_file_seeds DIR\n");
    return 2;
  }
  const int rows[] = {3, 5, 5, 1030};
  try {
    for (size_t i = 0; i < std::size(kSchemas); ++i) {
      const String file = String(argv[1]) + "/seed-" + IntToStr(int64_t(i)) + ".tdb";
      CreateTomeDatabase(file, ParseTomeSchema(kSchemas[i]));
      TTomeDBFileIO fileIO(nullptr);
      fileIO.Open(file, mtDisk, 0, false, false);
      fileIO.CheckPassword("fuzz");
      TStringList names;
      fileIO.GetTableNames(names);
      for (int t = 0; t < names.Count(); ++t) {
        TTomeTableIO table(fileIO, names[t]);
        table.Open();
        Fill(table, rows[i]);
      }
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "tabledb_file_seeds: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
