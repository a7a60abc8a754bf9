// The vector knob and slider: their geometry in the recording double, and how they answer a
// user who drags, fine-drags, turns the wheel, double-clicks, clicks the value text and hovers.

#include <gtest/gtest.h>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using P = testsupport::FakeEditorDelegate;

namespace {

class VKnobSlider : public testsupport::ControlTestFixture<> {
 protected:
  // No label, value, frame or shadow: the widget is the whole control.
  const IVStyle bare =
      DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false).WithDrawFrame(false).WithDrawShadows(
          false);
  // The value text under the widget, no label.
  const IVStyle withValue = bare.WithShowValue(true);
  const IMouseMod kShift{true, false, true};

  void Drag(float x, float y, float dY, const IMouseMod& mod) {
    g.OnMouseDown(x, y, mod);
    g.OnMouseDrag(x, y + dY, 0.f, dY, mod);
    g.OnMouseUp(x, y + dY, mod);
  }
};

TEST_F(VKnobSlider, AKnobDrawsItsArcBodyAndPointerFromTheAnchor) {
  struct Case {
    float anchor, trackSize;
    IRECT bounds;
    double value;
    bool arc;
    float a1, a2;
  } cases[] = {
      {-135.f, 2.f, IRECT(0, 0, 100, 100), 0.5, true, -135.f, 0.f},
      {0.f, 2.f, IRECT(0, 0, 100, 100), 0.25, true, -67.5f, 0.f},  // bipolar, left of the top
      {0.f, 2.f, IRECT(0, 0, 100, 100), 0.75, true, 0.f, 67.5f},   // and right of it
      {-135.f, 0.f, IRECT(0, 0, 100, 100), 0.5, false, 0.f, 0.f},  // no track, no arc
      {-135.f, 6.f, IRECT(0, 0, 4, 4), 0.5, false, 0.f, 0.f},      // narrower than the track
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    auto* knob = Attach(new IVKnobControl(c.bounds, kNoParameter, "", bare, false, false, -135.f,
                                          135.f, c.anchor, EDirection::Vertical, 4.0, c.trackSize));
    knob->SetValue(c.value);
    Frame();
    const auto arcs = g.Calls("DrawArc");
    ASSERT_EQ(arcs.size(), c.arc ? 1u : 0u);
    if (c.arc) {
      EXPECT_EQ(arcs[0].nums, (std::vector<float>{50, 50, 49, c.a1, c.a2, c.trackSize}));
    }
    const IRECT body = g.Calls("FillEllipse").at(0).rect;
    EXPECT_GE(body.W(), 1.f) << "never a reversed body";
    g.RemoveControl(knob);
  }

  auto* knob = Attach(new IVKnobControl(IRECT(0, 0, 100, 100), kNoParameter, "", bare));
  knob->SetValue(0.5);
  Frame();
  EXPECT_EQ(g.Calls("FillEllipse").at(0).rect, IRECT(5, 5, 95, 95));
  EXPECT_EQ(g.Calls("DrawLine").at(0).nums, (std::vector<float>{50, 45.5f, 50, 5, 2.5f}));
}

TEST_F(VKnobSlider, AKnobsDragAreaIsHalfItsShorterSideAndNeverEmpty) {
  const std::pair<IRECT, IRECT> cases[] = {
      {IRECT(0, 0, 200, 100), IRECT(75, 0, 125, 100)},
      {IRECT(0, 0, 100, 200), IRECT(0, 75, 100, 125)},
      {IRECT(10, 10, 10, 10), IRECT(9.5f, 9.5f, 10.5f, 10.5f)},
      {IRECT(0, 0, 100, 0), IRECT(49.5f, -0.5f, 50.5f, 0.5f)},
  };
  for (const auto& [bounds, drag] : cases) {
    auto* knob = Attach(new IVKnobControl(bounds, kNoParameter, "", bare));
    EXPECT_EQ(knob->GetKnobDragBounds(), drag);
    g.RemoveControl(knob);
  }
}

TEST_F(VKnobSlider, AUserDragsFineDragsWheelsAndResetsABoundKnob) {
  auto* knob = Attach(new IVKnobControl(IRECT(0, 0, 100, 100), P::kParamTime, "", bare));
  EXPECT_STREQ(knob->GetLabelStr(), "Time") << "an empty label takes the parameter's name";
  const double start = knob->GetValue();
  // The drag area is 100 x 50 and the gearing 4: 50 points up move a quarter.
  Drag(50, 50, -50, kLeft);
  EXPECT_NEAR(knob->GetValue(), start + 0.25, 1e-9);
  Drag(50, 50, -50, kShift);
  EXPECT_NEAR(knob->GetValue(), start + 0.275, 1e-9);
  g.OnMouseWheel(50, 50, IMouseMod(), 1.f);
  EXPECT_NEAR(knob->GetValue(), start + 0.285, 1e-9);
  EXPECT_DOUBLE_EQ(dlg.GetParam(P::kParamTime)->GetNormalized(), knob->GetValue());
  g.OnMouseDblClick(50, 50, kLeft);
  EXPECT_DOUBLE_EQ(knob->GetValue(), dlg.GetParam(P::kParamTime)->ToNormalized(10.));
  EXPECT_STREQ(knob->GetValueStr(), "10.00 ms");
  EXPECT_FALSE(g.IsCursorHidden()) << "the cursor is back after each drag";
}

TEST_F(VKnobSlider, TheValueTextPromptsWhenEditableAndIsNotHitOtherwise) {
  for (bool editable : {true, false}) {
    SCOPED_TRACE(editable);
    auto* knob =
        Attach(new IVKnobControl(IRECT(0, 0, 100, 120), P::kParamGain, "", withValue, editable));
    const IRECT text = knob->GetValueBounds();
    ASSERT_GT(text.H(), 0.f);
    ASSERT_FALSE(text.Intersects(knob->GetWidgetBounds()));
    g.OnMouseDown(text.MW(), text.MH(), kLeft);
    EXPECT_EQ(g.GetPlatformTextEntry().open, editable);
    EXPECT_FALSE(knob->GetMouseDown()) << "no drag starts on the text";
    g.OnMouseUp(text.MW(), text.MH(), kLeft);
    EXPECT_EQ(g.GetMouseControl(text.MW(), text.MH()) == knob, editable);
    g.SetControlValueAfterTextEdit("3");
    g.RemoveControl(knob);
  }
}

TEST_F(VKnobSlider, AKnobWithItsValueInsideDragsOnALeftPressAndPromptsOnARightOne) {
  auto* knob =
      Attach(new IVKnobControl(IRECT(0, 0, 100, 100), P::kParamGain, "", withValue, true, true));
  EXPECT_EQ(knob->GetValueBounds(), knob->GetWidgetBounds());
  const double start = knob->GetValue();
  Drag(50, 50, -50, kLeft);
  EXPECT_GT(knob->GetValue(), start);
  EXPECT_FALSE(g.GetPlatformTextEntry().open);
  Click(50, 50);
  g.OnMouseDown(50, 50, kRight);
  EXPECT_TRUE(g.GetPlatformTextEntry().open);
}

TEST_F(VKnobSlider, HoveringTheValueTextHighlightsItUntilThePointerLeaves) {
  auto* knob = Attach(new IVKnobControl(IRECT(0, 0, 100, 120), P::kParamGain, "", withValue));
  const IRECT text = knob->GetValueBounds();
  g.OnMouseOver(text.MW(), text.MH(), IMouseMod());
  EXPECT_FALSE(knob->GetValueMouseOver()) << "a text that is not hit is not hovered";
  g.OnMouseOver(50, 50, IMouseMod());
  Frame();
  EXPECT_TRUE(knob->GetMouseIsOver());
  knob->OnMouseOver(text.MW(), text.MH(), IMouseMod());
  Frame();
  EXPECT_EQ(g.Calls("FillRect").back().rect, text);
  EXPECT_EQ(g.Calls("FillRect").back().color, COLOR_TRANSLUCENT);
  g.OnMouseOut();
  EXPECT_FALSE(knob->GetValueMouseOver());
  EXPECT_FALSE(knob->GetMouseIsOver());
}

TEST_F(VKnobSlider, ASlidersTrackAndHandleFollowItsWidgetAndValue) {
  auto* slider = Attach(new IVSliderControl(IRECT(0, 0, 40, 200), kNoParameter, "", bare));
  EXPECT_EQ(slider->GetTrack(), IRECT(18, 8, 22, 192));
  EXPECT_EQ(slider->GetHandleBounds(), IRECT(12, 184, 28, 200));
  slider->SetValue(1.);
  EXPECT_EQ(slider->GetHandleBounds(), IRECT(12, 0, 28, 16));
  g.RemoveControl(slider);

  auto* inside = Attach(new IVSliderControl(IRECT(0, 0, 200, 40), kNoParameter, "", bare, false,
                                            EDirection::Horizontal, true));
  inside->SetValue(0.5);
  Frame();
  const auto rects = g.Calls("FillRoundRect");
  ASSERT_GE(rects.size(), 2u);
  EXPECT_EQ(rects[0].rect, IRECT(0, 18, 200, 22)) << "the track reaches the ends";
  EXPECT_EQ(rects[1].rect, IRECT(0, 18, 108, 22));
}

TEST_F(VKnobSlider, ASliderTooSmallForItsHandleHasATrackOfNoLengthThatIgnoresPresses) {
  int actions = 0;
  auto* slider = Attach(new IVSliderControl(
      IRECT(0, 0, 40, 10), [&](IControl*) { ++actions; }, "", bare));
  EXPECT_EQ(slider->GetTrack(), IRECT(18, 5, 22, 5));
  slider->SetHideCursorOnDrag(false);
  g.OnMouseDown(20, 2, kLeft);
  g.OnMouseDrag(20, 8, 0, 6, kLeft);
  EXPECT_EQ(slider->GetValue(), 0.);
  EXPECT_EQ(actions, 0);
}

TEST_F(VKnobSlider, ASliderFollowsThePointerAndRunsItsActionOnceMoreAtTheRelease) {
  int actions = 0;
  auto* slider = Attach(new IVSliderControl(
      IRECT(0, 0, 40, 200), [&](IControl*) { ++actions; }, "", bare));
  slider->SetHideCursorOnDrag(false);
  g.OnMouseDown(20, 100, kLeft);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 0.5);
  g.OnMouseDrag(20, 8, 0, -92, kLeft);
  EXPECT_DOUBLE_EQ(slider->GetValue(), 1.);
  const int beforeRelease = actions;
  g.OnMouseUp(20, 8, kLeft);
  EXPECT_EQ(actions, beforeRelease + 1);
}

}  // namespace
