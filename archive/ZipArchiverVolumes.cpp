#include "archive/ZipArchiverVolumes.h"

#include <algorithm>
#include <climits>

#include "archive/ZAExcept.h"
#include "platform/OsFiles.h"

// --- Names, limits and labels -----------------------------------------------------------

String ZAVolumeFileName(const String& archiveName, TZASpanningMode mode, bool advancedNaming,
                        bool selfExtracting, bool zipFormat, int volume) {
  const String folder = ExtractFilePath(archiveName);
  const String ext = ExtractFileExt(archiveName);
  const String name = ExtractFileName(archiveName);
  const String base = name.substr(0, name.size() - ext.size());
  if (volume < 0) {
    // The last volume carries the directory and the archive's own name; a
    // self-extracting split set starts with the ".exe" and ends elsewhere.
    if (selfExtracting && mode == smSplitting) return folder + base + (zipFormat ? ".ZIP" : ".ZA");
    return archiveName;
  }
  const String number = Format("%.3d", {volume + 1});
  if (mode == smSpanning) {
    const String volumeExt = selfExtracting ? String(".exe") : ext;
    return advancedNaming ? folder + base + "_" + number + volumeExt : folder + base + volumeExt;
  }
  if (volume == 0 && selfExtracting) return folder + base + ".exe";
  if (advancedNaming) return folder + base + "_" + number + ext;
  return folder + base + (zipFormat ? ".Z" : ".F") + Format("%.2d", {volume + 1});
}

int64_t ZAVolumeLimit(TZAVolumeSize size, int64_t customSize, int64_t firstVolumeSize,
                      int volume) {
  if (volume == 0 && firstVolumeSize > 0) return firstVolumeSize;
  switch (size) {
    case vsAutoDetect: return 0;
    case vsCustom: return std::max<int64_t>(customSize, 65536);
    case vs1_44MB: return 1457664;
    case vs100MB: return 104857600;
    case vs200MB: return 209715200;
    case vs250MB: return 262144000;
    case vs600MB: return 629145600;
    case vs650MB: return 681574400;
    case vs700MB: return 734003200;
    case vs4700MB: return 4928307200;
  }
  return 0;
}

bool ZAHasExeExtension(const String& fileName) {
  return AnsiLowerCase(ExtractFileExt(fileName)).find(".exe") != String::npos;
}

String ZAVolumeLabel(int volume) { return "pkback# " + Format("%.3d", {volume + 1}); }

String ZAExistingFileName(const String& name) {
  if (os::FileExists(name)) return name;
  const String folder = ExtractFilePath(name);
  const String wanted = ExtractFileName(name);
  os::DirSearch search(folder + "*");
  os::TSearchRec rec;
  while (search.Next(rec))
    if (!(rec.Attr & faDirectory) && AnsiSameText(rec.Name, wanted)) return folder + rec.Name;
  return String();
}

// --- Reading a set as one stream ----------------------------------------------------------

TZAVolumeReader::TZAVolumeReader(TOpener opener, uint32_t lastVolume)
    : opener_(std::move(opener)) {
  starts_.push_back(0);
  for (uint32_t v = 0; v <= lastVolume; ++v) {
    current_.reset();
    current_ = opener_(v);
    currentVolume_ = v;
    starts_.push_back(starts_.back() + current_->Size());
  }
}

TStream& TZAVolumeReader::Volume(uint32_t volume) {
  if (!current_ || currentVolume_ != volume) {
    current_.reset();
    current_ = opener_(volume);
    currentVolume_ = volume;
  }
  return *current_;
}

int64_t TZAVolumeReader::Read(void* buffer, int64_t count) {
  auto* p = static_cast<uint8_t*>(buffer);
  int64_t done = 0;
  while (done < count && position_ < Size()) {
    // The last volume starting at or before the position: empty volumes
    // share their start with the next one.
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), position_);
    const uint32_t v = uint32_t(next - starts_.begin() - 1);
    TStream& s = Volume(v);
    s.Seek(position_ - starts_[v], soBeginning);
    const int64_t n = s.Read(p + done, std::min(count - done, *next - position_));
    if (n <= 0) break;
    done += n;
    position_ += n;
  }
  return done;
}

int64_t TZAVolumeReader::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position_ : Size();
  position_ = std::max<int64_t>(0, base + offset);
  return position_;
}

// --- Writing across volumes -----------------------------------------------------------------

TZAVolumeWriter::TZAVolumeWriter(TOpener opener, bool flushFullVolumes,
                                 const TComponent* archiver)
    : opener_(std::move(opener)), flushFullVolumes_(flushFullVolumes), archiver_(archiver) {
  String name;
  current_ = opener_(0, limit_, name);
  names_.push_back(name);
}

int64_t TZAVolumeWriter::Room() {
  int64_t room = limit_ > 0 ? limit_ - current_->Position() : INT64_MAX;
  const int64_t free = os::DiskFree(ExtractFilePath(VolumeName()));
  if (free >= 0) room = std::min(room, free);
  return std::max<int64_t>(room, 0);
}

void TZAVolumeWriter::NextVolume() {
  if (flushFullVolumes_)
    if (auto* file = dynamic_cast<THandleStream*>(current_.get())) os::FileFlush(file->Handle());
  current_.reset();
  ++volume_;
  String name;
  current_ = opener_(volume_, limit_, name);
  names_.push_back(name);
}

int64_t TZAVolumeWriter::Write(const void* buffer, int64_t count) {
  Write(buffer, count, -1);
  return count;
}

TZAPlace TZAVolumeWriter::Write(const void* data, int64_t count, int64_t keepTogether) {
  const auto* p = static_cast<const uint8_t*>(data);
  TZAPlace place = Here();
  bool placed = false;
  bool freshVolume = false;
  while (count > 0) {
    const int64_t need = !placed && keepTogether > 0 ? std::min(keepTogether, count) : 1;
    const int64_t room = Room();
    if (room < need) {
      // A record that does not fit on an empty volume fits nowhere.
      if (freshVolume) throw EZAException(zeWriteFailed, archiver_);
      NextVolume();
      freshVolume = true;
      continue;
    }
    const int64_t n = std::min(count, room);
    if (!placed) place = Here();
    placed = true;
    freshVolume = false;
    if (current_->Write(p, n) != n) throw EZAException(zeWriteFailed, archiver_);
    p += n;
    count -= n;
  }
  return place;
}

void TZAVolumeWriter::Finish(const String& finalName) {
  if (VolumeName() == finalName) return;
  current_.reset();
  if (os::FileExists(finalName)) os::RemoveFile(finalName);
  if (!os::RenameFile(VolumeName(), finalName))
    throw EZAException(zeCannotCreateFile, archiver_, {finalName});
  names_.back() = finalName;
  current_ = std::make_unique<TFileStream>(finalName, fmOpenReadWrite | fmShareDenyWrite);
  current_->Seek(0, soEnd);
}

void TZAVolumeWriter::Discard(int64_t keep) {
  current_.reset();
  for (size_t i = 1; i < names_.size(); ++i) os::RemoveFile(names_[i]);
  names_.resize(1);
  volume_ = 0;
  current_ = std::make_unique<TFileStream>(names_[0], fmOpenReadWrite | fmShareDenyWrite);
  current_->SetSize(keep);
  current_->Seek(keep, soBeginning);
}
