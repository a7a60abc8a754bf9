#include "platform/core/VirtualClock.h"

#include "platform/core/RunLoop.h"

namespace platform {

void VirtualClock::advance(double ms) {
  NSRunLoop::mainRunLoop().advanceVirtualTime(nowMs() + ms);
}

}  // namespace platform
