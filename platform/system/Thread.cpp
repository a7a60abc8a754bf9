#include "platform/system/Thread.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "base/Log.h"
#include "platform/objects/Object.h"
#include "platform/system/MainThread.h"

namespace platform {

namespace {
std::atomic<bool> gMultiThreaded{false};
}  // namespace

bool NSThread::detachNewThread(std::function<void()> body) {
  gMultiThreaded.store(true);
  try {
    std::thread([body = std::move(body)] {
      NSAutoreleasePool pool;
      if (body) body();
    }).detach();
  } catch (const std::system_error& e) {
    base::warn("platform", "NSThread: cannot start a thread: %s", e.what());
    return false;
  }
  return true;
}

bool NSThread::isMultiThreaded() {
  return gMultiThreaded.load();
}

bool NSThread::isMainThread() {
  return platform::isMainThread();
}

}  // namespace platform
