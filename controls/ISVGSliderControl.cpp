#include "controls/ISVGSliderControl.h"

#include <algorithm>
#include <cmath>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {

bool HasSize(const ISVG& svg) {
  return svg.IsValid() && std::isfinite(svg.W()) && std::isfinite(svg.H()) && svg.W() > 0.f &&
         svg.H() > 0.f;
}

// A box of at least 1 point wide centred on (cx, cy); a height that is not positive takes the
// width, so a degenerate control still gives a drawable box.
IRECT CentredBox(float cx, float cy, float w, float h) {
  const float bw = std::max(w, 1.f);
  const float bh = h > 0.f ? h : bw;
  return IRECT(cx - 0.5f * bw, cy - 0.5f * bh, cx + 0.5f * bw, cy + 0.5f * bh);
}

}  // namespace

ISVGSliderControl::ISVGSliderControl(const IRECT& bounds, const ISVG& handleImage,
                                     const ISVG& trackImage, int paramIdx, EDirection dir,
                                     double gearing)
    : ISliderControlBase(bounds, paramIdx, dir, gearing, 0.f),
      mHandleSVG(handleImage),
      mTrackSVG(trackImage) {}

bool ISVGSliderControl::ImagesHaveSize() const {
  return HasSize(mHandleSVG) && HasSize(mTrackSVG);
}

void ISVGSliderControl::OnResize() {
  ISliderControlBase::OnResize();
  mTrackSVGBounds = mHandleBoundsAtMax = IRECT();
  if (!ImagesHaveSize()) {
    mTrack = IRECT();
    return;
  }
  const float trackAspect = mTrackSVG.W() / mTrackSVG.H();
  const float handleAspect = mHandleSVG.W() / mHandleSVG.H();
  const float handleToTrack = mHandleSVG.H() / mTrackSVG.H();
  const float cx = mRECT.MW(), cy = mRECT.MH();
  if (mDirection == EDirection::Vertical) {
    mTrackSVGBounds = CentredBox(cx, cy, trackAspect * mRECT.H(), mRECT.H());
    const float h = handleToTrack * mRECT.H();
    const IRECT box = CentredBox(cx, cy, handleAspect * h, h);
    mHandleBoundsAtMax = IRECT(box.L, mTrackSVGBounds.T, box.R, mTrackSVGBounds.T + box.H());
    mTrack = IRECT(mTrackSVGBounds.L, mTrackSVGBounds.T + mHandleBoundsAtMax.H(), mTrackSVGBounds.R,
                   mTrackSVGBounds.B);
  } else {
    mTrackSVGBounds = CentredBox(cx, cy, mRECT.W(), mRECT.W() / trackAspect);
    const float h = handleToTrack * mTrackSVGBounds.H();
    const float w = std::max(handleAspect * h, 1.f);
    const IRECT box = CentredBox(mTrackSVGBounds.R - 0.5f * w, mTrackSVGBounds.MH(), w, h);
    mHandleBoundsAtMax = box;
    mTrack = IRECT(mTrackSVGBounds.L + mHandleBoundsAtMax.W(), mTrackSVGBounds.T, mTrackSVGBounds.R,
                   mTrackSVGBounds.B);
  }
  SetDirty(false);
}

IRECT ISVGSliderControl::GetHandleBounds(double value) const {
  if (value < 0.) value = GetValue();
  const float rest = 1.f - static_cast<float>(value);
  if (mDirection == EDirection::Vertical)
    return mHandleBoundsAtMax.GetTranslated(0.f, rest * (mTrack.B - mTrack.T));
  return mHandleBoundsAtMax.GetTranslated(-rest * (mTrack.R - mTrack.L), 0.f);
}

void ISVGSliderControl::Draw(IGraphics& g) {
  if (mTrackSVGBounds.Empty()) return;
  g.DrawSVG(mTrackSVG, mTrackSVGBounds, &mBlend);
  g.DrawSVG(mHandleSVG, GetHandleBounds(), &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
