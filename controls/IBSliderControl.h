#pragma once

// A slider drawn from bitmaps: a handle moving along a track, with an optional track bitmap
// behind it. A vertical slider's handle is at the bottom for 0 and at the top for 1.

#include "controls/IBitmapBase.h"
#include "controls/ISliderControlBase.h"

namespace iplug {
namespace igraphics {

class IBSliderControl : public ISliderControlBase, public IBitmapBase {
 public:
  // Bounds from (x, y): vertical, the handle's width by length (handle size = handle height);
  // horizontal, length by the handle's height (handle size = handle width). A track bitmap that
  // did not load (or an empty IBitmap) means no track.
  IBSliderControl(float x, float y, float length, const IBitmap& handle, const IBitmap& track,
                  int paramIdx = kNoParameter, EDirection dir = EDirection::Vertical,
                  double gearing = kDefaultGearing);
  IBSliderControl(const IRECT& bounds, const IBitmap& handle, const IBitmap& track,
                  int paramIdx = kNoParameter, EDirection dir = EDirection::Vertical,
                  double gearing = kDefaultGearing);

  void Draw(IGraphics& g) override;
  // The track: the track bitmap's frame centred in the drawing rectangle or, without one, a
  // strip of the handle's breadth through its middle.
  void OnResize() override;
  // Only the handle is reloaded; the track keeps the bitmap it was given.
  void OnRescale() override { ReloadScaled(mBitmap); }

  // The handle's rectangle for value, or for the current value when value is negative.
  IRECT GetHandleBounds(double value = -1.) const;

  const IBitmap& GetTrackBitmap() const { return mTrackBitmap; }

 private:
  IBitmap mTrackBitmap;
};

}  // namespace igraphics
}  // namespace iplug
