// The vector tab switch and radio buttons: tab layout, clicks and mouse-over through the
// graphics context, texts from a parameter, disabled states and the corners a tab rounds.

#include <gtest/gtest.h>

#include <limits>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using testsupport::DrawCall;
using testsupport::FakeEditorDelegate;
using P = FakeEditorDelegate;

namespace {

class VTabs : public testsupport::ControlTestFixture<> {
 protected:
  // Tabs of 100 x 30 in a row, or of 90 x 100 in a column.
  IVTabSwitchControl* ThreeTabs(int shape = IVectorBase::kVShapeRectangle,
                                EDirection dir = EDirection::Horizontal) {
    const IRECT r = dir == EDirection::Horizontal ? IRECT(0, 0, 300, 30) : IRECT(0, 0, 90, 300);
    return Attach(new IVTabSwitchControl(
        r, [this](IControl*) { ++actions; }, {"A", "B", "C"}, "", style, shape, dir));
  }
  std::vector<DrawCall> Fills() const { return g.Calls("FillRoundRect"); }

  const IVStyle style =
      DEFAULT_STYLE.WithDrawFrame(false).WithDrawShadows(false).WithRoundness(1.f);
  int actions = 0;
};

TEST_F(VTabs, AClickSelectsTheTabClickedAndThePointerLightsTheTabUnderIt) {
  auto* tabs = ThreeTabs();
  Click(150, 15);
  EXPECT_EQ(tabs->GetValue(), 0.5);
  EXPECT_EQ(actions, 1);
  EXPECT_STREQ(tabs->GetSelectedLabelStr(), "B");
  Click(299, 29);
  EXPECT_EQ(tabs->GetValue(), 1.);

  g.OnMouseOver(150, 10, IMouseMod());
  Frame();
  const auto fills = Fills();
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[1].rect, IRECT(100, 0, 200, 30));
  EXPECT_EQ(fills[2].color, style.GetColor(kHL)) << "over the middle tab";
  EXPECT_EQ(fills[3].color, style.GetColor(kPR)) << "the last tab, selected";
  EXPECT_EQ(g.Calls("DrawText")[2].rect, IRECT(200, 0, 300, 30));
  g.OnMouseOut();
  EXPECT_EQ(tabs->GetMouseOverButton(), -1);
}

TEST_F(VTabs, ABoundSwitchWithoutTextsShowsTheDisplayTextsAndTheParameterName) {
  auto* tabs = Attach(new IVTabSwitchControl(IRECT(0, 0, 400, 60), P::kParamEnum, {}, "", style));
  ASSERT_EQ(tabs->NTabLabels(), 4);
  EXPECT_STREQ(tabs->GetTabLabel(3), "High");
  EXPECT_STREQ(tabs->GetLabelStr(), "Mode");
  // An enumeration that starts at 3 finds its texts too.
  auto* offset =
      Attach(new IVTabSwitchControl(IRECT(0, 70, 400, 130), P::kParamEnumOffset, {}, "", style));
  EXPECT_STREQ(offset->GetTabLabel(0), "three");
  // Given texts keep the (empty) label.
  auto* own = Attach(
      new IVTabSwitchControl(IRECT(0, 140, 400, 200), P::kParamEnum, {"a", nullptr}, "", style));
  EXPECT_STREQ(own->GetLabelStr(), "");
  EXPECT_STREQ(own->GetTabLabel(1), "");
}

TEST_F(VTabs, ADisabledStateIsDrawnDimmedAndCannotBeChosen) {
  auto* tabs = ThreeTabs();
  tabs->SetStateDisabled(1, true);
  g.OnMouseOver(150, 15, IMouseMod());
  Frame();
  ASSERT_EQ(Fills().size(), 3u) << "no mouse-over look on the disabled tab";
  EXPECT_FLOAT_EQ(Fills()[0].blendWeight, 1.f);
  EXPECT_FLOAT_EQ(Fills()[1].blendWeight, 0.25f);
  EXPECT_FLOAT_EQ(g.Calls("DrawText")[1].blendWeight, 0.25f);
  Click(150, 15);
  EXPECT_EQ(tabs->GetValue(), 0.);
  EXPECT_EQ(actions, 0);

  // Bound to more states than it was built with, the extra states have flags too.
  auto* bound =
      Attach(new IVTabSwitchControl(IRECT(0, 40, 400, 70), P::kParamEnum, {"x", "y"}, "", style));
  bound->SetStateDisabled(3, true);
  EXPECT_TRUE(bound->GetStateDisabled(3));
}

TEST_F(VTabs, ABoundSwitchBuiltWithoutTextsCanDisableEachOfItsTabs) {
  // Four tabs of 100 x 30, one per state of the enumeration.
  auto* tabs = Attach(new IVTabSwitchControl(IRECT(0, 0, 400, 30), P::kParamEnum, {}, "",
                                             style.WithShowLabel(false)));
  ASSERT_EQ(tabs->GetNumStates(), 4);
  tabs->SetStateDisabled(0, true);
  EXPECT_TRUE(tabs->GetStateDisabled(0));
  tabs->SetStateDisabled(3, true);
  EXPECT_TRUE(tabs->GetStateDisabled(3));

  tabs->SetValue(1. / 3.);
  Click(350, 15);
  EXPECT_DOUBLE_EQ(tabs->GetValue(), 1. / 3.) << "the last tab is inert";
  EXPECT_EQ(dlg.GetParam(P::kParamEnum)->Value(), 0.);
  Click(250, 15);
  EXPECT_DOUBLE_EQ(tabs->GetValue(), 2. / 3.);
  Frame();
  ASSERT_EQ(Fills().size(), 4u);
  EXPECT_FLOAT_EQ(Fills()[0].blendWeight, 0.25f);
  EXPECT_FLOAT_EQ(Fills()[2].blendWeight, 1.f);
  EXPECT_FLOAT_EQ(Fills()[3].blendWeight, 0.25f);

  tabs->SetAllStatesDisabled(false);
  EXPECT_FALSE(tabs->GetStateDisabled(3));
}

TEST_F(VTabs, RoundedTabsRoundTheOuterCornersOfTheirRowOrColumn) {
  // Radii in the order top-left, top-right, bottom-right, bottom-left.
  auto radii = [this](int shape, EDirection dir) {
    g.RemoveAllControls();
    ThreeTabs(shape, dir);
    Frame();
    std::vector<std::vector<float>> out;
    for (const DrawCall& c : Fills())
      out.push_back(c.nums);
    return out;
  };
  const float h = 15.f, v = 45.f;  // half the smaller side of a tab, at roundness 1
  using R = std::vector<std::vector<float>>;
  EXPECT_EQ(radii(IVectorBase::kVShapeEndsRounded, EDirection::Horizontal),
            (R{{h, 0, 0, 0}, {0, 0, 0, 0}, {0, h, 0, 0}}));
  EXPECT_EQ(radii(IVectorBase::kVShapeEndsRounded, EDirection::Vertical),
            (R{{0, v, 0, 0}, {0, 0, 0, 0}, {0, 0, v, 0}}));
  EXPECT_EQ(radii(IVectorBase::kVShapeAllRounded, EDirection::Vertical)[1],
            (std::vector<float>{0, v, v, 0}));
}

TEST_F(VTabs, OneTabIsValueZeroNoTabsAreNeverHitAndAHugeRangeGetsBoundedTabs) {
  auto* one = Attach(new IVTabSwitchControl(IRECT(0, 0, 100, 30), nullptr, {"Only"}, "", style));
  one->SetValue(1.);
  Click(50, 15);
  EXPECT_EQ(one->GetValue(), 0.);
  auto* none = Attach(new IVTabSwitchControl(IRECT(0, 40, 100, 70), nullptr, {}, "", style));
  EXPECT_EQ(none->NButtons(), 0);
  EXPECT_EQ(g.GetMouseControl(50, 55), nullptr);

  dlg.GetParam(P::kParamTime)->Init(iplug::IParam::kTypeDouble, "Huge", 0., 0., 1e12, 0.);
  auto* huge = Attach(new IVTabSwitchControl(IRECT(0, 80, 100, 110), P::kParamTime));
  EXPECT_EQ(huge->NButtons(), IVTabSwitchControl::kMaxNumTabs);
  EXPECT_EQ(huge->NTabLabels(), IVTabSwitchControl::kMaxNumTabs);
  huge->SetAllStatesDisabled(true);  // every tab has a flag; the states beyond have none
  EXPECT_TRUE(huge->GetStateDisabled(IVTabSwitchControl::kMaxNumTabs - 1));
  EXPECT_FALSE(huge->GetStateDisabled(IVTabSwitchControl::kMaxNumTabs));
}

TEST_F(VTabs, RadioRowsHoldAButtonLeftOfTheTextWhichAloneMayRespond) {
  // Rows of 30 in a column 200 wide; buttons of 10 in an area 30 wide.
  auto* radio = Attach(new IVRadioButtonControl(
      IRECT(0, 0, 200, 90), [this](IControl*) { ++actions; }, {"One", "Two", "Three"}, "", style,
      IVectorBase::kVShapeEllipse, EDirection::Vertical, 10.f));
  radio->SetValue(0.5);
  Frame();
  const auto buttons = g.Calls("FillEllipse");
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[2].rect, IRECT(10, 70, 20, 80));
  EXPECT_EQ(buttons[1].color, style.GetColor(kPR));
  const auto texts = g.Calls("DrawText");
  EXPECT_EQ(texts[1].rect, IRECT(30, 30, 200, 60));
  EXPECT_EQ(texts[0].color, style.GetColor(kX1));
  EXPECT_EQ(texts[1].color, style.GetColor(kPR));

  Click(150, 80);  // on the text of the last row
  EXPECT_EQ(radio->GetValue(), 1.);
  radio->SetOnlyButtonsRespondToMouse(true);
  Click(150, 45);
  EXPECT_EQ(radio->GetValue(), 1.);
  Click(25, 45);  // in the button area, beside the button itself
  EXPECT_EQ(radio->GetValue(), 0.5);
}

TEST_F(VTabs, ARadioButtonSizeWithoutAFiniteButtonAreaFallsBackToTheDefault) {
  for (float bad :
       {-1.f, std::numeric_limits<float>::max(), std::numeric_limits<float>::quiet_NaN()}) {
    const IVRadioButtonControl radio(IRECT(0, 0, 200, 90), nullptr, {"One"}, "", style,
                                     IVectorBase::kVShapeEllipse, EDirection::Vertical, bad);
    EXPECT_EQ(radio.GetButtonSize(), IVRadioButtonControl::kDefaultButtonSize) << bad;
    EXPECT_EQ(radio.GetButtonAreaWidth(), 30.f) << bad;
  }
}

}  // namespace
