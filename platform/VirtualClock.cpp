#include "platform/VirtualClock.h"

#include "platform/RunLoop.h"

namespace platform {

void VirtualClock::advance(double ms) {
  NSRunLoop::mainRunLoop().advanceVirtualTime(nowMs() + ms);
}

}  // namespace platform
