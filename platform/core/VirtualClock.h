#pragma once

#include "platform/system/Clock.h"

namespace platform {

// The clock of tests: a manual clock whose advance() walks time forward through the
// main run loop, firing each timer due on the way in deadline order, in the loop's
// current mode.
class VirtualClock final : public ManualClock {
 public:
  using ManualClock::ManualClock;
  void advance(double ms) override;
};

}  // namespace platform
