// Rectangles, hit testing, snapping to the pointer, the disabled look, highlights and gestures.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::LoggingControl;

namespace {

using ControlLayout = testsupport::ControlTestFixture<>;

TEST_F(ControlLayout, SetPositionMovesTheTargetBeforeOnResizeSoALaidOutTargetIsNotMovedTwice) {
  LoggingControl c(IRECT(10, 10, 50, 30));
  c.mTargetInset = 2.f;
  c.OnResize();
  ASSERT_EQ(c.GetTargetRECT(), IRECT(12, 12, 48, 28));
  c.SetPosition(100, 200);
  EXPECT_EQ(c.GetRECT(), IRECT(100, 200, 140, 220));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(102, 202, 138, 218));
}

TEST_F(ControlLayout, SetPositionAndSetSizeClampNegativeAndNaNToZero) {
  LoggingControl c(IRECT(10, 10, 50, 30));
  c.SetPosition(-5, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(c.GetRECT(), IRECT(0, 0, 40, 20));
  EXPECT_EQ(c.GetTargetRECT(), IRECT(0, 0, 40, 20));
  c.SetSize(-1, 15);
  EXPECT_EQ(c.GetRECT(), IRECT(0, 0, 0, 15));
  EXPECT_EQ(c.GetTargetRECT(), c.GetRECT());
}

TEST_F(ControlLayout, HitTestIncludesTopLeftEdgesOnlyAndAnAllZeroTargetIsNeverHit) {
  LoggingControl c(IRECT(10, 10, 20, 20));
  EXPECT_TRUE(c.IsHit(10, 10));
  EXPECT_FALSE(c.IsHit(20, 15));
  EXPECT_FALSE(c.IsHit(15, 20));
  LoggingControl zero(IRECT(0, 0, 0, 0));
  EXPECT_FALSE(zero.IsHit(0, 0));
}

TEST_F(ControlLayout, SnapToMouseQuantisesAndMapsTheBottomOfAVerticalTrackToZero) {
  LoggingControl c(IRECT(0, 0, 100, 100));
  const IRECT track(0, 0, 100, 50);
  c.SnapToMouse(10, 50, EDirection::Vertical, track);
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.0);
  c.SnapToMouse(37.04f, 0, EDirection::Horizontal, track);
  EXPECT_NEAR(c.GetValue(), 0.37, 1e-12);
  c.SnapToMouse(500, 0, EDirection::Horizontal, track, kNoValIdx, 0.2, 0.8);
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.8);
}

TEST_F(ControlLayout, SnapToMouseOnAZeroExtentGivesZeroNotNaN) {
  LoggingControl c(IRECT(0, 0, 100, 100));
  c.SetValue(0.5);
  c.SnapToMouse(10, 10, EDirection::Horizontal, IRECT(10, 0, 10, 50));
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.0);
  c.SetValue(0.5);
  c.SnapToMouse(10, 10, EDirection::Vertical, IRECT(0, 10, 50, 10));
  EXPECT_DOUBLE_EQ(c.GetValue(), 0.0);
}

TEST_F(ControlLayout, EnablingRestoresFullWeightWhateverItWasBefore) {
  LoggingControl c(IRECT(0, 0, 10, 10));
  c.SetBlend(IBlend(EBlend::Default, 0.6f));
  c.SetDisabled(true);
  EXPECT_FLOAT_EQ(c.GetBlend().mWeight, 0.25f);
  c.SetDisabled(false);
  EXPECT_FLOAT_EQ(c.GetBlend().mWeight, 1.f);
}

TEST_F(ControlLayout, HighlightDotUsesTheChosenColourAndKeepsItForUnknownIndices) {
  auto* c = Attach(new LoggingControl(IRECT(10, 10, 50, 30)));
  c->SetPTParameterHighlight(true, 2);
  c->SetPTParameterHighlight(true, 9);
  g.DrawFrame();
  auto dots = g.Calls("FillCircle");
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0].color, COLOR_GREEN);
  EXPECT_EQ(dots[0].nums, (std::vector<float>{45.f, 15.f, 2.f}));
}

TEST_F(ControlLayout, GesturesRunTheirHandlerAndAnExistingHandlerIsKept) {
  auto* c = Attach(new LoggingControl(IRECT(0, 0, 50, 50)));
  std::vector<std::string> calls;
  c->AttachGestureRecognizer(4, [&](IControl*, const IGestureInfo&) { calls.push_back("first"); });
  c->AttachGestureRecognizer(4, [&](IControl*, const IGestureInfo&) { calls.push_back("second"); });
  EXPECT_EQ(g.GetRegisteredGestures().count(4), 1u);

  IGestureInfo pinch;
  pinch.type = 4;
  pinch.x = pinch.y = 10.f;
  EXPECT_TRUE(g.OnGestureRecognized(pinch));
  EXPECT_EQ(calls, std::vector<std::string>{"first"});
  EXPECT_EQ(c->GetLastGesture(), 4);

  pinch.type = 5;  // never registered
  EXPECT_FALSE(g.OnGestureRecognized(pinch));
  EXPECT_FALSE(c->OnGesture(pinch));
}

}  // namespace
