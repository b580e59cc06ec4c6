// Decoding ahead: while extraction works through the selected entries one
// by one, worker threads read, decrypt, inflate and check the entries that
// come next, into memory.
//
// The per-entry loop stays on the caller's thread, with every event,
// prompt and file operation in its usual order: when it reaches an entry
// that was decoded ahead and checked, it only writes the bytes out.
// Anything that did not go perfectly ahead (a wrong password, a bad CRC, a
// damaged header, an entry too large to hold) is left to the loop, which
// decodes it itself and reports whatever is wrong as it always does.
//
// When the loop has nothing to decide for an entry (no event asks about
// single entries, see TZABaseArchiver::LightPathAllowed), the entry gets a
// target: the worker that decoded it also writes it, as a new file with its
// time and attributes, and the loop only counts it. A target that is taken
// already, a folder that cannot be made or leads out of the base folder, a
// failed write: the entry goes back to the loop, which applies its rules.
// A loop that stops early has the files written past its stop removed.
//
// Each worker keeps up to eight entries going at once and reads, decrypts
// (side by side, see DecryptLanes) and inflates them piece by piece.
// Memory is bounded: an entry's output counts against a budget until the
// loop is done with it, and workers wait while the total would pass the
// budget; outputs kept for reuse take at most a quarter as much again.
// Small entries with a target decode into their lane's own buffer and never
// wait for the loop. The budget is fixed, so that an extraction stays
// within a few tens of mebibytes however many processors run it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

#include "platform/OsFiles.h"

// --- Writing extracted files (the loop's and the workers') ------------------------------

// What an extracted file gets besides its bytes.
struct TZAFileDetails {
  int64_t ModTime = 0;      // seconds since 1970-01-01 UTC
  int32_t Permissions = -1;  // Unix rwx bits; -1 leaves them
  uint32_t Attributes = 0;   // file attributes to set; 0 leaves them
};
void ZASetFileDetails(const String& path, const TZAFileDetails& details);

enum TZANewFileResult { nfWritten, nfNotCreated, nfFailed };
// Writes size bytes to path as a new file (never through anything that
// holds the name), flushed to the device with flush. A failed write
// removes the file again.
TZANewFileResult ZAWriteNewFile(const String& path, const uint8_t* data, uint64_t size, bool flush);

// True when folder, below the base folder by name, lies in it on disk too:
// the deepest part of it that exists, with every link resolved, lies in
// realBase (the base folder resolved; empty when it did not exist, and then
// nothing below it can be a link).
bool ZAFolderStaysInside(const String& folder, const String& realBase);

class TZAReadAhead {
 public:
  // One entry to decode: where its data lie (behind the local header) and
  // what it must decode to.
  struct TJob {
    int Index = -1;  // in the archive's directory
    uint64_t DataAt = 0;
    uint64_t CompressedSize = 0;  // with the 12-byte encryption header
    uint64_t Size = 0;
    uint32_t Crc = 0;
    uint8_t CheckByte = 0;  // of the encryption header
    bool Encrypted = false;
    bool Deflated = false;
    // Where a worker writes the entry itself; empty when the loop does.
    String TargetPath;
    TZAFileDetails Details;
  };
  // How targets are written: below Base (with its trailing delimiter),
  // their folders made when missing with CreateDirs, flushed with Flush.
  struct TWriting {
    String Base;
    bool CreateDirs = true;
    bool Flush = false;
  };
  // The decoded bytes of an entry, checked against its size and CRC-32.
  struct TDecoded {
    const uint8_t* Data = nullptr;
    uint64_t Size = 0;
    uint32_t Crc = 0;  // the running value, before ZACrcFinal
  };

  // An entry declared larger than this is left to the loop.
  static constexpr uint64_t kMaxEntryBytes = 16ull << 20;
  // What decoded entries waiting for the loop may hold at once.
  static constexpr uint64_t kBudgetBytes = 40ull << 20;
  // Entries with a target up to this size decode into their lane's buffer.
  static constexpr uint64_t kLaneOutputBytes = 64 << 10;

  // Starts the workers on a separate read-only opening of the archive file.
  TZAReadAhead(const String& archiveFile, const String& password, std::vector<TJob> jobs,
               int workerCount, TWriting writing);
  // Stops the workers; they finish the entries they are decoding.
  ~TZAReadAhead();
  TZAReadAhead(const TZAReadAhead&) = delete;
  TZAReadAhead& operator=(const TZAReadAhead&) = delete;

  // The entry at index of the directory, decoded with password from its
  // data at dataAt (compressedSize bytes), waiting while a worker is on it;
  // false when it was not, or not successfully, decoded ahead. Entries
  // before it are given up. The bytes stay valid until Release.
  bool Take(int index, const String& password, uint64_t dataAt, uint64_t compressedSize,
            TDecoded& decoded);
  // The loop is done with the entry at index: its memory goes back.
  void Release(int index);
  // True when the entry at index had a target and a worker wrote it;
  // waits while a worker is on it. Entries before it are given up.
  bool Written(int index);
  // Stops the workers and removes the files they wrote for entries after
  // index: the loop stopped there.
  void Abandon(int index);
  const String& Password() const { return password_; }

 private:
  enum TState { jsWaiting, jsDecoding, jsDone, jsFailed, jsWritten, jsReleased };
  struct TBuffer {
    std::unique_ptr<uint8_t[]> Bytes;
    uint64_t Capacity = 0;
  };
  struct TSlot {
    TJob Job;
    // Read by the loop without the lock; changed under it.
    std::atomic<TState> State{jsWaiting};
    uint64_t Counted = 0;  // of the budget, until released
    TBuffer Output;
    uint32_t Crc = 0;
  };
  struct TLane;
  static bool Finished(TState s) { return s != jsWaiting && s != jsDecoding; }

  // Consecutive small entries with a target in one folder, up to
  // kRunEntries of them, go to one worker together: workers that write in
  // different folders do not queue for one folder's lock in the system.
  // Every other entry is a run of its own.
  struct TRun {
    size_t First = 0, End = 0;  // slots
    bool InLane = false;
    bool Claimed = false;
    String Folder;
  };
  // The entries of the run a worker is on, and how far it got.
  struct TWorkerRun {
    std::vector<TSlot*> Slots;
    size_t At = 0;
    String Folder;
  };
  void Stop();
  void Work();
  void Run(std::vector<TLane>& lanes, THandle file, TWorkerRun& run);
  void MakeRuns();
  void FillLanes(std::vector<TLane>& lanes, size_t& held, THandle file, TWorkerRun& run);
  TSlot* Claim(std::unique_lock<std::mutex>& lock, bool wait, size_t lanesHeld, TWorkerRun& run);
  bool Wanted(const TRun& run) const;
  void LeaveRun(TWorkerRun& run);
  void GiveUpBefore(int index);
  void Start(TLane& lane, TSlot& slot, THandle file);
  void Feed(TLane& lane);
  void WriteTargets(std::vector<TLane>& lanes, String& readyFolder);
  bool WriteTarget(const TLane& lane, String& readyFolder);
  bool FolderReady(const String& folder, String& readyFolder);
  void Publish(std::vector<TLane>& lanes, size_t& held);
  void ReleaseSlot(TSlot& slot);
  std::vector<TBuffer>::iterator BestSpare(uint64_t size);
  TSlot* SlotOf(int index);

  const String archiveFile_;
  const String password_;
  const int workerCount_;
  const uint64_t budget_;
  const TWriting writing_;
  std::vector<TSlot> slots_;  // in directory order
  std::mutex mutex_;
  std::condition_variable loopWake_;     // the loop waits for a slot
  std::condition_variable workersWake_;  // workers wait for the budget
  TSlot* loopWaitsFor_ = nullptr;
  int workersWaiting_ = 0;
  std::vector<TRun> runs_;
  size_t nextRun_ = 0;               // runs before it are claimed or given up
  std::vector<String> busyFolders_;  // of the runs workers are on
  size_t givenUp_ = 0;       // slots before this one are given up
  // Entries below this index are given up: the loop has moved past them.
  std::atomic<int> loopAt_{-1};
  std::unordered_set<String> readyFolders_;  // target folders made and checked
  uint64_t inUse_ = 0;       // the outputs of unreleased slots
  // Outputs the loop is done with, kept for later entries (fresh memory
  // costs a page fault for every page), up to the budget again.
  std::vector<TBuffer> spare_;
  uint64_t spareBytes_ = 0;
  int liveWorkers_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<std::thread> workers_;
};
