// The commit: writes the changes queued in update mode.
//
// An archive file is rebuilt beside itself: a new file in the same folder
// gets the unchanged front part, new and replaced entries written afresh,
// unchanged ones copied from the old file, and a new central directory;
// once complete and flushed it takes the old file's place in one rename. A
// crash, a kill, a failure, a cancel or an abort at any moment before that
// leaves the old archive as it was; the unfinished new file that a crash
// or kill leaves ("FC" and the archive's name, ".tmp") is removed by the
// next commit.
//
// Where no file can be made beside it, and for volume sets and archives in
// memory, the commit works in place: entries in front of the first one that
// changed stay where they are, the rest is saved into a temporary "FC" file
// and flushed before the archive is cut there, and a failure puts the saved
// tail back. Only that mode can leave a cut archive behind when the process
// dies in the middle.
#include <unordered_map>

#include "archive/ZipArchiver.h"

void (*ZACommitWriteHook)(int writeNumber) = nullptr;

namespace {

// While a commit writes its new archive file it holds a lock on this byte,
// far past any data: a file of that name that nobody holds is what a
// commit killed in the middle left behind.
constexpr int64_t kReplacementLockAt = int64_t(1) << 62;

// The new archive file under construction, made exclusively (never through
// a link) and locked; it counts its writes for the test seam.
class TReplacementStream : public THandleStream {
 public:
  explicit TReplacementStream(const String& name) : THandleStream(os::FileCreateNew(name)) {
    if (handle_ != InvalidHandle && !os::FileLockRange(handle_, kReplacementLockAt, 1)) {
      os::FileClose(handle_);
      os::RemoveFile(name);
      handle_ = InvalidHandle;
    }
  }
  ~TReplacementStream() override {
    if (handle_ != InvalidHandle) os::FileClose(handle_);
  }
  TReplacementStream(const TReplacementStream&) = delete;
  TReplacementStream& operator=(const TReplacementStream&) = delete;
  bool Created() const { return handle_ != InvalidHandle; }
  int64_t Write(const void* buffer, int64_t count) override {
    if (ZACommitWriteHook) ZACommitWriteHook(++writes_);
    return THandleStream::Write(buffer, count);
  }

 private:
  int writes_ = 0;
};

// Removes what a killed commit left under name; false when a running
// commit holds the file.
bool RemoveAbandoned(const String& name) {
  // Nothing there, or a link that leads nowhere.
  if (os::FileGetAttr(name) < 0) {
    os::RemoveFile(name);
    return true;
  }
  // Windows lets nobody open the file of a running commit; elsewhere its
  // lock tells.
  const THandle h = os::FileOpen(name, fmOpenReadWrite | fmShareDenyNone);
  if (h == InvalidHandle) return false;
  const bool abandoned = os::FileLockRange(h, kReplacementLockAt, 1);
  os::FileClose(h);
  return abandoned && os::RemoveFile(name);
}

}  // namespace

struct TZABaseArchiver::TCommit {
  int first = -1;
  int64_t rewriteAt = 0;
  // Rebuilding beside: the old archive, read while stream_ is the new file
  // of the name below.
  std::unique_ptr<TStream> original;
  String replacement;
  // Working in place: the archive from rewriteAt on, when there was any.
  std::unique_ptr<TZATempFile> tail;
  std::unordered_map<String, int> savedIndex;  // name -> index in the saved directory
  std::unique_ptr<TZAStreamOutput> plain;
  TZAOutput* out = nullptr;
  std::vector<String> moved;  // sources to delete once the commit stands
  bool aborted = false;
};

namespace {

bool IsCopiedUnchanged(const TDirItem& item) {
  return !item.Modified || item.Operation == poRename || item.Operation == poChangeAttr ||
         item.Operation == poChangeComment;
}

}  // namespace

void TZABaseArchiver::CommitUpdates() {
  if (updateCount_ <= 0) return;
  if (volumeSet_) throw EZAException(zeVolumeSetUpdate, this);
  MakeWritable();
  updateCount_ = 0;
  filesDone_ = 0;
  filesToDo_ = 0;
  cancel_ = false;
  TZADirArray& items = dir_->Items;
  const TZADirArray& saved = dir_->SavedItems;
  TZAProcessOperation firstOperation = poDelete;
  for (int i = 0; i < items.Count(); ++i) {
    if (!items.Item(i).Modified) continue;
    if (filesToDo_++ == 0) firstOperation = items.Item(i).Operation;
  }
  TCommit c;
  c.first = FirstDifference(c.rewriteAt);
  if (c.first < 0) return;

  DoOverallProgress(0, firstOperation, ppStart, cancel_);
  if (cancel_) {
    items.Assign(saved);
    cancel_ = false;
    return;
  }
  for (int i = 0; i < saved.Count(); ++i) c.savedIndex.emplace(saved.Item(i).Name, i);
  try {
    if (volumes_) {
      c.out = volumes_;
    } else if (StartReplacement(c)) {
      stream_->Seek(c.rewriteAt, soBeginning);
      c.plain = std::make_unique<TZAStreamOutput>(*stream_, this);
      c.out = c.plain.get();
    } else {
      SaveTail(c);
      stream_->SetSize(c.rewriteAt);
      stream_->Seek(c.rewriteAt, soBeginning);
      c.plain = std::make_unique<TZAStreamOutput>(*stream_, this);
      c.out = c.plain.get();
    }
    for (int i = c.first; i < items.Count() && !cancel_ && !c.aborted;) CommitEntry(c, i);
    if (!cancel_ && !c.aborted) {
      dir_->WriteDirectory(*c.out, zip64Mode_ != zmDisabled, fileName_);
      if (volumes_) volumes_->Finish(VolumeFileNameFor(-1));
      if (c.original) FinishReplacement(c);
    }
  } catch (...) {
    RollBack(c);
    throw;
  }
  if (cancel_ || c.aborted) {
    RollBack(c);
    cancel_ = false;
    return;
  }
  c.tail.reset();
  for (const String& source : c.moved) {
    for (;;) {
      if (os::RemoveFile(source)) break;
      const EZAException e(zeCannotDeleteMoved, this, {source});
      TZAAction action = fxaAbort;
      DoProcessFileFailure(source, poMove, e.NativeError(), e.ErrorCode(), e.Message(), action);
      if (action != fxaRetry) break;
    }
  }
  headerOffsets_.clear();
  DoOverallProgress(100, firstOperation, ppEnd, cancel_);
  cancel_ = false;
  if (options_.FlushBuffers() && !c.original)
    if (auto* file = dynamic_cast<THandleStream*>(stream_.get())) os::FileFlush(file->Handle());
}

// The first entry that is not already on disk as it should be, and the
// position from which the archive is rewritten; -1 when nothing differs.
int TZABaseArchiver::FirstDifference(int64_t& rewriteAt) const {
  const TZADirArray& items = dir_->Items;
  const TZADirArray& saved = dir_->SavedItems;
  const int common = std::min(items.Count(), saved.Count());
  int first = -1;
  for (int i = 0; i < common && first < 0; ++i)
    if (items.Item(i).Modified || items.Item(i).Name != saved.Item(i).Name) first = i;
  if (first < 0) {
    if (items.Count() == saved.Count()) return -1;
    first = common;
  }
  // The directory's order need not be the order on disk: every entry kept
  // in place must lie in front of the rewrite position, or it would be cut.
  for (;;) {
    if (first >= saved.Count()) {
      rewriteAt = saved.Count() == 0 ? dir_->StubSize : dir_->DirectoryOffset;
    } else {
      rewriteAt = INT64_MAX;
      for (int j = first; j < saved.Count(); ++j)
        rewriteAt = std::min(rewriteAt, int64_t(saved.Item(j).LocalHeaderOffset));
    }
    int behind = -1;
    for (int j = 0; j < first && behind < 0; ++j)
      if (int64_t(saved.Item(j).LocalHeaderOffset) >= rewriteAt) behind = j;
    if (behind < 0) return first;
    first = behind;
  }
}

// Starts the new archive file beside the old one, with the part in front
// of the rewrite position; false when no file can be made there. It is
// named after the archive, so that the next commit finds and removes what
// a killed one left; while another commit of the same archive is running,
// a name of its own is taken.
bool TZABaseArchiver::StartReplacement(TCommit& c) {
  if (inMemory_ || !dynamic_cast<TFileStream*>(stream_.get())) return false;
  const String archive = ZAExpandFileName(fileName_, os::GetCurrentDir());
  const String folder = ExtractFilePath(archive);
  String name = folder + "FC" + ExtractFileName(archive) + ".tmp";
  if (!RemoveAbandoned(name)) {
    name = os::CreateTempFile(folder, "FC");
    if (name.empty() || !os::RemoveFile(name)) return false;
  }
  auto file = std::make_unique<TReplacementStream>(name);
  if (!file->Created()) return false;
  c.replacement = name;
  c.original = std::move(stream_);
  stream_ = std::move(file);
  c.original->Seek(0, soBeginning);
  // (CopyFrom takes a count of 0 as "everything".)
  if (c.rewriteAt > 0 && stream_->CopyFrom(*c.original, c.rewriteAt) != c.rewriteAt)
    throw EZAException(zeWriteFailed, this);
  return true;
}

// Puts the complete new archive, flushed to disk, in the old one's place
// and opens it as the archive.
void TZABaseArchiver::FinishReplacement(TCommit& c) {
  if (!os::FileFlush(static_cast<THandleStream&>(*stream_).Handle())) throw EZAException(zeWriteFailed, this);
  stream_.reset();
  c.original.reset();
  const int32_t attr = os::FileGetAttr(fileName_);
  if (attr >= 0) os::FileSetAttr(c.replacement, uint32_t(attr));
  if (!os::MoveReplacing(c.replacement, fileName_)) throw EZAException(zeCannotCreateFile, this, {fileName_});
  c.replacement.clear();
  stream_ = OpenForUpdate();
}

// Keeps the archive from the rewrite position on in a temporary file, on
// disk before the archive is cut.
void TZABaseArchiver::SaveTail(TCommit& c) {
  const int64_t size = stream_->Size();
  if (volumes_ || size <= c.rewriteAt) return;
  c.tail = std::make_unique<TZATempFile>(tempDir_, this);
  TStream& tail = c.tail->Stream();
  stream_->Seek(c.rewriteAt, soBeginning);
  if (tail.CopyFrom(*stream_, size - c.rewriteAt) != size - c.rewriteAt)
    throw EZAException(zeWriteFailed, this);
  if (!os::FileFlush(c.tail->Stream().Handle())) throw EZAException(zeWriteFailed, this);
}

// Writes or copies entry index; moves index on unless the entry is to be
// tried again or was dropped.
void TZABaseArchiver::CommitEntry(TCommit& c, int& index) {
  TZADirArray& items = dir_->Items;
  TDirItem& item = items.At(index);
  operation_ = item.Operation;
  if (IsCopiedUnchanged(item)) {
    const bool counted = item.Modified;
    CopyEntry(c, item);
    item.Modified = false;
    item.OldName.clear();
    if (counted) ++filesDone_;
    ++index;
    return;
  }
  const TZAPlace start = c.out->Here();
  try {
    AddEntry(item, *c.out);
  } catch (const EZAException& e) {
    // A failed entry leaves nothing behind.
    if (!volumes_ && stream_) {
      stream_->SetSize(start.Position);
      stream_->Seek(start.Position, soBeginning);
    }
    TZAAction action = fxaAbort;
    if (stream_)
      DoProcessFileFailure(item.Operation == poUpdate ? item.Name : item.SourceFileName,
                           item.Operation, e.NativeError(), e.ErrorCode(), e.Message(), action);
    if (action == fxaRetry) return;
    if (action == fxaAbort) {
      c.aborted = true;
      return;
    }
    // Ignored: a new entry is dropped, a replaced one keeps its old copy.
    const auto old = c.savedIndex.find(item.Name);
    if (old == c.savedIndex.end()) {
      items.Delete(index);
      return;
    }
    item = dir_->SavedItems.Item(old->second);
    CopyEntry(c, item);
    ++index;
    return;
  }
  if (cancel_) return;
  if (item.Operation == poMove && !item.IsFolder()) c.moved.push_back(item.SourceFileName);
  item.Modified = false;
  ++filesDone_;
  ++index;
}

// Copies an entry from the saved tail: its local header (with the new name
// for a rename), extra field, data and data descriptor.
void TZABaseArchiver::CopyEntry(TCommit& c, TDirItem& item) {
  auto old = c.savedIndex.find(item.Name);
  if (old == c.savedIndex.end() && item.Operation == poRename)
    old = c.savedIndex.find(item.OldName);
  if (old == c.savedIndex.end() || (!c.tail && !c.original)) throw EZAException(zeOldEntryMissing, this);
  const TDirItem& was = dir_->SavedItems.Item(old->second);
  // The old archive whole, or its saved tail.
  TStream& tail = c.original ? *c.original : c.tail->Stream();
  const int64_t at = int64_t(was.LocalHeaderOffset) - (c.original ? 0 : c.rewriteAt);
  uint8_t raw[TZALocalHeader::Size];
  TZALocalHeader local;
  if (at < 0 || !ZAReadAt(tail, at, raw, sizeof raw)) throw EZAException(zeOldEntryMissing, this);
  local.Read(raw);
  if (local.Signature != Signatures().Local) throw EZAException(zeOldEntryMissing, this);
  const int64_t oldHead = int64_t(TZALocalHeader::Size) + local.NameLength;
  int64_t rest = int64_t(local.ExtraLength) + int64_t(was.CompressedSize);
  if (local.Flags & ZAFlagDataDescriptor) {
    // The descriptor may or may not start with its signature, and carries
    // 8-byte sizes in a Zip64 entry.
    uint8_t sig[4];
    const bool hasSignature =
        ZAReadAt(tail, at + oldHead + rest, sig, 4) &&
        (uint32_t(sig[0]) | uint32_t(sig[1]) << 8 | uint32_t(sig[2]) << 16 |
         uint32_t(sig[3]) << 24) == ZADataDescriptorSignature;
    rest += (hasSignature ? 4 : 0) + (was.NeedsZip64 ? 20 : 12);
  }
  TZAPlace place;
  if (item.Operation == poRename && item.Name != was.Name) {
    item.StoredName = dir_->EncodeName(item.Name, item.Header.Flags, item.Header.VersionMadeBy);
    const String& name = item.StoredName;
    local.Flags = uint16_t((local.Flags & ~ZAFlagUtf8) | (item.Header.Flags & ZAFlagUtf8));
    local.NameLength = uint16_t(name.size());
    std::vector<uint8_t> head(TZALocalHeader::Size + name.size());
    local.Write(head.data());
    std::copy(name.begin(), name.end(), head.begin() + TZALocalHeader::Size);
    place = c.out->Write(head.data(), int64_t(head.size()), int64_t(head.size()));
    ZACopyToOutput(tail, at + oldHead, rest, *c.out, -1, this);
  } else {
    place = ZACopyToOutput(tail, at, oldHead + rest, *c.out, oldHead, this);
  }
  item.LocalHeaderOffset = uint64_t(place.Position);
  item.DiskNumberStart = place.Volume;
}

// Puts the archive back as it was before the commit.
void TZABaseArchiver::RollBack(TCommit& c) {
  dir_->Items.Assign(dir_->SavedItems);
  if (c.original || !c.replacement.empty()) {
    stream_.reset();
    if (!c.replacement.empty()) os::RemoveFile(c.replacement);
    stream_ = c.original ? std::move(c.original) : OpenForUpdate();
    return;
  }
  if (volumes_) {
    volumes_->Discard(c.rewriteAt);
    return;
  }
  stream_->SetSize(c.rewriteAt);
  stream_->Seek(c.rewriteAt, soBeginning);
  if (c.tail) {
    TStream& tail = c.tail->Stream();
    tail.Seek(0, soBeginning);
    if (stream_->CopyFrom(tail, tail.Size()) != tail.Size()) throw EZAException(zeNoSavedTail, this);
  } else if (c.rewriteAt > 0) {
    dir_->WriteDirectory(*stream_, true, fileName_);
  }
}
