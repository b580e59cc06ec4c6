// Readers, writers and checks of the table database's stored structures.
#include "tabledb/TomeDBFileFormat.h"

#include <algorithm>
#include <cstring>

#include "platform/Errors.h"
#include "tabledb/FieldBuffers.h"
#include "tabledb/HashBase.h"

void CorruptFile(const String& fileName, std::string_view what) {
  DatabaseErrorFmt("Corrupt file '%s': %s", {fileName, what});
}

namespace {

// The text of a NUL-terminated field of width bytes; a field without a NUL
// gives all its bytes but the last, the most a writer can put there.
String LoadName(const uint8_t* p, size_t width) {
  const void* nul = std::memchr(p, 0, width);
  size_t n = nul ? size_t(static_cast<const uint8_t*>(nul) - p) : width - 1;
  return String(reinterpret_cast<const char*>(p), n);
}

// Writes at most width - 1 characters and zero-fills the rest.
void StoreName(uint8_t* p, size_t width, std::string_view name) {
  std::memset(p, 0, width);
  std::memcpy(p, name.data(), std::min(name.size(), width - 1));
}

// True when a structure of size bytes at pos lies inside the data area of a
// file of fileSize bytes.
bool InsideData(int64_t pos, int64_t size, int64_t fileSize) {
  return pos >= kFirstDataPos && size >= 0 && pos + size <= fileSize;
}

bool IsKnownFieldType(uint8_t type) {
  if (TFieldBufferItem::IsBlobType(type)) return true;
  switch (type) {
    case ftString: case ftSmallint: case ftInteger: case ftWord: case ftBoolean: case ftFloat:
    case ftCurrency: case ftDate: case ftTime: case ftDateTime: case ftAutoInc: case ftFixedChar:
    case ftLargeint:
      return true;
    default:
      return false;
  }
}

}  // namespace

// --- File header ------------------------------------------------------------------

void CheckFileHeader(const uint8_t* header, const String& fileName) {
  // The magic is compared as text up to its NUL, so "TomeDB" must be
  // followed by the NUL in the 7th byte.
  if (std::memcmp(header, kTomeMagic.data(), kTomeMagic.size()) != 0 || header[kMagicSize - 1] != 0)
    DatabaseErrorFmt("Database file '%s' is a invalid TomeDB", {fileName});
  // The version text has no NUL when it is 5 characters long; it is
  // compared byte by byte, so "2.00" and "2.1" are above "2.0".
  const uint8_t* v = header + kMagicSize;
  const void* nul = std::memchr(v, 0, kVersionSize);
  std::string_view version(reinterpret_cast<const char*>(v),
                           nul ? size_t(static_cast<const uint8_t*>(nul) - v) : size_t(kVersionSize));
  if (version == "1.00") DatabaseError("Version 1.00 is not compatible");
  if (version > kTomeVersion) DatabaseError("Version of database file is too High");
}

std::array<uint8_t, kFileHeaderSize> NewFileHeader() {
  std::array<uint8_t, kFileHeaderSize> header{};
  std::memcpy(header.data(), kTomeMagic.data(), kTomeMagic.size());
  std::memcpy(header.data() + kMagicSize, kTomeVersion.data(), kTomeVersion.size());
  return header;
}

// --- Extension header -----------------------------------------------------------------

namespace {
constexpr int32_t kEhCompressName = 2;
constexpr int32_t kEhEncryptFlag = 35;
constexpr int32_t kEhCipherMode = 36;
constexpr int32_t kEhCipherName = 37;
constexpr int32_t kEhDigest = 327;
constexpr int32_t kModuleNameSize = 33;
constexpr int32_t kDigestSize = 129;
}  // namespace

String TTomeExtensionHeader::CompressName() const { return LoadName(&Image[kEhCompressName], kModuleNameSize); }
String TTomeExtensionHeader::CipherName() const { return LoadName(&Image[kEhCipherName], kModuleNameSize); }
String TTomeExtensionHeader::PasswordDigest() const { return LoadName(&Image[kEhDigest], kDigestSize); }

void TTomeExtensionHeader::SetCompression(std::string_view moduleName) {
  Image[0] = 1;
  StoreName(&Image[kEhCompressName], kModuleNameSize, moduleName);
}

void TTomeExtensionHeader::SetEncryption(std::string_view moduleName, uint8_t mode,
                                         std::string_view passwordDigest) {
  Image[kEhEncryptFlag] = 1;
  Image[kEhCipherMode] = mode;
  StoreName(&Image[kEhCipherName], kModuleNameSize, moduleName);
  StoreName(&Image[kEhDigest], kDigestSize, passwordDigest);
}

// --- Table directory ----------------------------------------------------------------------

int32_t TTomeTableDirectory::TableCount() const { return LoadInt32(&Image[0]); }
int32_t TTomeTableDirectory::TablePos(int table) const { return LoadInt32(&Image[8 + 4 * table]); }
void TTomeTableDirectory::SetTableCount(int32_t count) { StoreInt32(&Image[0], count); }
void TTomeTableDirectory::SetTablePos(int table, int32_t pos) { StoreInt32(&Image[8 + 4 * table], pos); }

void TTomeTableDirectory::Validate(int64_t fileSize, const String& fileName) const {
  const int32_t count = TableCount();
  if (count < 0 || count > kMaxTables) CorruptFile(fileName, Format("table count %d", {count}));
  for (int i = 0; i < count; ++i)
    if (!InsideData(TablePos(i), kTableHeaderSize, fileSize))
      CorruptFile(fileName, Format("table %d header position %d", {i, TablePos(i)}));
}

// --- Table header ------------------------------------------------------------------------

int32_t TTomeTableHeader::Int(int32_t offset) const { return LoadInt32(&Image[size_t(offset)]); }
void TTomeTableHeader::SetInt(int32_t offset, int32_t value) { StoreInt32(&Image[size_t(offset)], value); }

String TTomeTableHeader::Name() const { return LoadName(&Image[0], kNameSize); }
void TTomeTableHeader::SetName(std::string_view name) { StoreName(&Image[0], kNameSize, name); }

TTomeFieldItem TTomeTableHeader::Field(int field) const {
  const uint8_t* p = &Image[size_t(kThFields + field * kFieldItemSize)];
  return {LoadName(p, kNameSize), p[33], LoadInt32(p + 34), p[38]};
}

TTomeIndexItem TTomeTableHeader::Index(int index) const {
  const uint8_t* p = &Image[size_t(IndexItemPos(index))];
  TTomeIndexItem item{LoadName(p, kNameSize), p[kIiOptions], {}, LoadInt32(p + kIiIndexTabPos),
                      LoadInt32(p + kIiHead)};
  for (int k = 0; k < kMaxKeyFields; ++k) {
    int32_t field = LoadInt32(p + kIiKeyFields + 4 * k);
    if (field == -1) break;
    item.KeyFields.push_back(field);
  }
  return item;
}

void TTomeTableHeader::AddField(const TTomeFieldItem& field) {
  const int32_t n = FieldCount();
  uint8_t* p = &Image[size_t(kThFields + n * kFieldItemSize)];
  std::memset(p, 0, kFieldItemSize);
  StoreName(p, kNameSize, field.Name);
  p[33] = field.FieldType;
  StoreInt32(p + 34, field.Size);
  p[38] = field.DPMode;
  SetInt(kThFieldCount, n + 1);
}

void TTomeTableHeader::AddIndex(const TTomeIndexItem& index) {
  const int32_t n = IndexCount();
  uint8_t* p = &Image[size_t(IndexItemPos(n))];
  std::memset(p, 0, kIndexItemSize);
  StoreName(p, kNameSize, index.Name);
  p[kIiOptions] = index.Options;
  for (int k = 0; k < kMaxKeyFields; ++k)
    StoreInt32(p + kIiKeyFields + 4 * k, k < int(index.KeyFields.size()) ? index.KeyFields[size_t(k)] : -1);
  StoreInt32(p + kIiIndexTabPos, index.IndexTabPos);
  StoreInt32(p + kIiHead, index.Head);
  SetInt(kThIndexCount, n + 1);
}

void TTomeTableHeader::Validate(int64_t fileSize, const String& fileName) const {
  const String table = Name();
  auto fail = [&](std::string_view what) { CorruptFile(fileName, Format("table '%s': %s", {table, what})); };

  const int32_t fields = FieldCount(), indexes = IndexCount(), count = RecordCount();
  if (fields < 0 || fields > kMaxFields) fail(Format("field count %d", {fields}));
  if (indexes < 0 || indexes > kMaxIndexes) fail(Format("index count %d", {indexes}));
  for (int f = 0; f < fields; ++f) {
    TTomeFieldItem item = Field(f);
    if (!IsKnownFieldType(item.FieldType)) fail(Format("field %d has type %d", {f, int(item.FieldType)}));
    if ((item.FieldType == ftString || item.FieldType == ftFixedChar) &&
        (item.Size < 0 || item.Size > kMaxStringSize))
      fail(Format("field %d has size %d", {f, item.Size}));
  }
  // Every chunk of a tab is in the file, so the file's size bounds the
  // record count before any tab is read.
  if (count < 0 || int64_t(TabChunkCount(count)) * kRecordTabChunkSize > fileSize)
    fail(Format("record count %d", {count}));
  if (count > 0 && !InsideData(RecordTabPos(), kRecordTabChunkSize, fileSize))
    fail(Format("record tab position %d", {RecordTabPos()}));
  for (int j = 0; j < indexes; ++j) {
    TTomeIndexItem item = Index(j);
    for (int32_t field : item.KeyFields)
      if (field < 0 || field >= fields) fail(Format("index '%s' has key field %d", {item.Name, field}));
    if (count == 0) continue;
    if (!InsideData(item.IndexTabPos, kIndexTabChunkSize, fileSize))
      fail(Format("index '%s' tab position %d", {item.Name, item.IndexTabPos}));
    if (item.Head < 0 || item.Head >= count) fail(Format("index '%s' head %d", {item.Name, item.Head}));
  }
}

int32_t StoredFieldWidth(uint8_t fieldType, int32_t declaredSize) {
  if (TFieldBufferItem::IsBlobType(fieldType)) return kBlobDescriptorSize;
  return GetFieldDataSize(fieldType, declaredSize);
}

// --- Tab items ----------------------------------------------------------------------------

void StoreRecordTabItem(uint8_t* p, const TRecordTabItem& item) {
  StoreInt32(p, item.DataPos);
  p[4] = item.Deleted;
}

void StoreIndexTabItem(uint8_t* p, const TIndexTabItem& item) {
  StoreInt32(p, item.RecNo);
  StoreInt32(p + 4, item.Next);
}

// --- Blob descriptors -----------------------------------------------------------------------

TBlobDescriptor LoadBlobDescriptor(const uint8_t* p) {
  return {LoadInt32(p), LoadInt32(p + 4), LoadInt32(p + 8), {LoadInt32(p + 12), LoadInt32(p + 16)}};
}

void StoreBlobDescriptor(uint8_t* p, const TBlobDescriptor& d) {
  StoreInt32(p, d.DataPos);
  StoreInt32(p + 4, d.DataSize);
  StoreInt32(p + 8, d.AreaSize);
  StoreInt32(p + 12, d.Unused[0]);
  StoreInt32(p + 16, d.Unused[1]);
}

void ValidateBlobDescriptor(const TBlobDescriptor& d, int64_t fileSize, const String& fileName) {
  if (d.DataSize == 0 && d.AreaSize == 0) return;
  // An area is always written whole, filler included, so all of it is in
  // the file; a modify may write the whole area again.
  if (d.DataSize < 0 || d.AreaSize < d.DataSize || !InsideData(d.DataPos, d.AreaSize, fileSize))
    CorruptFile(fileName, Format("blob at %d with %d bytes in an area of %d", {d.DataPos, d.DataSize, d.AreaSize}));
}
