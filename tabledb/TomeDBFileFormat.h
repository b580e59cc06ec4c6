// The table database file: the byte layout of every stored structure, each
// with its reader and writer side by side, and the checks that a file must
// pass before anything read from it is used.
//
//   offset 0     12 bytes    file header: "TomeDB\0" and a version text
//   offset 12    2305 bytes  not used (left as found)
//   offset 2317  472 bytes   extension header: compression, cipher, digest
//   offset 2789  1032 bytes  table directory: count and header positions
//   offset 3821  ...         table headers, record tab chunks, index tab
//                            chunks, fixed parts and blob areas, each
//                            appended at the end of the file, never freed
//
// All integers are little-endian; Int32 positions are absolute offsets, so
// no structure may end past 2 GiB. Names are NUL-terminated in fields of 33
// bytes. The structures that hold unused bytes (extension header, table
// header) are kept as whole images, so that a rewrite keeps those bytes as
// found.
//
// Records are numbered in append order and never renumbered. Record k is
// item k of the table's record tab (data position, deleted flag); each index
// keeps entry k of its index tab (k, next record in key order), chained from
// the index's head. Deleted records stay in the chains.
//
// Concurrent writers: the table header's last 16 bytes are unused by the
// format; this system keeps a change stamp in the first 4 of them, bumped by
// every append, modify and delete, so that a writer holding the file lock
// sees any change another writer made to the table since it loaded it.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "platform/Text.h"
#include "tabledb/ByteOrder.h"
#include "tabledb/TomeDBDefs.h"

// --- File layout --------------------------------------------------------------
constexpr int32_t kFileHeaderSize = 12;
constexpr int32_t kMagicSize = 7;    // "TomeDB" and a NUL
constexpr int32_t kVersionSize = 5;  // at offset 7
constexpr std::string_view kTomeMagic = "TomeDB";
constexpr std::string_view kTomeVersion = "2.0";
constexpr int32_t kExtHeaderPos = 2317;
constexpr int32_t kExtHeaderSize = 472;
constexpr int32_t kTableDirPos = 2789;
constexpr int32_t kTableDirSize = 1032;
// The first byte after the fixed headers: every stored position of a
// table structure or record lies at or behind it.
constexpr int32_t kFirstDataPos = 3821;
// Positions are Int32: nothing may be written past this offset.
constexpr int64_t kMaxFileSize = INT32_MAX;

constexpr int32_t kMaxTables = 256;
constexpr int32_t kMaxFields = 96;
constexpr int32_t kMaxIndexes = 8;
constexpr int32_t kMaxKeyFields = 8;
constexpr int32_t kNameSize = 33;  // 32 characters and a NUL
// The longest declared size of a string field: the data-set framework's
// limit for string values.
constexpr int32_t kMaxStringSize = 8192;

// Table header.
constexpr int32_t kTableHeaderSize = 4821;
constexpr int32_t kThRecordTabPos = 33;
constexpr int32_t kThRecordCount = 37;
constexpr int32_t kThAutoIncCounter = 41;
constexpr int32_t kThFieldCount = 45;
constexpr int32_t kThFields = 49;
constexpr int32_t kThIndexCount = 4177;
constexpr int32_t kThIndexes = 4181;
constexpr int32_t kThChangeStamp = 4805;
constexpr int32_t kFieldItemSize = 43;
constexpr int32_t kIndexItemSize = 78;
// Offsets inside an index item.
constexpr int32_t kIiOptions = 33;
constexpr int32_t kIiKeyFields = 34;
constexpr int32_t kIiIndexTabPos = 66;
constexpr int32_t kIiHead = 70;

// Record tab and index tab chunks: Int32 next, then 1024 items.
constexpr int32_t kTabChunkItems = 1024;
constexpr int32_t kRecordTabItemSize = 5;
constexpr int32_t kIndexTabEntrySize = 8;
constexpr int32_t kRecordTabChunkSize = 4 + kTabChunkItems * kRecordTabItemSize;  // 5124
constexpr int32_t kIndexTabChunkSize = 4 + kTabChunkItems * kIndexTabEntrySize;   // 8196

constexpr int32_t kBlobDescriptorSize = 20;
constexpr int32_t kBlobAreaGranule = 64;

// --- Errors -------------------------------------------------------------------
// EDatabaseError "Corrupt file '%s': %s", naming the file and what is wrong.
[[noreturn]] void CorruptFile(const String& fileName, std::string_view what);

// --- File header --------------------------------------------------------------
// Refuses a header that is not this format's with EDatabaseError: a bad
// magic "Database file '%s' is a invalid TomeDB", version "1.00" "Version
// 1.00 is not compatible", a version text above "2.0" "Version of database
// file is too High".
void CheckFileHeader(const uint8_t* header, const String& fileName);
std::array<uint8_t, kFileHeaderSize> NewFileHeader();

// --- Extension header ---------------------------------------------------------
struct TTomeExtensionHeader {
  std::array<uint8_t, kExtHeaderSize> Image{};

  bool CompressFlag() const { return Image[0] != 0; }
  String CompressName() const;
  bool EncryptFlag() const { return Image[35] != 0; }
  uint8_t CipherMode() const { return Image[36]; }
  String CipherName() const;
  bool WriteVerify() const { return Image[70] != 0; }
  String PasswordDigest() const;  // up to its NUL, at most 128 characters

  void SetCompression(std::string_view moduleName);  // sets the flag too
  void SetEncryption(std::string_view moduleName, uint8_t mode, std::string_view passwordDigest);
  void SetWriteVerify(bool on) { Image[70] = on ? 1 : 0; }
};

// --- Table directory ----------------------------------------------------------
struct TTomeTableDirectory {
  std::array<uint8_t, kTableDirSize> Image{};

  int32_t TableCount() const;
  int32_t TablePos(int table) const;
  void SetTableCount(int32_t count);
  void SetTablePos(int table, int32_t pos);
  // Counts within 0..256 and every used position on a whole table header
  // inside the file's data area.
  void Validate(int64_t fileSize, const String& fileName) const;
};

// --- Table header -------------------------------------------------------------
struct TTomeFieldItem {
  String Name;
  uint8_t FieldType = 0;
  int32_t Size = 0;     // declared size: the characters of a string type
  uint8_t DPMode = 0;   // 0: takes part in compression and encryption
};

struct TTomeIndexItem {
  String Name;
  TTDIndexOptions Options = 0;
  TIntegerAry KeyFields;   // up to 8, stored with -1 after the last
  int32_t IndexTabPos = 0;  // 0 while the table has no records
  int32_t Head = 0;         // record number first in key order
};

struct TTomeTableHeader {
  std::array<uint8_t, kTableHeaderSize> Image{};

  String Name() const;
  int32_t RecordTabPos() const { return Int(kThRecordTabPos); }
  int32_t RecordCount() const { return Int(kThRecordCount); }
  int32_t AutoIncCounter() const { return Int(kThAutoIncCounter); }
  int32_t FieldCount() const { return Int(kThFieldCount); }
  int32_t IndexCount() const { return Int(kThIndexCount); }
  uint32_t ChangeStamp() const { return uint32_t(Int(kThChangeStamp)); }
  TTomeFieldItem Field(int field) const;
  TTomeIndexItem Index(int index) const;
  int32_t IndexTabPos(int index) const { return Int(IndexItemPos(index) + kIiIndexTabPos); }
  int32_t Head(int index) const { return Int(IndexItemPos(index) + kIiHead); }

  void SetName(std::string_view name);
  void SetRecordTabPos(int32_t pos) { SetInt(kThRecordTabPos, pos); }
  void SetRecordCount(int32_t count) { SetInt(kThRecordCount, count); }
  void SetAutoIncCounter(int32_t value) { SetInt(kThAutoIncCounter, value); }
  void SetChangeStamp(uint32_t stamp) { SetInt(kThChangeStamp, int32_t(stamp)); }
  // Appends a field or an index item to the header's schema.
  void AddField(const TTomeFieldItem& field);
  void AddIndex(const TTomeIndexItem& index);
  void SetIndexTabPos(int index, int32_t pos) { SetInt(IndexItemPos(index) + kIiIndexTabPos, pos); }
  void SetHead(int index, int32_t record) { SetInt(IndexItemPos(index) + kIiHead, record); }

  // The schema and the counters: field and index counts within their
  // maxima, known field types with sane sizes, key fields that exist, a
  // record count that the file can hold, positions inside the data area and
  // heads that are record numbers.
  void Validate(int64_t fileSize, const String& fileName) const;

  static int32_t IndexItemPos(int index) { return kThIndexes + index * kIndexItemSize; }

 private:
  int32_t Int(int32_t offset) const;
  void SetInt(int32_t offset, int32_t value);
};

// Width of a field in a record's fixed part: a blob descriptor for the blob
// kinds, else the type's stored width (EDatabaseError "General error" for a
// type that cannot be stored).
int32_t StoredFieldWidth(uint8_t fieldType, int32_t declaredSize);

// --- Record tab and index tab ----------------------------------------------------
struct TRecordTabItem {
  int32_t DataPos = 0;  // the record's fixed part
  uint8_t Deleted = 0;  // 1 = deleted
};

// A table's record tab in memory, 4 bytes a record: a fixed part lies
// below 2 GiB, so the top bit of its position holds the deleted flag.
// Positions are checked before they are added (a negative one would lose
// its sign).
class TRecordTab {
 public:
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }
  void reserve(size_t n) { items_.reserve(n); }
  void push_back(int32_t dataPos, bool deleted) { items_.push_back(Pack(dataPos, deleted)); }
  int32_t DataPos(size_t recNo) const { return int32_t(items_[recNo] & ~kDeletedBit); }
  bool Deleted(size_t recNo) const { return (items_[recNo] & kDeletedBit) != 0; }
  void SetDeleted(size_t recNo) { items_[recNo] |= kDeletedBit; }
  // The same, std::out_of_range for a record past the end.
  int32_t DataPosAt(size_t recNo) const { return DataPos(Checked(recNo)); }
  bool DeletedAt(size_t recNo) const { return Deleted(Checked(recNo)); }

 private:
  size_t Checked(size_t recNo) const {
    if (recNo >= items_.size()) throw std::out_of_range("TRecordTab");
    return recNo;
  }
  static constexpr uint32_t kDeletedBit = 0x80000000u;
  static uint32_t Pack(int32_t dataPos, bool deleted) { return uint32_t(dataPos) | (deleted ? kDeletedBit : 0); }
  std::vector<uint32_t> items_;
};

struct TIndexTabItem {
  int32_t RecNo = 0;  // the entry's own record number
  int32_t Next = -1;  // next record in key order, -1 for the last
};
// In memory an index keeps only each record's next record: an entry's
// own record number is its place in the tab.
using TIndexLinks = std::vector<int32_t>;

// Opening a table reads one item of each tab per record: inline.
inline TRecordTabItem LoadRecordTabItem(const uint8_t* p) { return {int32_t(LoadLE32(p)), p[4]}; }
void StoreRecordTabItem(uint8_t* p, const TRecordTabItem& item);
inline TIndexTabItem LoadIndexTabItem(const uint8_t* p) { return {int32_t(LoadLE32(p)), int32_t(LoadLE32(p + 4))}; }
void StoreIndexTabItem(uint8_t* p, const TIndexTabItem& item);

// Number of chunks that hold count items.
inline int32_t TabChunkCount(int32_t count) { return int32_t((int64_t(count) + kTabChunkItems - 1) / kTabChunkItems); }

// --- Blob values ----------------------------------------------------------------
struct TBlobDescriptor {
  int32_t DataPos = 0;
  int32_t DataSize = 0;  // stored (encoded) bytes
  int32_t AreaSize = 0;  // bytes reserved at DataPos
  int32_t Unused[2] = {0, 0};  // kept as found on a rewrite
};

TBlobDescriptor LoadBlobDescriptor(const uint8_t* p);
void StoreBlobDescriptor(uint8_t* p, const TBlobDescriptor& d);
// A used descriptor points to an area inside the data area that holds its
// stored bytes. A descriptor of zeros (no value, no area) is accepted.
void ValidateBlobDescriptor(const TBlobDescriptor& d, int64_t fileSize, const String& fileName);
// The area written for dataSize stored bytes: the next multiple of 64 above
// it, so an empty value still gets 64 bytes.
inline int64_t BlobAreaSize(int64_t dataSize) { return dataSize - dataSize % kBlobAreaGranule + kBlobAreaGranule; }

// --- Stored integers ------------------------------------------------------------
inline int32_t LoadInt32(const uint8_t* p) { return int32_t(LoadLE32(p)); }
inline void StoreInt32(uint8_t* p, int32_t v) { StoreLE32(p, uint32_t(v)); }
