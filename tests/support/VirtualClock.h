#pragma once

#include "platform/system/Clock.h"

namespace testsupport {

// The clock of tests: a manual clock whose advance() walks time forward through the
// main run loop, firing each timer due on the way in deadline order, in the loop's
// current mode (the default mode when the loop is not running).
class VirtualClock final : public platform::ManualClock {
 public:
  using ManualClock::ManualClock;
  void advance(double ms) override;
};

}  // namespace testsupport
