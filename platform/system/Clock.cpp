#include "platform/system/Clock.h"

#include <chrono>

namespace platform {

namespace {
SteadyClock gSteadyClock;
std::atomic<Clock*> gClock{nullptr};
}  // namespace

double SteadyClock::nowMs() const {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

Clock& clock() {
  Clock* c = gClock.load(std::memory_order_acquire);
  return c ? *c : gSteadyClock;
}

double nowMs() {
  return clock().nowMs();
}

void setClock(Clock* c) {
  gClock.store(c, std::memory_order_release);
}

}  // namespace platform
