// Extraction and test: the per-entry loop over the selected entries, and one
// entry to a file or to a temporary file.
//
// An archive may come from anyone, so extraction holds to three rules:
// - nothing is written outside the base folder: a name that is rooted,
//   carries a drive, a server or a stream (":"), or climbs with "..", is
//   refused, the final path must still lie below the base folder, no
//   folder on the way may be a link that leads out of it, and a link in the
//   target's place is replaced, never written through;
// - an existing file is replaced only by a complete, checked copy: each entry
//   is decoded into a temporary "FC" file beside its target, which takes the
//   target's place once its size and CRC-32 are right (the file is named
//   after the target, so a killed run leaves no litter that the next one
//   does not clear);
// - an operation that left a selected entry out does not end quietly.
#include <algorithm>
#include <mutex>

#include "archive/ZipArchiver.h"
#include "platform/Threads.h"

namespace {

constexpr uint32_t kFileAttributes = faReadOnly | faHidden | faSysFile | faArchive;
constexpr uint32_t kUnixOwnerWrite = 0200;
constexpr uint32_t kUnixPermissions = 0777;  // set-id and sticky bits are never restored
constexpr uint32_t kUnixFileType = 0170000;
constexpr uint32_t kUnixRegularFile = 0100000;
// Entries up to this size, for files that do not exist yet, are decoded in
// memory and written once.
constexpr uint64_t kInMemoryEntrySize = 1 << 20;

// The attributes a file gets from its entry. Unix archivers keep the file's
// mode in the high word and may leave the read-only bit clear: a mode
// without the owner's write permission makes the file read-only too.
uint32_t FileAttributesOf(const TDirItem& entry, uint32_t attr) {
  uint32_t result = attr & kFileAttributes;
  const uint32_t mode = attr >> 16;
  if (ZAIsUnixHost(entry.Header.VersionMadeBy) && mode != 0 && !(mode & kUnixOwnerWrite))
    result |= faReadOnly;
  return result ? result : uint32_t(faNormal);
}

// Two archivers never run their per-entry loops at the same time.
TCriticalSection& ProcessLock() {
  static TCriticalSection lock;
  return lock;
}

// A name part made only of dots and blanks ("..", "...", ".. ") climbs or
// lands on its parent once Windows has dropped the trailing dots and blanks
// of each part; "." alone stays where it is.
bool ClimbsOut(std::string_view part) {
  if (part.empty() || part == ".") return false;
  return part.find_first_not_of(". ") == std::string_view::npos;
}

// True when the name cannot leave the folder it is taken relative to.
bool IsSafeRelativeName(const String& name) {
  if (name.empty() || name[0] == '\\' || name[0] == '/') return false;  // rooted or UNC
  if (name.find(':') != String::npos) return false;                     // drive or stream
  size_t start = 0;
  for (;;) {
    const size_t end = name.find_first_of("\\/", start);
    const std::string_view part(name.data() + start,
                                (end == String::npos ? name.size() : end) - start);
    if (ClimbsOut(part)) return false;
    if (end == String::npos) return true;
    start = end + 1;
  }
}

// Deletes a temporary file unless it was kept.
class TTempFileGuard {
 public:
  explicit TTempFileGuard(String name) : name_(std::move(name)) {}
  ~TTempFileGuard() {
    if (!name_.empty()) os::RemoveFile(name_);
  }
  TTempFileGuard(const TTempFileGuard&) = delete;
  TTempFileGuard& operator=(const TTempFileGuard&) = delete;
  void Keep() { name_.clear(); }

 private:
  String name_;
};

// A file made new, opened exclusively, and closed when this goes.
class TNewFile : public THandleStream {
 public:
  explicit TNewFile(const String& name) : THandleStream(os::FileCreateNew(name)) {}
  ~TNewFile() override {
    if (handle_ != InvalidHandle) os::FileClose(handle_);
  }
  TNewFile(const TNewFile&) = delete;
  TNewFile& operator=(const TNewFile&) = delete;
  bool Created() const { return handle_ != InvalidHandle; }
};

}  // namespace

// --- Selection and the per-entry loop -----------------------------------------------------

void TZABaseArchiver::ExtractFilesByMask(const String& fileMask, int searchAttr,
                                         const String& exclusionMask) {
  CheckActive();
  if (InUpdate()) throw EZAException(zeUpdatePending, this);
  SelectItemsByMask(fileMask, searchAttr, exclusionMask);
  ProcessSelectedItems(poExtract);
}

void TZABaseArchiver::SelectItemsByMask(const String& fileMask, int searchAttr,
                                        const String& exclusionMask) {
  CheckActive();
  for (int i = 0; i < dir_->Items.Count(); ++i) dir_->Items.At(i).Selected = false;
  TZAArchiveItem found;
  for (bool more = FindFirstItem(fileMask, found, exclusionMask, searchAttr); more;
       more = FindNextItem(found))
    dir_->Items.At(found.NextIndex - 1).Selected = true;
}

void TZABaseArchiver::ProcessSelectedItems(TZAProcessOperation operation) {
  CheckActive();
  if (operation != poExtract && operation != poTest)
    throw Exception("Only extraction and test run over the selected entries");
  std::lock_guard<TCriticalSection> lock(ProcessLock());
  operation_ = operation;
  checkedFolder_.clear();
  cancel_ = false;
  filesDone_ = 0;
  filesToDo_ = 0;
  for (int i = 0; i < dir_->Items.Count(); ++i) filesToDo_ += dir_->Items.Item(i).Selected;

  // Taken once: the current folder does not move under a running loop.
  const String cwd = os::GetCurrentDir();
  const String baseFolder =
      IncludeTrailingPathDelimiter(ZAExpandFileName(baseDir_.empty() ? cwd : baseDir_, cwd));
  extractBase_ = operation == poExtract ? baseFolder : String();
  readAhead_ = StartReadAhead(0);
  // A run that stops early (an abort, a cancel, an exception) leaves no
  // file that workers wrote ahead of where it stopped.
  struct TStopReadAhead {
    std::unique_ptr<TZAReadAhead>& readAhead;
    int reached = -1;
    bool complete = false;
    ~TStopReadAhead() {
      if (readAhead && !complete) readAhead->Abandon(reached);
      readAhead.reset();
    }
  } stopReadAhead{readAhead_};

  int declined = 0;
  bool aborted = false;
  DoOverallProgress(0, operation, ppStart, cancel_);
  for (int i = 0; i < dir_->Items.Count() && !cancel_ && !aborted; ++i) {
    if (!dir_->Items.Item(i).Selected) continue;
    stopReadAhead.reached = i;
    switch (ProcessItem(i, operation, baseFolder)) {
      case ioDone: ++filesDone_; break;
      case ioDeclined: ++declined; break;
      case ioNotDone: break;
      case ioAborted: aborted = true; break;
    }
  }
  stopReadAhead.complete = !cancel_ && !aborted;
  if (!cancel_) DoOverallProgress(100, operation, ppEnd, cancel_);
  if (cancel_ || aborted) CancelUpdateMode();
  // Entries that the host declined were left out on purpose; any other one
  // missing means the operation did not do what was asked.
  const int missing = filesToDo_ - filesDone_ - declined;
  if (missing <= 0) return;
  // People count files: folders are left out of the total.
  int files = 0;
  for (int i = 0; i < dir_->Items.Count(); ++i)
    files += dir_->Items.Item(i).Selected && !dir_->Items.Item(i).IsFolder();
  throw EZAException(zeEntriesLeftOut, this, {missing, std::max(files, missing)});
}

// One selected entry, with the failure event deciding after a failure:
// retry runs the whole entry again, ignore goes on with the next one.
TZABaseArchiver::TItemOutcome TZABaseArchiver::ProcessItem(int index,
                                                           TZAProcessOperation operation,
                                                           const String& baseFolder) {
  dir_->Items.At(index).Operation = operation;
  // Written by a worker: no event would have seen it (LightPathAllowed).
  if (readAhead_ && readAhead_->Written(index)) return ioDone;
  for (;;) {
    const String entryName = ZABackslashed(dir_->Items.Item(index).Name);
    bool confirm = true;
    DoConfirmProcessFile(entryName, operation, confirm);
    if (!confirm) return ioDeclined;
    try {
      DoFileProgress(entryName, 0, operation, ppStart, cancel_);
      if (cancel_) return ioNotDone;
      const bool done = operation == poExtract ? ExtractItemToFile(index, entryName, baseFolder)
                                               : TestItem(index, entryName);
      if (!done || cancel_) return ioNotDone;
      DoFileProgress(entryName, 100, operation, ppEnd, cancel_);
      return ioDone;
    } catch (const EZAException& e) {
      TZAAction action = fxaAbort;
      DoProcessFileFailure(entryName, operation, e.NativeError(), e.ErrorCode(), e.Message(),
                           action);
      if (action == fxaIgnore) return ioNotDone;
      if (action != fxaRetry) return ioAborted;
    }
  }
}

// --- One entry ------------------------------------------------------------------------------

// The full path for targetName below base (an absolute folder with its
// trailing delimiter); EZAException 57 when the name would lead anywhere
// else.
String TZABaseArchiver::TargetPathFor(const String& targetName, const String& base) const {
  if (!IsSafeRelativeName(targetName)) throw EZAException(zeNameLeavesBase, this, {targetName});
  const String name = options_.CreateDirs() ? targetName : ExtractFileName(targetName);
  const String path = ZAExpandFileName(name, base);
  if (path.size() <= base.size() || path.compare(0, base.size(), base) != 0)
    throw EZAException(zeNameLeavesBase, this, {targetName});
  return path;
}

bool TZABaseArchiver::ExtractItemToFile(int index, const String& entryName,
                                        const String& baseFolder) {
  const TDirItem& entry = dir_->Items.Item(index);
  String targetName = entryName;
  uint32_t attr = entry.Header.ExternalAttributes;
  DoExtractFile(targetName, attr, entry.Comment);
  // Characters without a place in the system's set would come out as "?",
  // and two different names could land on one file.
  if (!entry.NameExact && targetName == entryName) throw EZAException(zeNameNotRepresentable, this, {entryName});
  const bool isFolder = (attr & faDirectory) || entry.IsFolder();
  if (isFolder && !options_.CreateDirs()) return true;
  const String path = TargetPathFor(targetName, baseFolder);
  const String folder = ExtractFilePath(path);
  CheckNoLinkLeadsOut(folder, baseFolder, targetName);
  if (options_.CreateDirs() && !os::DirectoryExists(folder) && !os::ForceDirectories(folder))
    throw EZAException(zeCannotCreateFolder, this, {folder});
  if (isFolder) return true;
  const bool exists = os::FileExists(path);
  if (exists && !MayReplace(path, entry, entryName)) return true;

  // A small entry for a file that does not exist yet is decoded and checked
  // in memory and the file written once: no temporary file, no rename.
  TMemoryStream decoded;
  const bool inMemory = !exists && entry.UncompressedSize <= kInMemoryEntrySize;
  if (inMemory) {
    if (!ExtractItemToStream(index, decoded)) return false;
    if (WriteNewFile(path, decoded)) {
      ZASetFileDetails(path, DetailsFor(entry, attr, true));
      return true;
    }
    // The name is taken after all, by a link that leads nowhere: it is
    // replaced below like any existing file, never written through.
  }

  // Named after its target: what a run killed in the middle leaves behind
  // is removed and replaced by the next run that extracts the target.
  const String targetFile = ExtractFileName(path);
  const String temp =
      folder + "FC" + IntToHex(ZACrc32(targetFile.data(), targetFile.size()), 8) + ".tmp";
  os::RemoveFile(temp);
  TTempFileGuard guard(temp);
  {
    TNewFile out(temp);
    if (!out.Created()) throw EZAException(zeCannotCreateFile, this, {temp});
    if (inMemory) {
      if (out.Write(decoded.Memory(), decoded.Size()) != decoded.Size())
        throw EZAException(zeCannotCreateFile, this, {temp});
    } else if (!ExtractItemToStream(index, out)) {
      return false;
    }
    if (options_.FlushBuffers() && IsRemovable(path) && !os::FileFlush(out.Handle()))
      throw EZAException(zeCannotCreateFile, this, {path});
  }
  // Windows refuses to replace a read-only file.
  if (!os::MoveReplacing(temp, path) &&
      !(os::FileSetAttr(path, faNormal) && os::MoveReplacing(temp, path)))
    throw EZAException(zeCannotCreateFile, this, {path});
  guard.Keep();
  ZASetFileDetails(path, DetailsFor(entry, attr, false));
  return true;
}

// Writes data to path as a new file; false, with nothing written, when
// the name is taken.
bool TZABaseArchiver::WriteNewFile(const String& path, TMemoryStream& data) {
  const bool flush = options_.FlushBuffers() && IsRemovable(path);
  switch (ZAWriteNewFile(path, static_cast<const uint8_t*>(data.Memory()), uint64_t(data.Size()), flush)) {
    case nfWritten: return true;
    case nfNotCreated: return false;
    case nfFailed: break;
  }
  throw EZAException(zeCannotCreateFile, this, {path});
}

// What an extracted file gets: its entry's time, and with SetAttributes
// its attributes and, from a Unix archiver, its permissions. A new file
// already has the attributes of a plain file: only others are set.
TZAFileDetails TZABaseArchiver::DetailsFor(const TDirItem& entry, uint32_t attr, bool isNew) const {
  TZAFileDetails details;
  details.ModTime = ZADosDateTimeToUnix(entry.DosDateTime());
  if (!options_.SetAttributes()) return details;
  const uint32_t mode = attr >> 16;
  const uint32_t type = mode & kUnixFileType;
  if (ZAIsUnixHost(entry.Header.VersionMadeBy) && mode != 0 &&
      (type == 0 || type == kUnixRegularFile))
    details.Permissions = int32_t(mode & kUnixPermissions);
  const uint32_t fileAttr = FileAttributesOf(entry, attr);
  if (!isNew || (fileAttr & ~uint32_t(faArchive | faNormal)) != 0) details.Attributes = fileAttr;
  return details;
}

void ZASetFileDetails(const String& path, const TZAFileDetails& details) {
  os::FileSetModTime(path, details.ModTime);
  if (details.Permissions >= 0) os::FileSetPermissions(path, uint32_t(details.Permissions));
  if (details.Attributes != 0) os::FileSetAttr(path, details.Attributes);
}

TZANewFileResult ZAWriteNewFile(const String& path, const uint8_t* data, uint64_t size, bool flush) {
  const THandle file = os::FileCreateNew(path);
  if (file == InvalidHandle) return nfNotCreated;
  const bool written =
      os::FileWrite(file, data, int64_t(size)) == int64_t(size) && !(flush && !os::FileFlush(file));
  os::FileClose(file);
  if (written) return nfWritten;
  os::RemoveFile(path);
  return nfFailed;
}

// A folder below the base folder by name may lie elsewhere: a symbolic link
// or junction on its way, already in the target, can lead out. The deepest
// part of the folder that exists is resolved and must still lie in the
// resolved base folder (the parts below it are made new, and cannot be
// links). EZAException 57 otherwise.
void TZABaseArchiver::CheckNoLinkLeadsOut(const String& folder, const String& baseFolder,
                                          const String& targetName) {
  if (folder == checkedFolder_) return;  // entries of one folder come in a row
  if (!ZAFolderStaysInside(folder, os::RealPath(ExcludeTrailingPathDelimiter(baseFolder))))
    throw EZAException(zeNameLeavesBase, this, {targetName});
  checkedFolder_ = folder;
}

bool ZAFolderStaysInside(const String& folder, const String& realBase) {
  String existing = ExcludeTrailingPathDelimiter(folder);
  while (!os::DirectoryExists(existing)) {
    const String parent = ExtractFileDir(existing);
    if (parent.empty() || parent == existing) return true;
    existing = parent;
  }
  if (realBase.empty()) return true;
  const String real = os::RealPath(existing);
  const String prefix = IncludeTrailingPathDelimiter(realBase);
  return real == realBase || real.compare(0, prefix.size(), prefix) == 0;
}

// The overwrite rules for an existing target.
bool TZABaseArchiver::MayReplace(const String& targetPath, const TDirItem& entry,
                                 const String& entryName) {
  const int32_t attr = os::FileGetAttr(targetPath);
  if (!options_.ReplaceReadOnly() && attr >= 0 && (attr & faReadOnly)) return false;
  // Dates and times compare as packed DOS values, the date in the high word.
  const uint32_t fileTime = ZAUnixToDosDateTime(os::FileGetModTime(targetPath));
  switch (options_.OverwriteMode()) {
    case omAlways: return true;
    case omNever: return false;
    case omIfNewer: return entry.DosDateTime() > fileTime;
    case omIfOlder: return entry.DosDateTime() < fileTime;
    case omPrompt: break;
  }
  String dest = targetPath;
  bool confirm = false;
  DoConfirmOverwrite(entryName, dest, confirm);
  return confirm;
}

bool TZABaseArchiver::TestItem(int index, const String& entryName) {
  if (dir_->Items.Item(index).IsFolder()) return true;
  const String folder = tempDir_.empty() ? os::TempDirectory() : tempDir_;
  const String temp = os::CreateTempFile(folder, "FC");
  if (temp.empty()) throw EZAException(zeCannotCreateFile, this, {folder});
  TTempFileGuard guard(temp);
  std::unique_ptr<TFileStream> out;
  try {
    out = std::make_unique<TFileStream>(temp, fmOpenReadWrite | fmShareExclusive);
  } catch (const EStreamError&) {
    throw EZAException(zeCannotCreateFile, this, {temp});
  }
  return ExtractItemToStream(index, *out);
}
