// Decoding one entry: find its data behind the local header, check the
// password, inflate or copy, and check size and CRC-32.
//
// Nothing the archive states is trusted: the data may not reach into the
// central directory, output stops as soon as it passes the declared size,
// and memory stays bounded whatever the entry claims.
#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "archive/ZipArchiver.h"
#include "platform/Threads.h"

namespace {

constexpr uint64_t kChunkSize = 1 << 20;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint16_t kMethodDeflate64 = 9;
constexpr uint16_t kMethodAes = 99;  // the method field of an AES-encrypted entry

String EntryDisplayName(const TDirItem& entry) {
  String name = entry.Name;
  std::replace(name.begin(), name.end(), '/', '\\');
  return name;
}

}  // namespace

bool TZABaseArchiver::ExtractItemToStream(int index, TStream& stream) {
  CheckActive();
  if (index < 0 || index >= dir_->Items.Count()) throw EZAException(zeExtractIndex, this);
  cancel_ = false;
  const TDirItem& entry = dir_->Items.Item(index);

  bool failed = false, skipped = false;
  uint64_t written = 0;
  uint32_t crc = ZACrcStart;
  uint64_t dataAt = 0, compressedSize = 0;
  if (entry.Damaged || !LocateData(entry, dataAt, compressedSize)) {
    failed = true;
  } else if (entry.Header.Method == kMethodDeflate64) {
    throw EZAException(zeDeflate64, this);
  } else if (entry.Header.Method == kMethodAes) {
    throw EZAException(zeAesEncryption, this);
  } else if (entry.Header.Method != kMethodStored && entry.Header.Method != kMethodDeflated) {
    throw EZAException(zeUnknownMethod, this, {int(entry.Header.Method)});
  } else {
    CheckNoOverlap(entry, dataAt + compressedSize);
    TZAReadAhead::TDecoded decoded;
    if (readAhead_ && readAhead_->Take(index, password_, dataAt, compressedSize, decoded)) {
      failed = !WriteDecoded(entry, decoded, stream, written, crc);
      readAhead_->Release(index);
    } else {
      stream_->Seek(int64_t(dataAt), soBeginning);
      failed = !DecodeData(*stream_, entry, compressedSize, stream, written, crc, skipped);
      // A password given for this entry is likely the one of the next ones.
      if (readAhead_ && readAhead_->Password() != password_) readAhead_ = StartReadAhead(index + 1);
    }
  }
  if (!skipped && !cancel_) {
    failed = failed || written != entry.UncompressedSize;
    failed = failed || ZACrcFinal(crc) != entry.Header.Crc;
  }
  if (failed && !cancel_ && !extractCorruptedFiles_ && !skipped) throw EZAException(zeDamagedEntry, this);
  return !skipped && !cancel_;
}

// Where an entry's data lie: behind its local header, and never reaching
// into the central directory, whatever the sizes say. False when the local
// header cannot be read or is not one.
bool TZABaseArchiver::LocateData(const TDirItem& entry, uint64_t& dataAt, uint64_t& compressedSize) {
  uint8_t buf[TZALocalHeader::Size];
  const uint64_t headerAt = entry.LocalHeaderOffset;
  const uint64_t dirStart = uint64_t(dir_->DirectoryOffset);
  if (headerAt > dirStart || !ZAReadAt(*stream_, int64_t(headerAt), buf, sizeof buf)) return false;
  TZALocalHeader local;
  local.Read(buf);
  dataAt = headerAt + TZALocalHeader::Size + local.NameLength + local.ExtraLength;
  if (local.Signature != Signatures().Local || dataAt > dirStart) return false;
  compressedSize = std::min(entry.CompressedSize, dirStart - dataAt);
  return true;
}

// The selected entries of a plain archive file from first on are decoded
// ahead on other threads while the loop works (see TZAReadAhead); entries
// still queued for an update, and volume sets, are read by the loop alone.
std::unique_ptr<TZAReadAhead> TZABaseArchiver::StartReadAhead(int first) {
  const auto* file = dynamic_cast<const TFileStream*>(stream_.get());
  if (!file || volumeSet_ || InUpdate()) return nullptr;
  std::vector<TZAReadAhead::TJob> jobs;
  for (int i = first; i < dir_->Items.Count(); ++i) {
    const TDirItem& entry = dir_->Items.Item(i);
    const uint16_t method = entry.Header.Method;
    if (!entry.Selected || entry.IsFolder() || entry.Damaged || (method != kMethodStored && method != kMethodDeflated))
      continue;
    TZAReadAhead::TJob job;
    // Entries the loop refuses are not decoded ahead.
    if (!LocateData(entry, job.DataAt, job.CompressedSize) ||
        Overlaps(entry, job.DataAt + job.CompressedSize))
      continue;
    job.Index = i;
    job.Size = entry.UncompressedSize;
    job.Crc = entry.Header.Crc;
    job.CheckByte = ZAPasswordCheckByte(entry.Header.Crc, entry.Header.Time, entry.Header.Flags);
    job.Encrypted = entry.IsEncrypted();
    job.Deflated = method == kMethodDeflated;
    jobs.push_back(job);
  }
  if (jobs.size() < 2) return nullptr;
  TZAReadAhead::TWriting writing;
  const bool light = LightPathAllowed();
  if (light) {
    SetTargets(jobs);
    writing.Base = extractBase_;
    writing.CreateDirs = options_.CreateDirs();
    writing.Flush = options_.FlushBuffers() && IsRemovable(extractBase_);
  }
  // A worker for every few mebibytes to decode, and where workers write
  // the files too, for every few hundred files: starting threads costs
  // more than a small archive takes.
  uint64_t total = 0;
  for (const TZAReadAhead::TJob& job : jobs) total += job.CompressedSize;
  const uint64_t files = light ? jobs.size() : 0;
  const uint64_t processors = uint64_t(std::clamp(ProcessorCount(), 1, 8));
  const int workers = int(std::min<uint64_t>(total / (4 << 20) + files / 256 + 1, processors));
  return std::make_unique<TZAReadAhead>(file->FileName(), password_, std::move(jobs), workers,
                                        std::move(writing));
}

// Extraction into files where no event asks about single entries: nothing
// can rename, skip or cancel an entry, or watch its progress, so the
// workers may write the entries themselves, ahead of the loop.
bool TZABaseArchiver::LightPathAllowed() const {
  return operation_ == poExtract && !extractBase_.empty() && !OnConfirmProcessFile &&
         !OnExtractFile && !OnFileProgress && !OnOverallProgress;
}

// Gives each job whose entry has a plain, safe name of its own a target
// below the base folder. Entries whose targets coincide (one name twice,
// names that differ in case only) stay with the loop, which writes them
// in order.
void TZABaseArchiver::SetTargets(std::vector<TZAReadAhead::TJob>& jobs) {
  std::unordered_map<String, int> uses;
  for (TZAReadAhead::TJob& job : jobs) {
    const TDirItem& entry = dir_->Items.Item(job.Index);
    if (!entry.NameExact || (entry.Header.ExternalAttributes & faDirectory)) continue;
    String name = entry.Name;
    std::replace(name.begin(), name.end(), '/', '\\');
    try {
      job.TargetPath = TargetPathFor(name, extractBase_);
    } catch (const EZAException&) {
      continue;  // the loop reports it
    }
    job.Details = DetailsFor(entry, entry.Header.ExternalAttributes, true);
    ++uses[AnsiLowerCase(job.TargetPath)];
  }
  for (TZAReadAhead::TJob& job : jobs)
    if (!job.TargetPath.empty() && uses[AnsiLowerCase(job.TargetPath)] > 1) job.TargetPath.clear();
}

// Writes the bytes of an entry decoded ahead, with the progress events of
// the loop's own decoding.
bool TZABaseArchiver::WriteDecoded(const TDirItem& entry, const TZAReadAhead::TDecoded& decoded,
                                   TStream& target, uint64_t& written, uint32_t& crc) {
  const String displayName = EntryDisplayName(entry);
  do {
    const double fraction = decoded.Size ? double(written) / double(decoded.Size) : 0;
    DoFileProgress(displayName, fraction * 100, operation_, ppProcess, cancel_);
    if (!cancel_) FireOverallFromFile(fraction);
    if (cancel_) return false;
    const int64_t n = int64_t(std::min<uint64_t>(kChunkSize, decoded.Size - written));
    if (target.Write(decoded.Data + written, n) != n) return false;
    written += uint64_t(n);
  } while (written < decoded.Size);
  crc = decoded.Crc;
  return true;
}

// Entries never share bytes in a sound archive. Data that run into the
// next local header, or two entries with one header, are how small archives
// unpack to enormous sizes: such an entry is refused with EZAException 59.
void TZABaseArchiver::CheckNoOverlap(const TDirItem& entry, uint64_t dataEnd) {
  if (Overlaps(entry, dataEnd)) throw EZAException(zeOverlappingEntries, this, {entry.Name});
}

bool TZABaseArchiver::Overlaps(const TDirItem& entry, uint64_t dataEnd) {
  const TZADirArray& onDisk = dir_->SavedItems;
  if (headerOffsets_.size() != size_t(onDisk.Count())) {
    headerOffsets_.clear();
    for (int i = 0; i < onDisk.Count(); ++i) headerOffsets_.push_back(onDisk.Item(i).LocalHeaderOffset);
    std::sort(headerOffsets_.begin(), headerOffsets_.end());
  }
  const auto next =
      std::upper_bound(headerOffsets_.begin(), headerOffsets_.end(), entry.LocalHeaderOffset);
  const bool shared = next - headerOffsets_.begin() >= 2 && *(next - 2) == entry.LocalHeaderOffset;
  return shared || (next != headerOffsets_.end() && *next < dataEnd);
}

bool TZABaseArchiver::CheckPassword(TStream& stream, const TDirItem& entry, TZAKeys& keys) {
  uint8_t header[ZAEncryptionHeaderSize];
  if (stream.Read(header, sizeof header) != int64_t(sizeof header)) return false;
  const uint8_t check = ZAPasswordCheckByte(entry.Header.Crc, entry.Header.Time, entry.Header.Flags);
  return CheckEncryptionHeader(header, password_, check, keys);
}

bool TZABaseArchiver::DecodeData(TStream& source, const TDirItem& entry, uint64_t compressedSize,
                                 TStream& target, uint64_t& written, uint32_t& crc,
                                 bool& skipped) {
  const bool encrypted = entry.IsEncrypted();
  TZAKeys keys;
  if (encrypted) {
    if (compressedSize < ZAEncryptionHeaderSize) return false;
    compressedSize -= ZAEncryptionHeaderSize;
    const int64_t headerAt = source.Position();
    while (!CheckPassword(source, entry, keys)) {
      String newPassword = password_;
      DoPassword(EntryDisplayName(entry), newPassword, skipped);
      // The same answer again would ask forever.
      if (skipped || newPassword == password_) {
        skipped = true;
        return false;
      }
      password_ = newPassword;
      source.Seek(headerAt, soBeginning);
    }
  }

  std::unique_ptr<TZAInflater> inflater;
  if (entry.Header.Method == kMethodDeflated) inflater = std::make_unique<TZAInflater>();
  const uint64_t limit = entry.UncompressedSize;
  bool overflow = false, writeFailed = false;
  const TZAInflater::Sink sink = [&](const uint8_t* data, size_t count) {
    if (count > limit - written) {
      overflow = true;
      return false;
    }
    crc = UpdateCrc32(crc, data, count);
    if (target.Write(data, int64_t(count)) != int64_t(count)) {
      writeFailed = true;
      return false;
    }
    written += count;
    return true;
  };

  std::vector<uint8_t> chunk(size_t(std::min(kChunkSize, std::max<uint64_t>(compressedSize, 1))));
  const String displayName = EntryDisplayName(entry);
  uint64_t done = 0;
  while (done < compressedSize) {
    const double fraction = double(done) / double(compressedSize);
    DoFileProgress(displayName, fraction * 100, operation_, ppProcess, cancel_);
    if (!cancel_) FireOverallFromFile(fraction);
    if (cancel_) return false;

    const size_t n = size_t(std::min<uint64_t>(chunk.size(), compressedSize - done));
    if (source.Read(chunk.data(), int64_t(n)) != int64_t(n)) return false;
    done += n;
    if (encrypted) DecryptBuffer(chunk.data(), n, keys);
    if (inflater) {
      const TZAInflater::Result r = inflater->InflateBlock(chunk.data(), n, sink);
      if (r == TZAInflater::irError || r == TZAInflater::irStopped) return false;
      if (r == TZAInflater::irEnd) break;
    } else if (!sink(chunk.data(), n)) {
      return false;
    }
  }
  return !overflow && !writeFailed;
}

void TZABaseArchiver::FireOverallFromFile(double fileFraction) {
  if (filesToDo_ <= 0) return;
  DoOverallProgress((fileFraction + filesDone_) / filesToDo_ * 100, operation_, ppProcess, cancel_);
}
