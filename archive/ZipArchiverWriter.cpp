// Writing one entry, a step of the commit (ZipArchiverCommit.cpp): its
// local header, name and Zip64 extra, then its data encoded.
//
// The header goes first with the sizes still unknown and is written again
// once the data are in. A volume set cannot seek back across volumes, so
// there the entry is written into a temporary file first and then copied to
// the volumes, its header kept on one volume.
#include <cstring>

#include "archive/ZipArchiver.h"

namespace {

uint32_t ShareModeFlags(TZAFileShareMode mode) {
  static const uint32_t kFlags[] = {fmShareCompat, fmShareExclusive, fmShareDenyWrite,
                                    fmShareDenyRead, fmShareDenyNone};
  return kFlags[mode];
}

// A source near 4 GiB may grow past it once compressed or encrypted; such
// entries reserve their Zip64 extra field up front.
bool MayNeedZip64Sizes(int64_t size) {
  return uint64_t(size) + uint64_t(size) / 256 + (1u << 20) >= ZAMax32;
}

}  // namespace

void TZABaseArchiver::AddEntry(TDirItem& item, TZAOutput& out) {
  DoFileProgress(item.SourceFileName, 0, item.Operation, ppStart, cancel_);
  if (cancel_) return;

  std::unique_ptr<TFileStream> source;
  if (!item.IsFolder()) {
    try {
      source = std::make_unique<TFileStream>(
          item.SourceFileName, fmOpenRead | ShareModeFlags(options_.ShareMode()));
    } catch (const EStreamError&) {
      throw EZAException(zeCannotOpenFile, this, {item.SourceFileName});
    }
  }
  const int64_t sourceSize = source ? source->Size() : 0;
  // An offset past 4 GiB needs the Zip64 extra as much as a big size does.
  const bool bigOffset = uint64_t(out.Here().Position) >= ZAMax32;
  item.NeedsZip64 = bigOffset || MayNeedZip64Sizes(sourceSize) || zip64Mode_ == zmAlways;
  if (item.NeedsZip64 && zip64Mode_ == zmDisabled)
    throw EZAException(zeZip64Disabled, this, {item.SourceFileName});

  TMemoryStream none;
  TStream& from = source ? static_cast<TStream&>(*source) : none;
  if (!volumes_) {
    const TZAPlace place = out.Here();
    WriteEntry(item, from, sourceSize, source != nullptr, *stream_);
    item.LocalHeaderOffset = uint64_t(place.Position);
    item.DiskNumberStart = 0;
  } else {
    TZATempFile temp(tempDir_, this);
    WriteEntry(item, from, sourceSize, source != nullptr, temp.Stream());
    if (cancel_) return;
    const int64_t headerSize =
        int64_t(TZALocalHeader::Size + item.StoredName.size()) +
        (item.NeedsZip64 ? int64_t(ZAZip64LocalExtraSize) : 0);
    const TZAPlace place =
        ZACopyToOutput(temp.Stream(), 0, temp.Stream().Size(), out, headerSize, this);
    item.LocalHeaderOffset = uint64_t(place.Position);
    item.DiskNumberStart = place.Volume;
  }
  if (cancel_) return;
  DoFileProgress(item.SourceFileName, 100, item.Operation, ppEnd, cancel_);
}

// Writes the local header, name, Zip64 extra and data of item at the
// target's position, and fills in the item's CRC-32 and sizes.
void TZABaseArchiver::WriteEntry(TDirItem& item, TStream& source, int64_t sourceSize,
                                 bool hasSource, TStream& target) {
  TZACentralHeader& h = item.Header;
  if (item.NeedsZip64) h.VersionNeeded = ZAVersionZip64;
  h.VersionMadeBy = h.VersionNeeded;
  if (sourceSize == 0 || item.CompressionMode == 0) h.Method = 0;
  if (item.Password.empty() || item.IsFolder())
    h.Flags &= uint16_t(~ZAFlagEncrypted);
  else
    h.Flags |= ZAFlagEncrypted;
  if (item.StoredName.empty())
    item.StoredName = dir_->EncodeName(item.Name, h.Flags, h.VersionMadeBy);
  const String& name = item.StoredName;
  TZALocalHeader local;
  local.Signature = Signatures().Local;
  local.VersionNeeded = h.VersionNeeded;
  local.Flags = h.Flags;
  local.Method = h.Method;
  local.Time = h.Time;
  local.Date = h.Date;
  local.NameLength = uint16_t(name.size());
  local.ExtraLength = item.NeedsZip64 ? uint16_t(ZAZip64LocalExtraSize) : 0;
  std::vector<uint8_t> head(TZALocalHeader::Size + name.size() + local.ExtraLength);
  local.Write(head.data());
  std::memcpy(head.data() + TZALocalHeader::Size, name.data(), name.size());
  const int64_t headerAt = target.Position();
  if (target.Write(head.data(), int64_t(head.size())) != int64_t(head.size()))
    throw EZAException(zeWriteFailed, this);

  uint64_t compressedSize = 0;
  uint32_t crc = 0;
  if (hasSource && sourceSize > 0) {
    EncodeData(item, source, sourceSize, target, compressedSize, crc);
    if (cancel_) return;
  } else {
    h.Flags &= uint16_t(~ZAFlagEncrypted);
  }
  if (!item.NeedsZip64 && compressedSize >= ZAMax32)
    throw EZAException(zeZip64Size, this, {item.SourceFileName});

  h.Crc = crc;
  item.CompressedSize = compressedSize;
  item.UncompressedSize = uint64_t(sourceSize);
  local.Flags = h.Flags;
  local.Crc = crc;
  local.CompressedSize = item.NeedsZip64 ? ZAMax32 : uint32_t(compressedSize);
  local.UncompressedSize = item.NeedsZip64 ? ZAMax32 : uint32_t(sourceSize);
  local.Write(head.data());
  if (item.NeedsZip64)
    ZAWriteZip64LocalExtra(head.data() + TZALocalHeader::Size + name.size(), item.UncompressedSize,
                           compressedSize);
  const int64_t end = target.Position();
  target.Seek(headerAt, soBeginning);
  if (target.Write(head.data(), int64_t(head.size())) != int64_t(head.size()))
    throw EZAException(zeWriteFailed, this);
  target.Seek(end, soBeginning);
}

void TZABaseArchiver::EncodeData(TDirItem& item, TStream& source, int64_t sourceSize,
                                 TStream& target, uint64_t& compressedSize, uint32_t& crc) {
  const int mode = item.CompressionMode;
  const bool encrypt = !item.Password.empty();
  std::vector<uint8_t> block(std::min<size_t>(ZABlockSizeForMode(mode), size_t(sourceSize)));
  std::vector<uint8_t> out;
  auto write = [&](const uint8_t* data, size_t count) {
    if (target.Write(data, int64_t(count)) != int64_t(count)) throw EZAException(zeWriteFailed, this);
    compressedSize += count;
  };

  uint32_t running = ZACrcStart;
  TZAKeys keys;
  if (encrypt) {
    // The header carries the CRC, so it is computed in a pass of its own.
    for (int64_t left = sourceSize; left > 0;) {
      const int64_t n = source.Read(block.data(), std::min<int64_t>(left, int64_t(block.size())));
      if (n <= 0) break;
      running = UpdateCrc32(running, block.data(), size_t(n));
      left -= n;
    }
    source.Seek(0, soBeginning);
    uint8_t header[ZAEncryptionHeaderSize];
    MakeEncryptionHeader(header, item.Password, ZACrcFinal(running), keys);
    write(header, sizeof header);
  }

  std::unique_ptr<TZADeflater> deflater;
  if (item.Header.Method == 8) deflater = std::make_unique<TZADeflater>(mode);
  int64_t done = 0;
  while (done < sourceSize) {
    const double fraction = double(done) / double(sourceSize);
    DoFileProgress(item.SourceFileName, fraction * 100, item.Operation, ppProcess, cancel_);
    if (!cancel_) FireOverallFromFile(fraction);
    if (cancel_) return;
    const int64_t n =
        source.Read(block.data(), std::min<int64_t>(sourceSize - done, int64_t(block.size())));
    if (n <= 0) break;
    done += n;
    if (!encrypt) running = UpdateCrc32(running, block.data(), size_t(n));
    const uint8_t* data = block.data();
    size_t count = size_t(n);
    if (deflater) {
      deflater->DeflateBlock(block.data(), size_t(n), done == sourceSize, out);
      data = out.data();
      count = out.size();
    } else if (encrypt) {
      out.assign(block.begin(), block.begin() + n);
      data = out.data();
    }
    if (encrypt) EncryptBuffer(const_cast<uint8_t*>(data), count, keys);
    write(data, count);
  }
  if (done < sourceSize) throw EZAException(zeShortSource, this, {sourceSize, done});
  crc = ZACrcFinal(running);
}
