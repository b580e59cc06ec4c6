#include "archive/ZipArchiverReadAhead.h"

#include <algorithm>
#include <cstring>

#include "archive/ZipArchiverCoding.h"
#include "platform/OsFiles.h"
#include "platform/Streams.h"

namespace {

constexpr size_t kMaxLanes = 8;
// Entries are read, decrypted and inflated in pieces of this size.
constexpr size_t kPieceSize = 64 * 1024;

// Outputs are whole mebibytes, so that one kept for reuse fits later
// entries of about its size.
constexpr uint64_t kCapacityStep = 1 << 20;
uint64_t CapacityFor(uint64_t size) {
  return std::max<uint64_t>((size + kCapacityStep - 1) / kCapacityStep, 1) * kCapacityStep;
}

}  // namespace

TZAReadAhead::TZAReadAhead(const String& archiveFile, const String& password,
                           std::vector<TJob> jobs, int workerCount)
    : archiveFile_(archiveFile),
      password_(password),
      workerCount_(std::max(workerCount, 1)),
      budget_(kBudgetBytes) {
  slots_.resize(jobs.size());
  for (size_t i = 0; i < jobs.size(); ++i) {
    slots_[i].Job = jobs[i];
    // Too large to hold: the loop decodes it itself.
    if (jobs[i].Size > kMaxEntryBytes) slots_[i].State = jsFailed;
  }
  liveWorkers_ = workerCount_;
  for (int i = 0; i < workerCount_; ++i) workers_.emplace_back([this] { Work(); });
}

TZAReadAhead::~TZAReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

// --- The loop's side --------------------------------------------------------------------

TZAReadAhead::TSlot* TZAReadAhead::SlotOf(int index) {
  const auto it = std::lower_bound(slots_.begin(), slots_.end(), index,
                                   [](const TSlot& s, int i) { return s.Job.Index < i; });
  return it != slots_.end() && it->Job.Index == index ? &*it : nullptr;
}

bool TZAReadAhead::Take(int index, const String& password, uint64_t dataAt,
                        uint64_t compressedSize, TDecoded& decoded) {
  std::unique_lock<std::mutex> lock(mutex_);
  // The loop has moved on: whatever lies before this entry is not wanted.
  givenUpBelow_ = std::max(givenUpBelow_, index);
  for (; givenUp_ < slots_.size() && slots_[givenUp_].Job.Index < index; ++givenUp_) {
    TSlot& slot = slots_[givenUp_];
    if (slot.State == jsWaiting) slot.State = jsReleased;
    if (slot.State == jsDone || slot.State == jsFailed) ReleaseSlot(slot);
  }
  changed_.notify_all();
  TSlot* slot = SlotOf(index);
  if (!slot) return false;
  changed_.wait(lock, [&] {
    return slot->State == jsDone || slot->State == jsFailed || slot->State == jsReleased ||
           (slot->State == jsWaiting && liveWorkers_ == 0);
  });
  if (slot->State != jsDone || password != password_ || slot->Job.DataAt != dataAt ||
      slot->Job.CompressedSize != compressedSize)
    return false;
  decoded = {slot->Output.Bytes.get(), slot->Job.Size, slot->Crc};
  return true;
}

void TZAReadAhead::Release(int index) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    TSlot* slot = SlotOf(index);
    if (!slot || (slot->State != jsDone && slot->State != jsFailed)) return;
    ReleaseSlot(*slot);
  }
  changed_.notify_all();
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

// An entry a worker is decoding: how far its data are read, its keys and
// inflater, and how much output it gave.
struct TZAReadAhead::TLane {
  TSlot* Slot = nullptr;
  uint64_t ReadAt = 0;
  uint64_t DataEnd = 0;
  TZAKeys Keys;
  // Made when the lane first needs them, kept for its later entries.
  std::unique_ptr<TZAInflater> Inflater;
  std::unique_ptr<uint8_t[]> Piece;
  uint64_t Written = 0;
  uint32_t Crc = ZACrcStart;
  size_t PieceLength = 0;
};

void TZAReadAhead::Work() {
  const THandle file = os::FileOpen(archiveFile_, fmOpenRead | fmShareDenyNone);
  std::vector<TLane> lanes(kMaxLanes);
  try {
    if (file != InvalidHandle) Run(lanes, file);
  } catch (...) {
    // Out of memory, most likely: the loop decodes these entries itself.
    for (TLane& lane : lanes)
      if (lane.Slot) Finish(lane, false);
  }
  if (file != InvalidHandle) os::FileClose(file);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    --liveWorkers_;
  }
  changed_.notify_all();
}

// Rounds of one piece of every entry going: read, decrypt side by side,
// inflate. A finished entry makes room for the next one.
void TZAReadAhead::Run(std::vector<TLane>& lanes, THandle file) {
  size_t held = 0;
  std::vector<TZADecryptLane> decrypting;
  std::vector<TLane*> decrypted;
  for (;;) {
    for (TLane& lane : lanes)
      while (!lane.Slot) {
        TSlot* slot = TakeNext(held == 0, held);
        if (!slot) break;
        held += Start(lane, *slot, file);
      }
    if (held == 0 || stop_) return;

    decrypting.clear();
    decrypted.clear();
    for (TLane& lane : lanes) {
      if (!lane.Slot) continue;
      lane.PieceLength = size_t(std::min<uint64_t>(kPieceSize, lane.DataEnd - lane.ReadAt));
      const int64_t n = int64_t(lane.PieceLength);
      if (os::FileReadAt(file, int64_t(lane.ReadAt), lane.Piece.get(), n) != n) {
        Finish(lane, false);
        --held;
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

    for (TLane& lane : lanes)
      if (lane.Slot && !Feed(lane)) --held;
  }
}

// Under the lock: moves past entries that the loop gave up or that are too
// large to hold.
void TZAReadAhead::PassOverUnwanted() {
  while (next_ < slots_.size() && slots_[next_].State != jsWaiting) ++next_;
}

// The next entry in order, when the budget allows; with wait, waits for
// the budget. Near the end, a worker with entries going leaves the last
// ones to the others.
TZAReadAhead::TSlot* TZAReadAhead::TakeNext(bool wait, size_t lanesHeld) {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (stop_) return nullptr;
    PassOverUnwanted();
    if (next_ == slots_.size()) return nullptr;
    if (lanesHeld > 0 && slots_.size() - next_ < size_t(workerCount_)) return nullptr;
    TSlot& slot = slots_[next_];
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
      ++next_;
      return &slot;
    }
    if (!wait) return nullptr;
    changed_.wait(lock);
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
// the password check on its 12-byte header. False when the entry failed
// at once.
bool TZAReadAhead::Start(TLane& lane, TSlot& slot, THandle file) {
  const TJob& job = slot.Job;
  lane.Slot = &slot;
  lane.ReadAt = job.DataAt;
  lane.DataEnd = job.DataAt + job.CompressedSize;
  lane.Written = 0;
  lane.Crc = ZACrcStart;
  if (!slot.Output.Bytes) {
    slot.Output.Capacity = CapacityFor(job.Size);
    slot.Output.Bytes.reset(new uint8_t[slot.Output.Capacity]);
  }
  if (!lane.Piece) lane.Piece.reset(new uint8_t[kPieceSize]);
  if (job.Deflated && !lane.Inflater) lane.Inflater = std::make_unique<TZAInflater>();
  if (lane.Inflater) lane.Inflater->Reset();
  if (job.Encrypted) {
    uint8_t header[ZAEncryptionHeaderSize];
    if (job.CompressedSize < ZAEncryptionHeaderSize ||
        os::FileReadAt(file, int64_t(job.DataAt), header, sizeof header) != int64_t(sizeof header) ||
        !CheckEncryptionHeader(header, password_, job.CheckByte, lane.Keys)) {
      Finish(lane, false);
      return false;
    }
    lane.ReadAt += ZAEncryptionHeaderSize;
  }
  return true;
}

// Decodes the lane's piece into the entry's output, as the loop's own
// decoding does: output past the declared size fails, and bytes after the
// end of the deflate stream are ignored. False once the entry is finished.
bool TZAReadAhead::Feed(TLane& lane) {
  const TJob& job = lane.Slot->Job;
  uint8_t* out = lane.Slot->Output.Bytes.get();
  const size_t before = size_t(lane.Written);
  bool ended = lane.ReadAt == lane.DataEnd;
  if (lane.PieceLength > 0) {
    if (job.Deflated) {
      size_t produced = before;
      const TZAInflater::Result r =
          lane.Inflater->InflateInto(lane.Piece.get(), lane.PieceLength, out, size_t(job.Size), produced);
      if (r == TZAInflater::irError || r == TZAInflater::irStopped) {
        Finish(lane, false);
        return false;
      }
      lane.Written = produced;
      ended = ended || r == TZAInflater::irEnd;
    } else {
      if (lane.PieceLength > job.Size - lane.Written) {
        Finish(lane, false);
        return false;
      }
      std::memcpy(out + before, lane.Piece.get(), lane.PieceLength);
      lane.Written += lane.PieceLength;
    }
    lane.Crc = UpdateCrc32(lane.Crc, out + before, size_t(lane.Written) - before);
  }
  if (!ended) return true;
  Finish(lane, lane.Written == job.Size && ZACrcFinal(lane.Crc) == job.Crc);
  return false;
}

// Hands the lane's entry over to the loop, decoded or failed (its memory
// back), and frees the lane. An entry the loop has given up on in the
// meantime is released at once.
void TZAReadAhead::Finish(TLane& lane, bool decoded) {
  TSlot& slot = *lane.Slot;
  lane.Slot = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (decoded) {
      slot.Crc = lane.Crc;
      slot.State = jsDone;
    } else {
      ReleaseSlot(slot);
      slot.State = jsFailed;
    }
    if (slot.Job.Index < givenUpBelow_) ReleaseSlot(slot);
  }
  changed_.notify_all();
}
