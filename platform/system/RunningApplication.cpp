#include "platform/system/RunningApplication.h"

#include <mutex>

namespace platform {

namespace {
std::mutex gMutex;
NSRunningApplication::Activator& activatorSlot() {
  static auto* slot = new NSRunningApplication::Activator;
  return *slot;
}
}  // namespace

bool NSRunningApplication::activateProcess(pid_t pid) {
  Activator activator;
  {
    std::lock_guard<std::mutex> lock(gMutex);
    activator = activatorSlot();
  }
  return pid > 0 && activator && activator(pid);
}

NSRunningApplication::Activator NSRunningApplication::setActivator(Activator activator) {
  std::lock_guard<std::mutex> lock(gMutex);
  Activator previous = std::move(activatorSlot());
  activatorSlot() = std::move(activator);
  return previous;
}

}  // namespace platform
