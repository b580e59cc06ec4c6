#include "Threads.h"

#include <cassert>
#include <chrono>

#include "OsFiles.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

// --- TMultiReadExclusiveWriteSynchronizer ---------------------------------------------

int TMultiReadExclusiveWriteSynchronizer::ReadsOf(std::thread::id id) const {
  auto it = reads_.find(id);
  return it == reads_.end() ? 0 : it->second;
}

void TMultiReadExclusiveWriteSynchronizer::BeginRead() {
  std::unique_lock lock(mutex_);
  auto me = std::this_thread::get_id();
  // A thread that already reads or writes goes on at once: making it wait
  // for a queued writer would make it wait for itself.
  if (writer_ != me && ReadsOf(me) == 0)
    changed_.wait(lock, [&] { return writeDepth_ == 0 && waitingWriters_ == 0; });
  ++reads_[me];
  ++totalReads_;
}

void TMultiReadExclusiveWriteSynchronizer::EndRead() {
  std::lock_guard lock(mutex_);
  auto it = reads_.find(std::this_thread::get_id());
  assert(it != reads_.end() && "EndRead without BeginRead");
  if (it == reads_.end()) return;
  if (--it->second == 0) reads_.erase(it);
  if (--totalReads_ == 0) changed_.notify_all();
}

bool TMultiReadExclusiveWriteSynchronizer::BeginWrite() {
  std::unique_lock lock(mutex_);
  auto me = std::this_thread::get_id();
  if (writeDepth_ > 0 && writer_ == me) {
    ++writeDepth_;
    return true;
  }
  // Our own reads step aside while we wait (see the header) and come back
  // with the write lock.
  int ownReads = ReadsOf(me);
  reads_.erase(me);
  totalReads_ -= ownReads;
  uint32_t revisionSeen = revision_;
  ++waitingWriters_;
  changed_.wait(lock, [&] { return writeDepth_ == 0 && totalReads_ == 0; });
  --waitingWriters_;
  writer_ = me;
  writeDepth_ = 1;
  if (ownReads > 0) {
    reads_[me] = ownReads;
    totalReads_ += ownReads;
  }
  return revision_++ == revisionSeen;
}

void TMultiReadExclusiveWriteSynchronizer::EndWrite() {
  std::lock_guard lock(mutex_);
  assert(writeDepth_ > 0 && writer_ == std::this_thread::get_id() && "EndWrite without BeginWrite");
  if (writeDepth_ == 0 || writer_ != std::this_thread::get_id()) return;
  if (--writeDepth_ > 0) return;
  writer_ = std::thread::id();
  changed_.notify_all();
}

uint32_t TMultiReadExclusiveWriteSynchronizer::RevisionLevel() const {
  std::lock_guard lock(mutex_);
  return revision_;
}

// --- TEvent ---------------------------------------------------------------------------

void TEvent::SetEvent() {
  std::lock_guard lock(mutex_);
  signaled_ = true;
  if (manualReset_)
    signal_.notify_all();
  else
    signal_.notify_one();
}

void TEvent::ResetEvent() {
  std::lock_guard lock(mutex_);
  signaled_ = false;
}

TWaitResult TEvent::WaitFor(uint32_t timeoutMs) {
  std::unique_lock lock(mutex_);
  auto isSignaled = [&] { return signaled_; };
  if (timeoutMs == WaitInfinite)
    signal_.wait(lock, isSignaled);
  else if (!signal_.wait_for(lock, std::chrono::milliseconds(timeoutMs), isSignaled))
    return wrTimeout;
  if (!manualReset_) signaled_ = false;
  return wrSignaled;
}

// --- TThread --------------------------------------------------------------------------

TThread::TThread(bool createSuspended) : createSuspended_(createSuspended) {}

TThread::~TThread() {
  if (!thread_.joinable()) return;
  if (thread_.get_id() == std::this_thread::get_id()) {
    // FreeOnTerminate: the thread is deleting its own object on its way out.
    thread_.detach();
    return;
  }
  Terminate();
  thread_.join();
}

void TThread::AfterConstruction() {
  if (!createSuspended_) Start();
}

void TThread::Start() {
  std::promise<void> running;
  std::future<void> idKnown = running.get_future();
  {
    std::lock_guard lock(mutex_);
    if (started_) throw EThread("Cannot call Start on a running or finished thread");
    thread_ = std::thread(&TThread::Run, this, std::move(running));
    started_ = true;
  }
  // The id is the thread's own to tell; callers may ask for it at once.
  // Waiting touches no member: a thread that frees its object on
  // termination may be gone, object and all, before this wait wakes.
  idKnown.wait();
}

void TThread::Run(std::promise<void> running) {
  {
    std::lock_guard lock(mutex_);
    threadId_ = os::CurrentThreadId();
  }
  stateChanged_.notify_all();
  running.set_value();
  std::exception_ptr failure;
  try {
    if (!Terminated()) Execute();
  } catch (...) {
    failure = std::current_exception();
  }
  {
    std::lock_guard lock(mutex_);
    fatalException_ = failure;
  }
  try {
    DoTerminate();
  } catch (...) {
    // Nobody above this frame could catch it: keep it unless Execute
    // already failed, which is the more telling of the two.
    if (!failure) failure = std::current_exception();
  }
  bool freeSelf;
  {
    std::lock_guard lock(mutex_);
    fatalException_ = failure;
    finished_ = true;
    freeSelf = freeOnTerminate_;
  }
  stateChanged_.notify_all();
  if (freeSelf) delete this;
}

void TThread::DoTerminate() {
  if (OnTerminate) OnTerminate(this);
}

int TThread::WaitFor() {
  std::unique_lock lock(mutex_);
  if (!started_) throw EThread("Cannot call WaitFor on a thread that was not started");
  if (freeOnTerminate_) throw EThread("Cannot call WaitFor on a thread that frees itself");
  if (thread_.get_id() == std::this_thread::get_id()) throw EThread("A thread cannot wait for itself");
  stateChanged_.wait(lock, [&] { return finished_; });
  return returnValue_;
}

void TThread::TerminateAndWait() {
  Terminate();
  if (Started()) WaitFor();
}

bool TThread::Started() const {
  std::lock_guard lock(mutex_);
  return started_;
}

bool TThread::Finished() const {
  std::lock_guard lock(mutex_);
  return finished_;
}

uint32_t TThread::ThreadID() const {
  std::lock_guard lock(mutex_);
  return threadId_;
}

std::exception_ptr TThread::FatalException() const {
  std::lock_guard lock(mutex_);
  return fatalException_;
}

// --- The processor ----------------------------------------------------------------------

namespace {

TProcessorFeatures ProbeProcessor() {
  TProcessorFeatures f;
#if defined(__x86_64__) || defined(__i386__)
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return f;
  bool vectors = (ecx & (1u << 9)) && (ecx & (1u << 19));  // SSSE3, SSE4.1
  f.CarrylessMultiply = vectors && (ecx & (1u << 1));
  if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx)) f.Sha = vectors && (ebx & (1u << 29));
#endif
  return f;
}

}  // namespace

const TProcessorFeatures& ProcessorFeatures() {
  static const TProcessorFeatures features = ProbeProcessor();
  return features;
}
