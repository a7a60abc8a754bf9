// The vector label and button: what they draw, in which order, and how the button answers a
// press through the graphics context.

#include <gtest/gtest.h>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::DrawCall;

namespace {

class VLabelButton : public testsupport::ControlTestFixture<> {
 protected:
  const IVStyle style = DEFAULT_STYLE.WithColor(kBG, COLOR_WHITE).WithShadowOffset(2.f);
};

TEST_F(VLabelButton, ALabelDrawsBackgroundShadowedTextAndFrame) {
  auto* label = Attach(new IVLabelControl(IRECT(0, 0, 100, 20), "Level", style));
  EXPECT_EQ(g.GetMouseControl(50, 10), nullptr) << "a label lets events through";
  Frame();
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "DrawText", "DrawText",
                                               "DrawRect", "EndFrame"}));
  const auto texts = g.Calls("DrawText");
  EXPECT_EQ(texts[0].color, style.GetColor(kSH));
  EXPECT_EQ(texts[0].rect, IRECT(2, 2, 102, 22));
  EXPECT_EQ(texts[1].color, style.valueText.mFGColor);
  EXPECT_EQ(texts[1].rect, IRECT(0, 0, 100, 20));
  EXPECT_EQ(g.Calls("DrawRect")[0].color, style.GetColor(kFR));

  label->SetDisabled(true);
  Frame();
  EXPECT_EQ(g.Count("DrawText"), 1) << "no shadow while disabled";
  EXPECT_FLOAT_EQ(g.Calls("DrawText")[0].blendWeight, 0.25f);
}

TEST_F(VLabelButton, ALabelWithoutTextDrawsOnlyItsBox) {
  auto* nullLabel = Attach(new IVLabelControl(IRECT(0, 0, 100, 20), nullptr, style));
  EXPECT_STREQ(nullLabel->GetStr(), "");
  EXPECT_STREQ(nullLabel->GetLabelStr(), "");
  Attach(new IVLabelControl(IRECT(0, 30, 100, 50), "", style.WithDrawFrame(false)));
  Frame();
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "DrawRect", "FillRect",
                                               "EndFrame"}));
}

TEST_F(VLabelButton, AButtonShowsPressedForTheSplashAndOnlyItsShapeIsHit) {
  int actions = 0;
  auto* button = Attach(new IVButtonControl(
      IRECT(0, 0, 100, 60),
      [&](IControl* c) {
        ++actions;
        SplashClickActionFunc(c);
      },
      "Reset", style.WithDrawShadows(false), false));
  // The 19-point label takes the top 19 points; the shape is the rest, inset by half the frame.
  EXPECT_EQ(button->GetWidgetBounds(), IRECT(0.5f, 19.5f, 99.5f, 59.5f));
  EXPECT_EQ(g.GetMouseControl(50, 10), nullptr);
  EXPECT_EQ(g.GetMouseControl(50, 40), button);

  g.OnMouseDown(50, 40, IMouseMod(true));
  g.OnMouseUp(50, 40, IMouseMod(true));
  g.OnMouseOut();
  EXPECT_EQ(button->GetValue(), 1.);
  EXPECT_EQ(actions, 1);
  g.Clock().advance(50);
  Frame();
  ASSERT_EQ(g.Count("FillRoundRect"), 1);
  EXPECT_EQ(g.Calls("FillRoundRect")[0].color, style.GetColor(kPR));
  EXPECT_FLOAT_EQ(g.Calls("FillCircle")[0].nums[2], 25.f) << "the splash, half grown";
  g.Clock().advance(51);
  Frame();
  EXPECT_EQ(button->GetValue(), 0.);
  EXPECT_EQ(g.Calls("FillRoundRect")[0].color, style.GetColor(kFG));
  EXPECT_EQ(g.Count("FillCircle"), 0);

  // A double click is a second press.
  g.OnMouseDblClick(50, 40, IMouseMod(true));
  EXPECT_EQ(actions, 2);
}

TEST_F(VLabelButton, AButtonDrawsBackgroundShapeLabelValueAndLooksPressedAtAnyNonZeroValue) {
  auto* button =
      Attach(new IVButtonControl(IRECT(0, 0, 100, 60), nullptr, "Go",
                                 style.WithDrawShadows(false).WithDrawFrame(false), true, true));
  button->SetValueStr("1");
  button->SetValue(0.5);
  Frame();
  EXPECT_EQ(g.Ops(), (std::vector<std::string>{"BeginFrame", "FillRect", "FillRoundRect",
                                               "DrawText", "DrawText", "EndFrame"}));
  EXPECT_EQ(g.Calls("FillRoundRect")[0].color, style.GetColor(kPR));
  EXPECT_EQ(g.Calls("DrawText")[0].text, "Go");
  EXPECT_EQ(g.Calls("DrawText")[0].rect, button->GetWidgetBounds()) << "the label in the button";
}

}  // namespace
