#include "support/VirtualClock.h"

#include "platform/core/RunLoop.h"

namespace testsupport {

void VirtualClock::advance(double ms) {
  // Time moves on the clock in use (this one, once installed), stopping at each timer due
  // on the way.
  auto* manual = dynamic_cast<platform::ManualClock*>(&platform::clock());
  if (!manual) return;
  const double target = nowMs() + ms;
  platform::NSRunLoop& loop = platform::NSRunLoop::mainRunLoop();
  platform::NSRunLoopMode mode =
      loop.currentMode() ? loop.currentMode() : platform::NSDefaultRunLoopMode;
  for (;;) {
    auto next = loop.nextTimerDate(mode);
    const double now = manual->nowMs();
    if (!next || *next > target) {
      if (target > now) manual->set(target);
      break;
    }
    if (*next > now) manual->set(*next);
    loop.fireDueTimers(mode);
  }
}

}  // namespace testsupport
