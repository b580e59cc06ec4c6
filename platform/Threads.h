// Threads and their synchronisation: the critical section, the
// multi-read/exclusive-write lock, events and the thread object; and what
// the processors offer them (how many, which instruction set extensions).
//
// Built on the C++ thread library, which maps onto the system's threads on
// both sides; only ProcessorCount asks the system itself
// (Threads_win32.cpp, Threads_posix.cpp).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

#include "Components.h"
#include "Errors.h"

// Wait without time limit.
constexpr uint32_t WaitInfinite = 0xFFFFFFFF;

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// A recursive lock, as the system's critical sections are: the thread that
// holds it may enter again and leaves as many times as it entered. The
// lowercase members make it usable with std::lock_guard / std::scoped_lock.
class TCriticalSection : public TObject {
 public:
  const char* ClassName() const override { return "TCriticalSection"; }

  void Enter() { mutex_.lock(); }
  void Leave() { mutex_.unlock(); }
  bool TryEnter() { return mutex_.try_lock(); }
  void Acquire() { Enter(); }
  void Release() { Leave(); }

  void lock() { Enter(); }
  void unlock() { Leave(); }
  bool try_lock() { return TryEnter(); }

 private:
  std::recursive_mutex mutex_;
};

// Many readers or one writer. Both sides nest on their own thread. A thread
// that writes may also read. A thread that reads may ask to write: while it
// waits its reads do not hold other writers back (two upgrading readers
// would otherwise wait for each other for ever), so another writer may go
// first; BeginWrite then returns false to say that the protected data may
// have changed since the caller read it. New readers wait while a writer
// waits, so that writers are not starved.
class TMultiReadExclusiveWriteSynchronizer : public TObject {
 public:
  const char* ClassName() const override { return "TMultiReadExclusiveWriteSynchronizer"; }

  void BeginRead();
  void EndRead();
  // True when no other thread wrote between the call and the moment the
  // write lock was granted.
  bool BeginWrite();
  void EndWrite();
  // Counts the write locks granted (not the nested ones).
  uint32_t RevisionLevel() const;

 private:
  int ReadsOf(std::thread::id id) const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::map<std::thread::id, int> reads_;
  int totalReads_ = 0;
  std::thread::id writer_;
  int writeDepth_ = 0;
  int waitingWriters_ = 0;
  uint32_t revision_ = 0;
};

// An event: signalled by SetEvent, cleared by ResetEvent. A manual-reset
// event stays signalled and releases every waiter; an auto-reset event
// releases one waiter and clears itself. wrAbandoned and wrError belong to
// waits on system objects: these events answer wrSignaled or wrTimeout.
class TEvent : public TObject {
 public:
  TEvent(bool manualReset, bool initialState) : manualReset_(manualReset), signaled_(initialState) {}
  const char* ClassName() const override { return "TEvent"; }

  void SetEvent();
  void ResetEvent();
  TWaitResult WaitFor(uint32_t timeoutMs = WaitInfinite);

 private:
  std::mutex mutex_;
  std::condition_variable signal_;
  const bool manualReset_;
  bool signaled_;
};

// A manual-reset event that starts cleared.
class TSimpleEvent : public TEvent {
 public:
  TSimpleEvent() : TEvent(true, false) {}
  const char* ClassName() const override { return "TSimpleEvent"; }
};

// A thread object: derive, override Execute, and start it.
//
// A thread cannot start from TThread's own constructor, where the derived
// Execute does not exist yet. So an object is always built suspended and
// starts at Start (or Resume); NewThread<T>(...) builds one and starts it at
// once unless it was made with createSuspended true.
//
// Execute should return soon after Terminate (it polls Terminated). An
// exception that leaves Execute is kept as FatalException; OnTerminate then
// runs on the thread itself, before WaitFor returns. With FreeOnTerminate
// the object deletes itself when its thread ends, and nobody may touch it
// after Start.
//
// Destroying a running thread object terminates it and waits for it. A
// derived class whose Execute uses its own members must do that in its own
// destructor (TerminateAndWait), before those members go.
class TThread : public TObject {
 public:
  explicit TThread(bool createSuspended);
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;
  const char* ClassName() const override { return "TThread"; }

  // Starts the thread unless it was made suspended (see NewThread).
  void AfterConstruction();
  // EThread "Cannot call Start on a running or finished thread" when it
  // has already been started.
  void Start();
  void Resume() { Start(); }
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until Execute and OnTerminate are done; returns ReturnValue.
  // Raises EThread when the thread was never started, frees itself, or
  // would wait for itself.
  int WaitFor();
  void TerminateAndWait();

  bool Started() const;
  bool Finished() const;
  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
  // The system's id of the thread; 0 until started.
  uint32_t ThreadID() const;
  int ReturnValue() const { return returnValue_; }
  // The exception that ended Execute, or none.
  std::exception_ptr FatalException() const;

  std::function<void(TObject* sender)> OnTerminate;

 protected:
  virtual void Execute() = 0;
  // Calls OnTerminate.
  virtual void DoTerminate();
  void SetReturnValue(int value) { returnValue_ = value; }

 private:
  void Run(std::promise<void> running);

  mutable std::mutex mutex_;
  std::condition_variable stateChanged_;
  std::thread thread_;
  const bool createSuspended_;
  bool started_ = false;
  bool finished_ = false;
  uint32_t threadId_ = 0;
  std::exception_ptr fatalException_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> freeOnTerminate_{false};
  std::atomic<int> returnValue_{0};
};

// Builds a T (a TThread) with args and starts it unless made suspended.
template <class T, class... Args>
T* NewThread(Args&&... args) {
  T* thread = new T(std::forward<Args>(args)...);
  try {
    thread->AfterConstruction();
  } catch (...) {
    delete thread;
    throw;
  }
  return thread;
}

// The processors this process may run on: fewer than the machine has when
// it is restricted to some of them.
int ProcessorCount();

// Instruction set extensions that faster block functions (digests, CRC-32)
// are built on; probed once.
struct TProcessorFeatures {
  bool Sha = false;                // SHA, SSSE3 and SSE4.1
  bool CarrylessMultiply = false;  // PCLMULQDQ, SSSE3 and SSE4.1
};
const TProcessorFeatures& ProcessorFeatures();
