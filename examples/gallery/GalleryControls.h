#pragma once

// Controls made for the gallery itself: a panel, vector shapes in each of their looks, a value
// meter, and a plot made of the composite drawing operations.

#include <cmath>
#include <cstdio>

#include "controls/Controls.h"
#include "graphics/Graphics.h"

namespace gallery {

using namespace iplug::igraphics;

// The look of the gallery's menu buttons: a rounded button of one colour with a white label and
// a downward triangle at its right.
inline void DrawMenuButton(IGraphics& g, const IRECT& r, const IColor& color, const char* label,
                           const IBlend* blend) {
  constexpr float kCornerRadius = 4.f;
  constexpr float kTriangleRoom = 16.f;
  constexpr float kTriangleHalfW = 4.f;
  constexpr float kTriangleCentreInset = 14.f;
  g.FillRoundRect(color, r, kCornerRadius, blend);
  g.DrawText(IText(14.f, COLOR_WHITE), label, r.GetReducedFromRight(kTriangleRoom), blend);
  const float x = r.R - kTriangleCentreInset, y = r.MH();
  g.FillTriangle(COLOR_WHITE, x - kTriangleHalfW, y - 2.f, x + kTriangleHalfW, y - 2.f, x, y + 3.f,
                 blend);
}

// Fills its rectangle with one colour and frames it.
class PanelControl : public IControl {
 public:
  PanelControl(const IRECT& bounds, const IColor& color) : IControl(bounds), mColor(color) {
    SetIgnoreMouse(true);
  }
  void Draw(IGraphics& g) override {
    g.FillRect(mColor, mRECT, &mBlend);
    g.DrawRect(COLOR_BLACK, mRECT.GetPadded(-0.5f), &mBlend);
  }

 private:
  IColor mColor;
};

// One vector shape with a label and its value underneath. Its action runs when it is set from the
// user side, so a splash action shows the splash of a click.
class ShapeControl : public IControl, public IVectorBase {
 public:
  ShapeControl(const IRECT& bounds, const char* label, int shape, const IVStyle& style,
               int paramIdx = kNoParameter, IActionFunction action = nullptr)
      : IControl(bounds, paramIdx, std::move(action)), IVectorBase(style) {
    AttachIControl(this, label);
    mShape = shape;
  }

  void Draw(IGraphics& g) override {
    DrawBackground(g, mRECT);
    DrawLabel(g);
    DrawPressableShape(g, mShape, mWidgetBounds, false, mMouseIsOver, IsDisabled());
    DrawValue(g, false);
  }
  void OnResize() override { SetTargetRECT(MakeRects(mRECT)); }
  void SetValueFromDelegate(double value, int valIdx) override {
    IControl::SetValueFromDelegate(value, valIdx);
    UpdateValueStr();
  }
  void OnInit() override { UpdateValueStr(); }

 private:
  // The bound parameter's display text, or the normalised value.
  void UpdateValueStr() {
    WDL_String str;
    if (const iplug::IParam* param = GetParam()) {
      param->GetDisplay(param->FromNormalized(GetValue()), false, str, true);
      if (*param->GetLabel()) {
        str.Append(" ");
        str.Append(param->GetLabel());
      }
    } else {
      str.SetFormatted(32, "%.2f", GetValue());
    }
    SetValueStr(str.Get());
  }
};

// A horizontal meter of its value with tick lines.
class MeterControl : public IControl {
 public:
  MeterControl(const IRECT& bounds, int paramIdx) : IControl(bounds, paramIdx) {}
  void Draw(IGraphics& g) override {
    const IRECT track = mRECT.GetPadded(-4.f);
    g.FillRoundRect(COLOR_DARK_GRAY, track, 3.f, &mBlend);
    const float w = track.W() * static_cast<float>(GetValue());
    g.FillRoundRect(COLOR_ORANGE, track.GetFromLeft(w), 3.f, &mBlend);
    for (int i = 1; i < 4; ++i)
      g.DrawVerticalLine(COLOR_BLACK, track, 0.25f * i, &mBlend);
  }
};

// A grid with a curve of points over it.
class PlotControl : public IControl {
 public:
  explicit PlotControl(const IRECT& bounds) : IControl(bounds) {}
  void Draw(IGraphics& g) override {
    g.FillRect(COLOR_WHITE, mRECT, &mBlend);
    g.DrawGrid(COLOR_MID_GRAY, mRECT, 20.f, 20.f, &mBlend);
    float ys[kPoints];
    for (int i = 0; i < kPoints; ++i) {
      const float t = static_cast<float>(i) / (kPoints - 1);
      ys[i] = 0.5f + 0.4f * std::sin(t * 6.2831853f);
    }
    g.DrawData(COLOR_BLUE, mRECT, ys, kPoints, nullptr, &mBlend, 2.f);
    g.DrawHorizontalLine(COLOR_RED, mRECT, 0.5f, &mBlend);
  }

 private:
  static constexpr int kPoints = 48;
};

}  // namespace gallery
