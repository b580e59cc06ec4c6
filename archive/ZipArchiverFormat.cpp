#include "archive/ZipArchiverFormat.h"

#include <algorithm>
#include <cstring>

#include "archive/ZAExcept.h"

const TZASignatures ZAZipSignatures = {0x04034B50, 0x02014B50, 0x06054B50, 0, 0};
const TZASignatures ZABaseSignatures = {0x05045C61, 0x03025C61, 0x06054141, 0x4114, 0x412D};

// --- Little-endian fields -------------------------------------------------------

namespace {

uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return uint32_t(Get16(p)) | uint32_t(Get16(p + 2)) << 16; }
uint64_t Get64(const uint8_t* p) { return uint64_t(Get32(p)) | uint64_t(Get32(p + 4)) << 32; }
void Put16(uint8_t* p, uint16_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
  Put16(p, uint16_t(v));
  Put16(p + 2, uint16_t(v >> 16));
}
void Put64(uint8_t* p, uint64_t v) {
  Put32(p, uint32_t(v));
  Put32(p + 4, uint32_t(v >> 32));
}

// Appends little-endian fields to a byte vector.
struct ByteWriter {
  std::vector<uint8_t>& out;
  void U16(uint16_t v) {
    uint8_t b[2];
    Put16(b, v);
    out.insert(out.end(), b, b + 2);
  }
  void U32(uint32_t v) {
    uint8_t b[4];
    Put32(b, v);
    out.insert(out.end(), b, b + 4);
  }
  void U64(uint64_t v) {
    uint8_t b[8];
    Put64(b, v);
    out.insert(out.end(), b, b + 8);
  }
  void Bytes(std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }
};

}  // namespace

void TZALocalHeader::Read(const uint8_t* p) {
  Signature = Get32(p);
  VersionNeeded = Get16(p + 4);
  Flags = Get16(p + 6);
  Method = Get16(p + 8);
  Time = Get16(p + 10);
  Date = Get16(p + 12);
  Crc = Get32(p + 14);
  CompressedSize = Get32(p + 18);
  UncompressedSize = Get32(p + 22);
  NameLength = Get16(p + 26);
  ExtraLength = Get16(p + 28);
}

void TZALocalHeader::Write(uint8_t* p) const {
  Put32(p, Signature);
  Put16(p + 4, VersionNeeded);
  Put16(p + 6, Flags);
  Put16(p + 8, Method);
  Put16(p + 10, Time);
  Put16(p + 12, Date);
  Put32(p + 14, Crc);
  Put32(p + 18, CompressedSize);
  Put32(p + 22, UncompressedSize);
  Put16(p + 26, NameLength);
  Put16(p + 28, ExtraLength);
}

void TZACentralHeader::Read(const uint8_t* p) {
  Signature = Get32(p);
  VersionMadeBy = Get16(p + 4);
  VersionNeeded = Get16(p + 6);
  Flags = Get16(p + 8);
  Method = Get16(p + 10);
  Time = Get16(p + 12);
  Date = Get16(p + 14);
  Crc = Get32(p + 16);
  CompressedSize = Get32(p + 20);
  UncompressedSize = Get32(p + 24);
  NameLength = Get16(p + 28);
  ExtraLength = Get16(p + 30);
  CommentLength = Get16(p + 32);
  DiskNumberStart = Get16(p + 34);
  InternalAttributes = Get16(p + 36);
  ExternalAttributes = Get32(p + 38);
  LocalHeaderOffset = Get32(p + 42);
}

void TZACentralHeader::Write(uint8_t* p) const {
  Put32(p, Signature);
  Put16(p + 4, VersionMadeBy);
  Put16(p + 6, VersionNeeded);
  Put16(p + 8, Flags);
  Put16(p + 10, Method);
  Put16(p + 12, Time);
  Put16(p + 14, Date);
  Put32(p + 16, Crc);
  Put32(p + 20, CompressedSize);
  Put32(p + 24, UncompressedSize);
  Put16(p + 28, NameLength);
  Put16(p + 30, ExtraLength);
  Put16(p + 32, CommentLength);
  Put16(p + 34, DiskNumberStart);
  Put16(p + 36, InternalAttributes);
  Put32(p + 38, ExternalAttributes);
  Put32(p + 42, LocalHeaderOffset);
}

void TZAEndRecord::Read(const uint8_t* p) {
  Signature = Get32(p);
  ThisDisk = Get16(p + 4);
  DirectoryDisk = Get16(p + 6);
  EntriesOnDisk = Get16(p + 8);
  TotalEntries = Get16(p + 10);
  DirectorySize = Get32(p + 12);
  DirectoryOffset = Get32(p + 16);
  CommentLength = Get16(p + 20);
}

void TZAEndRecord::Write(uint8_t* p) const {
  Put32(p, Signature);
  Put16(p + 4, ThisDisk);
  Put16(p + 6, DirectoryDisk);
  Put16(p + 8, EntriesOnDisk);
  Put16(p + 10, TotalEntries);
  Put32(p + 12, DirectorySize);
  Put32(p + 16, DirectoryOffset);
  Put16(p + 20, CommentLength);
}

void TZAZip64EndRecord::Read(const uint8_t* p) {
  Signature = Get32(p);
  RecordSize = Get64(p + 4);
  VersionMadeBy = Get16(p + 12);
  VersionNeeded = Get16(p + 14);
  ThisDisk = Get32(p + 16);
  DirectoryDisk = Get32(p + 20);
  EntriesOnDisk = Get64(p + 24);
  TotalEntries = Get64(p + 32);
  DirectorySize = Get64(p + 40);
  DirectoryOffset = Get64(p + 48);
}

void TZAZip64EndRecord::Write(uint8_t* p) const {
  Put32(p, Signature);
  Put64(p + 4, RecordSize);
  Put16(p + 12, VersionMadeBy);
  Put16(p + 14, VersionNeeded);
  Put32(p + 16, ThisDisk);
  Put32(p + 20, DirectoryDisk);
  Put64(p + 24, EntriesOnDisk);
  Put64(p + 32, TotalEntries);
  Put64(p + 40, DirectorySize);
  Put64(p + 48, DirectoryOffset);
}

void TZAZip64Locator::Read(const uint8_t* p) {
  Signature = Get32(p);
  Zip64Disk = Get32(p + 4);
  Zip64Offset = Get64(p + 8);
  TotalDisks = Get32(p + 16);
}

void TZAZip64Locator::Write(uint8_t* p) const {
  Put32(p, Signature);
  Put32(p + 4, Zip64Disk);
  Put64(p + 8, Zip64Offset);
  Put32(p + 16, TotalDisks);
}

void ZAWriteZip64LocalExtra(uint8_t* p, uint64_t uncompressedSize, uint64_t compressedSize) {
  Put16(p, ZAZip64ExtraId);
  Put16(p + 2, 16);
  Put64(p + 4, uncompressedSize);
  Put64(p + 12, compressedSize);
}

// --- Stream helpers -----------------------------------------------------------------

bool ZAReadAt(TStream& stream, int64_t position, void* buffer, int64_t count) {
  if (position < 0 || count < 0) return false;
  if (stream.Seek(position, soBeginning) != position) return false;
  auto* p = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const int64_t n = stream.Read(p, count);
    if (n <= 0) return false;
    p += n;
    count -= n;
  }
  return true;
}

namespace {

// Finds signatures going forward through a stream. The window it read last
// serves the searches that start inside it, so a scan over many records
// reads each byte about once.
class SignatureScanner {
 public:
  explicit SignatureScanner(TStream& stream) : stream_(stream), buf_(kWindow) {}

  // Position of the first sig at or after from whose record (minRecord
  // bytes) fits before limit; -1 when none.
  int64_t Find(uint32_t sig, int64_t from, int64_t limit, int64_t minRecord) {
    int64_t pos = std::max<int64_t>(from, 0);
    while (pos + minRecord <= limit) {
      if (pos < start_ || pos + 4 > start_ + length_) {
        // Windows overlap by the signature length less one.
        length_ = std::min(kWindow, limit - pos);
        if (length_ < 4 || !ZAReadAt(stream_, pos, buf_.data(), length_)) {
          length_ = 0;
          return -1;
        }
        start_ = pos;
      }
      const int64_t end = std::min(start_ + length_, limit);
      for (int64_t at = pos; at + 4 <= end; ++at) {
        if (Get32(&buf_[size_t(at - start_)]) != sig) continue;
        return at + minRecord <= limit ? at : -1;
      }
      if (end >= limit) return -1;
      pos = end - 3;
    }
    return -1;
  }

 private:
  static constexpr int64_t kWindow = 65535;
  TStream& stream_;
  std::vector<uint8_t> buf_;
  int64_t start_ = 0;
  int64_t length_ = 0;
};

}  // namespace

// --- The directory array ------------------------------------------------------------

void TZADirArray::Check(int index, int nativeError) const {
  if (index < 0 || index >= Count()) throw EZAException(nativeError, archiver_);
}

void TZADirArray::SetCount(int count) {
  indexed_ = false;
  if (count <= 0) {
    std::vector<TDirItem>().swap(items_);
    return;
  }
  items_.resize(size_t(count));
}

const TDirItem& TZADirArray::Item(int index) const {
  Check(index, zeItemReadIndex);
  return items_[size_t(index)];
}

void TZADirArray::SetItem(int index, const TDirItem& item) {
  Check(index, zeItemWriteIndex);
  indexed_ = false;
  items_[size_t(index)] = item;
}

TDirItem& TZADirArray::At(int index) {
  Check(index, zeItemIndex);
  indexed_ = false;  // the caller may rename it
  return items_[size_t(index)];
}

void TZADirArray::Delete(int index) {
  Check(index, zeItemDeleteIndex);
  indexed_ = false;
  items_.erase(items_.begin() + index);
}

int TZADirArray::Add(TDirItem item) {
  items_.push_back(std::move(item));
  if (indexed_) index_.emplace(items_.back().Name, Count() - 1);
  return Count() - 1;
}

int TZADirArray::IndexOf(std::string_view name) const {
  if (!indexed_) {
    index_.clear();
    for (int i = 0; i < Count(); ++i) index_.emplace(items_[size_t(i)].Name, i);
    indexed_ = true;
  }
  const auto it = index_.find(String(name));
  return it == index_.end() ? -1 : it->second;
}

// --- Directory manager ----------------------------------------------------------------

TZADirManager::TZADirManager(const TComponent* archiver, const TZASignatures& signatures,
                             bool oemFileNames)
    : Items(archiver),
      SavedItems(archiver),
      archiver_(archiver),
      signatures_(signatures),
      oemFileNames_(oemFileNames) {
  EndRecord.Signature = signatures.End;
}

void TZADirManager::Fail(int nativeError) const { throw EZAException(nativeError, archiver_); }

namespace {

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return uint8_t(c) < 0x80; });
}

// Well-formed UTF-8: lead bytes followed by the right number of
// continuation bytes, no overlong two-byte forms.
bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    const uint8_t c = uint8_t(s[i]);
    const size_t len = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3
                                    : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (len == 0 || (len == 2 && c < 0xC2) || i + len > s.size()) return false;
    for (size_t k = 1; k < len; ++k)
      if ((uint8_t(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

}  // namespace

String TZADirManager::EncodeName(const String& name, uint16_t& flags,
                                 uint16_t versionMadeBy) const {
  String plain = name;
  std::replace(plain.begin(), plain.end(), '\\', '/');
  flags &= uint16_t(~ZAFlagUtf8);
  if (IsAscii(plain)) return plain;
  if (!ZAIsUnixHost(versionMadeBy)) {
    if (!oemFileNames_) return plain;
    const String oem = ZAAnsiToOem(plain);
    if (ZAOemToAnsi(oem) == plain) return oem;
  }
  flags |= ZAFlagUtf8;
  return AnsiToUtf8(plain);
}

String TZADirManager::NameFromStored(const String& stored, uint16_t flags,
                                     uint16_t versionMadeBy, bool* exact) const {
  String name;
  bool same = true;
  if ((flags & ZAFlagUtf8) || (ZAIsUnixHost(versionMadeBy) && IsValidUtf8(stored))) {
    name = Utf8ToAnsi(stored);
    same = AnsiToUtf8(name) == stored;
  } else if (oemFileNames_ && !ZAIsUnixHost(versionMadeBy)) {
    name = ZAOemToAnsi(stored);
    same = ZAAnsiToOem(name) == stored;
  } else {
    name = stored;
  }
  if (exact) *exact = same;
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

void TZADirManager::KeepStoredName(TDirItem& item, const TDirItem& was) const {
  item.StoredName.clear();
  if (item.Name != was.Name || was.StoredName.empty()) return;
  const uint16_t plain = uint16_t(item.Header.Flags & ~ZAFlagUtf8);
  for (uint16_t flags : {uint16_t(plain | (was.Header.Flags & ZAFlagUtf8)),
                         uint16_t(plain | ZAFlagUtf8)}) {
    if (NameFromStored(was.StoredName, flags, item.Header.VersionMadeBy) == item.Name) {
      item.StoredName = was.StoredName;
      item.Header.Flags = flags;
      return;
    }
  }
}

bool TZADirManager::FindEndRecord(TStream& stream) {
  endRecordPosition_ = -1;
  const int64_t size = stream.Size();
  const int64_t tail = std::min(size, ZAEndRecordSearchSize);
  if (tail < int64_t(TZAEndRecord::Size)) return false;
  std::vector<uint8_t> buf(static_cast<size_t>(tail));
  if (!ZAReadAt(stream, size - tail, buf.data(), tail)) return false;
  // The last candidate whose record and comment end exactly at the end of
  // the file: a signature inside a comment does not.
  for (int64_t i = tail - int64_t(TZAEndRecord::Size); i >= 0; --i) {
    const uint8_t* p = &buf[size_t(i)];
    if (Get32(p) != signatures_.End) continue;
    TZAEndRecord rec;
    rec.Read(p);
    if (i + int64_t(TZAEndRecord::Size) + rec.CommentLength != tail) continue;
    EndRecord = rec;
    Comment.assign(reinterpret_cast<const char*>(p + TZAEndRecord::Size), rec.CommentLength);
    endRecordPosition_ = size - tail + i;
    return true;
  }
  return false;
}

void TZADirManager::ReadDirectory(TStream& stream, bool endRecordFound,
                                  const std::vector<int64_t>& volumeStarts) {
  Items.SetCount(0);
  SavedItems.SetCount(0);
  UsesZip64 = false;
  StubSize = 0;
  if (endRecordFound && endRecordPosition_ >= 0)
    ReadCentralDirectory(stream, volumeStarts);
  else if (!volumeStarts.empty())
    Fail(zeNoVolumeEnd);
  else
    RecoverFromLocalHeaders(stream);
  SavedItems.Assign(Items);
}

// Reads the Zip64 end record when a locator stands right in front of the end
// record; false when there is no locator. Raises 40 when the locator points
// to nothing.
bool TZADirManager::FindZip64Records(TStream& stream) {
  zip64Position_ = -1;
  uint8_t buf[TZAZip64EndRecord::Size];
  if (endRecordPosition_ < int64_t(TZAZip64Locator::Size) ||
      !ZAReadAt(stream, endRecordPosition_ - int64_t(TZAZip64Locator::Size), buf,
                TZAZip64Locator::Size) ||
      Get32(buf) != ZAZip64LocatorSignature)
    return false;
  Zip64Locator.Read(buf);
  // The record is where the locator says; behind a stub, whose offsets count
  // from the archive part, or in a volume set, whose offsets count from the
  // start of a volume, it is right in front of the locator.
  const int64_t besideLocator =
      endRecordPosition_ - int64_t(TZAZip64Locator::Size + TZAZip64EndRecord::Size);
  for (int64_t candidate : {int64_t(std::min<uint64_t>(Zip64Locator.Zip64Offset, INT64_MAX)),
                            besideLocator}) {
    if (candidate >= 0 && ZAReadAt(stream, candidate, buf, TZAZip64EndRecord::Size) &&
        Get32(buf) == ZAZip64EndSignature) {
      zip64Position_ = candidate;
      Zip64EndRecord.Read(buf);
      return true;
    }
  }
  Fail(zeNoZip64EndRecord);
}

bool TZADirManager::StartsWithLocalHeader(TStream& stream) const {
  uint8_t sig[4];
  return ZAReadAt(stream, 0, sig, sizeof sig) && Get32(sig) == signatures_.Local;
}

uint32_t TZADirManager::LastVolumeNumber(TStream& stream) {
  if (FindZip64Records(stream)) return Zip64Locator.TotalDisks > 0 ? Zip64Locator.TotalDisks - 1 : 0;
  return EndRecord.ThisDisk == ZAMax16 ? 0 : EndRecord.ThisDisk;
}

void TZADirManager::ReadCentralDirectory(TStream& stream,
                                         const std::vector<int64_t>& volumeStarts) {
  int64_t recordPosition = endRecordPosition_;
  uint64_t count = EndRecord.TotalEntries;
  uint64_t dirSize = EndRecord.DirectorySize;
  uint64_t storedOffset = EndRecord.DirectoryOffset;
  uint64_t firstVolume = EndRecord.DirectoryDisk == ZAMax16 ? 0 : EndRecord.DirectoryDisk;
  uint64_t lastVolume = EndRecord.ThisDisk == ZAMax16 ? 0 : EndRecord.ThisDisk;
  UsesZip64 = FindZip64Records(stream);
  if (UsesZip64) {
    recordPosition = zip64Position_;
    count = Zip64EndRecord.TotalEntries;
    dirSize = Zip64EndRecord.DirectorySize;
    storedOffset = Zip64EndRecord.DirectoryOffset;
    firstVolume = Zip64EndRecord.DirectoryDisk;
    lastVolume = Zip64Locator.TotalDisks > 0 ? Zip64Locator.TotalDisks - 1 : 0;
  }
  const bool volumeSet = !volumeStarts.empty();
  // A lone file that claims other volumes cannot be read as one.
  if (!volumeSet && (firstVolume > 0 || lastVolume > 0)) Fail(zeVolumeCancelled);
  // volumeStarts ends with the end of the last volume.
  if (volumeSet && (lastVolume + 2 != volumeStarts.size() || firstVolume > lastVolume)) Fail(zeVolumeCancelled);

  if (dirSize > uint64_t(recordPosition)) Fail(zeDamagedArchive);
  if (count > dirSize / TZACentralHeader::Size) Fail(zeDamagedArchive);
  if (volumeSet) {
    // Offsets of a volume set count from the start of their volume.
    const int64_t start = volumeStarts[size_t(firstVolume)];
    const uint64_t room = uint64_t(recordPosition - start);
    if (dirSize > room || storedOffset > room - dirSize) Fail(zeDamagedArchive);
    DirectoryOffset = start + int64_t(storedOffset);
  } else {
    // The directory ends where the end records start: the stored offset is
    // not used, so bytes in front of the archive do not disturb reading.
    DirectoryOffset = recordPosition - int64_t(dirSize);
  }
  std::vector<uint8_t> dir(static_cast<size_t>(dirSize));
  if (!ZAReadAt(stream, DirectoryOffset, dir.data(), int64_t(dirSize))) Fail(zeDamagedArchive);
  ParseCentralEntries(dir, count);
  if (volumeSet) {
    for (int i = 0; i < Items.Count(); ++i) {
      TDirItem& item = Items.At(i);
      if (item.DiskNumberStart > lastVolume) Fail(zeDamagedArchive);
      item.LocalHeaderOffset += uint64_t(volumeStarts[item.DiskNumberStart]);
    }
    return;
  }
  FindStubSize(stream);
  ShiftOffsetsByStub();
}

void TZADirManager::ParseCentralEntries(const std::vector<uint8_t>& dir, uint64_t count) {
  size_t pos = 0;
  for (uint64_t e = 0; e < count; ++e) {
    if (dir.size() - pos < TZACentralHeader::Size) Fail(zeDamagedArchive);
    TDirItem item;
    item.Header.Read(&dir[pos]);
    if (item.Header.Signature != signatures_.Central) Fail(zeDamagedArchive);
    pos += TZACentralHeader::Size;
    const TZACentralHeader& h = item.Header;
    const size_t variable = size_t(h.NameLength) + h.ExtraLength + h.CommentLength;
    if (dir.size() - pos < variable) Fail(zeDamagedArchive);
    const char* p = reinterpret_cast<const char*>(&dir[pos]);
    item.StoredName.assign(p, h.NameLength);
    item.Name = NameFromStored(item.StoredName, h.Flags, h.VersionMadeBy, &item.NameExact);
    ParseExtraField(item, std::string_view(p + h.NameLength, h.ExtraLength));
    item.Comment.assign(p + h.NameLength + h.ExtraLength, h.CommentLength);
    pos += variable;
    Items.Add(std::move(item));
  }
}

void TZADirManager::ParseExtraField(TDirItem& item, std::string_view extra) const {
  const TZACentralHeader& h = item.Header;
  item.UncompressedSize = h.UncompressedSize;
  item.CompressedSize = h.CompressedSize;
  item.LocalHeaderOffset = h.LocalHeaderOffset;
  item.DiskNumberStart = h.DiskNumberStart;
  const auto* p = reinterpret_cast<const uint8_t*>(extra.data());
  size_t pos = 0;
  while (extra.size() - pos >= 4) {
    const uint16_t id = Get16(p + pos);
    // A block that claims more than is left is cut to what is left.
    const size_t size = std::min<size_t>(Get16(p + pos + 2), extra.size() - pos - 4);
    const uint8_t* data = p + pos + 4;
    if (id == ZAZip64ExtraId) {
      size_t at = 0;
      auto take64 = [&](uint64_t& field) {
        if (size - at < 8) return;
        field = Get64(data + at);
        at += 8;
      };
      if (h.UncompressedSize == ZAMax32) take64(item.UncompressedSize);
      if (h.CompressedSize == ZAMax32) take64(item.CompressedSize);
      if (h.LocalHeaderOffset == ZAMax32) take64(item.LocalHeaderOffset);
      // The disk number start of the Zip64 block is four bytes wide.
      if (h.DiskNumberStart == ZAMax16 && size - at >= 4) item.DiskNumberStart = Get32(data + at);
      item.NeedsZip64 = true;
    } else {
      item.ExtraBlocks.push_back({id, String(reinterpret_cast<const char*>(data), size)});
    }
    pos += 4 + size;
  }
}

void TZADirManager::FindStubSize(TStream& stream) {
  if (Items.Count() == 0) {
    StubSize = endRecordPosition_;
    return;
  }
  const TDirItem& first = Items.Item(0);
  const TZACentralHeader& c = first.Header;
  int64_t pos = int64_t(std::min<uint64_t>(first.LocalHeaderOffset, INT64_MAX));
  SignatureScanner scanner(stream);
  for (;;) {
    pos = scanner.Find(signatures_.Local, pos, DirectoryOffset, TZALocalHeader::Size);
    if (pos < 0) break;
    uint8_t buf[TZALocalHeader::Size];
    if (!ZAReadAt(stream, pos, buf, sizeof buf)) break;
    TZALocalHeader l;
    l.Read(buf);
    // Entries written with a data descriptor leave CRC and sizes blank in
    // the local header; only the fields that are there can be compared.
    const bool sizesKnown = (l.Flags & ZAFlagDataDescriptor) == 0;
    if (l.VersionNeeded == c.VersionNeeded && l.Method == c.Method && l.Time == c.Time &&
        l.Date == c.Date &&
        (!sizesKnown || (l.Crc == c.Crc && l.CompressedSize == c.CompressedSize &&
                         l.UncompressedSize == c.UncompressedSize))) {
      StubSize = pos;
      return;
    }
    pos += 4;
  }
  StubSize = 0;
}

void TZADirManager::ShiftOffsetsByStub() {
  if (Items.Count() == 0 || int64_t(Items.Item(0).LocalHeaderOffset) >= StubSize) return;
  // Offsets count from the start of the archive part: every entry, folders
  // included, has its local header StubSize bytes further on.
  for (int i = 0; i < Items.Count(); ++i) Items.At(i).LocalHeaderOffset += uint64_t(StubSize);
}

void TZADirManager::RecoverFromLocalHeaders(TStream& stream) {
  const int64_t fileSize = stream.Size();
  SignatureScanner headers(stream), descriptors(stream);
  int64_t pos = headers.Find(signatures_.Local, 0, fileSize, TZALocalHeader::Size);
  if (pos < 0) Fail(zeInvalidArchive);
  // The next data descriptor at or after the current header: searches only
  // move forward, and once none is left no header looks again.
  int64_t descriptor = -1;
  bool descriptorsLeft = true;
  while (pos >= 0) {
    uint8_t buf[TZALocalHeader::Size];
    if (!ZAReadAt(stream, pos, buf, sizeof buf)) break;
    TZALocalHeader l;
    l.Read(buf);
    const int64_t nameStart = pos + int64_t(TZALocalHeader::Size);
    const int64_t dataStart = nameStart + l.NameLength + l.ExtraLength;
    // A header cut inside its name keeps the part that is there, and the
    // entry is known to be damaged.
    const int64_t nameLength = std::min<int64_t>(l.NameLength, fileSize - nameStart);
    String stored(size_t(nameLength), '\0');
    if (l.ExtraLength <= 260 && ZAReadAt(stream, nameStart, stored.data(), nameLength)) {
      TDirItem item;
      TZACentralHeader& c = item.Header;
      c.Signature = signatures_.Central;
      c.VersionMadeBy = c.VersionNeeded = l.VersionNeeded;
      c.Flags = l.Flags;
      c.Method = l.Method;
      c.Time = l.Time;
      c.Date = l.Date;
      c.Crc = l.Crc;
      c.CompressedSize = l.CompressedSize;
      c.UncompressedSize = l.UncompressedSize;
      c.NameLength = uint16_t(stored.size());
      item.Name = NameFromStored(stored, l.Flags, c.VersionMadeBy, &item.NameExact);
      item.StoredName = stored;
      c.ExternalAttributes = item.IsFolder() ? faDirectory : faArchive;
      bool sizesKnown = (l.Flags & ZAFlagDataDescriptor) == 0;
      if (!sizesKnown && descriptorsLeft) {
        if (descriptor < pos) {
          descriptor = descriptors.Find(ZADataDescriptorSignature, pos, fileSize, 16);
          descriptorsLeft = descriptor >= 0;
        }
        uint8_t d[12];
        if (descriptor >= 0 && ZAReadAt(stream, descriptor + 4, d, sizeof d)) {
          c.Crc = Get32(d);
          c.CompressedSize = Get32(d + 4);
          c.UncompressedSize = Get32(d + 8);
          sizesKnown = true;
        }
      }
      item.Damaged = nameLength < l.NameLength || !sizesKnown ||
                     dataStart + int64_t(c.CompressedSize) > fileSize;
      item.UncompressedSize = c.UncompressedSize;
      item.CompressedSize = c.CompressedSize;
      item.LocalHeaderOffset = uint64_t(pos);
      c.LocalHeaderOffset = uint32_t(std::min<int64_t>(pos, ZAMax32));
      Items.Add(std::move(item));
    }
    pos = headers.Find(signatures_.Local, pos + 4, fileSize, TZALocalHeader::Size);
  }
  Comment.clear();
  DirectoryOffset = fileSize;
}

// --- Writing ----------------------------------------------------------------------------

TZAPlace TZAStreamOutput::Write(const void* data, int64_t count, int64_t) {
  const TZAPlace place = Here();
  if (stream_.Write(data, count) != count) throw EZAException(zeWriteFailed, archiver_);
  return place;
}

TZAPlace ZACopyToOutput(TStream& source, int64_t position, int64_t count, TZAOutput& out,
                        int64_t keepTogether, const TComponent* archiver) {
  constexpr int64_t kChunk = 1000000;
  std::vector<uint8_t> buf(size_t(std::min(count, kChunk)));
  TZAPlace first = out.Here();
  // The bytes kept together go in the first piece.
  int64_t piece = std::max(keepTogether, std::min(count, kChunk));
  if (int64_t(buf.size()) < piece) buf.resize(size_t(piece));
  for (bool start = true; count > 0; start = false) {
    const int64_t n = std::min(count, piece);
    if (!ZAReadAt(source, position, buf.data(), n)) throw EZAException(zeWriteFailed, archiver);
    const TZAPlace at = out.Write(buf.data(), n, start ? keepTogether : -1);
    if (start) first = at;
    position += n;
    count -= n;
    piece = std::min(count, kChunk);
  }
  return first;
}

TZATempFile::TZATempFile(const String& folder, const TComponent* archiver) {
  name_ = os::CreateTempFile(folder.empty() ? os::TempDirectory() : IncludeTrailingPathDelimiter(folder), "FC");
  try {
    stream_ = std::make_unique<TFileStream>(name_, fmOpenReadWrite | fmShareExclusive);
  } catch (const EStreamError&) {
    throw EZAException(zeCannotCreateFile, archiver, {name_});
  }
}

TZATempFile::~TZATempFile() {
  stream_.reset();
  if (!name_.empty()) os::RemoveFile(name_);
}

void TZADirManager::WriteSfxStub(TStream& archive, TStream& stub) {
  archive.SetSize(0);
  archive.Seek(0, soBeginning);
  stub.Seek(0, soBeginning);
  const int64_t size = stub.Size();
  if (archive.CopyFrom(stub, size) != size) Fail(zeWriteFailed);
  StubSize = size;
}

void TZADirManager::WriteDirectory(TZAOutput& output, bool allowZip64,
                                   const String& archiveName) {
  // Each entry's header, name and extra field stay on one volume; the end
  // records follow in one piece.
  std::vector<uint8_t> out;
  ByteWriter w{out};
  bool first = true;
  TZAPlace start = output.Here();
  uint64_t dirSize = 0;
  auto flush = [&](int64_t keepTogether) {
    if (out.empty()) return;
    const TZAPlace at = output.Write(out.data(), int64_t(out.size()), keepTogether);
    if (first) start = at;
    first = false;
    dirSize += out.size();
    out.clear();
  };
  for (int i = 0; i < Items.Count(); ++i) {
    const TDirItem& item = Items.Item(i);
    TZACentralHeader h = item.Header;
    h.Signature = signatures_.Central;
    const bool bigUnc = item.NeedsZip64 || item.UncompressedSize >= ZAMax32;
    const bool bigComp = item.NeedsZip64 || item.CompressedSize >= ZAMax32;
    const bool bigOffset = item.NeedsZip64 || item.LocalHeaderOffset >= ZAMax32;
    const bool bigDisk = item.DiskNumberStart >= ZAMax16;
    h.UncompressedSize = bigUnc ? ZAMax32 : uint32_t(item.UncompressedSize);
    h.CompressedSize = bigComp ? ZAMax32 : uint32_t(item.CompressedSize);
    h.LocalHeaderOffset = bigOffset ? ZAMax32 : uint32_t(item.LocalHeaderOffset);
    h.DiskNumberStart = bigDisk ? ZAMax16 : uint16_t(item.DiskNumberStart);
    const uint16_t zip64Size = uint16_t(8 * (bigUnc + bigComp + bigOffset) + 4 * bigDisk);
    size_t extraSize = zip64Size ? 4u + zip64Size : 0u;
    for (const TZAExtraBlock& b : item.ExtraBlocks) extraSize += 4 + b.Data.size();
    const String name =
        item.StoredName.empty() ? EncodeName(item.Name, h.Flags, h.VersionMadeBy) : item.StoredName;
    if (name.size() > ZAMax16 || extraSize > ZAMax16 || item.Comment.size() > ZAMax16) Fail(zeWriteFailed);
    h.NameLength = uint16_t(name.size());
    h.ExtraLength = uint16_t(extraSize);
    h.CommentLength = uint16_t(item.Comment.size());
    const size_t at = out.size();
    out.resize(at + TZACentralHeader::Size);
    h.Write(&out[at]);
    w.Bytes(name);
    if (zip64Size) {
      w.U16(ZAZip64ExtraId);
      w.U16(zip64Size);
      if (bigUnc) w.U64(item.UncompressedSize);
      if (bigComp) w.U64(item.CompressedSize);
      if (bigOffset) w.U64(item.LocalHeaderOffset);
      if (bigDisk) w.U32(item.DiskNumberStart);
    }
    for (const TZAExtraBlock& b : item.ExtraBlocks) {
      w.U16(b.Id);
      w.U16(uint16_t(b.Data.size()));
      w.Bytes(b.Data);
    }
    const int64_t keepTogether = int64_t(out.size());
    w.Bytes(item.Comment);
    flush(keepTogether);
  }
  DirectoryOffset = start.Position;

  const uint64_t count = uint64_t(Items.Count());
  const TZAPlace end = output.Here();
  const uint64_t dirEnd = uint64_t(end.Position);
  // More than 65534 entries need the Zip64 count, or a re-read loses some.
  UsesZip64 = dirEnd >= ZAMax32 || count > 65534 || end.Volume >= ZAMax16;
  if (UsesZip64 && !allowZip64) throw EZAException(zeZip64Disabled, archiver_, {archiveName});

  EndRecord = TZAEndRecord();
  EndRecord.Signature = signatures_.End;
  EndRecord.ThisDisk = end.Volume > 65534 ? ZAMax16 : uint16_t(end.Volume);
  EndRecord.DirectoryDisk = start.Volume > 65534 ? ZAMax16 : uint16_t(start.Volume);
  EndRecord.EntriesOnDisk = EndRecord.TotalEntries = count > 65534 ? ZAMax16 : uint16_t(count);
  EndRecord.DirectorySize = dirSize >= ZAMax32 ? ZAMax32 : uint32_t(dirSize);
  EndRecord.DirectoryOffset =
      uint64_t(DirectoryOffset) >= ZAMax32 ? ZAMax32 : uint32_t(DirectoryOffset);
  if (Comment.size() > ZAMax16) Comment.resize(ZAMax16);
  EndRecord.CommentLength = uint16_t(Comment.size());

  if (UsesZip64) {
    Zip64EndRecord = TZAZip64EndRecord();
    Zip64EndRecord.EntriesOnDisk = Zip64EndRecord.TotalEntries = count;
    Zip64EndRecord.DirectorySize = dirSize;
    Zip64EndRecord.DirectoryOffset = uint64_t(DirectoryOffset);
    Zip64EndRecord.ThisDisk = end.Volume;
    Zip64EndRecord.DirectoryDisk = start.Volume;
    Zip64Locator = TZAZip64Locator();
    Zip64Locator.Zip64Disk = end.Volume;
    Zip64Locator.Zip64Offset = dirEnd;
    Zip64Locator.TotalDisks = end.Volume + 1;
    size_t at = out.size();
    out.resize(at + TZAZip64EndRecord::Size + TZAZip64Locator::Size);
    Zip64EndRecord.Write(&out[at]);
    Zip64Locator.Write(&out[at + TZAZip64EndRecord::Size]);
  }
  const size_t at = out.size();
  out.resize(at + TZAEndRecord::Size);
  EndRecord.Write(&out[at]);
  w.Bytes(Comment);
  const TZAPlace records = output.Write(out.data(), int64_t(out.size()), int64_t(out.size()));
  endRecordPosition_ = records.Position + int64_t(out.size()) -
                       int64_t(TZAEndRecord::Size + Comment.size());
  SavedItems.Assign(Items);
}
