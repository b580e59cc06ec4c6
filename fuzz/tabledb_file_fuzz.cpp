// Feeds arbitrary database files to the reader and the writer: the file is
// opened from memory, every table is loaded, every value of every record is
// decoded, and one record of each table is appended, modified and deleted.
// A file may be refused with a database or codec error; anything else (a
// crash, a sanitizer report, an unchecked allocation) is a finding.
//
// Encrypted seeds use the password "fuzz".
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Errors.h"
#include "tabledb/TomeDBFileTables.h"

namespace {

// One record whose every value is zero (blobs empty).
class ZeroRecord {
 public:
  explicit ZeroRecord(TTomeTableIO& table) {
    const int n = table.FieldDefs().Count();
    values_.resize(size_t(n));
    for (int f = 0; f < n; ++f) {
      const TTomeFieldDef* def = table.FieldDefs().Items(f);
      if (TFieldBufferItem::IsBlobType(def->FieldType)) {
        streams_.push_back(std::make_unique<TMemoryStream>());
        TMemoryStream* stream = streams_.back().get();
        buffers_.Add(&stream, def->FieldType, 0);
      } else {
        values_[size_t(f)].assign(size_t(StoredFieldWidth(def->FieldType, def->DataSize)), 0);
        buffers_.Add(values_[size_t(f)].data(), def->FieldType, int32_t(values_[size_t(f)].size()));
      }
    }
  }
  TFieldBuffers& Buffers() { return buffers_; }

 private:
  std::vector<std::vector<uint8_t>> values_;
  std::vector<std::unique_ptr<TMemoryStream>> streams_;
  TFieldBuffers buffers_;
};

void ExerciseTable(TTomeTableIO& table) {
  TMemoryStream value;
  for (size_t l = 0; l <= size_t(table.IndexDefs().Count()); ++l)
    for (const TRecordPosition& record : table.IndexList(int(l)))
      for (int f = 0; f < table.FieldDefs().Count(); ++f) {
        try {
          table.ReadFieldOfRecord(value, record.RecNo, f);
        } catch (const Exception&) {
        }
      }
  ZeroRecord record(table);
  table.AppendRecord(record.Buffers(), false, nullptr, nullptr);
  table.ReadRecord(record.Buffers(), table.IndexList(0), 0);
  table.ModifyRecord(record.Buffers(), 0, nullptr, nullptr, false);
  table.DeleteRecord(0, false);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream memory;
  memory.WriteBuffer(data, int64_t(size));
  const uint32_t id = RegisterMemoryMedium(&memory);
  try {
    TTomeDBFileIO fileIO(nullptr);
    fileIO.Open(MemoryMediumName(id), mtMemory, 0, false, false);
    fileIO.CheckPassword("fuzz");
    TStringList names;
    fileIO.GetTableNames(names);
    for (int i = 0; i < names.Count(); ++i) {
      TTomeTableIO table(fileIO, names[i]);
      try {
        table.Open();
        ExerciseTable(table);
      } catch (const Exception&) {
      }
    }
  } catch (const Exception&) {
  }
  UnregisterMemoryMedium(id);
  return 0;
}
