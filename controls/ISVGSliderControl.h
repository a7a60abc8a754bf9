#pragma once

// A slider drawn with two SVG images: the track scaled into the control keeping its shape, and
// the handle scaled with it and moved along the track by the value (top or right end at 1).

#include "controls/ISliderControlBase.h"

namespace iplug {
namespace igraphics {

class ISVGSliderControl : public ISliderControlBase {
 public:
  ISVGSliderControl(const IRECT& bounds, const ISVG& handleImage, const ISVG& trackImage,
                    int paramIdx = kNoParameter, EDirection dir = EDirection::Vertical,
                    double gearing = kDefaultGearing);
  ~ISVGSliderControl() override = default;

  // Lays out the track image, the handle and the track the handle travels. A missing image, or
  // one without a width or height, leaves the layout empty and the control draws nothing.
  void OnResize() override;
  void Draw(IGraphics& g) override;

  // The handle's rectangle at value, or at the current value when value is negative.
  IRECT GetHandleBounds(double value = -1.) const;
  const IRECT& GetTrackImageBounds() const { return mTrackSVGBounds; }

 private:
  bool ImagesHaveSize() const;

  IRECT mTrackSVGBounds;
  IRECT mHandleBoundsAtMax;
  ISVG mHandleSVG;
  ISVG mTrackSVG;
};

}  // namespace igraphics
}  // namespace iplug
