#include <pthread.h>
#include <sched.h>

#include <cstdint>

#include "base/Log.h"
#include "windowing/kernel/Kernel.h"
#include "windowing/kernel/WorkerThreads.h"
#include "windowing/kernel/detail/KernelHandles.h"

using namespace swell;

namespace {

// The record of the thread running this code, so a thread can recognise its
// own handle without reading the POSIX id that its creator may still be
// storing.
thread_local ThreadRecord* tCurrentThread = nullptr;

void* threadMain(void* argument) {
  auto* record = static_cast<ThreadRecord*>(argument);
  tCurrentThread = record;
  void* pool = SWELL_InitAutoRelease();
  DWORD result = record->start(record->parameter);
  {
    std::lock_guard<std::mutex> lock(record->stateMutex);
    record->result = result;
    record->finished = true;
  }
  // Our own reference is still held, so the record outlives the notification.
  record->finishedChanged.notify_all();
  releaseInternalReference(record);
  tCurrentThread = nullptr;
  SWELL_QuitAutoRelease(pool);
  return nullptr;
}

// Joins the thread unless that already happened: a POSIX thread may be joined
// only once, and concurrent waits and the final close must agree on it.
bool joinOnce(ThreadRecord* record) {
  std::lock_guard<std::mutex> lock(record->joinMutex);
  if (!record->joined) {
    int error = pthread_join(record->thread, nullptr);
    record->joined = true;
    record->joinFailed = error != 0;
    if (error) base::warn("swell-cocoa", "thread join failed (error %d)", error);
  }
  return !record->joinFailed;
}

bool hasFinished(ThreadRecord* record) {
  std::lock_guard<std::mutex> lock(record->stateMutex);
  return record->finished;
}

}  // namespace

namespace swell {

void finishThreadRecord(ThreadRecord* record) {
  if (tCurrentThread == record || pthread_equal(pthread_self(), record->thread)) {
    // The thread dropped the last reference itself: nobody is left to join it.
    std::lock_guard<std::mutex> lock(record->joinMutex);
    if (!record->joined) pthread_detach(pthread_self());
    return;
  }
  joinOnce(record);
}

DWORD waitForThread(ThreadRecord* record, DWORD timeoutMs) {
  if (tCurrentThread == record) {
    base::warn("swell-cocoa", "WaitForSingleObject: a thread cannot wait for itself to end");
    return WAIT_FAILED;
  }
  {
    std::unique_lock<std::mutex> lock(record->stateMutex);
    auto isFinished = [record] { return record->finished; };
    if (!record->finished) {
      if (timeoutMs == 0) return WAIT_TIMEOUT;
      if (timeoutMs == INFINITE) {
        record->finishedChanged.wait(lock, isFinished);
      } else {
        WaitDeadline deadline(timeoutMs);
        if (!record->finishedChanged.wait_until(lock, deadline.at(), isFinished)) {
          return WAIT_TIMEOUT;
        }
      }
    }
  }
  return joinOnce(record) ? WAIT_OBJECT_0 : WAIT_FAILED;
}

}  // namespace swell

HANDLE CreateThread(void* attributes, std::size_t stackSize, LPTHREAD_START_ROUTINE start,
                    void* parameter, DWORD flags, DWORD* threadId) {
  if (!start) {
    base::warn("swell-cocoa", "CreateThread: no start function");
    return nullptr;
  }
  SWELL_EnsureMultithreadedCocoa();
  auto* record = new ThreadRecord;
  record->start = start;
  record->parameter = parameter;
  // One reference for the caller's handle, one the thread drops when it ends.
  HANDLE h = registerHandle(record);
  int error = pthread_create(&record->thread, nullptr, threadMain, record);
  if (error) {
    base::warn("swell-cocoa", "CreateThread: cannot start a thread (error %d)", error);
    unregisterHandle(record);
    delete record;
    return nullptr;
  }
  if (threadId) *threadId = static_cast<DWORD>(static_cast<std::uintmax_t>(record->thread));
  return h;
}

BOOL SetThreadPriority(HANDLE h, int priority) {
  HandleRef ref(h, "SetThreadPriority");
  if (ref.type() != kHandleThread) return FALSE;
  auto* record = static_cast<ThreadRecord*>(ref.get());
  // Holding the join lock keeps the POSIX id valid: an unjoined thread's id
  // stays usable even after it ended, and nobody can join it meanwhile.
  std::lock_guard<std::mutex> lock(record->joinMutex);
  if (record->joined || hasFinished(record)) return FALSE;
  int policy = 0;
  sched_param param{};
  if (pthread_getschedparam(record->thread, &policy, &param) != 0) return FALSE;
  long wanted = static_cast<long>(priority) + 31;
  long lowest = sched_get_priority_min(policy);
  long highest = sched_get_priority_max(policy);
  if (wanted < lowest) wanted = lowest;
  if (wanted > highest) wanted = highest;
  param.sched_priority = static_cast<int>(wanted);
  return pthread_setschedparam(record->thread, policy, &param) == 0 ? TRUE : FALSE;
}

DWORD GetCurrentThreadId() {
  return static_cast<DWORD>(static_cast<std::uintmax_t>(pthread_self()));
}
