#include <gtest/gtest.h>

#include "platform/Clock.h"

namespace {

TEST(Clock, SteadyClockNeverGoesBackwards) {
  platform::SteadyClock steady;
  double previous = steady.nowMs();
  for (int i = 0; i < 1000; ++i) {
    double now = steady.nowMs();
    EXPECT_GE(now, previous);
    previous = now;
  }
}

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
