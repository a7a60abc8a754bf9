// The vector tab switch and radio buttons: tab layout, clicks and mouse-over through the
// graphics context, texts from a parameter, disabled states and the corners a tab rounds.

#include <gtest/gtest.h>

#include <cmath>

#include "controls/IVRadioButtonControl.h"
#include "controls/IVTabSwitchControl.h"
#include "support/FakeEditorDelegate.h"
#include "support/RecordingGraphics.h"

using namespace iplug::igraphics;
using testing_support::DrawCall;
using testing_support::RecordingGraphics;
using P = FakeEditorDelegate;

namespace {

class VTabs : public ::testing::Test {
 protected:
  template <class T>
  T* Attach(T* c) {
    return static_cast<T*>(g.AttachControl(c));
  }
  void Frame() {
    g.ClearLog();
    g.DrawFrame();
  }
  void Click(float x, float y) {
    g.OnMouseDown(x, y, IMouseMod(true));
    g.OnMouseUp(x, y, IMouseMod(true));
    g.OnMouseOut();
  }
  IVTabSwitchControl* ThreeTabs(int shape = IVectorBase::kVShapeRectangle,
                                EDirection dir = EDirection::Horizontal) {
    const IRECT bounds =
        dir == EDirection::Horizontal ? IRECT(0, 0, 300, 30) : IRECT(0, 0, 90, 300);
    return Attach(new IVTabSwitchControl(
        bounds, [this](IControl*) { ++actions; }, {"A", "B", "C"}, "", style, shape, dir));
  }
  // The fills in the pressed, foreground or highlight colour: one per tab plus the highlight.
  std::vector<DrawCall> Fills() const { return g.Calls("FillRoundRect"); }

  FakeEditorDelegate dlg;
  RecordingGraphics g{dlg};
  const IVStyle style =
      DEFAULT_STYLE.WithDrawFrame(false).WithDrawShadows(false).WithRoundness(1.f);
  int actions = 0;
};

TEST_F(VTabs, ThreeTabsShareTheWidthAndAClickSelectsTheTabClicked) {
  auto* tabs = ThreeTabs();
  ASSERT_EQ(tabs->NButtons(), 3);
  EXPECT_EQ(tabs->GetButtonRect(0), IRECT(0, 0, 100, 30));
  EXPECT_EQ(tabs->GetButtonRect(1), IRECT(100, 0, 200, 30));
  EXPECT_EQ(tabs->GetButtonRect(2), IRECT(200, 0, 300, 30));
  EXPECT_EQ(tabs->GetText().mAlign, EAlign::Center);

  Click(150, 15);
  EXPECT_EQ(tabs->GetValue(), 0.5);
  EXPECT_EQ(actions, 1);
  EXPECT_STREQ(tabs->GetSelectedLabelStr(), "B");
  Frame();
  const auto fills = Fills();
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0].color, style.GetColor(kFG));
  EXPECT_EQ(fills[1].color, style.GetColor(kPR));
  EXPECT_EQ(fills[2].color, style.GetColor(kFG));
  const auto texts = g.Calls("DrawText");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2].text, "C");
  EXPECT_EQ(texts[2].rect, IRECT(200, 0, 300, 30));

  Click(20, 15);
  EXPECT_EQ(tabs->GetValue(), 0.);
  Click(299, 29);
  EXPECT_EQ(tabs->GetValue(), 1.);
  EXPECT_EQ(g.GetMouseControl(150, 30), nullptr) << "below the tabs";
}

TEST_F(VTabs, TheTabUnderThePointerLightsUntilThePointerLeaves) {
  auto* tabs = ThreeTabs();
  g.OnMouseOver(250, 10, IMouseMod());
  EXPECT_EQ(tabs->GetMouseOverButton(), 2);
  Frame();
  ASSERT_EQ(Fills().size(), 4u);
  EXPECT_EQ(Fills()[3].color, style.GetColor(kHL));
  EXPECT_EQ(Fills()[3].rect, tabs->GetButtonRect(2));

  g.OnMouseOver(50, 10, IMouseMod());
  EXPECT_EQ(tabs->GetMouseOverButton(), 0);
  g.OnMouseOut();
  EXPECT_EQ(tabs->GetMouseOverButton(), -1);
  Frame();
  EXPECT_EQ(Fills().size(), 3u);
}

TEST_F(VTabs, ABoundSwitchWithoutTextsShowsTheDisplayTextsAndTheParameterName) {
  auto* tabs = Attach(new IVTabSwitchControl(IRECT(0, 0, 400, 60), P::kParamEnum, {}, "", style));
  EXPECT_EQ(tabs->GetNumStates(), 4);
  ASSERT_EQ(tabs->NTabLabels(), 4);
  EXPECT_STREQ(tabs->GetTabLabel(3), "High");
  EXPECT_STREQ(tabs->GetLabelStr(), "Mode");
  dlg.GetParam(P::kParamEnum)->Set(2.);
  g.SendParameterValueFromDelegate(P::kParamEnum, 2., false);
  EXPECT_STREQ(tabs->GetSelectedLabelStr(), "Mid");

  // An enumeration that starts at 3 finds its texts too.
  auto* offset =
      Attach(new IVTabSwitchControl(IRECT(0, 70, 400, 130), P::kParamEnumOffset, {}, "", style));
  ASSERT_EQ(offset->NTabLabels(), 4);
  EXPECT_STREQ(offset->GetTabLabel(0), "three");
  EXPECT_STREQ(offset->GetTabLabel(3), "six");

  // A parameter without texts gives empty ones; given texts keep the (empty) label.
  auto* ints = Attach(new IVTabSwitchControl(IRECT(0, 140, 400, 200), P::kParamIntOffset));
  EXPECT_STREQ(ints->GetTabLabel(0), "");
  auto* own = Attach(
      new IVTabSwitchControl(IRECT(0, 210, 400, 270), P::kParamEnum, {"a", nullptr}, "", style));
  EXPECT_STREQ(own->GetLabelStr(), "");
  EXPECT_EQ(own->NTabLabels(), 2);
  EXPECT_STREQ(own->GetTabLabel(1), "");
}

TEST_F(VTabs, ADisabledStateIsDrawnDimmedAndCannotBeChosen) {
  auto* tabs = ThreeTabs();
  tabs->SetStateDisabled(1, true);
  g.OnMouseOver(150, 15, IMouseMod());
  Frame();
  const auto fills = Fills();
  ASSERT_EQ(fills.size(), 3u) << "no mouse-over look on the disabled tab";
  EXPECT_FLOAT_EQ(fills[0].blendWeight, 1.f);
  EXPECT_FLOAT_EQ(fills[1].blendWeight, 0.25f);
  EXPECT_FLOAT_EQ(g.Calls("DrawText")[1].blendWeight, 0.25f);
  EXPECT_FLOAT_EQ(tabs->GetBlend().mWeight, 1.f) << "the control's own blend is kept";

  Click(150, 15);
  EXPECT_EQ(tabs->GetValue(), 0.);
  EXPECT_EQ(actions, 0);
  Click(250, 15);
  EXPECT_EQ(tabs->GetValue(), 1.);

  // A switch bound to more states than it was built with has no flags for the extra ones.
  Frame();
  auto* bound =
      Attach(new IVTabSwitchControl(IRECT(0, 40, 400, 70), P::kParamEnum, {"x", "y"}, "", style));
  bound->SetStateDisabled(3, true);
  EXPECT_FALSE(bound->GetStateDisabled(3));
  Frame();
  EXPECT_EQ(g.Calls("DrawText").size(), 2u) << "four tabs, two with texts";
}

TEST_F(VTabs, RoundedTabsRoundTheOuterCornersOfTheirRowOrColumn) {
  // Radii in the order top-left, top-right, bottom-right, bottom-left.
  auto radii = [this](int tab) { return Fills()[static_cast<size_t>(tab)].nums; };
  const float h = 15.f, v = 45.f;  // half the smaller side of a tab, at roundness 1
  ThreeTabs(IVectorBase::kVShapeEndsRounded);
  Frame();
  EXPECT_EQ(radii(0), (std::vector<float>{h, 0, 0, 0}));
  EXPECT_EQ(radii(1), (std::vector<float>{0, 0, 0, 0}));
  EXPECT_EQ(radii(2), (std::vector<float>{0, h, 0, 0}));

  g.RemoveAllControls();
  ThreeTabs(IVectorBase::kVShapeEndsRounded, EDirection::Vertical);
  Frame();
  EXPECT_EQ(radii(0), (std::vector<float>{0, v, 0, 0}));
  EXPECT_EQ(radii(1), (std::vector<float>{0, 0, 0, 0}));
  EXPECT_EQ(radii(2), (std::vector<float>{0, 0, v, 0}));

  g.RemoveAllControls();
  ThreeTabs(IVectorBase::kVShapeAllRounded);
  Frame();
  EXPECT_EQ(radii(1), (std::vector<float>{h, h, 0, 0}));
  g.RemoveAllControls();
  ThreeTabs(IVectorBase::kVShapeAllRounded, EDirection::Vertical);
  Frame();
  EXPECT_EQ(radii(1), (std::vector<float>{0, v, v, 0}));

  g.RemoveAllControls();
  ThreeTabs(IVectorBase::kVShapeEllipse);
  Frame();
  EXPECT_EQ(g.Count("FillEllipse"), 3);
}

TEST_F(VTabs, OneTabIsValueZeroAndNoTabsAreNeverHit) {
  auto* one = Attach(new IVTabSwitchControl(IRECT(0, 0, 100, 30), nullptr, {"Only"}, "", style));
  one->SetValue(1.);
  Click(50, 15);
  EXPECT_EQ(one->GetValue(), 0.);
  Frame();
  EXPECT_EQ(Fills()[0].color, style.GetColor(kPR));

  g.RemoveAllControls();
  auto* none = Attach(new IVTabSwitchControl(IRECT(0, 0, 100, 30), nullptr, {}, "", style));
  EXPECT_EQ(none->GetNumStates(), 0);
  EXPECT_EQ(g.GetMouseControl(50, 15), nullptr);
  Frame();
  EXPECT_EQ(Fills().size(), 0u);
}

class VRadio : public VTabs {
 protected:
  // Three rows of 30 in a column 200 wide; buttons of 10 in an area 30 wide.
  IVRadioButtonControl* ThreeRows() {
    return Attach(new IVRadioButtonControl(
        IRECT(0, 0, 200, 90), [this](IControl*) { ++actions; }, {"One", "Two", "Three"}, "", style,
        IVectorBase::kVShapeEllipse, EDirection::Vertical, 10.f));
  }
};

TEST_F(VRadio, EachRowHasItsButtonLeftOfItsTextAndTheSelectedTextIsPressedColoured) {
  auto* radio = ThreeRows();
  EXPECT_EQ(radio->GetText().mAlign, EAlign::Near);
  EXPECT_FLOAT_EQ(radio->GetButtonAreaWidth(), 30.f);
  radio->SetValue(0.5);
  Frame();
  const auto buttons = g.Calls("FillEllipse");
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0].rect, IRECT(10, 10, 20, 20));
  EXPECT_EQ(buttons[2].rect, IRECT(10, 70, 20, 80));
  EXPECT_EQ(buttons[1].color, style.GetColor(kPR));
  const auto texts = g.Calls("DrawText");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[1].rect, IRECT(30, 30, 200, 60));
  EXPECT_EQ(texts[0].color, style.GetColor(kX1));
  EXPECT_EQ(texts[1].color, style.GetColor(kPR));

  Click(150, 80);  // on the text of the last row
  EXPECT_EQ(radio->GetValue(), 1.);
}

TEST_F(VRadio, WithOnlyButtonsRespondingAClickOnATextSelectsNothing) {
  auto* radio = ThreeRows();
  radio->SetOnlyButtonsRespondToMouse(true);
  EXPECT_EQ(g.GetMouseControl(100, 45), nullptr);
  Click(100, 45);
  EXPECT_EQ(radio->GetValue(), 0.);
  EXPECT_EQ(actions, 0);
  Click(25, 45);  // inside the button area, beside the button itself
  EXPECT_EQ(radio->GetValue(), 0.5);

  // A button size that is no size gets the default.
  auto* odd = Attach(new IVRadioButtonControl(IRECT(0, 100, 200, 190), nullptr, {"x"}, "", style,
                                              IVectorBase::kVShapeEllipse, EDirection::Vertical,
                                              std::nanf("")));
  EXPECT_FLOAT_EQ(odd->GetButtonSize(), IVRadioButtonControl::kDefaultButtonSize);
}

}  // namespace
