#include "controls/IVXYPadControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
constexpr int kNumPadValues = 2;
}  // namespace

IVXYPadControl::IVXYPadControl(const IRECT& bounds, std::initializer_list<int> params,
                               const char* label, const IVStyle& style, float handleRadius)
    : IControl(bounds, {kNoParameter, kNoParameter}),
      IVectorBase(style),
      mHandleRadius(handleRadius) {
  AttachIControl(this, label);
  int valIdx = 0;
  for (int paramIdx : params) {
    if (valIdx == kNumPadValues) break;
    SetParamIdx(paramIdx, valIdx++);
  }
  mShape = kVShapeEllipse;
}

void IVXYPadControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  if (mStyle.drawFrame) g.DrawRect(GetColor(kFR), mWidgetBounds, &mBlend, mStyle.frameThickness);
  DrawWidget(g);
}

IRECT IVXYPadControl::GetHandleBounds() const {
  const IRECT area = mTrackClipsHandle ? mWidgetBounds : mWidgetBounds.GetPadded(-mHandleRadius);
  const float x = static_cast<float>(GetValue(0)), y = static_cast<float>(GetValue(1));
  const float cx = area.L + x * area.W(), cy = area.B - y * area.H();
  const float r = mHandleRadius;
  return IRECT(cx - r, cy - r, cx + r, cy + r);
}

void IVXYPadControl::DrawWidget(IGraphics& g) {
  DrawTrack(g);
  DrawHandle(g, mWidgetBounds, GetHandleBounds());
}

void IVXYPadControl::DrawTrack(IGraphics& g) {
  g.DrawVerticalLine(GetColor(kSH), mWidgetBounds, 0.5f, &mBlend, 1.f);
  g.DrawHorizontalLine(GetColor(kSH), mWidgetBounds, 0.5f, &mBlend, 1.f);
}

void IVXYPadControl::DrawHandle(IGraphics& g, const IRECT& trackBounds, const IRECT& handleBounds) {
  if (mTrackClipsHandle) g.PathClipRegion(trackBounds.GetPadded(-0.5f * mStyle.frameThickness));
  DrawPressableShape(g, mShape, handleBounds, mMouseDown, mMouseIsOver, IsDisabled());
  if (mTrackClipsHandle) g.PathClipRegion();
}

void IVXYPadControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  mMouseDown = true;
  if (mStyle.hideCursor && GetUI()) GetUI()->HideMouseCursor(true, false);
  OnMouseDrag(x, y, 0.f, 0.f, mod);
}

void IVXYPadControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  if (mStyle.hideCursor && GetUI()) GetUI()->HideMouseCursor(false, true);
  mMouseDown = false;
  SetDirty(true);
}

void IVXYPadControl::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  const IRECT& r = mRECT;
  // A pad without width (or height) has no place for the pointer in that dimension, and a
  // position that is no number says nothing: that value stays as it is.
  if (r.W() > 0.f && std::isfinite(x)) SetValue((std::clamp(x, r.L, r.R) - r.L) / r.W(), 0);
  if (r.H() > 0.f && std::isfinite(y)) SetValue(1. - (std::clamp(y, r.T, r.B) - r.T) / r.H(), 1);
  SetDirty(true);
}

void IVXYPadControl::OnResize() {
  SetTargetRECT(MakeRects(mRECT, false));
  mMouseIsOver = false;
  SetDirty(false);
}

}  // namespace igraphics
}  // namespace iplug
