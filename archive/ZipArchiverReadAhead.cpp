#include "archive/ZipArchiverReadAhead.h"

#include <algorithm>
#include <cstring>

#include "archive/ZipArchiverCoding.h"
#include "platform/OsFiles.h"
#include "platform/Streams.h"

namespace {

constexpr size_t kMaxLanes = 8;
constexpr size_t kRunEntries = 64;
// How many runs ahead a worker looks for one in a folder of its own.
constexpr size_t kRunWindow = 64;
// Entries are read, decrypted and inflated in pieces of this size.
constexpr size_t kPieceSize = 64 * 1024;

// Outputs are whole mebibytes, so that one kept for reuse fits later
// entries of about its size.
constexpr uint64_t kCapacityStep = 1 << 20;
uint64_t CapacityFor(uint64_t size) {
  return std::max<uint64_t>((size + kCapacityStep - 1) / kCapacityStep, 1) * kCapacityStep;
}

}  // namespace

// An entry a worker is decoding: how far its data are read, its keys and
// inflater, where its output goes, and how it ended.
struct TZAReadAhead::TLane {
  enum TOutcome { loBusy, loDecoded, loFailed, loWritten };
  TSlot* Slot = nullptr;
  TOutcome Outcome = loBusy;
  uint64_t ReadAt = 0;
  uint64_t DataEnd = 0;
  TZAKeys Keys;
  // Made when the lane first needs them, kept for its later entries.
  std::unique_ptr<TZAInflater> Inflater;
  std::unique_ptr<uint8_t[]> Piece;
  std::unique_ptr<uint8_t[]> OwnOutput;  // kLaneOutputBytes
  uint8_t* Out = nullptr;  // the slot's output or OwnOutput
  uint64_t Written = 0;
  uint32_t Crc = ZACrcStart;
  size_t PieceLength = 0;
};

namespace {

// A small entry with a target never waits for the loop: it decodes into
// its lane's buffer and leaves the budget alone.
bool DecodesInLane(const TZAReadAhead::TJob& job) {
  return !job.TargetPath.empty() && job.Size <= TZAReadAhead::kLaneOutputBytes;
}

}  // namespace

TZAReadAhead::TZAReadAhead(const String& archiveFile, const String& password,
                           std::vector<TJob> jobs, int workerCount, TWriting writing)
    : archiveFile_(archiveFile),
      password_(password),
      workerCount_(std::max(workerCount, 1)),
      budget_(kBudgetBytes),
      writing_(std::move(writing)),
      slots_(jobs.size()) {
  for (size_t i = 0; i < jobs.size(); ++i) {
    slots_[i].Job = std::move(jobs[i]);
    // Too large to hold: the loop decodes it itself.
    if (slots_[i].Job.Size > kMaxEntryBytes) slots_[i].State = jsFailed;
  }
  MakeRuns();
  liveWorkers_ = workerCount_;
  for (int i = 0; i < workerCount_; ++i) workers_.emplace_back([this] { Work(); });
}

void TZAReadAhead::MakeRuns() {
  for (size_t i = 0; i < slots_.size(); ++i) {
    const TJob& job = slots_[i].Job;
    const bool inLane = DecodesInLane(job);
    const String folder = inLane ? ExtractFilePath(job.TargetPath) : String();
    if (inLane && !runs_.empty()) {
      TRun& last = runs_.back();
      if (last.InLane && last.Folder == folder && last.End - last.First < kRunEntries) {
        last.End = i + 1;
        continue;
      }
    }
    runs_.push_back({i, i + 1, inLane, false, folder});
  }
}

TZAReadAhead::~TZAReadAhead() { Stop(); }

void TZAReadAhead::Stop() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  workersWake_.notify_all();
  for (std::thread& worker : workers_) worker.join();
  workers_.clear();
}

void TZAReadAhead::Abandon(int index) {
  Stop();
  for (const TSlot& slot : slots_)
    if (slot.Job.Index > index && slot.State == jsWritten) os::RemoveFile(slot.Job.TargetPath);
}

// --- The loop's side --------------------------------------------------------------------

TZAReadAhead::TSlot* TZAReadAhead::SlotOf(int index) {
  const auto it = std::lower_bound(slots_.begin(), slots_.end(), index,
                                   [](const TSlot& s, int i) { return s.Job.Index < i; });
  return it != slots_.end() && it->Job.Index == index ? &*it : nullptr;
}

// Under the lock: the loop has moved on to index, and whatever lies before
// it is not wanted any more.
void TZAReadAhead::GiveUpBefore(int index) {
  bool freed = false;
  for (; givenUp_ < slots_.size() && slots_[givenUp_].Job.Index < index; ++givenUp_) {
    TSlot& slot = slots_[givenUp_];
    if (slot.State == jsWaiting) slot.State = jsReleased;
    if (slot.State == jsDone || slot.State == jsFailed) {
      ReleaseSlot(slot);
      freed = true;
    }
  }
  if (freed && workersWaiting_ > 0) workersWake_.notify_all();
}

bool TZAReadAhead::Take(int index, const String& password, uint64_t dataAt,
                        uint64_t compressedSize, TDecoded& decoded) {
  if (index > loopAt_) loopAt_ = index;
  std::unique_lock<std::mutex> lock(mutex_);
  GiveUpBefore(index);
  TSlot* slot = SlotOf(index);
  if (!slot) return false;
  loopWaitsFor_ = slot;
  loopWake_.wait(lock, [&] {
    return Finished(slot->State) || (slot->State == jsWaiting && liveWorkers_ == 0);
  });
  loopWaitsFor_ = nullptr;
  if (slot->State != jsDone || password != password_ || slot->Job.DataAt != dataAt ||
      slot->Job.CompressedSize != compressedSize)
    return false;
  decoded = {slot->Output.Bytes.get(), slot->Job.Size, slot->Crc};
  return true;
}

bool TZAReadAhead::Written(int index) {
  TSlot* slot = SlotOf(index);
  if (!slot || slot->Job.TargetPath.empty()) return false;
  if (index > loopAt_) loopAt_ = index;
  // Most entries are written by the time the loop comes to them: no lock.
  if (Finished(slot->State)) return slot->State == jsWritten;
  std::unique_lock<std::mutex> lock(mutex_);
  GiveUpBefore(index);
  loopWaitsFor_ = slot;
  loopWake_.wait(lock, [&] {
    return Finished(slot->State) || (slot->State == jsWaiting && liveWorkers_ == 0);
  });
  loopWaitsFor_ = nullptr;
  return slot->State == jsWritten;
}

void TZAReadAhead::Release(int index) {
  std::lock_guard<std::mutex> lock(mutex_);
  TSlot* slot = SlotOf(index);
  if (!slot || (slot->State != jsDone && slot->State != jsFailed)) return;
  ReleaseSlot(*slot);
  if (workersWaiting_ > 0) workersWake_.notify_all();
}

// Under the lock. The slot's output is kept for later entries while the
// kept ones stay within the budget.
void TZAReadAhead::ReleaseSlot(TSlot& slot) {
  if (slot.Output.Capacity > 0 && spareBytes_ + slot.Output.Capacity <= budget_ / 4) {
    spareBytes_ += slot.Output.Capacity;
    spare_.push_back(std::move(slot.Output));
  }
  slot.Output = {};
  inUse_ -= slot.Counted;
  slot.Counted = 0;
  slot.State = jsReleased;
}

// --- The workers' side ------------------------------------------------------------------

void TZAReadAhead::Work() {
  const THandle file = os::FileOpen(archiveFile_, fmOpenRead | fmShareDenyNone);
  std::vector<TLane> lanes(kMaxLanes);
  TWorkerRun run;
  try {
    if (file != InvalidHandle) Run(lanes, file, run);
  } catch (...) {
    // Out of memory, most likely: the loop decodes these entries itself.
  }
  if (file != InvalidHandle) os::FileClose(file);
  // Entries left unfinished (stopped, or after an exception) go back.
  size_t held = 0;
  for (TLane& lane : lanes) {
    if (!lane.Slot) continue;
    ++held;
    if (lane.Outcome == TLane::loBusy) lane.Outcome = TLane::loFailed;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  Publish(lanes, held);
  for (; run.At < run.Slots.size(); ++run.At) run.Slots[run.At]->State = jsFailed;
  LeaveRun(run);
  --liveWorkers_;
  loopWake_.notify_all();
}

// Rounds of one piece of every entry going: read, decrypt side by side,
// inflate; then the entries finished are written where they have a target,
// and handed over together. A finished entry makes room for the next one.
void TZAReadAhead::Run(std::vector<TLane>& lanes, THandle file, TWorkerRun& run) {
  size_t held = 0;
  std::vector<TZADecryptLane> decrypting;
  std::vector<TLane*> decrypted;
  String readyFolder;
  for (;;) {
    FillLanes(lanes, held, file, run);
    if (held == 0 || stop_) return;

    decrypting.clear();
    decrypted.clear();
    for (TLane& lane : lanes) {
      if (!lane.Slot || lane.Outcome != TLane::loBusy) continue;
      lane.PieceLength = size_t(std::min<uint64_t>(kPieceSize, lane.DataEnd - lane.ReadAt));
      const int64_t n = int64_t(lane.PieceLength);
      if (os::FileReadAt(file, int64_t(lane.ReadAt), lane.Piece.get(), n) != n) {
        lane.Outcome = TLane::loFailed;
        continue;
      }
      lane.ReadAt += lane.PieceLength;
      if (lane.Slot->Job.Encrypted) {
        decrypting.push_back({lane.Piece.get(), lane.PieceLength, lane.Keys});
        decrypted.push_back(&lane);
      }
    }
    DecryptLanes(decrypting.data(), decrypting.size());
    for (size_t i = 0; i < decrypted.size(); ++i) decrypted[i]->Keys = decrypting[i].Keys;

    bool finished = false;
    for (TLane& lane : lanes) {
      if (lane.Slot && lane.Outcome == TLane::loBusy) Feed(lane);
      finished = finished || (lane.Slot && lane.Outcome != TLane::loBusy);
    }
    if (!finished) continue;
    WriteTargets(lanes, readyFolder);
    std::lock_guard<std::mutex> lock(mutex_);
    Publish(lanes, held);
  }
}

// Gives every free lane the next entry: of the worker's run, or else of a
// run claimed under the lock. Waits for the budget only when the worker
// has nothing going.
void TZAReadAhead::FillLanes(std::vector<TLane>& lanes, size_t& held, THandle file,
                             TWorkerRun& run) {
  TSlot* taken[kMaxLanes];
  size_t count = 0;
  {
    std::unique_lock<std::mutex> lock(mutex_, std::defer_lock);
    for (const TLane& lane : lanes) {
      if (lane.Slot) continue;
      if (run.At < run.Slots.size()) {
        taken[count++] = run.Slots[run.At++];
        continue;
      }
      if (!lock.owns_lock()) lock.lock();
      TSlot* slot = Claim(lock, held + count == 0, held + count, run);
      if (!slot) break;
      taken[count++] = slot;
    }
  }
  size_t next = 0;
  for (TLane& lane : lanes)
    if (!lane.Slot && next < count) Start(lane, *taken[next++], file);
  held += count;
}

// Under the lock: true while the loop may still want entries of the run
// (it gives entries up in order, so the last one tells).
bool TZAReadAhead::Wanted(const TRun& run) const {
  return !run.Claimed && slots_[run.End - 1].State == jsWaiting;
}

// Under the lock: the worker is done with its run's folder.
void TZAReadAhead::LeaveRun(TWorkerRun& run) {
  const auto busy = std::find(busyFolders_.begin(), busyFolders_.end(), run.Folder);
  if (!run.Folder.empty() && busy != busyFolders_.end()) busyFolders_.erase(busy);
  run = {};
}

// Under the lock: the first entry of the next run for the worker, which
// becomes its run. Small entries to write come first in a folder no other
// worker is on, looking past others up to the next entry that needs the
// budget; that one is taken in order, when the budget allows (with wait,
// waiting for it). Near the end, a worker with entries going leaves the
// last large ones to the others.
TZAReadAhead::TSlot* TZAReadAhead::Claim(std::unique_lock<std::mutex>& lock, bool wait,
                                         size_t lanesHeld, TWorkerRun& run) {
  LeaveRun(run);
  for (;;) {
    if (stop_) return nullptr;
    GiveUpBefore(loopAt_);
    while (nextRun_ < runs_.size() && !Wanted(runs_[nextRun_])) ++nextRun_;
    if (nextRun_ == runs_.size()) return nullptr;

    TRun* pick = nullptr;
    for (size_t r = nextRun_; r < runs_.size() && r < nextRun_ + kRunWindow && runs_[r].InLane; ++r) {
      if (!Wanted(runs_[r])) continue;
      const bool busy =
          std::find(busyFolders_.begin(), busyFolders_.end(), runs_[r].Folder) != busyFolders_.end();
      if (!pick || !busy) pick = &runs_[r];
      if (!busy) break;
    }
    if (pick) {
      pick->Claimed = true;
      for (size_t i = pick->First; i < pick->End; ++i) {
        if (slots_[i].State != jsWaiting) continue;
        slots_[i].State = jsDecoding;
        run.Slots.push_back(&slots_[i]);
      }
      run.Folder = pick->Folder;
      busyFolders_.push_back(run.Folder);
      run.At = 1;
      return run.Slots[0];
    }

    TRun& next = runs_[nextRun_];
    if (lanesHeld > 0 && slots_.size() - next.First < size_t(workerCount_)) return nullptr;
    TSlot& slot = slots_[next.First];
    const auto spare = BestSpare(slot.Job.Size);
    const uint64_t capacity = spare != spare_.end() ? spare->Capacity : CapacityFor(slot.Job.Size);
    if (inUse_ + capacity <= budget_) {
      if (spare != spare_.end()) {
        spareBytes_ -= spare->Capacity;
        slot.Output = std::move(*spare);
        spare_.erase(spare);
      }
      slot.State = jsDecoding;
      slot.Counted = capacity;
      inUse_ += slot.Counted;
      next.Claimed = true;
      return &slot;
    }
    if (!wait) return nullptr;
    ++workersWaiting_;
    workersWake_.wait(lock);
    --workersWaiting_;
  }
}

// Under the lock: the smallest spare buffer that size bytes fit in.
std::vector<TZAReadAhead::TBuffer>::iterator TZAReadAhead::BestSpare(uint64_t size) {
  auto best = spare_.end();
  for (auto it = spare_.begin(); it != spare_.end(); ++it)
    if (it->Capacity >= size && (best == spare_.end() || it->Capacity < best->Capacity)) best = it;
  return best;
}

// Sets the lane up for the entry: its output, and for an encrypted entry
// the password check on its 12-byte header, which may fail it at once.
void TZAReadAhead::Start(TLane& lane, TSlot& slot, THandle file) {
  const TJob& job = slot.Job;
  lane.Slot = &slot;
  lane.Outcome = TLane::loBusy;
  lane.ReadAt = job.DataAt;
  lane.DataEnd = job.DataAt + job.CompressedSize;
  lane.Written = 0;
  lane.Crc = ZACrcStart;
  if (DecodesInLane(job)) {
    if (!lane.OwnOutput) lane.OwnOutput.reset(new uint8_t[kLaneOutputBytes]);
    lane.Out = lane.OwnOutput.get();
  } else {
    if (!slot.Output.Bytes) {
      slot.Output.Capacity = CapacityFor(job.Size);
      slot.Output.Bytes.reset(new uint8_t[slot.Output.Capacity]);
    }
    lane.Out = slot.Output.Bytes.get();
  }
  if (!lane.Piece) lane.Piece.reset(new uint8_t[kPieceSize]);
  if (job.Deflated && !lane.Inflater) lane.Inflater = std::make_unique<TZAInflater>();
  if (lane.Inflater) lane.Inflater->Reset();
  if (job.Encrypted) {
    uint8_t header[ZAEncryptionHeaderSize];
    if (job.CompressedSize < ZAEncryptionHeaderSize ||
        os::FileReadAt(file, int64_t(job.DataAt), header, sizeof header) != int64_t(sizeof header) ||
        !CheckEncryptionHeader(header, password_, job.CheckByte, lane.Keys)) {
      lane.Outcome = TLane::loFailed;
      return;
    }
    lane.ReadAt += ZAEncryptionHeaderSize;
  }
}

// Decodes the lane's piece into the entry's output, as the loop's own
// decoding does: output past the declared size fails, and bytes after the
// end of the deflate stream are ignored. Sets the outcome once the entry is
// finished.
void TZAReadAhead::Feed(TLane& lane) {
  const TJob& job = lane.Slot->Job;
  const size_t before = size_t(lane.Written);
  bool ended = lane.ReadAt == lane.DataEnd;
  if (lane.PieceLength > 0) {
    if (job.Deflated) {
      size_t produced = before;
      const TZAInflater::Result r =
          lane.Inflater->InflateInto(lane.Piece.get(), lane.PieceLength, lane.Out, size_t(job.Size), produced);
      if (r == TZAInflater::irError || r == TZAInflater::irStopped) {
        lane.Outcome = TLane::loFailed;
        return;
      }
      lane.Written = produced;
      ended = ended || r == TZAInflater::irEnd;
    } else {
      if (lane.PieceLength > job.Size - lane.Written) {
        lane.Outcome = TLane::loFailed;
        return;
      }
      std::memcpy(lane.Out + before, lane.Piece.get(), lane.PieceLength);
      lane.Written += lane.PieceLength;
    }
    lane.Crc = UpdateCrc32(lane.Crc, lane.Out + before, size_t(lane.Written) - before);
  }
  if (!ended) return;
  const bool checked = lane.Written == job.Size && ZACrcFinal(lane.Crc) == job.Crc;
  lane.Outcome = checked ? TLane::loDecoded : TLane::loFailed;
}

// Writes the entries just decoded that have a target. One that cannot be
// written goes to the loop: with its bytes when they are in the slot, to
// be decoded again when they were in the lane.
void TZAReadAhead::WriteTargets(std::vector<TLane>& lanes, String& readyFolder) {
  for (TLane& lane : lanes) {
    if (!lane.Slot || lane.Outcome != TLane::loDecoded || lane.Slot->Job.TargetPath.empty())
      continue;
    if (!stop_ && WriteTarget(lane, readyFolder))
      lane.Outcome = TLane::loWritten;
    else if (DecodesInLane(lane.Slot->Job))
      lane.Outcome = TLane::loFailed;
  }
}

bool TZAReadAhead::WriteTarget(const TLane& lane, String& readyFolder) {
  const TJob& job = lane.Slot->Job;
  if (!FolderReady(ExtractFilePath(job.TargetPath), readyFolder)) return false;
  if (ZAWriteNewFile(job.TargetPath, lane.Out, job.Size, writing_.Flush) != nfWritten) return false;
  ZASetFileDetails(job.TargetPath, job.Details);
  return true;
}

// True when the folder of a target stays inside the base folder and
// exists (made when missing with CreateDirs). Each folder is checked once;
// readyFolder is the worker's last one, found without the lock.
bool TZAReadAhead::FolderReady(const String& folder, String& readyFolder) {
  if (folder == readyFolder) return true;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (readyFolders_.count(folder)) {
      readyFolder = folder;
      return true;
    }
  }
  const String realBase = os::RealPath(ExcludeTrailingPathDelimiter(writing_.Base));
  if (!ZAFolderStaysInside(folder, realBase)) return false;
  if (writing_.CreateDirs && !os::ForceDirectories(folder)) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  readyFolders_.insert(folder);
  readyFolder = folder;
  return true;
}

// Under the lock: hands the lanes' finished entries over to the loop,
// decoded, written or failed (their memory back), and frees the lanes. An
// entry the loop has given up on in the meantime is released at once.
void TZAReadAhead::Publish(std::vector<TLane>& lanes, size_t& held) {
  bool loopWanted = false, freed = false;
  for (TLane& lane : lanes) {
    if (!lane.Slot || lane.Outcome == TLane::loBusy) continue;
    TSlot& slot = *lane.Slot;
    lane.Slot = nullptr;
    --held;
    switch (lane.Outcome) {
      case TLane::loDecoded:
        slot.Crc = lane.Crc;
        slot.State = jsDone;
        break;
      case TLane::loWritten:
        ReleaseSlot(slot);
        slot.State = jsWritten;
        freed = true;
        break;
      default:
        ReleaseSlot(slot);
        slot.State = jsFailed;
        freed = true;
        break;
    }
    if (slot.State != jsWritten && slot.Job.Index < loopAt_) ReleaseSlot(slot);
    loopWanted = loopWanted || &slot == loopWaitsFor_;
  }
  if (freed && workersWaiting_ > 0) workersWake_.notify_all();
  if (loopWanted) loopWake_.notify_all();
}
