#pragma once

// Drawings for the gallery over the switch, knob and slider bases, which do not draw themselves:
// a pressable switch showing its state, a round knob with a value arc and a pointer, and a
// horizontal slider with a filled track and a handle.

#include <cmath>

#include "controls/Controls.h"
#include "graphics/Graphics.h"

namespace gallery {

using namespace iplug::igraphics;

// The parameter's display text of the control's value, or the value itself.
inline void ValueText(const IControl& c, WDL_String& str) {
  if (const iplug::IParam* param = c.GetParam()) {
    param->GetDisplay(param->FromNormalized(c.GetValue()), false, str, true);
  } else {
    str.SetFormatted(32, "%.2f", c.GetValue());
  }
}

class GallerySwitch : public ISwitchControlBase, public IVectorBase {
 public:
  GallerySwitch(const IRECT& bounds, int paramIdx, const IVStyle& style)
      : ISwitchControlBase(bounds, paramIdx), IVectorBase(style, false, true) {
    AttachIControl(this, "");
  }
  void Draw(IGraphics& g) override {
    DrawBackground(g, mRECT);
    DrawPressableShape(g, kVShapeAllRounded, mWidgetBounds, GetMouseDown(), mMouseIsOver,
                       IsDisabled());
    WDL_String str;
    ValueText(*this, str);
    g.DrawText(mStyle.valueText, str.Get(), mWidgetBounds, &mBlend);
  }
  void OnResize() override { SetTargetRECT(MakeRects(mRECT)); }
};

class GalleryKnob : public IKnobControlBase, public IVectorBase {
 public:
  // The arc runs from 7 to 5 o'clock, clockwise.
  static constexpr float kMinAngle = -135.f, kMaxAngle = 135.f;

  GalleryKnob(const IRECT& bounds, int paramIdx, const IVStyle& style)
      : IKnobControlBase(bounds, paramIdx), IVectorBase(style, false, false) {
    AttachIControl(this, "");
  }
  void Draw(IGraphics& g) override {
    DrawBackground(g, mRECT);
    const IRECT& w = mWidgetBounds;
    const float r = 0.5f * std::min(w.W(), w.H()) - 3.f;
    if (r <= 0.f) return;
    const float angle = kMinAngle + static_cast<float>(GetValue()) * (kMaxAngle - kMinAngle);
    const IRECT body(w.MW() - r + 5.f, w.MH() - r + 5.f, w.MW() + r - 5.f, w.MH() + r - 5.f);
    g.DrawArc(GetColor(kFR), w.MW(), w.MH(), r, kMinAngle, kMaxAngle, &mBlend, 1.f);
    g.DrawArc(GetColor(kX1), w.MW(), w.MH(), r, kMinAngle, angle, &mBlend, 3.f);
    DrawPressableShape(g, kVShapeEllipse, body, GetMouseDown(), mMouseIsOver, IsDisabled());
    const double rad = angle * M_PI / 180.0;
    const float px = w.MW() + 0.8f * (r - 5.f) * static_cast<float>(std::sin(rad));
    const float py = w.MH() - 0.8f * (r - 5.f) * static_cast<float>(std::cos(rad));
    g.DrawLine(GetColor(kX1), w.MW(), w.MH(), px, py, &mBlend, 2.f);
    WDL_String str;
    ValueText(*this, str);
    g.DrawText(mStyle.valueText, str.Get(), mRECT.GetFromBottom(kValueHeight), &mBlend);
  }
  // The value is drawn in a strip under the knob.
  void OnResize() override {
    MakeRects(mRECT.GetReducedFromBottom(kValueHeight));
    SetTargetRECT(mRECT);
  }

 private:
  static constexpr float kValueHeight = 16.f;
};

class GallerySlider : public ISliderControlBase, public IVectorBase {
 public:
  GallerySlider(const IRECT& bounds, int paramIdx, const IVStyle& style)
      : ISliderControlBase(bounds, paramIdx, EDirection::Horizontal), IVectorBase(style) {
    AttachIControl(this, "");
  }
  void Draw(IGraphics& g) override {
    DrawBackground(g, mRECT);
    const IRECT& t = mTrack;
    const IRECT track(t.L, t.MH() - 3.f, t.R, t.MH() + 3.f);
    const float x = t.L + static_cast<float>(GetValue()) * t.W();
    g.FillRoundRect(GetColor(kSH), track, 3.f, &mBlend);
    g.FillRoundRect(GetColor(kX1), IRECT(track.L, track.T, x, track.B), 3.f, &mBlend);
    const float h = 0.5f * mHandleSize;
    DrawPressableShape(g, kVShapeEllipse, IRECT(x - h, t.MH() - h, x + h, t.MH() + h),
                       GetMouseDown(), mMouseIsOver, IsDisabled());
  }
  void OnResize() override {
    ISliderControlBase::OnResize();
    // The handle stays inside the cell at both ends.
    mTrack = mRECT.GetPadded(-mHandleSize);
  }
};

}  // namespace gallery
