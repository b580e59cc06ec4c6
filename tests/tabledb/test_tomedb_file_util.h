// Shared helpers of the database file tests: files made from schema text,
// raw byte access to them, and a record whose values are set by field name
// and handed to the storage layer as field buffers.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/OsFiles.h"
#include "tabledb/FieldBuffers.h"
#include "tabledb/TomeDBFileSchema.h"
#include "tabledb/TomeDBFileTables.h"

namespace tomedb_test {

using Bytes = std::vector<uint8_t>;

inline void MakeDatabase(const String& fileName, std::string_view schema) {
  CreateTomeDatabase(fileName, ParseTomeSchema(schema));
}

// Both share the file with the database objects that have it open.
inline Bytes FileBytes(const String& fileName) {
  TFileStream f(fileName, fmOpenRead | fmShareDenyNone);
  TMemoryStream m;
  m.LoadFromStream(f);
  return m.Bytes();
}

inline void PatchFile(const String& fileName, int64_t pos, const void* bytes, size_t n) {
  TFileStream f(fileName, fmOpenReadWrite | fmShareDenyNone);
  f.Seek(pos, soBeginning);
  f.WriteBuffer(bytes, int64_t(n));
}

inline void PatchInt32(const String& fileName, int64_t pos, int32_t v) {
  uint8_t b[4];
  StoreInt32(b, v);
  PatchFile(fileName, pos, b, 4);
}

inline int32_t Int32At(const Bytes& b, int64_t pos) { return LoadInt32(&b.at(size_t(pos))); }

// Runs f and returns the message of the EDatabaseError it raises ("" when
// none).
template <class F>
String DatabaseErrorOf(F f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.Message();
  }
  return String();
}

// One record of a table: a value store per field, zeroed, and its field
// buffers in field-number order.
class Row {
 public:
  explicit Row(TTomeTableIO& table) : table_(table) {
    const int n = table.FieldDefs().Count();
    values_.resize(size_t(n));
    streams_.resize(size_t(n));
    for (int f = 0; f < n; ++f) {
      const TTomeFieldDef* def = table.FieldDefs().Items(f);
      if (TFieldBufferItem::IsBlobType(def->FieldType)) {
        streams_[size_t(f)] = std::make_unique<TMemoryStream>();
        blobRefs_.push_back(streams_[size_t(f)].get());
      } else {
        values_[size_t(f)].assign(size_t(StoredFieldWidth(def->FieldType, def->DataSize)), 0);
      }
    }
    // Blob items take the stream from where a record buffer would hold it.
    size_t blob = 0;
    for (int f = 0; f < n; ++f) {
      const TTomeFieldDef* def = table.FieldDefs().Items(f);
      if (streams_[size_t(f)])
        buffers_.Add(&blobRefs_[blob++], def->FieldType, 0);
      else
        buffers_.Add(values_[size_t(f)].data(), def->FieldType, int32_t(values_[size_t(f)].size()));
    }
  }

  int Field(std::string_view name) const { return FindDefIndex(table_.FieldDefs(), name); }

  template <class T>
  Row& Set(std::string_view name, T v) {
    Bytes& b = values_.at(size_t(Field(name)));
    EXPECT_EQ(b.size(), sizeof v) << name;
    std::memcpy(b.data(), &v, sizeof v);
    return *this;
  }
  Row& SetText(std::string_view name, std::string_view text) {
    Bytes& b = values_.at(size_t(Field(name)));
    std::fill(b.begin(), b.end(), 0);
    std::memcpy(b.data(), text.data(), std::min(text.size(), b.size() - 1));
    return *this;
  }
  Row& SetBlob(std::string_view name, std::string_view data) {
    TMemoryStream& s = *streams_.at(size_t(Field(name)));
    s.Clear();
    s.WriteBuffer(data.data(), int64_t(data.size()));
    return *this;
  }

  template <class T>
  T Get(std::string_view name) const {
    T v;
    std::memcpy(&v, values_.at(size_t(Field(name))).data(), sizeof v);
    return v;
  }
  String Text(std::string_view name) const {
    const Bytes& b = values_.at(size_t(Field(name)));
    return String(reinterpret_cast<const char*>(b.data()), strnlen(reinterpret_cast<const char*>(b.data()), b.size()));
  }
  String Blob(std::string_view name) const {
    TMemoryStream& s = *streams_.at(size_t(Field(name)));
    return String(reinterpret_cast<const char*>(s.Memory()), size_t(s.Size()));
  }
  void SetActive(std::string_view name, bool active) { buffers_.Items(Field(name)).SetActive(active); }

  TFieldBuffers& Buffers() { return buffers_; }
  void Append() { table_.AppendRecord(buffers_, false, nullptr, nullptr); }
  void Read(int listNo, int position) { table_.ReadRecord(buffers_, table_.IndexList(listNo), position); }

 private:
  TTomeTableIO& table_;
  std::vector<Bytes> values_;
  std::vector<std::unique_ptr<TMemoryStream>> streams_;
  std::vector<TMemoryStream*> blobRefs_;
  TFieldBuffers buffers_;
};

// An open file and one of its tables.
struct OpenTable {
  OpenTable(const String& fileName, const String& tableName, const String& password = String())
      : fileIO(nullptr), table(fileIO, tableName) {
    fileIO.Open(fileName, mtDisk, 0, false, false);
    EXPECT_TRUE(fileIO.CheckPassword(password));
    table.Open();
  }
  TTomeDBFileIO fileIO;
  TTomeTableIO table;
};

}  // namespace tomedb_test
