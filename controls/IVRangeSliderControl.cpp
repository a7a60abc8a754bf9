#include "controls/IVRangeSliderControl.h"

#include <algorithm>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// Handles point along the track: even ones from one side, odd ones from the other.
constexpr float kEvenHorizontalAngle = 0.f, kOddHorizontalAngle = 180.f;
constexpr float kEvenVerticalAngle = 90.f, kOddVerticalAngle = 270.f;
}  // namespace

IVRangeSliderControl::IVRangeSliderControl(const IRECT& bounds, std::initializer_list<int> params,
                                           const char* label, const IVStyle& style, EDirection dir,
                                           float handleSize, float trackSize)
    : IVTrackControlBase(bounds, label, style, params, 0, dir), mHandleSize(handleSize) {
  SetTrackSize(trackSize);
}

void IVRangeSliderControl::MakeTrackRects(const IRECT& bounds) {
  const float insetX = std::clamp(mHandleSize, 0.f, std::max(0.f, 0.5f * bounds.W()));
  const float insetY = std::clamp(mHandleSize, 0.f, std::max(0.f, 0.5f * bounds.H()));
  const IRECT inner(bounds.L + insetX, bounds.T + insetY, bounds.R - insetX, bounds.B - insetY);
  const IRECT track = mDirection == EDirection::Vertical ? inner.GetMidHPadded(mTrackSize)
                                                         : inner.GetMidVPadded(mTrackSize);
  mTrackBounds.assign(static_cast<size_t>(NVals()), track);
}

float IVRangeSliderControl::PositionOf(const IRECT& track, double v) const {
  const float f = static_cast<float>(v);
  return mDirection == EDirection::Horizontal ? track.L + track.W() * f : track.B - track.H() * f;
}

IRECT IVRangeSliderControl::GetHandleBounds(int trackIdx) const {
  if (trackIdx < 0 || trackIdx >= NVals()) return IRECT();
  const IRECT& r = GetTrackBounds(trackIdx);
  const float p = PositionOf(r, GetValue(trackIdx));
  const float o = mStyle.drawShadows && mShape != kVShapeEllipse ? 0.5f * mStyle.shadowOffset : 0.f;
  const float s = mHandleSize, t = mTrackSize;
  const bool odd = trackIdx % 2 == 1;
  if (mDirection == EDirection::Horizontal) {
    const float cy = r.MH() + o;
    return odd ? IRECT(p - s, cy - 2.f * s, p + s, cy)
               : IRECT(p - s, cy + t, p + s, cy + t + 2.f * s);
  }
  const float cx = r.MW() + o;
  return odd ? IRECT(cx + t, p - s, cx + t + 2.f * s, p + s)
             : IRECT(cx - 2.f * s, p - s, cx, p + s);
}

void IVRangeSliderControl::Draw(IGraphics& g) {
  DrawBackground(g, mRECT);
  DrawLabel(g);
  DrawWidget(g);
}

void IVRangeSliderControl::DrawWidget(IGraphics& g) {
  if (NVals() == 0) return;
  const IRECT& first = GetTrackBounds(0);
  DrawTrackBackground(g, first, 0);
  for (int i = 0; i + 1 < NVals(); ++i) {
    const IRECT& r = GetTrackBounds(i);
    const float a = PositionOf(r, GetValue(i)), b = PositionOf(r, GetValue(i + 1));
    const float lo = std::min(a, b), hi = std::max(a, b);
    const IRECT stretch =
        mDirection == EDirection::Horizontal ? IRECT(lo, r.T, hi, r.B) : IRECT(r.L, lo, r.R, hi);
    g.FillRect(GetColor(kX1), stretch, &mBlend);
  }
  if (mStyle.drawFrame && mDrawTrackFrame)
    g.DrawRect(GetColor(kFR), first, &mBlend, mStyle.frameThickness);
  IVTrackControlBase::DrawWidget(g);
}

void IVRangeSliderControl::DrawTrack(IGraphics& g, const IRECT& r, int chIdx) {
  const bool odd = chIdx % 2 == 1;
  const float angle = mDirection == EDirection::Horizontal
                          ? (odd ? kOddHorizontalAngle : kEvenHorizontalAngle)
                          : (odd ? kOddVerticalAngle : kEvenVerticalAngle);
  const bool over = chIdx == mMouseOverHandle;
  DrawPressableTriangle(g, GetHandleBounds(chIdx), over && mMouseDown, over, IsDisabled(), angle);
}

void IVRangeSliderControl::OnMouseOver(float x, float y, const IMouseMod& mod) {
  mMouseOverHandle = -1;
  for (int i = 0; i < NVals(); ++i) {
    if (GetHandleBounds(i).Contains(x, y)) {
      mMouseOverHandle = i;
      break;
    }
  }
  IVTrackControlBase::OnMouseOver(x, y, mod);
}

void IVRangeSliderControl::OnMouseOut() {
  mMouseOverHandle = -1;
  IVTrackControlBase::OnMouseOut();
}

void IVRangeSliderControl::OnMouseDown(float x, float y, const IMouseMod& mod) {
  mMouseDown = true;
  OnMouseDrag(x, y, 0.f, 0.f, mod);
}

void IVRangeSliderControl::OnMouseUp(float x, float y, const IMouseMod& mod) {
  mMouseDown = false;
  SetDirty(false);
}

void IVRangeSliderControl::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) {
  const int i = mMouseOverHandle;
  if (i < 0 || i >= NVals()) return;
  // The handle is placed along the track, so the pointer is read against the track too: a press
  // on a handle's point leaves its value where it is.
  const IRECT& track = GetTrackBounds(i);
  // Without length along the direction there is no place to follow: the value stays.
  if (!((mDirection == EDirection::Horizontal ? track.W() : track.H()) > 0.f)) return;
  const double lower = i > 0 ? GetValue(i - 1) : 0.;
  const double upper = i + 1 < NVals() ? GetValue(i + 1) : 1.;
  SnapToMouse(x, y, mDirection, track, i, lower, upper);
}

}  // namespace igraphics
}  // namespace iplug
