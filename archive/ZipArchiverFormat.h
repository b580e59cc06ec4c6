// The zip records, the in-memory directory and its reader and writer.
//
// Records are little-endian and parsed field by field from byte buffers, so
// their layout never depends on the compiler. Everything read from a file is
// checked against the bytes that are really there before it is used: counts
// against the directory size, the directory against the file, names, extra
// fields and comments against what is left of their record.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "archive/ZipArchiverTypes.h"
#include "platform/Streams.h"

class TComponent;

// The signatures and version field of a format: the zip format, or the base
// archiver's own variant of it.
struct TZASignatures {
  uint32_t Local;
  uint32_t Central;
  uint32_t End;
  uint16_t Version;
  uint16_t VersionZip64;
};
extern const TZASignatures ZAZipSignatures;
extern const TZASignatures ZABaseSignatures;

constexpr uint32_t ZAZip64EndSignature = 0x06064B50;
constexpr uint32_t ZAZip64LocatorSignature = 0x07064B50;
constexpr uint32_t ZADataDescriptorSignature = 0x08074B50;

constexpr uint16_t ZAVersionZip64 = 45;
constexpr uint16_t ZAVersionOem = 0x0014;
constexpr uint16_t ZAVersionAnsi = 0x0B14;
constexpr uint16_t ZAZip64ExtraId = 1;
constexpr uint32_t ZAMax32 = 0xFFFFFFFFu;
constexpr uint16_t ZAMax16 = 0xFFFF;
// The end record and its comment lie within this many bytes of the end.
constexpr int64_t ZAEndRecordSearchSize = 65600;
constexpr uint16_t ZAFlagEncrypted = 1;
constexpr uint16_t ZAFlagDataDescriptor = 8;
constexpr uint16_t ZAFlagUtf8 = 0x800;
constexpr uint16_t ZAFolderFlags = 2;
// The high byte of "version made by" names the system that wrote an entry;
// 3 is Unix, whose names are UTF-8 as a rule and whose attributes carry a
// mode in their high word.
constexpr int ZAHostUnix = 3;
inline bool ZAIsUnixHost(uint16_t versionMadeBy) { return (versionMadeBy >> 8) == ZAHostUnix; }

struct TZALocalHeader {
  static constexpr size_t Size = 30;
  uint32_t Signature = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint16_t Time = 0;
  uint16_t Date = 0;
  uint32_t Crc = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t NameLength = 0;
  uint16_t ExtraLength = 0;

  void Read(const uint8_t* p);
  void Write(uint8_t* p) const;
};

struct TZACentralHeader {
  static constexpr size_t Size = 46;
  uint32_t Signature = 0;
  uint16_t VersionMadeBy = 0;
  uint16_t VersionNeeded = 0;
  uint16_t Flags = 0;
  uint16_t Method = 0;
  uint16_t Time = 0;
  uint16_t Date = 0;
  uint32_t Crc = 0;
  uint32_t CompressedSize = 0;
  uint32_t UncompressedSize = 0;
  uint16_t NameLength = 0;
  uint16_t ExtraLength = 0;
  uint16_t CommentLength = 0;
  uint16_t DiskNumberStart = 0;
  uint16_t InternalAttributes = 0;
  uint32_t ExternalAttributes = 0;
  uint32_t LocalHeaderOffset = 0;

  void Read(const uint8_t* p);
  void Write(uint8_t* p) const;
};

struct TZAEndRecord {
  static constexpr size_t Size = 22;
  uint32_t Signature = 0;
  uint16_t ThisDisk = 0;
  uint16_t DirectoryDisk = 0;
  uint16_t EntriesOnDisk = 0;
  uint16_t TotalEntries = 0;
  uint32_t DirectorySize = 0;
  uint32_t DirectoryOffset = 0;
  uint16_t CommentLength = 0;

  void Read(const uint8_t* p);
  void Write(uint8_t* p) const;
};

struct TZAZip64EndRecord {
  static constexpr size_t Size = 56;
  uint32_t Signature = ZAZip64EndSignature;
  uint64_t RecordSize = Size - 12;
  uint16_t VersionMadeBy = ZAVersionZip64;
  uint16_t VersionNeeded = ZAVersionZip64;
  uint32_t ThisDisk = 0;
  uint32_t DirectoryDisk = 0;
  uint64_t EntriesOnDisk = 0;
  uint64_t TotalEntries = 0;
  uint64_t DirectorySize = 0;
  uint64_t DirectoryOffset = 0;

  void Read(const uint8_t* p);
  void Write(uint8_t* p) const;
};

struct TZAZip64Locator {
  static constexpr size_t Size = 20;
  uint32_t Signature = ZAZip64LocatorSignature;
  uint32_t Zip64Disk = 0;
  uint64_t Zip64Offset = 0;
  uint32_t TotalDisks = 1;

  void Read(const uint8_t* p);
  void Write(uint8_t* p) const;
};

struct TZAExtraBlock {
  uint16_t Id = 0;
  String Data;
};

// One entry of the directory. Header keeps the fields as read; the sizes,
// offset and disk that code uses are the 64-bit values below, which the
// reader fills from the Zip64 block where the header carries overflow marks
// and the writer turns back into header fields and a Zip64 block.
struct TDirItem {
  TZACentralHeader Header;
  String Name;  // "/" separators, Windows-1252
  // The name's bytes as stored, written back unchanged while the entry keeps
  // its name; empty for a name not yet encoded.
  String StoredName;
  // False when some character of the stored name has no place in
  // Windows-1252: such an entry cannot be extracted under its name.
  bool NameExact = true;
  String Comment;
  std::vector<TZAExtraBlock> ExtraBlocks;  // every block but the Zip64 one

  bool NeedsZip64 = false;
  uint64_t UncompressedSize = 0;
  uint64_t CompressedSize = 0;
  uint64_t LocalHeaderOffset = 0;
  uint32_t DiskNumberStart = 0;
  // Found by the recovery scan with its header or data cut off: decoding it
  // fails.
  bool Damaged = false;

  // Pending change (update mode).
  bool Modified = false;
  String OldName;  // poRename: the name the entry has on disk
  String Password;
  String SourceFileName;
  int CompressionMode = 0;
  bool Selected = false;
  TZAProcessOperation Operation = poAdd;

  // A folder is exactly an entry whose name ends in "/".
  bool IsFolder() const { return !Name.empty() && Name.back() == '/'; }
  bool IsEncrypted() const { return (Header.Flags & ZAFlagEncrypted) != 0; }
  uint32_t DosDateTime() const { return uint32_t(Header.Date) << 16 | Header.Time; }
};

// The list of directory items. Touching an index outside the count raises
// EZAException: 1 writing, 2 reading, 3 addressing, 4 deleting.
class TZADirArray {
 public:
  explicit TZADirArray(const TComponent* archiver) : archiver_(archiver) {}

  int Count() const { return int(items_.size()); }
  void SetCount(int count);
  const TDirItem& Item(int index) const;         // 2
  void SetItem(int index, const TDirItem& item);  // 1
  TDirItem& At(int index);                        // 3
  void Delete(int index);                         // 4
  int Add(TDirItem item);
  void Assign(const TZADirArray& source) {
    items_ = source.items_;
    indexed_ = false;
  }
  // Index of the first item named name (compared exactly), -1 when none.
  int IndexOf(std::string_view name) const;

 private:
  void Check(int index, int nativeError) const;

  const TComponent* archiver_;
  std::vector<TDirItem> items_;
  // Names to indexes, built by IndexOf and kept while items are only added:
  // queueing a large tree looks up every name once.
  mutable std::unordered_map<String, int> index_;
  mutable bool indexed_ = false;
};

// Where a record lands: the volume and the position in it (always volume 0
// in a single-file archive).
struct TZAPlace {
  uint32_t Volume = 0;
  int64_t Position = 0;
};

// Where the writer puts its records: one stream, or a volume set that moves
// on to a new volume when one is full.
class TZAOutput {
 public:
  virtual ~TZAOutput() = default;
  // Writes count bytes, keeping the first keepTogether of them (-1: none) on
  // one volume, and tells where the first byte went. Raises EZAException 46
  // when not every byte could be written.
  virtual TZAPlace Write(const void* data, int64_t count, int64_t keepTogether) = 0;
  // Where the next byte goes.
  virtual TZAPlace Here() = 0;
};

// The output of a single-file archive: its stream, at the stream's position.
class TZAStreamOutput : public TZAOutput {
 public:
  TZAStreamOutput(TStream& stream, const TComponent* archiver)
      : stream_(stream), archiver_(archiver) {}
  TZAPlace Write(const void* data, int64_t count, int64_t keepTogether) override;
  TZAPlace Here() override { return {0, stream_.Position()}; }

 private:
  TStream& stream_;
  const TComponent* archiver_;
};

class TZADirManager {
 public:
  TZADirManager(const TComponent* archiver, const TZASignatures& signatures, bool oemFileNames);

  TZADirArray Items;
  TZADirArray SavedItems;  // the directory as it is on disk
  TZAEndRecord EndRecord;
  TZAZip64EndRecord Zip64EndRecord;
  TZAZip64Locator Zip64Locator;
  String Comment;
  int64_t DirectoryOffset = 0;  // where the directory on disk starts
  int64_t StubSize = 0;         // bytes in front of the first local header
  bool UsesZip64 = false;       // the archive has Zip64 end records

  // Finds the end record in the last bytes of the stream; false when there
  // is none. Fills EndRecord and Comment.
  bool FindEndRecord(TStream& stream);
  // True when the stream starts with a local header: a file without end
  // records that does is a damaged archive, one that does not is none.
  bool StartsWithLocalHeader(TStream& stream) const;
  // The number of the last volume as the end record found before (and the
  // Zip64 locator in front of it) tell; 0 for a single file.
  uint32_t LastVolumeNumber(TStream& stream);
  // Reads the directory behind the end record found before, or rebuilds it
  // from the local headers when there was none. volumeStarts holds, for a
  // volume set read as one stream, where each volume starts in it; empty
  // for a single file. Raises EZAException 35, 40, 44, 45 or 48 on archives
  // it cannot read.
  void ReadDirectory(TStream& stream, bool endRecordFound,
                     const std::vector<int64_t>& volumeStarts = {});
  // Writes the directory where the output stands. Zip64 end records are
  // written when offsets, sizes or the count need them; allowZip64 false
  // makes that an EZAException 43 naming archiveName.
  void WriteDirectory(TZAOutput& out, bool allowZip64, const String& archiveName);
  // The same at the position of a single-file archive's stream.
  void WriteDirectory(TStream& stream, bool allowZip64, const String& archiveName) {
    TZAStreamOutput out(stream, archiver_);
    WriteDirectory(out, allowZip64, archiveName);
  }
  // Copies the whole stub in front of a new, empty archive; the entries
  // follow it.
  void WriteSfxStub(TStream& archive, TStream& stub);

  // The stored form of a new name, for an entry made by versionMadeBy, and
  // the UTF-8 flag in flags to go with it: "/" separators; the OEM code page
  // when configured (raw Windows-1252 otherwise) where every character has a
  // place in it and the entry is not from Unix; UTF-8 else.
  String EncodeName(const String& name, uint16_t& flags, uint16_t versionMadeBy) const;
  // The name of stored bytes: UTF-8 when the flag says so, or when the entry
  // comes from Unix and the bytes are valid UTF-8; other Unix names are taken
  // as they are; the rest in the OEM code page when configured. exact, when
  // given, tells whether every character found its place.
  String NameFromStored(const String& stored, uint16_t flags, uint16_t versionMadeBy,
                        bool* exact = nullptr) const;
  // Gives item, whose name is the one was has, was's stored bytes where they
  // read back as that name under item's header; else they are encoded anew.
  void KeepStoredName(TDirItem& item, const TDirItem& was) const;

 private:
  bool FindZip64Records(TStream& stream);
  void ReadCentralDirectory(TStream& stream, const std::vector<int64_t>& volumeStarts);
  void ParseCentralEntries(const std::vector<uint8_t>& dir, uint64_t count);
  void ParseExtraField(TDirItem& item, std::string_view extra) const;
  void FindStubSize(TStream& stream);
  void RecoverFromLocalHeaders(TStream& stream);
  void ShiftOffsetsByStub();
  [[noreturn]] void Fail(int nativeError) const;

  const TComponent* archiver_;
  const TZASignatures& signatures_;
  bool oemFileNames_;
  int64_t endRecordPosition_ = -1;
  int64_t zip64Position_ = -1;  // of the Zip64 end record, -1 when none
};

// Reads exactly count bytes at position, false when the stream has fewer.
bool ZAReadAt(TStream& stream, int64_t position, void* buffer, int64_t count);

// Copies count bytes from position of source to the output, the first
// keepTogether of them on one volume; tells where the first byte went.
// Raises EZAException 46 when the source has fewer bytes.
TZAPlace ZACopyToOutput(TStream& source, int64_t position, int64_t count, TZAOutput& out,
                        int64_t keepTogether, const TComponent* archiver);

// A new temporary file, prefix "FC", in folder (the system's temporary
// folder when empty), open for reading and writing and deleted when this
// goes. Raises EZAException 19 when it cannot be created.
class TZATempFile {
 public:
  TZATempFile(const String& folder, const TComponent* archiver);
  ~TZATempFile();
  TZATempFile(const TZATempFile&) = delete;
  TZATempFile& operator=(const TZATempFile&) = delete;
  TFileStream& Stream() { return *stream_; }

 private:
  String name_;
  std::unique_ptr<TFileStream> stream_;
};

// The local Zip64 extra field: id 1, size 16, uncompressed and compressed size.
constexpr size_t ZAZip64LocalExtraSize = 20;
void ZAWriteZip64LocalExtra(uint8_t* p, uint64_t uncompressedSize, uint64_t compressedSize);
