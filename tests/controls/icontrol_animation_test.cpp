// Animation timing on the manual clock, and its end.

#include <gtest/gtest.h>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::LoggingControl;

namespace {

// Ends the animation once its progress passes 1, as the stock animations do.
void EndAfterDuration(IControl* c) {
  if (c->GetAnimationProgress() > 1.0) c->OnEndAnimation();
}

class ControlAnimation : public testsupport::ControlTestFixture<> {
 protected:
  LoggingControl* c =
      static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(IRECT(0, 0, 10, 10))));
};

TEST_F(ControlAnimation, ProgressIsTheElapsedFractionAndTheEndComesAfterTheDuration) {
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.0);  // no animation set
  c->SetAnimation(EndAfterDuration, 100);
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.0);
  g.Clock().advance(50);
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.5);
  g.Clock().advance(50);
  g.DrawFrame();
  EXPECT_TRUE(c->GetAnimationFunction());  // exactly at the end: still running
  g.Clock().advance(1);
  g.DrawFrame();
  EXPECT_FALSE(c->GetAnimationFunction());
}

TEST_F(ControlAnimation, AZeroLengthAnimationEndsOnTheFirstLaterFrameWithoutNaN) {
  c->SetAnimation(EndAfterDuration, 0);
  EXPECT_DOUBLE_EQ(c->GetAnimationProgress(), 0.0);
  g.DrawFrame();
  EXPECT_TRUE(c->GetAnimationFunction());
  g.Clock().advance(1);
  g.DrawFrame();
  EXPECT_FALSE(c->GetAnimationFunction());
}

TEST_F(ControlAnimation, HiddenControlsAnimateToo) {
  c->Hide(true);
  c->SetAnimation(EndAfterDuration, 10);
  g.Clock().advance(20);
  g.DrawFrame();
  EXPECT_FALSE(c->GetAnimationFunction());
}

TEST_F(ControlAnimation, EndActionRunsOnceAfterTheAnimationIsRemovedAndMayStartAnother) {
  int ends = 0;
  c->SetAnimationEndActionFunction([&](IControl* ctrl) {
    ++ends;
    EXPECT_FALSE(ctrl->GetAnimationFunction());
    if (ends == 1) ctrl->SetAnimation(EndAfterDuration, 10);  // a second phase
  });
  c->SetAnimation(EndAfterDuration, 10);
  g.Clock().advance(11);
  g.DrawFrame();
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(c->GetAnimationFunction());
  g.Clock().advance(11);
  g.DrawFrame();
  EXPECT_EQ(ends, 2);
  g.Clock().advance(11);
  g.DrawFrame();
  EXPECT_EQ(ends, 2);
}

TEST_F(ControlAnimation, AFunctionThatReplacesItselfStaysAliveUntilItReturns) {
  int captured = 42;
  c->SetAnimation(
      [captured](IControl* ctrl) {
        ctrl->SetAnimation(nullptr);  // destroys the stored function object
        EXPECT_EQ(captured, 42);      // reads this one's capture afterwards
      },
      10);
  c->Animate();
  EXPECT_FALSE(c->GetAnimationFunction());
}

}  // namespace
