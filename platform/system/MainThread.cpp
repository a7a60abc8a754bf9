#include "platform/system/MainThread.h"

#include <atomic>

namespace platform {

namespace {
// Static initialisation runs on the thread that starts the program. Atomic because
// other threads ask isMainThread() (SetTimer, KillTimer) while it may be recorded.
std::atomic<std::thread::id> gMainThread{std::this_thread::get_id()};
}  // namespace

std::thread::id mainThreadId() {
  return gMainThread.load(std::memory_order_acquire);
}

bool isMainThread() {
  return std::this_thread::get_id() == mainThreadId();
}

void setMainThread(std::thread::id id) {
  gMainThread.store(id, std::memory_order_release);
}

}  // namespace platform
