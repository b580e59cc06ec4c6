// Decoding ahead: while extraction works through the selected entries one
// by one, worker threads read, decrypt, inflate and check the entries that
// come next, into memory.
//
// The per-entry loop stays as it is, on the caller's thread, with every
// event, prompt and file operation in its usual order: when it reaches an
// entry that was decoded ahead and checked, it only writes the bytes out.
// Anything that did not go perfectly ahead (a wrong password, a bad CRC, a
// damaged header, an entry too large to hold) is left to the loop, which
// decodes it itself and reports whatever is wrong as it always does.
//
// Each worker keeps up to eight entries going at once, taking the next one
// in order whenever one is finished, and reads, decrypts (side by side, see
// DecryptLanes) and inflates them piece by piece. Memory is bounded: an
// entry's output counts against a budget until the loop is done with it,
// and workers wait while the total would pass the budget; outputs kept for
// reuse take at most a quarter as much again. The budget is fixed, so that
// an extraction stays within a few tens of mebibytes however many
// processors run it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/OsFiles.h"

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

  // Starts the workers on a separate read-only opening of the archive file.
  TZAReadAhead(const String& archiveFile, const String& password, std::vector<TJob> jobs,
               int workerCount);
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
  const String& Password() const { return password_; }

 private:
  enum TState { jsWaiting, jsDecoding, jsDone, jsFailed, jsReleased };
  struct TBuffer {
    std::unique_ptr<uint8_t[]> Bytes;
    uint64_t Capacity = 0;
  };
  struct TSlot {
    TJob Job;
    TState State = jsWaiting;
    uint64_t Counted = 0;  // of the budget, until released
    TBuffer Output;
    uint32_t Crc = 0;
  };
  struct TLane;

  void Work();
  void Run(std::vector<TLane>& lanes, THandle file);
  TSlot* TakeNext(bool wait, size_t lanesHeld);
  void PassOverUnwanted();
  bool Start(TLane& lane, TSlot& slot, THandle file);
  bool Feed(TLane& lane);
  void Finish(TLane& lane, bool decoded);
  void ReleaseSlot(TSlot& slot);
  std::vector<TBuffer>::iterator BestSpare(uint64_t size);
  TSlot* SlotOf(int index);

  const String archiveFile_;
  const String password_;
  const int workerCount_;
  const uint64_t budget_;
  std::vector<TSlot> slots_;  // in directory order
  std::mutex mutex_;
  std::condition_variable changed_;
  size_t next_ = 0;          // the first slot no worker looked at yet
  size_t givenUp_ = 0;       // slots before this one are given up
  int givenUpBelow_ = -1;    // entries below this index are given up
  uint64_t inUse_ = 0;       // the outputs of unreleased slots
  // Outputs the loop is done with, kept for later entries (fresh memory
  // costs a page fault for every page), up to the budget again.
  std::vector<TBuffer> spare_;
  uint64_t spareBytes_ = 0;
  int liveWorkers_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<std::thread> workers_;
};
