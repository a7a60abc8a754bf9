#include "windowing/kernel/WorkerThreads.h"

#include <mutex>

#include "platform/objects/Object.h"
#include "platform/system/Thread.h"

void SWELL_EnsureMultithreadedCocoa() {
  static std::once_flag once;
  std::call_once(once, [] {
    // A thread that ends at once is enough to switch the application over for good.
    if (!platform::NSThread::isMultiThreaded()) platform::NSThread::detachNewThread(nullptr);
  });
}

void* SWELL_InitAutoRelease() {
  return new platform::NSAutoreleasePool;
}

void SWELL_QuitAutoRelease(void* pool) {
  delete static_cast<platform::NSAutoreleasePool*>(pool);
}

void SWELL_CreateThreadObject(void*, void*, void (*function)(void*), void* argument) {
  platform::NSThread::detachNewThread([function, argument] {
    if (function) function(argument);
  });
}
