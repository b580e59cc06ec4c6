// Locks, events and thread objects, with real threads. Waits that must
// succeed get generous limits; waits that must not succeed are short.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sched.h>
#endif

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/OsFiles.h"
#include "platform/Threads.h"

namespace {

constexpr uint32_t kLong = 10000;  // ms: long enough never to expire in a passing run
constexpr uint32_t kShort = 50;    // ms: proves that something is still waiting

// Runs body on a thread of its own; the destructor joins it.
class Helper {
 public:
  explicit Helper(std::function<void()> body) : thread_(std::move(body)) {}
  ~Helper() { thread_.join(); }

 private:
  std::thread thread_;
};

class TFunctionThread : public TThread {
 public:
  TFunctionThread(bool suspended, std::function<int(TFunctionThread&)> body)
      : TThread(suspended), body_(std::move(body)) {}
  ~TFunctionThread() override { TerminateAndWait(); }

 protected:
  void Execute() override { SetReturnValue(body_(*this)); }

 private:
  std::function<int(TFunctionThread&)> body_;
};

}  // namespace

TEST(CriticalSection, IsRecursiveAndExcludesOtherThreads) {
  TCriticalSection cs;
  cs.Enter();
  EXPECT_TRUE(cs.TryEnter());  // the owner enters again
  std::atomic<int> tries{0};
  {
    Helper other([&] { tries = cs.TryEnter() ? 2 : 1; });
  }
  EXPECT_EQ(tries, 1);
  cs.Leave();
  cs.Leave();
  {
    Helper other([&] {
      tries = cs.TryEnter() ? 2 : 1;
      if (tries == 2) cs.Release();
    });
  }
  EXPECT_EQ(tries, 2);

  // Many threads increment one plain counter under the lock.
  int counter = 0;
  {
    std::vector<std::unique_ptr<Helper>> helpers;
    for (int t = 0; t < 4; ++t)
      helpers.push_back(std::make_unique<Helper>([&] {
        for (int i = 0; i < 10000; ++i) {
          std::lock_guard guard(cs);
          ++counter;
        }
      }));
  }
  EXPECT_EQ(counter, 40000);
}

TEST(Event, WaitsTimeOutOrWakeAsTheResetModeSays) {
  TSimpleEvent manual;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(manual.WaitFor(kShort), wrTimeout);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kShort - 5));
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);

  // A manual-reset event releases every waiter and stays set.
  std::atomic<int> released{0};
  {
    std::vector<std::unique_ptr<Helper>> waiters;
    for (int i = 0; i < 3; ++i)
      waiters.push_back(std::make_unique<Helper>([&] {
        if (manual.WaitFor(kLong) == wrSignaled) ++released;
      }));
    manual.SetEvent();
  }
  EXPECT_EQ(released, 3);
  EXPECT_EQ(manual.WaitFor(0), wrSignaled);
  manual.ResetEvent();
  EXPECT_EQ(manual.WaitFor(0), wrTimeout);

  // An auto-reset event lets exactly one waiter through per SetEvent.
  TEvent automatic(false, true);
  EXPECT_EQ(automatic.WaitFor(0), wrSignaled);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);
  released = 0;
  {
    Helper a([&] {
      if (automatic.WaitFor(kLong) == wrSignaled) ++released;
    });
    Helper b([&] {
      if (automatic.WaitFor(kLong) == wrSignaled) ++released;
    });
    automatic.SetEvent();
    while (released < 1) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(kShort));
    EXPECT_EQ(released, 1);
    automatic.SetEvent();
  }
  EXPECT_EQ(released, 2);
  EXPECT_EQ(automatic.WaitFor(0), wrTimeout);
}

TEST(Synchronizer, ReadersShareAndWritesNestOnTheirThread) {
  TMultiReadExclusiveWriteSynchronizer sync;
  // Two readers at once: each waits inside its read for the other.
  TSimpleEvent firstIn, secondIn;
  std::atomic<bool> bothInside{false};
  {
    Helper a([&] {
      sync.BeginRead();
      firstIn.SetEvent();
      bothInside = secondIn.WaitFor(kLong) == wrSignaled;
      sync.EndRead();
    });
    Helper b([&] {
      firstIn.WaitFor(kLong);
      sync.BeginRead();
      secondIn.SetEvent();
      sync.EndRead();
    });
  }
  EXPECT_TRUE(bothInside);

  // The writer may write again and read; others wait until it is done.
  EXPECT_TRUE(sync.BeginWrite());
  EXPECT_TRUE(sync.BeginWrite());
  sync.BeginRead();
  TSimpleEvent readerIn;
  {
    Helper reader([&] {
      sync.BeginRead();
      readerIn.SetEvent();
      sync.EndRead();
    });
    sync.EndRead();
    sync.EndWrite();
    EXPECT_EQ(readerIn.WaitFor(kShort), wrTimeout);
    sync.EndWrite();
    EXPECT_EQ(readerIn.WaitFor(kLong), wrSignaled);
  }
  EXPECT_EQ(sync.RevisionLevel(), 1u);
}

TEST(Synchronizer, ReaderUpgradesToWriterWhileAnotherThreadWaits) {
  TMultiReadExclusiveWriteSynchronizer sync;
  int shared = 0;
  sync.BeginRead();

  std::atomic<bool> writerIn{false};
  std::atomic<bool> writerFirst{true};
  int seenByWriter = -1;
  TSimpleEvent writerAsked;
  {
    Helper writer([&] {
      writerAsked.SetEvent();
      writerFirst = sync.BeginWrite();
      writerIn = true;
      seenByWriter = shared;
      shared = 2;
      sync.EndWrite();
    });
    writerAsked.WaitFor(kLong);
    std::this_thread::sleep_for(std::chrono::milliseconds(kShort));
    EXPECT_FALSE(writerIn);  // held back by our read

    // Our read becomes a write without waiting for the queued writer.
    EXPECT_TRUE(sync.BeginWrite());
    shared = 1;
    sync.EndWrite();
    std::this_thread::sleep_for(std::chrono::milliseconds(kShort));
    EXPECT_FALSE(writerIn);  // we still read
    EXPECT_EQ(shared, 1);
    sync.EndRead();
  }
  EXPECT_TRUE(writerIn);
  EXPECT_EQ(seenByWriter, 1);
  // Someone wrote while the other writer waited, and it was told so.
  EXPECT_FALSE(writerFirst);
  EXPECT_EQ(shared, 2);
  EXPECT_EQ(sync.RevisionLevel(), 2u);
}

TEST(Synchronizer, TwoUpgradingReadersDoNotDeadlock) {
  TMultiReadExclusiveWriteSynchronizer sync;
  TSimpleEvent aRead, bRead;
  std::atomic<int> firsts{0};
  auto upgrade = [&](TSimpleEvent& mine, TSimpleEvent& theirs) {
    sync.BeginRead();
    mine.SetEvent();
    theirs.WaitFor(kLong);  // both hold a read before either asks to write
    if (sync.BeginWrite()) ++firsts;
    sync.EndWrite();
    sync.EndRead();
  };
  {
    Helper a([&] { upgrade(aRead, bRead); });
    Helper b([&] { upgrade(bRead, aRead); });
  }
  EXPECT_EQ(firsts, 1);  // one wrote first, the other learnt of it
  EXPECT_EQ(sync.RevisionLevel(), 2u);
}

TEST(Thread, WaitForReturnsTheResultAfterOnTerminate) {
  std::atomic<uint32_t> idInside{0};
  TFunctionThread thread(true, [&](TFunctionThread&) {
    idInside = os::CurrentThreadId();
    return 42;
  });
  EXPECT_FALSE(thread.Started());
  EXPECT_EQ(thread.ThreadID(), 0u);
  bool terminatedSeen = false;
  thread.OnTerminate = [&](TObject* sender) { terminatedSeen = sender == &thread; };
  thread.Start();
  EXPECT_NE(thread.ThreadID(), 0u);
  EXPECT_EQ(thread.WaitFor(), 42);
  EXPECT_TRUE(terminatedSeen);
  EXPECT_TRUE(thread.Finished());
  EXPECT_EQ(thread.ThreadID(), idInside.load());
  EXPECT_NE(thread.ThreadID(), os::CurrentThreadId());
  EXPECT_EQ(thread.WaitFor(), 42);  // waiting again answers at once
  EXPECT_FALSE(thread.FatalException());
  EXPECT_THROW(thread.Start(), EThread);
}

TEST(Thread, TerminateEndsAPollingLoop) {
  std::atomic<int> rounds{0};
  std::unique_ptr<TFunctionThread> thread(NewThread<TFunctionThread>(false, [&](TFunctionThread& self) {
    while (!self.Terminated()) {
      ++rounds;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
  }));
  EXPECT_TRUE(thread->Started());
  while (rounds == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  thread->Terminate();
  EXPECT_EQ(thread->WaitFor(), -1);

  // Terminated before it started: Execute never runs.
  std::atomic<bool> ran{false};
  TFunctionThread early(true, [&](TFunctionThread&) {
    ran = true;
    return 1;
  });
  early.Terminate();
  early.Start();
  EXPECT_EQ(early.WaitFor(), 0);
  EXPECT_FALSE(ran);
}

TEST(Thread, ExceptionInExecuteIsKeptAsFatalException) {
  TFunctionThread thread(true, [](TFunctionThread&) -> int { throw EConvertError("bad value"); });
  thread.Start();
  thread.WaitFor();
  ASSERT_TRUE(thread.FatalException());
  try {
    std::rethrow_exception(thread.FatalException());
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "bad value");
  }
}

TEST(Thread, MisuseRaisesInsteadOfHanging) {
  TFunctionThread never(true, [](TFunctionThread&) { return 0; });
  EXPECT_THROW(never.WaitFor(), EThread);

  std::atomic<bool> selfWaitRaised{false};
  TFunctionThread self(true, [&](TFunctionThread& me) {
    try {
      me.WaitFor();
    } catch (const EThread&) {
      selfWaitRaised = true;
    }
    return 0;
  });
  self.Start();
  self.WaitFor();
  EXPECT_TRUE(selfWaitRaised);
}

TEST(Thread, FreeOnTerminateDeletesTheObjectOnItsThread) {
  class TSelfFreeing : public TThread {
   public:
    TSelfFreeing(TSimpleEvent& gone) : TThread(true), gone_(gone) { SetFreeOnTerminate(true); }
    ~TSelfFreeing() override { gone_.SetEvent(); }

   protected:
    void Execute() override {}

   private:
    TSimpleEvent& gone_;
  };
  TSimpleEvent gone;
  auto* thread = new TSelfFreeing(gone);
  EXPECT_THROW(thread->WaitFor(), EThread);  // not started yet: still ours to ask
  thread->Start();
  EXPECT_EQ(gone.WaitFor(kLong), wrSignaled);
}

TEST(Thread, DestroyingARunningThreadStopsIt) {
  std::atomic<bool> stopped{false};
  TSimpleEvent running;
  {
    TFunctionThread thread(false, [&](TFunctionThread& self) {
      running.SetEvent();
      while (!self.Terminated()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      stopped = true;
      return 0;
    });
    thread.AfterConstruction();
    ASSERT_EQ(running.WaitFor(kLong), wrSignaled);
  }
  EXPECT_TRUE(stopped);
}

// Restricted to one processor, the process counts one; the machine's count
// comes back with the full set.
TEST(ProcessorCount, FollowsTheProcessorsAllowed) {
  const int all = ProcessorCount();
  ASSERT_GE(all, 1);
  if (all == 1) GTEST_SKIP() << "one processor only";
#ifdef _WIN32
  DWORD_PTR process = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &process, &system));
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), process & (~process + 1)));
  EXPECT_EQ(ProcessorCount(), 1);
  ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), process));
#else
  cpu_set_t saved, one;
  ASSERT_EQ(sched_getaffinity(0, sizeof saved, &saved), 0);
  CPU_ZERO(&one);
  for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
    if (CPU_ISSET(cpu, &saved)) {
      CPU_SET(cpu, &one);
      break;
    }
  ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
  EXPECT_EQ(ProcessorCount(), 1);
  ASSERT_EQ(sched_setaffinity(0, sizeof saved, &saved), 0);
#endif
  EXPECT_EQ(ProcessorCount(), all);
}
