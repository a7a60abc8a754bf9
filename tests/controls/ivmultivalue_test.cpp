// The range slider, the multi-track base, the XY pad and the plot: layout, drawing in the
// recording double, dragging through the graphics context, and a storm of bad events.

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <random>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;
using P = testsupport::FakeEditorDelegate;

namespace {

class VMultiValue : public testsupport::ControlTestFixture<> {
 protected:
  const IVStyle bare =
      DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false).WithDrawFrame(false).WithDrawShadows(
          false);
};

// The base drawn as it is, to see its own tracks.
class Tracks : public IVTrackControlBase {
 public:
  using IVTrackControlBase::IVTrackControlBase;
  void Draw(IGraphics& g) override { DrawWidget(g); }
};

TEST_F(VMultiValue, ARangeSliderFillsBetweenItsHandlesWhichPointFromEitherSide) {
  auto* range = Attach(new IVRangeSliderControl(IRECT(0, 0, 300, 60), {P::kParamTime, P::kParamInt},
                                                "", bare, EDirection::Horizontal));
  range->SetValue(0.25, 0);
  range->SetValue(0.75, 1);
  EXPECT_EQ(range->GetTrackBounds(0), IRECT(8, 28, 292, 32));
  EXPECT_EQ(range->GetTrackBounds(1), range->GetTrackBounds(0));
  EXPECT_EQ(range->GetHandleBounds(0), IRECT(71, 32, 87, 48)) << "below the track";
  EXPECT_EQ(range->GetHandleBounds(1), IRECT(213, 14, 229, 30)) << "above it";
  Frame();
  const auto fills = g.Calls("FillRect");
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.back().rect, IRECT(79, 28, 221, 32));
  EXPECT_EQ(fills.back().color, bare.GetColor(kX1));
  const auto handles = g.Calls("FillTriangle");
  ASSERT_EQ(handles.size(), 2u);
  EXPECT_GT(handles[0].nums[1], handles[0].nums[3]) << "the lower handle points up";
  EXPECT_LT(handles[1].nums[1], handles[1].nums[3]) << "the upper handle points down";
}

TEST_F(VMultiValue, ADraggedHandleFollowsThePointerButNeverPassesItsNeighbour) {
  auto* range = Attach(new IVRangeSliderControl(IRECT(0, 0, 300, 60), {P::kParamTime, P::kParamInt},
                                                "", bare, EDirection::Horizontal));
  range->SetValue(0.2, 0);
  range->SetValue(0.8, 1);
  const IRECT lower = range->GetHandleBounds(0);
  g.OnMouseOver(lower.MW(), lower.MH(), IMouseMod());
  EXPECT_EQ(range->GetMouseOverHandle(), 0);
  g.OnMouseDown(lower.MW(), lower.MH(), kLeft);
  EXPECT_NEAR(range->GetValue(0), 0.2, 1e-3) << "a press on a handle leaves it in place";
  g.OnMouseDrag(150, 40, 85, 0, kLeft);
  EXPECT_NEAR(range->GetValue(0), 0.5, 1e-3);
  g.OnMouseDrag(299, 40, 149, 0, kLeft);
  EXPECT_DOUBLE_EQ(range->GetValue(0), 0.8);
  g.OnMouseUp(299, 40, kLeft);
  EXPECT_DOUBLE_EQ(range->GetValue(1), 0.8);
  EXPECT_NEAR(dlg.GetParam(P::kParamTime)->GetNormalized(), 0.8, 1e-9);
}

TEST_F(VMultiValue, TrackControlsWithoutValuesDrawAndHitNothing) {
  auto* none = Attach(new IVRangeSliderControl(IRECT(0, 0, 300, 60), {}, "", bare));
  auto* tracks = Attach(new Tracks(IRECT(0, 100, 100, 200), "", bare, {}, -3));
  EXPECT_EQ(tracks->GetStepCount(), 0);
  Frame();
  EXPECT_EQ(g.Count("FillTriangle") + g.Count("DrawRect"), 0);
  EXPECT_FALSE(none->IsHit(150, 30));
  EXPECT_EQ(g.GetMouseControl(50, 150), nullptr);
  g.OnMouseOver(150, 30, IMouseMod());
  g.OnMouseDown(150, 30, kLeft);
  g.OnMouseDrag(160, 30, 10, 0, kLeft);
}

TEST_F(VMultiValue, StepsDivideTheAreaLastFirstAndGiveEachSpanTheirBounds) {
  auto* tracks = Attach(new Tracks(IRECT(0, 0, 100, 100), "", bare, {P::kParamTime, P::kParamInt},
                                   4, EDirection::Vertical));
  const auto& steps = tracks->GetStepBounds();
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps.front(), IRECT(0, 80, 100, 100)) << "the bottom row first";
  EXPECT_EQ(steps.back(), IRECT(0, 0, 100, 20));
  EXPECT_EQ(tracks->GetTrackBounds(1), IRECT(50, 0, 100, 100));
  EXPECT_EQ(tracks->GetValIdxForPos(75, 10), 1);
  tracks->SetValue(0.5, 0);
  Frame();
  const auto fills = g.Calls("FillRect");
  // Per track: its background, then its handle snapped to the step holding the value.
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[1].rect, IRECT(0, 40, 50, 60));
  EXPECT_EQ(fills[3].rect, IRECT(50, 80, 100, 100)) << "a zero value shows the first step";
}

TEST_F(VMultiValue, AnXYPadPinsItsValuesAtItsEdgesAndIgnoresADimensionWithoutExtent) {
  auto* pad =
      Attach(new IVXYPadControl(IRECT(0, 0, 100, 100), {P::kParamTime, P::kParamInt}, "", bare));
  g.OnMouseDown(25, 75, kLeft);
  EXPECT_DOUBLE_EQ(pad->GetValue(0), 0.25);
  EXPECT_DOUBLE_EQ(pad->GetValue(1), 0.25);
  EXPECT_TRUE(g.IsCursorHidden());
  g.OnMouseDrag(-50, -50, -75, -125, kLeft);
  EXPECT_DOUBLE_EQ(pad->GetValue(0), 0.);
  EXPECT_DOUBLE_EQ(pad->GetValue(1), 1.) << "the top edge is the top value";
  g.OnMouseDrag(500, 500, 550, 550, kLeft);
  g.OnMouseUp(500, 500, kLeft);
  EXPECT_DOUBLE_EQ(pad->GetValue(0), 1.);
  EXPECT_DOUBLE_EQ(pad->GetValue(1), 0.);
  EXPECT_FALSE(g.IsCursorHidden());
  EXPECT_DOUBLE_EQ(dlg.GetParam(P::kParamTime)->GetNormalized(), 1.);

  pad->SetValue(0.3, 0);
  pad->SetTargetAndDrawRECTs(IRECT(0, 0, 0, 100));
  pad->OnMouseDrag(10, 50, 1, 1, kLeft);
  EXPECT_DOUBLE_EQ(pad->GetValue(0), 0.3) << "no width, no horizontal place";
  EXPECT_DOUBLE_EQ(pad->GetValue(1), 0.5);

  // Always two values, whatever the list.
  const IVXYPadControl none(IRECT(0, 0, 10, 10), {});
  const IVXYPadControl one(IRECT(0, 0, 10, 10), {P::kParamGain});
  const IVXYPadControl three(IRECT(0, 0, 10, 10), {P::kParamGain, P::kParamInt, P::kParamTime});
  const std::pair<const IVXYPadControl*, std::pair<int, int>> cases[] = {
      {&none, {kNoParameter, kNoParameter}},
      {&one, {P::kParamGain, kNoParameter}},
      {&three, {P::kParamGain, P::kParamInt}}};
  for (const auto& [other, bound] : cases) {
    EXPECT_EQ(other->NVals(), 2);
    EXPECT_EQ(other->GetParamIdx(0), bound.first);
    EXPECT_EQ(other->GetParamIdx(1), bound.second);
  }
}

TEST_F(VMultiValue, APlotDrawsEachCurveOverItsAreaAndNothingWithoutARange) {
  const IColor red(255, 255, 0, 0);
  struct Case {
    int points;
    float min, max;
    int curves;
  } cases[] = {{11, 0.f, 1.f, 1}, {1, 0.f, 1.f, 0}, {-5, 0.f, 1.f, 0}, {11, 0.5f, 0.5f, 0}};
  for (const Case& c : cases) {
    auto* plot =
        Attach(new IVPlotControl(IRECT(0, 0, 100, 120), {{red, [](double x) { return x; }}},
                                 c.points, "", bare, false, c.min, c.max));
    EXPECT_EQ(plot->NPoints(), std::max(0, c.points));
    Frame();
    ASSERT_EQ(g.Count("PathStroke"), c.curves);
    if (c.curves) {
      // The plot area leaves one grid row (120 / 12) above and below.
      EXPECT_EQ(g.Calls("PathMoveTo")[0].nums, (std::vector<float>{0, 110}));
      EXPECT_EQ(g.Calls("PathLineTo").back().nums, (std::vector<float>{100, 10}));
      EXPECT_EQ(g.Count("DrawLine"), 9 + 11) << "grid lines every tenth and every twelfth";
    }
    g.RemoveControl(plot);
  }
}

TEST_F(VMultiValue, APlotInALayerRedrawsItsCurvesOnlyWhenTheyChangeOrTheLayerIsLost) {
  auto* plot =
      Attach(new IVPlotControl(IRECT(0, 0, 100, 100), {{COLOR_BLACK, [](double x) { return x; }}},
                               8, "", bare, true, 0.f, 1.f));
  Frame();
  EXPECT_EQ(g.Count("StartLayer"), 1);
  EXPECT_EQ(g.Count("PathStroke"), 1);
  EXPECT_EQ(g.Count("DrawLayer"), 1);
  plot->SetDirty(false);
  Frame();
  EXPECT_EQ(g.Count("PathStroke"), 0) << "the layer is drawn as it is";
  EXPECT_EQ(g.Count("DrawLayer"), 1);
  plot->AddPlotFunc(COLOR_BLUE, [](double x) { return 1. - x; });
  Frame();
  EXPECT_EQ(g.Count("PathStroke"), 2);
  plot->SetSize(50, 50);
  Frame();
  EXPECT_EQ(g.Count("StartLayer"), 1) << "a layer that no longer fits is drawn again";

  g.SetLayersAvailable(false);
  plot->SetSize(60, 60);
  Frame();
  EXPECT_EQ(g.Count("PathStroke"), 2) << "without a layer the plot is drawn directly";
  EXPECT_EQ(g.Count("DrawLayer"), 0);
  EXPECT_EQ(plot->GetLayer(), nullptr);
}

TEST_F(VMultiValue, AStormOfBadEventsPutsNoNaNIntoAnyParameter) {
  const IVStyle style = DEFAULT_STYLE;
  Attach(new IVKnobControl(IRECT(0, 0, 80, 100), P::kParamGain, "Knob", style, true));
  Attach(new IVSliderControl(IRECT(80, 0, 120, 100), P::kParamTime, "Slider", style, true));
  Attach(new IVRangeSliderControl(IRECT(120, 0, 300, 60), {P::kParamInt, P::kParamIntOffset},
                                  "Range", style, EDirection::Horizontal));
  Attach(new IVXYPadControl(IRECT(0, 100, 100, 200), {P::kParamPercentStepped, P::kParamEnum},
                            "Pad", style));
  Attach(new IVPlotControl(IRECT(100, 100, 200, 200), {{COLOR_RED, [](double x) { return x; }}}));

  const float nan = std::nanf(""), inf = INFINITY;
  const float odd[] = {nan, inf, -inf, 1e30f, -1e30f, 0.f, 50.f, 150.f};
  std::mt19937 rng(7);
  auto pick = [&]() { return odd[rng() % std::size(odd)]; };
  auto place = [&]() { return static_cast<float>(rng() % 300); };
  for (int i = 0; i < 400; ++i) {
    const float x = rng() % 3 ? place() : pick(), y = rng() % 3 ? place() : pick();
    switch (rng() % 6) {
      case 0:
        g.OnMouseOver(x, y, IMouseMod());
        break;
      case 1:
        g.OnMouseDown(x, y, rng() % 2 ? kLeft : IMouseMod(true, false, true));
        break;
      case 2:
        g.OnMouseDrag(x, y, pick(), pick(), kLeft);
        break;
      case 3:
        g.OnMouseUp(x, y, kLeft);
        break;
      case 4:
        g.OnMouseWheel(x, y, IMouseMod(), pick());
        break;
      default:
        if (IControl* c = g.GetControl(static_cast<int>(rng() % g.NControls())))
          c->SetSize(rng() % 2 ? 0.f : place(), rng() % 2 ? 0.f : place());
        break;
    }
    if (i % 50 == 0) g.DrawFrame();
  }
  for (const auto& call : dlg.Calls())
    EXPECT_TRUE(std::isfinite(call.value));
  for (int p = 0; p < P::kNumParams; ++p)
    EXPECT_TRUE(std::isfinite(dlg.GetParam(p)->Value()));
}

}  // namespace
