// The gallery's knob with the value bubble is caught mid-drag, with its bubble showing beside
// it on the picture.

#include <gtest/gtest.h>

#include "GalleryTestFixture.h"
#include "controls/Controls.h"

using namespace iplug::igraphics;

namespace {

using GalleryVector = testsupport::GalleryTestFixture;

TEST_F(GalleryVector, TheBubbleKnobIsHeldMidDragWithItsBubbleOnThePicture) {
  const IControl* knob = nullptr;
  for (const auto& strip : gallery.Strips())
    if (strip.row == "Knob, bubble") knob = strip.controls.at(0);
  ASSERT_NE(knob, nullptr);
  EXPECT_TRUE(g.ControlIsCaptured(knob));
  auto* bubble = dynamic_cast<IBubbleControl*>(g.GetBubbleControl());
  ASSERT_NE(bubble, nullptr);
  ASSERT_TRUE(bubble->IsShowing());
  EXPECT_EQ(bubble->GetCaller(), knob);
  const IRECT body = bubble->GetBodyBounds();
  EXPECT_GE(body.L, knob->GetRECT().R) << "right of the knob";
  EXPECT_TRUE(g.GetBounds().Contains(body));
  // The bubble's white body is on the picture.
  EXPECT_EQ(g.GetPixel(static_cast<int>(body.MW()), static_cast<int>(body.T + 2.f)), COLOR_WHITE);
}

}  // namespace
