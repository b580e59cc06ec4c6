#include "archive/ZipArchiver.h"

#include "archive/ZAConst.h"
#include "archive/ZipArchiverDrives.h"


// --- Options ---------------------------------------------------------------------

void TZAOptions::Assign(const TPersistent* source) {
  if (const auto* o = dynamic_cast<const TZAOptions*>(source)) {
    *this = *o;
    return;
  }
  TPersistent::Assign(source);
}

void TZASpanningOptions::Assign(const TPersistent* source) {
  if (const auto* o = dynamic_cast<const TZASpanningOptions*>(source)) {
    *this = *o;
    return;
  }
  TPersistent::Assign(source);
}

// --- Construction and properties ----------------------------------------------------

TZABaseArchiver::TZABaseArchiver(TComponent* owner) : TComponent(owner) {
  SelectCompressionMethod();
}

TZABaseArchiver::~TZABaseArchiver() {
  try {
    CloseArchiveFile();
  } catch (...) {
    // A destructor has no one to report to; the archive is closed all the same.
  }
}

void TZABaseArchiver::SetCompressionLevel(TZACompressionLevel level) {
  static const int kModes[] = {0, 1, 6, 9};
  compressionLevel_ = level;
  compressionMode_ = kModes[static_cast<int>(level)];
  SelectCompressionMethod();
}

void TZABaseArchiver::SetCompressionMode(int mode) {
  if (mode < 0 || mode > 9) throw EZAException(zeCompressionMode, this);
  compressionMode_ = mode;
  using L = TZACompressionLevel;
  compressionLevel_ = mode == 0 ? L::clNone : mode <= 3 ? L::clFastest : mode <= 6 ? L::clNormal : L::clMax;
  SelectCompressionMethod();
}

String TZABaseArchiver::CurrentVersion() const { return ZACurrentVersion; }

void TZABaseArchiver::SetSpanningMode(TZASpanningMode mode) {
  if (active_) throw Exception(SZACannotSetSpanningMode);
  spanningMode_ = mode;
}

void TZABaseArchiver::SetInMemory(bool v) {
  if (!active_ || v == inMemory_) {
    inMemory_ = v;
    return;
  }
  if (inMemory_) {
    if (fileName_.empty()) throw EZAException(zeInMemoryNoFileName, this);
    ReopenFromMemory();
  } else {
    CloseArchiveFile();
    inMemory_ = true;
    OpenArchiveFile();
  }
}

// Writes the archive held in memory, updates included, to FileName and
// reopens it from there.
void TZABaseArchiver::ReopenFromMemory() {
  CommitUpdates();
  FinishNewArchive();
  auto* memory = static_cast<TMemoryStream*>(stream_.get());
  try {
    memory->SaveToFile(fileName_);
  } catch (const EStreamError&) {
    throw EZAException(zeCannotCreateFile, this, {fileName_});
  }
  FreeArchive();
  inMemory_ = false;
  OpenArchiveFile();
}

const TZASignatures& TZABaseArchiver::Signatures() const {
  return zipFormat_ ? ZAZipSignatures : ZABaseSignatures;
}

void TZABaseArchiver::CheckActive() const {
  if (!active_) throw EZAException(zeNotOpen, this);
}

int TZABaseArchiver::FileCount() const { return dir_ ? dir_->Items.Count() : 0; }

const TDirItem& TZABaseArchiver::DirItem(int index) const {
  CheckActive();
  return dir_->Items.Item(index);
}

// --- Opening and closing ------------------------------------------------------------------

void TZABaseArchiver::OpenArchiveFile() {
  if (!inMemory_ && ExtractFileName(fileName_).empty()) throw EZAException(zeBlankFileName, this);
  int mode = ZAModeCreate;
  if (!inMemory_ && os::FileExists(fileName_)) {
    // A file that cannot be written (read-only, locked, read-only media) is
    // opened for reading only, without a word.
    const THandle h = os::FileOpen(fileName_, fmOpenReadWrite | fmShareDenyWrite);
    mode = h == InvalidHandle ? ZAModeReadOnly : ZAModeReadWrite;
    if (h != InvalidHandle) os::FileClose(h);
  }
  OpenArchiveMode(mode);
}

void TZABaseArchiver::OpenArchiveMode(int mode) {
  if (!inMemory_ && ExtractFileName(fileName_).empty()) throw EZAException(zeBlankFileNameMode, this);
  if (mode != ZAModeCreate && !inMemory_ && !os::FileExists(fileName_) &&
      spanningMode_ != smSpanning && !IsRemovable(fileName_))
    throw EZAException(zeArchiveNotFound, this, {fileName_});
  if (mode != ZAModeCreate && inMemory_) throw EZAException(zeInMemoryCreateOnly, this, {fileName_});
  CloseArchiveFile();
  openMode_ = mode;
  try {
    if (mode == ZAModeCreate)
      CreateNew();
    else
      OpenExisting();
  } catch (...) {
    FreeArchive();
    throw;
  }
  active_ = true;
  if (AfterOpen) AfterOpen(this);
}

bool TZABaseArchiver::IsRemovable(const String& fileName) const {
  const String drive = Copy(fileName, 1, 2);
  return AnsiSameText(drive, "A:") || AnsiSameText(drive, "B:") || ZAIsRemovableDrive(fileName);
}

void TZABaseArchiver::CreateNew() {
  dir_ = std::make_unique<TZADirManager>(this, Signatures(), options_.OEMFileNames());
  if (inMemory_) {
    stream_ = std::make_unique<TMemoryStream>();
  } else if (spanningMode_ != smNone) {
    auto volumes = std::make_unique<TZAVolumeWriter>(
        [this](uint32_t volume, int64_t& limit, String& name) {
          return CreateVolume(volume, limit, name);
        },
        spanningMode_ == smSpanning, this);
    volumes_ = volumes.get();
    stream_ = std::move(volumes);
  } else {
    try {
      stream_ = std::make_unique<TFileStream>(fileName_, fmCreate);
    } catch (const EStreamError&) {
      throw EZAException(zeCannotCreateFile, this, {fileName_});
    }
  }
  writable_ = true;
  if (!sfxStub_.empty()) WriteStub();
}

// A new archive that got no entries still needs its end record: written
// behind the stub, if any, and in the last volume's name.
void TZABaseArchiver::FinishNewArchive() {
  if (stream_->Size() > dir_->StubSize || dir_->Items.Count() > 0) return;
  const bool allowZip64 = zip64Mode_ != zmDisabled;
  if (volumes_) {
    dir_->WriteDirectory(static_cast<TZAOutput&>(*volumes_), allowZip64, fileName_);
    volumes_->Finish(VolumeFileNameFor(-1));
    return;
  }
  stream_->Seek(0, soEnd);
  dir_->WriteDirectory(*stream_, allowZip64, fileName_);
}

// Reading and extracting never need write access, so the file is opened for
// reading only, letting others read and write it; the mode asked for is
// taken when an update starts (MakeWritable).
//
// A valid end record that names disk 0 makes a single file, whatever else
// lies beside it. One that names a later disk belongs to a volume set.
// An ".exe" without an end record is the stub volume of a self-extracting
// split set, whose last volume carries the ".ZIP" extension.
void TZABaseArchiver::OpenExisting() {
  spanningMode_ = smNone;
  dir_ = std::make_unique<TZADirManager>(this, Signatures(), options_.OEMFileNames());
  auto openFile = [this](const String& name) {
    try {
      stream_ = std::make_unique<TFileStream>(name, fmOpenRead | fmShareDenyNone);
    } catch (const EStreamError&) {
      throw EZAException(zeCannotOpenFile, this, {name});
    }
  };
  openFile(fileName_);
  bool found = dir_->FindEndRecord(*stream_);
  if (!found && ZAHasExeExtension(fileName_)) {
    spanningMode_ = smSplitting;
    const String last = ZAExistingFileName(VolumeFileNameFor(-1));
    spanningMode_ = smNone;
    if (!last.empty()) {
      openFile(last);
      found = dir_->FindEndRecord(*stream_);
    }
  }
  if (found) {
    const uint32_t lastVolume = dir_->LastVolumeNumber(*stream_);
    if (lastVolume > 0) {
      OpenVolumeSet(lastVolume);
      return;
    }
  }
  if (!found && !recoverDamagedArchives_)
    throw EZAException(dir_->StartsWithLocalHeader(*stream_) ? zeDamagedArchive : zeInvalidArchive, this);
  dir_->ReadDirectory(*stream_, found);
}

// Opens the archive file in the mode chosen at open time, for an update.
// An archive that could only be opened read-only raises EZAException 32.
void TZABaseArchiver::MakeWritable() {
  if (writable_) return;
  if (openMode_ == ZAModeReadOnly) throw EZAException(zeReadOnly, this);
  std::unique_ptr<TStream> stream = OpenForUpdate();
  // Someone may have written the file since the directory was read.
  if (stream->Size() != stream_->Size()) throw EZAException(zeCannotOpenFile, this, {fileName_});
  stream_ = std::move(stream);
  writable_ = true;
}

// The archive file in the mode for updates: the one chosen at open time, or
// reading and writing for an archive this component created.
std::unique_ptr<TStream> TZABaseArchiver::OpenForUpdate() {
  const int mode = openMode_ == ZAModeCreate ? ZAModeReadWrite : openMode_;
  try {
    return std::make_unique<TFileStream>(fileName_, uint32_t(mode));
  } catch (const EStreamError&) {
    throw EZAException(zeCannotOpenFile, this, {fileName_});
  }
}

void TZABaseArchiver::FreeArchive() {
  active_ = false;
  volumeSet_ = false;
  volumes_ = nullptr;
  writable_ = false;
  updateCount_ = 0;
  headerOffsets_.clear();
  stream_.reset();
  dir_.reset();
}

void TZABaseArchiver::CloseArchiveFile() {
  if (!active_) {
    FreeArchive();
    return;
  }
  std::exception_ptr failure;
  try {
    CommitUpdates();
    FinishNewArchive();
  } catch (...) {
    failure = std::current_exception();
  }
  FreeArchive();
  if (failure) std::rethrow_exception(failure);
}

void TZABaseArchiver::CancelUpdateMode() {
  if (updateCount_ > 0) updateCount_ = 0;
}

// --- Events ------------------------------------------------------------------------------

void TZABaseArchiver::SelectCompressionMethod() { compressionMethod_ = -1; }

void TZABaseArchiver::DoOverallProgress(double progress, TZAProcessOperation operation,
                                        TZAProgressPhase phase, bool& cancel) {
  cancel = false;
  if (OnOverallProgress) OnOverallProgress(this, progress, operation, phase, cancel);
}

void TZABaseArchiver::DoFileProgress(const String& fileName, double progress,
                                     TZAProcessOperation operation, TZAProgressPhase phase,
                                     bool& cancel) {
  cancel = false;
  if (OnFileProgress) OnFileProgress(this, fileName, progress, operation, phase, cancel);
}

void TZABaseArchiver::DoCopyTempFileProgress(double progress, TZAProgressPhase phase,
                                             bool& cancel) {
  cancel = false;
  if (OnCopyTempFileProgress) OnCopyTempFileProgress(this, progress, phase, cancel);
}

void TZABaseArchiver::DoConfirmOverwrite(const String& sourceFileName, String& destFileName,
                                         bool& confirm) {
  confirm = false;
  if (OnConfirmOverwrite) {
    OnConfirmOverwrite(this, sourceFileName, destFileName, confirm);
    return;
  }
  // "to All" answers hold for the rest of the component's life.
  switch (Prompts().ConfirmOverwrite(Format(SZAConfirmOverwrite, {destFileName, sourceFileName}))) {
    case TZAPrompts::oaYes: confirm = true; break;
    case TZAPrompts::oaYesToAll:
      confirm = true;
      options_.SetOverwriteMode(omAlways);
      break;
    case TZAPrompts::oaNoToAll: options_.SetOverwriteMode(omNever); break;
    case TZAPrompts::oaNo:
    case TZAPrompts::oaClosed: break;
  }
}

void TZABaseArchiver::DoConfirmProcessFile(const String& fileName, TZAProcessOperation operation,
                                           bool& confirm) {
  confirm = true;
  if (OnConfirmProcessFile) OnConfirmProcessFile(this, fileName, operation, confirm);
}

// The default box never shows the password that failed: it may be the
// host's own, which the person at the screen must not learn.
void TZABaseArchiver::DoPassword(const String& fileName, String& newPassword, bool& skipFile) {
  if (OnPassword) {
    OnPassword(this, fileName, newPassword, skipFile);
    return;
  }
  String typed;
  if (Prompts().AskPassword(Format(SZAPasswordCaption, {fileName}), SZAPasswordPrompt, typed))
    newPassword = typed;
  else
    skipFile = true;
}

void TZABaseArchiver::DoProcessFileFailure(const String& fileName, TZAProcessOperation operation,
                                           int nativeError, int errorCode,
                                           const String& errorMessage, TZAAction& action) {
  action = fxaAbort;
  if (OnProcessFileFailure)
    OnProcessFileFailure(this, fileName, operation, nativeError, errorCode, errorMessage, action);
  else
    action = Prompts().AskFailureAction(Format(SZAProcessFileFailure, {errorMessage}));
}

void TZABaseArchiver::DoStoreFile(String& fileName, uint32_t& fileAttr, String& comment,
                                  const String& originalFileName) {
  if (!OnStoreFile) return;
  // Shown with backslashes, stored with slashes.
  std::replace(fileName.begin(), fileName.end(), '/', '\\');
  OnStoreFile(this, fileName, fileAttr, comment, originalFileName);
  std::replace(fileName.begin(), fileName.end(), '\\', '/');
}

void TZABaseArchiver::DoExtractFile(String& fileName, uint32_t& fileAttr, const String& comment) {
  if (OnExtractFile) OnExtractFile(this, fileName, fileAttr, comment);
}

// --- TZipArchiver ---------------------------------------------------------------------------

TZipArchiver::TZipArchiver(TComponent* owner) : TZABaseArchiver(owner) {
  zipFormat_ = true;
  zip64Mode_ = zmDisabled;
  SelectCompressionMethod();
}

void TZipArchiver::SelectCompressionMethod() { compressionMethod_ = CompressionMode() != 0 ? 8 : 0; }
