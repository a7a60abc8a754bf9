#include "controls/IBSliderControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
IRECT BoundsFromLength(float x, float y, float length, const IBitmap& handle, EDirection dir) {
  if (dir == EDirection::Vertical) return IRECT(x, y, x + handle.W, y + length);
  return IRECT(x, y, x + length, y + handle.H);
}

float HandleSize(const IBitmap& handle, EDirection dir) {
  return static_cast<float>(dir == EDirection::Vertical ? handle.H : handle.W);
}
}  // namespace

IBSliderControl::IBSliderControl(float x, float y, float length, const IBitmap& handle,
                                 const IBitmap& track, int paramIdx, EDirection dir, double gearing)
    : ISliderControlBase(BoundsFromLength(x, y, length, handle, dir), paramIdx, dir, gearing,
                         HandleSize(handle, dir)),
      IBitmapBase(handle),
      mTrackBitmap(track) {
  AttachIControl(this);
}

IBSliderControl::IBSliderControl(const IRECT& bounds, const IBitmap& handle, const IBitmap& track,
                                 int paramIdx, EDirection dir, double gearing)
    : ISliderControlBase(bounds, paramIdx, dir, gearing, HandleSize(handle, dir)),
      IBitmapBase(handle),
      mTrackBitmap(track) {
  AttachIControl(this);
}

void IBSliderControl::OnResize() {
  // The base keeps the target on the drawing rectangle and redraws.
  ISliderControlBase::OnResize();
  if (mTrackBitmap.IsValid()) {
    mTrack = FrameRectCentredIn(mTrackBitmap, mRECT);
  } else if (mDirection == EDirection::Vertical) {
    const float hw = mBitmap.W * 0.5f;
    mTrack = IRECT(mRECT.MW() - hw, mRECT.T, mRECT.MW() + hw, mRECT.B);
  } else {
    const float hh = mBitmap.H * 0.5f;
    mTrack = IRECT(mRECT.L, mRECT.MH() - hh, mRECT.R, mRECT.MH() + hh);
  }
  SetDirty(false);
}

IRECT IBSliderControl::GetHandleBounds(double value) const {
  if (value < 0.) value = GetValue(0);
  // Values outside 0..1 are shown at the nearer end of the track; one that is not a number at
  // the start.
  const float v = std::isfinite(value) ? static_cast<float>(std::clamp(value, 0., 1.)) : 0.f;
  const float hw = static_cast<float>(FrameWidth(mBitmap));
  const float hh = static_cast<float>(FrameHeight(mBitmap));
  float dx = 0.f, dy = 0.f;
  if (mDirection == EDirection::Horizontal) {
    dx = (mTrack.W() - hw) * v;
  } else {
    dy = (mTrack.H() - hh) * (1.f - v);
  }
  return IRECT(mTrack.L + dx, mTrack.T + dy, mTrack.L + hw + dx, mTrack.T + hh + dy);
}

void IBSliderControl::Draw(IGraphics& g) {
  if (mTrackBitmap.IsValid())
    g.DrawBitmap(mTrackBitmap, FrameRectCentredIn(mTrackBitmap, mRECT), 0, 0, &mBlend);
  if (mBitmap.IsValid()) g.DrawBitmapFrame(mBitmap, GetHandleBounds(), 1, &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
