// Volume sets and stubs on the component's side: the names of volumes, the
// requests for disks and files behind the prompt interface, the detection
// of a set when an archive is opened, and the stub in front of a new one.
#include "archive/ZAConst.h"
#include "archive/ZipArchiver.h"
#include "archive/ZipArchiverDrives.h"

namespace {

// Enough room on a volume's disk: more than 64 KiB, and the whole limit
// when there is one.
constexpr int64_t kMinimumFreeSpace = 65536;

String FolderOf(const String& fileName) {
  const String folder = ExtractFilePath(fileName);
  return folder.empty() ? String(".") : folder;
}

}  // namespace

bool TZABaseArchiver::SelfExtracting() const {
  return (dir_ && dir_->StubSize > 0) || !sfxStub_.empty() || ZAHasExeExtension(fileName_);
}

String TZABaseArchiver::VolumeFileNameFor(int volume, bool checkExists) const {
  const bool advanced = spanningOptions_.AdvancedNaming();
  const String name =
      ZAVolumeFileName(fileName_, spanningMode_, advanced, SelfExtracting(), zipFormat_, volume);
  if (!checkExists || spanningMode_ != smSpanning || os::FileExists(name)) return name;
  const String other =
      ZAVolumeFileName(fileName_, spanningMode_, !advanced, SelfExtracting(), zipFormat_, volume);
  return os::FileExists(other) ? other : name;
}

// --- Writing a set ----------------------------------------------------------------------------

std::unique_ptr<TStream> TZABaseArchiver::CreateVolume(uint32_t volume, int64_t& limit,
                                                       String& name) {
  limit = ZAVolumeLimit(spanningOptions_.VolumeSize(), spanningOptions_.CustomVolumeSize(),
                        spanningOptions_.FirstVolumeSize(), int(volume));
  for (;;) {
    name = VolumeFileNameFor(int(volume));
    bool cancel = false;
    DoRequestBlankVolume(int(volume) + 1, name, cancel);
    if (cancel) throw EZAException(zeVolumeCancelled, this);
    const int64_t free = os::DiskFree(FolderOf(name));
    if (free < 0 || (free > kMinimumFreeSpace && (limit == 0 || free >= limit))) break;
    DoDiskFull(int(volume) + 1, name, limit, free, cancel);
    if (cancel) throw EZAException(zeVolumeCancelled, this);
  }
  std::unique_ptr<TStream> file;
  try {
    file = std::make_unique<TFileStream>(name, fmCreate);
  } catch (const EStreamError&) {
    throw EZAException(zeCannotCreateFile, this, {name});
  }
  // Only a disk of its own gets a label; a fixed drive keeps its name.
  if (spanningMode_ == smSpanning && ZAIsRemovableDrive(name))
    ZASetVolumeLabel(name, ZAVolumeLabel(int(volume)));
  return file;
}

void TZABaseArchiver::WriteStub() {
  std::unique_ptr<TFileStream> stub;
  try {
    stub = std::make_unique<TFileStream>(sfxStub_, fmOpenRead | fmShareDenyWrite);
  } catch (const EStreamError&) {
    throw EZAException(zeCannotOpenFile, this, {sfxStub_});
  }
  const int64_t firstLimit =
      ZAVolumeLimit(spanningOptions_.VolumeSize(), spanningOptions_.CustomVolumeSize(),
                    spanningOptions_.FirstVolumeSize(), 0);
  if (volumes_ && firstLimit > 0 && stub->Size() > firstLimit) throw EZAException(zeStubTooLarge, this);
  dir_->WriteSfxStub(*stream_, *stub);
}

// --- Reading a set ----------------------------------------------------------------------------

// Called with the last volume open and its end record read, when it tells
// of volumes before it. Split volumes are numbered files beside the last
// one, under either naming; without them the set is spanned over disks.
// Returns false when the file cannot be part of a set.
bool TZABaseArchiver::DetectVolumeMode(uint32_t lastVolume) {
  const bool advanced = spanningOptions_.AdvancedNaming();
  for (bool naming : {advanced, !advanced}) {
    const String before = ZAVolumeFileName(fileName_, smSplitting, naming, SelfExtracting(),
                                           zipFormat_, int(lastVolume) - 1);
    if (!ZAExistingFileName(before).empty()) {
      spanningMode_ = smSplitting;
      spanningOptions_.SetAdvancedNaming(naming);
      return true;
    }
  }
  if (ZAHasExeExtension(fileName_)) return false;
  spanningMode_ = smSpanning;
  return true;
}

std::unique_ptr<TStream> TZABaseArchiver::OpenVolumeForReading(uint32_t volume,
                                                               uint32_t lastVolume) {
  String name = VolumeFileNameFor(volume == lastVolume ? -1 : int(volume), true);
  bool cancel = false;
  if (volume == lastVolume)
    DoRequestLastVolume(name, cancel);
  else if (volume == 0)
    DoRequestFirstVolume(name, cancel);
  else
    DoRequestMiddleVolume(int(volume) + 1, name, cancel);
  const String existing = cancel ? String() : ZAExistingFileName(name);
  if (existing.empty()) throw EZAException(zeVolumeCancelled, this);
  try {
    return std::make_unique<TFileStream>(existing, fmOpenRead | fmShareDenyNone);
  } catch (const EStreamError&) {
    throw EZAException(zeVolumeCancelled, this);
  }
}

// Replaces the stream of the last volume by one that reads the whole set,
// and reads its directory.
void TZABaseArchiver::OpenVolumeSet(uint32_t lastVolume) {
  if (!DetectVolumeMode(lastVolume)) {
    dir_->ReadDirectory(*stream_, true);  // a lone file claiming other volumes: 45
    return;
  }
  stream_.reset();
  auto reader = std::make_unique<TZAVolumeReader>(
      [this, lastVolume](uint32_t v) { return OpenVolumeForReading(v, lastVolume); },
      lastVolume);
  const std::vector<int64_t> starts = reader->Starts();
  stream_ = std::move(reader);
  volumeSet_ = true;
  dir_->ReadDirectory(*stream_, dir_->FindEndRecord(*stream_), starts);
}

// --- Requests without a handler -------------------------------------------------------------

void TZABaseArchiver::DoRequestBlankVolume(int volumeNumber, String& volumeFileName,
                                           bool& cancel) {
  cancel = false;
  if (OnRequestBlankVolume)
    OnRequestBlankVolume(this, volumeNumber, volumeFileName, cancel);
  else if (spanningMode_ == smSpanning)
    cancel = !Prompts().Confirm(Format(SZARequestBlankVolume, {volumeNumber}));
}

void TZABaseArchiver::DoRequestFirstVolume(String& volumeFileName, bool& cancel) {
  cancel = false;
  if (OnRequestFirstVolume)
    OnRequestFirstVolume(this, volumeFileName, cancel);
  else if (spanningMode_ == smSpanning)
    cancel = !Prompts().Confirm(SZARequestFirstVolume);
}

void TZABaseArchiver::DoRequestLastVolume(String& volumeFileName, bool& cancel) {
  cancel = false;
  if (OnRequestLastVolume) {
    OnRequestLastVolume(this, volumeFileName, cancel);
    return;
  }
  if (spanningMode_ != smSpanning) return;
  cancel = !Prompts().Confirm(SZARequestLastVolume);
  while (!cancel && ZAExistingFileName(volumeFileName).empty())
    cancel = !Prompts().Confirm(Format(SZALastVolumeNotFound, {volumeFileName}));
}

void TZABaseArchiver::DoRequestMiddleVolume(int volumeNumber, String& volumeFileName,
                                            bool& cancel) {
  cancel = false;
  if (OnRequestMiddleVolume)
    OnRequestMiddleVolume(this, volumeNumber, volumeFileName, cancel);
  else if (spanningMode_ == smSpanning)
    cancel = !Prompts().Confirm(Format(SZARequestMiddleVolume, {volumeNumber}));
}

void TZABaseArchiver::DoDiskFull(int volumeNumber, const String& volumeFileName,
                                 int64_t required, int64_t available, bool& cancel) {
  cancel = spanningMode_ != smSpanning;
  if (OnDiskFull)
    OnDiskFull(this, volumeNumber, volumeFileName, cancel);
  else if (spanningMode_ == smSpanning)
    cancel = !Prompts().Confirm(Format(SZADiskFull, {required, available}));
}
