#include <gtest/gtest.h>

#include "platform/system/Clock.h"

namespace {

TEST(Clock, InstalledManualClockIsWhatEveryoneReads) {
  platform::ManualClock manual(100.0);
  platform::setClock(&manual);
  EXPECT_DOUBLE_EQ(platform::nowMs(), 100.0);
  manual.advance(16.5);
  EXPECT_DOUBLE_EQ(platform::nowMs(), 116.5);
  platform::setClock(nullptr);
  EXPECT_NE(&platform::clock(), &manual);
}

}  // namespace
