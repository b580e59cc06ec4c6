// The writer: files queued by AddFiles become directory items marked as
// modified; CommitUpdates writes them behind the entries already on disk and
// then writes a new central directory. A failed or cancelled commit puts the
// archive back as it was.
//
// New entries only ever go after the old ones, so the bytes of the entries
// already on disk are never moved.
#include <cassert>
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

// --- Queueing -------------------------------------------------------------------------------

void TZABaseArchiver::AddFiles(const String& fileMask) {
  CheckActive();
  MakeWritable();
  const String base = baseDir_.empty() ? os::GetCurrentDir() : baseDir_;
  const String path = ZAExpandFileName(fileMask, base);
  const String name = ExtractFileName(path);
  if (name.find_first_of("*?") != String::npos) {
    QueueFolderContents(ExtractFilePath(path), name, base);
    return;
  }
  const String plain = ExcludeTrailingPathDelimiter(path);
  const int32_t attr = os::FileGetAttr(plain);
  if (attr < 0) throw EZAException(33, this, {fileMask});
  QueueFile(plain, uint32_t(attr), base);
  if ((attr & faDirectory) && options_.Recurse())
    QueueFolderContents(IncludeTrailingPathDelimiter(plain), "*", base);
}

void TZABaseArchiver::QueueFolderContents(const String& folder, const String& mask,
                                          const String& base) {
  os::DirSearch search(folder + "*");
  os::TSearchRec rec;
  std::vector<os::TSearchRec> found;
  while (search.Next(rec)) found.push_back(rec);
  std::sort(found.begin(), found.end(),
            [](const os::TSearchRec& a, const os::TSearchRec& b) { return a.Name < b.Name; });
  for (const os::TSearchRec& r : found) {
    const String full = folder + r.Name;
    const bool isFolder = (r.Attr & faDirectory) != 0;
    if (MatchesMask(r.Name, mask)) QueueFile(full, r.Attr, base);
    if (isFolder && options_.Recurse())
      QueueFolderContents(IncludeTrailingPathDelimiter(full), mask, base);
  }
}

void TZABaseArchiver::QueueFile(const String& fileName, uint32_t attr, const String& base) {
  TDirItem item;
  if (!PrepareItemFromFile(item, fileName, base)) return;
  String comment;
  DoStoreFile(item.Name, item.Header.ExternalAttributes, comment, fileName);
  item.Comment = comment;
  if (item.Name.empty()) return;
  // Entries are never replaced in place: the old bytes stay as they are.
  if (dir_->Items.IndexOf(item.Name) >= 0)
    throw Exception(Format("Entry \"%s\" is already in the archive", {item.Name}));
  item.Operation = poAdd;
  dir_->Items.Add(std::move(item));
  if (updateCount_ <= 0) updateCount_ = 1;
}

bool TZABaseArchiver::PrepareItemFromFile(TDirItem& item, const String& fileName,
                                          const String& base) {
  String stored = StoredNameFor(fileName, base, options_.StorePath());
  if (stored.empty()) return false;
  const int32_t attr = os::FileGetAttr(fileName);
  const bool isFolder = attr >= 0 && (attr & faDirectory);
  const int64_t modTime = os::FileGetModTime(fileName);
  const uint32_t dosTime = modTime >= 0 ? ZAUnixToDosDateTime(modTime) : ZANowDosDateTime();
  if (isFolder) stored += '/';

  item.Name = stored;
  item.Modified = true;
  item.Password = password_;
  item.SourceFileName = fileName;
  item.CompressionMode = isFolder ? 0 : compressionMode_;

  TZACentralHeader& h = item.Header;
  h = TZACentralHeader();
  h.Signature = Signatures().Central;
  h.Method = uint16_t(std::max(compressionMethod_, 0));
  const uint16_t version = zipFormat_ ? (options_.OEMFileNames() ? ZAVersionOem : ZAVersionAnsi)
                                      : Signatures().Version;
  h.VersionMadeBy = h.VersionNeeded = version;
  if (!password_.empty()) h.Flags = ZAFlagEncrypted;
  h.Time = uint16_t(dosTime);
  h.Date = uint16_t(dosTime >> 16);
  h.Crc = 0xFFFFFFFF;
  h.NameLength = uint16_t(std::min<size_t>(stored.size(), ZAMax16));
  h.ExternalAttributes = attr >= 0 ? uint32_t(attr) : faArchive;
  if (isFolder) {
    h.Method = 0;
    h.Crc = 0;
    h.Flags = ZAFolderFlags;
  }
  return true;
}

// --- Commit ---------------------------------------------------------------------------------

void TZABaseArchiver::CommitUpdates() {
  if (updateCount_ <= 0) return;
  updateCount_ = 0;
  filesDone_ = 0;
  filesToDo_ = 0;
  cancel_ = false;
  TZADirArray& items = dir_->Items;
  const TZADirArray& saved = dir_->SavedItems;
  int first = -1;
  for (int i = 0; i < items.Count(); ++i) {
    if (!items.Item(i).Modified) continue;
    ++filesToDo_;
    if (first < 0) first = i;
  }
  if (first < 0) return;
  // New entries only follow the old ones, which stay on disk as they are.
  assert(first >= saved.Count());

  const TZAProcessOperation firstOperation = items.Item(first).Operation;
  DoOverallProgress(0, firstOperation, ppStart, cancel_);
  if (cancel_) {
    items.Assign(saved);
    cancel_ = false;
    return;
  }

  const int64_t rewriteAt = saved.Count() == 0 ? dir_->StubSize : dir_->DirectoryOffset;
  bool aborted = false;
  try {
    stream_->SetSize(rewriteAt);
    stream_->Seek(rewriteAt, soBeginning);
    for (int i = first; i < items.Count() && !cancel_ && !aborted;) {
      TDirItem& item = items.At(i);
      operation_ = item.Operation;
      TZAAction action = fxaIgnore;
      try {
        const int64_t entryStart = stream_->Position();
        try {
          AddEntry(item);
        } catch (const EZAException&) {
          // A failed entry leaves nothing behind.
          stream_->SetSize(entryStart);
          stream_->Seek(entryStart, soBeginning);
          throw;
        }
      } catch (const EZAException& e) {
        DoProcessFileFailure(item.SourceFileName, item.Operation, e.NativeError(), e.ErrorCode(),
                             e.Message(), action);
        if (action == fxaRetry) continue;
        if (action == fxaAbort) {
          aborted = true;
          break;
        }
        items.Delete(i);  // ignored: the new entry is dropped
        continue;
      }
      if (cancel_) break;
      item.Modified = false;
      ++filesDone_;
      ++i;
    }
    if (!cancel_ && !aborted) dir_->WriteDirectory(*stream_, zip64Mode_ != zmDisabled, fileName_);
  } catch (...) {
    RollBack(rewriteAt);
    throw;
  }
  if (cancel_ || aborted) {
    RollBack(rewriteAt);
    cancel_ = false;
    return;
  }
  DoOverallProgress(100, firstOperation, ppEnd, cancel_);
  if (options_.FlushBuffers())
    if (auto* file = dynamic_cast<THandleStream*>(stream_.get())) os::FileFlush(file->Handle());
}

// The old entries are all still in place in front of rewritePosition: cut
// what was written after them and write the old directory again.
void TZABaseArchiver::RollBack(int64_t rewritePosition) {
  dir_->Items.Assign(dir_->SavedItems);
  stream_->SetSize(rewritePosition);
  stream_->Seek(rewritePosition, soBeginning);
  if (rewritePosition > 0 || dir_->Items.Count() > 0)
    dir_->WriteDirectory(*stream_, true, fileName_);
}

// --- Adding one entry -----------------------------------------------------------------------

void TZABaseArchiver::AddEntry(TDirItem& item) {
  String displayName = item.SourceFileName;
  DoFileProgress(displayName, 0, item.Operation, ppStart, cancel_);
  if (cancel_) return;

  std::unique_ptr<TFileStream> source;
  if (!item.IsFolder()) {
    try {
      source = std::make_unique<TFileStream>(
          item.SourceFileName, fmOpenRead | ShareModeFlags(options_.ShareMode()));
    } catch (const EStreamError&) {
      throw EZAException(33, this, {item.SourceFileName});
    }
  }
  const int64_t sourceSize = source ? source->Size() : 0;
  const uint64_t offset = uint64_t(stream_->Position());
  const bool bigOffset = offset >= ZAMax32;
  const bool bigSizes = MayNeedZip64Sizes(sourceSize);
  item.NeedsZip64 = bigOffset || bigSizes || zip64Mode_ == zmAlways;
  if (item.NeedsZip64 && zip64Mode_ == zmDisabled)
    throw EZAException(43, this, {item.SourceFileName});

  TZACentralHeader& h = item.Header;
  if (item.NeedsZip64) h.VersionNeeded = ZAVersionZip64;
  h.VersionMadeBy = h.VersionNeeded;
  if (sourceSize == 0 || item.CompressionMode == 0) h.Method = 0;
  if (item.Password.empty() || item.IsFolder())
    h.Flags &= uint16_t(~ZAFlagEncrypted);
  else
    h.Flags |= ZAFlagEncrypted;
  // Headers are written first with the sizes still unknown, then again.
  const String name = dir_->StoredName(item.Name);
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
  if (stream_->Write(head.data(), int64_t(head.size())) != int64_t(head.size()))
    throw EZAException(46, this);

  uint64_t compressedSize = 0;
  uint32_t crc = 0;
  if (source && sourceSize > 0) {
    EncodeData(item, *source, sourceSize, *stream_, compressedSize, crc);
    if (cancel_) return;
  } else {
    h.Flags &= uint16_t(~ZAFlagEncrypted);
  }
  if (!item.NeedsZip64 && compressedSize >= ZAMax32)
    throw EZAException(41, this, {item.SourceFileName});

  h.Crc = crc;
  item.CompressedSize = compressedSize;
  item.UncompressedSize = uint64_t(sourceSize);
  item.LocalHeaderOffset = offset;
  item.DiskNumberStart = 0;
  local.Flags = h.Flags;
  local.Crc = crc;
  local.CompressedSize = item.NeedsZip64 ? ZAMax32 : uint32_t(compressedSize);
  local.UncompressedSize = item.NeedsZip64 ? ZAMax32 : uint32_t(sourceSize);
  local.Write(head.data());
  if (item.NeedsZip64)
    ZAWriteZip64LocalExtra(head.data() + TZALocalHeader::Size + name.size(), item.UncompressedSize,
                           compressedSize);
  const int64_t end = stream_->Position();
  stream_->Seek(int64_t(offset), soBeginning);
  if (stream_->Write(head.data(), int64_t(head.size())) != int64_t(head.size()))
    throw EZAException(46, this);
  stream_->Seek(end, soBeginning);
  DoFileProgress(displayName, 100, item.Operation, ppEnd, cancel_);
}

void TZABaseArchiver::EncodeData(TDirItem& item, TStream& source, int64_t sourceSize,
                                 TStream& target, uint64_t& compressedSize, uint32_t& crc) {
  const int mode = item.CompressionMode;
  const bool encrypt = !item.Password.empty();
  std::vector<uint8_t> block(std::min<size_t>(ZABlockSizeForMode(mode), size_t(sourceSize)));
  std::vector<uint8_t> out;
  auto write = [&](const uint8_t* data, size_t count) {
    if (target.Write(data, int64_t(count)) != int64_t(count)) throw EZAException(46, this);
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
  if (done < sourceSize) throw EZAException(34, this, {sourceSize, done});
  crc = ZACrcFinal(running);
}
