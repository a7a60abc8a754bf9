// The gallery's rows of vector knobs, sliders, the range slider, the XY pad and plots, and the
// strip of knobs that show the value bubble.

#include <cmath>

#include "Gallery.h"
#include "controls/Controls.h"
#include "demo/DemoEditorDelegate.h"

namespace gallery {

using namespace iplug::igraphics;
using P = demo::DemoEditorDelegate;

namespace {
constexpr float kKnobCellH = 90.f;
constexpr float kTallCellH = 120.f;
constexpr float kSliderCellH = 60.f;
constexpr float kRangeCellH = 70.f;
constexpr float kBipolarAnchor = 0.f;
constexpr double kPi = 3.14159265358979323846;
// How far up the bubble knob is dragged for the picture.
constexpr float kBubbleDragY = -20.f;
}  // namespace

void Gallery::AddVectorControlRows() {
  const IVStyle style = DEFAULT_STYLE.WithColor(kBG, IColor(255, 225, 225, 225))
                            .WithColor(kHL, IColor(60, 0, 90, 200))
                            .WithColor(kX1, IColor(255, 70, 130, 200));
  const IVStyle unlabelled = style.WithShowLabel(false);
  auto knob = [&](int param, float anchor, bool valueInside) {
    return [=](const IRECT& r, int) -> IControl* {
      return new IVKnobControl(r, param, "", style, true, valueInside, -135.f, 135.f, anchor);
    };
  };
  AddRow("Knob", knob(P::kParamInt, -135.f, false), kKnobCellH);
  AddRow("Knob, bipolar", knob(P::kParamGain, kBipolarAnchor, false), kKnobCellH);
  AddRow("Knob, value inside", knob(P::kParamTime, -135.f, true), kKnobCellH);

  auto slider = [&](int param, EDirection dir, bool inside) {
    return [=](const IRECT& r, int) -> IControl* {
      return new IVSliderControl(r, param, "", style, true, dir, inside);
    };
  };
  AddRow("Slider, vertical", slider(P::kParamInt, EDirection::Vertical, false), kTallCellH);
  AddRow("Slider, horizontal", slider(P::kParamGain, EDirection::Horizontal, false), kSliderCellH);
  AddRow("Slider, handle inside", slider(P::kParamPercentStepped, EDirection::Horizontal, true),
         kSliderCellH);

  AddRow(
      "Range slider",
      [&](const IRECT& r, int) {
        auto* c = new IVRangeSliderControl(r, {kNoParameter, kNoParameter, kNoParameter}, "",
                                           unlabelled, EDirection::Horizontal);
        c->SetValue(0.2, 0);
        c->SetValue(0.5, 1);
        c->SetValue(0.8, 2);
        return c;
      },
      kRangeCellH);
  AddRow(
      "XY pad",
      [&](const IRECT& r, int) {
        return new IVXYPadControl(r, {P::kParamTime, P::kParamInt}, "", unlabelled);
      },
      kTallCellH);

  auto plot = [&](bool useLayer) {
    return [=](const IRECT& r, int) -> IControl* {
      return new IVPlotControl(
          r,
          {{IColor(255, 200, 60, 40), [](double x) { return std::sin(2. * kPi * x); }},
           {IColor(255, 40, 90, 200), [](double x) { return 2. * x - 1.; }}},
          64, "", unlabelled, useLayer);
    };
  };
  AddRow("Plot", plot(false), kKnobCellH);
  AddRow("Plot, layer", plot(true), kKnobCellH);

  // Knobs that show their value in the bubble; the first is caught in a drag when rendered.
  AddStrip(
      "Knob, bubble", kNumStates,
      [&](const IRECT& r, int) -> IControl* {
        auto* c = new IVKnobControl(r, P::kParamGain, "", style);
        c->SetActionFunction(ShowBubbleHorizontalActionFunc);
        return c;
      },
      kKnobCellH);
  mBubbleKnob = mStrips.back().controls.front();
}

void Gallery::DragBubbleKnob() {
  if (!mBubbleKnob) return;
  // Through the graphics context, as a user would: the knob stays held for the picture.
  const IRECT& r = mBubbleKnob->GetRECT();
  mGraphics.OnMouseOver(r.MW(), r.MH(), IMouseMod());
  mGraphics.OnMouseDown(r.MW(), r.MH(), IMouseMod(true));
  mGraphics.OnMouseDrag(r.MW(), r.MH() + kBubbleDragY, 0.f, kBubbleDragY, IMouseMod(true));
}

}  // namespace gallery
