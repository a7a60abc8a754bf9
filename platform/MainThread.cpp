#include "platform/MainThread.h"

#include <atomic>

namespace platform {

namespace {
// Static initialisation runs on the thread that starts the program.
std::thread::id gMainThread = std::this_thread::get_id();
}  // namespace

std::thread::id mainThreadId() {
  return gMainThread;
}

bool isMainThread() {
  return std::this_thread::get_id() == gMainThread;
}

void setMainThread(std::thread::id id) {
  gMainThread = id;
}

}  // namespace platform
