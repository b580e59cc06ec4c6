// The commit: writes the changes queued in update mode.
//
// Entries in front of the first one that changed stay where they are. The
// rest of the archive, from that entry's local header to the end, is first
// saved into a temporary "FC" file and flushed to disk; only then is the
// archive cut there. New and replaced entries are written afresh, unchanged
// ones are copied back from the saved tail, and a new central directory
// follows. A failure, a cancel or an abort puts the saved tail back, so the
// archive ends up byte for byte as it was.
#include <unordered_map>

#include "archive/ZipArchiver.h"

struct TZABaseArchiver::TCommit {
  int first = -1;
  int64_t rewriteAt = 0;
  std::unique_ptr<TZATempFile> tail;  // the archive from rewriteAt on, when there was any
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
  if (volumeSet_) throw EZAException(52, this);
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
    SaveTail(c);
    if (volumes_) {
      c.out = volumes_;
    } else {
      stream_->SetSize(c.rewriteAt);
      stream_->Seek(c.rewriteAt, soBeginning);
      c.plain = std::make_unique<TZAStreamOutput>(*stream_, this);
      c.out = c.plain.get();
    }
    for (int i = c.first; i < items.Count() && !cancel_ && !c.aborted;) CommitEntry(c, i);
    if (!cancel_ && !c.aborted) {
      dir_->WriteDirectory(*c.out, zip64Mode_ != zmDisabled, fileName_);
      if (volumes_) volumes_->Finish(VolumeFileNameFor(-1));
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
      const EZAException e(27, this, {source});
      TZAAction action = fxaAbort;
      DoProcessFileFailure(source, poMove, e.NativeError(), e.ErrorCode(), e.Message(), action);
      if (action != fxaRetry) break;
    }
  }
  DoOverallProgress(100, firstOperation, ppEnd, cancel_);
  cancel_ = false;
  if (options_.FlushBuffers())
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

// Keeps the archive from the rewrite position on in a temporary file, on
// disk before the archive is cut.
void TZABaseArchiver::SaveTail(TCommit& c) {
  const int64_t size = stream_->Size();
  if (volumes_ || size <= c.rewriteAt) return;
  c.tail = std::make_unique<TZATempFile>(tempDir_, this);
  TStream& tail = c.tail->Stream();
  stream_->Seek(c.rewriteAt, soBeginning);
  if (tail.CopyFrom(*stream_, size - c.rewriteAt) != size - c.rewriteAt)
    throw EZAException(46, this);
  if (!os::FileFlush(c.tail->Stream().Handle())) throw EZAException(46, this);
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
  if (old == c.savedIndex.end() || !c.tail) throw EZAException(7, this);
  const TDirItem& was = dir_->SavedItems.Item(old->second);
  TStream& tail = c.tail->Stream();
  const int64_t at = int64_t(was.LocalHeaderOffset) - c.rewriteAt;
  uint8_t raw[TZALocalHeader::Size];
  TZALocalHeader local;
  if (at < 0 || !ZAReadAt(tail, at, raw, sizeof raw)) throw EZAException(7, this);
  local.Read(raw);
  if (local.Signature != Signatures().Local) throw EZAException(7, this);
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
    const String name = dir_->StoredName(item.Name);
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
  if (volumes_) {
    volumes_->Discard(c.rewriteAt);
    return;
  }
  stream_->SetSize(c.rewriteAt);
  stream_->Seek(c.rewriteAt, soBeginning);
  if (c.tail) {
    TStream& tail = c.tail->Stream();
    tail.Seek(0, soBeginning);
    if (stream_->CopyFrom(tail, tail.Size()) != tail.Size()) throw EZAException(6, this);
  } else if (c.rewriteAt > 0) {
    dir_->WriteDirectory(*stream_, true, fileName_);
  }
}
