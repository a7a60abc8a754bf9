#pragma once

// Several handles on one track, each bound to its own value: the span between neighbouring
// handles is filled, and a dragged handle follows the pointer without passing its neighbours.
// Handles alternate sides of the track (below and above it, or left and right), each pointing
// at its position.

#include "controls/IVTrackControlBase.h"

namespace iplug {
namespace igraphics {

class IVRangeSliderControl : public IVTrackControlBase {
 public:
  static constexpr float kDefaultHandleSize = 8.f;

  IVRangeSliderControl(const IRECT& bounds, std::initializer_list<int> params,
                       const char* label = "", const IVStyle& style = DEFAULT_STYLE,
                       EDirection dir = EDirection::Vertical, float handleSize = kDefaultHandleSize,
                       float trackSize = kDefaultTrackSize);

  // Picks the handle under the pointer and moves it there.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;
  void DrawTrack(IGraphics& g, const IRECT& r, int chIdx) override;
  // Every track is the same: the widget's centre line, inset by the handle size at both ends.
  void MakeTrackRects(const IRECT& bounds) override;

  IRECT GetHandleBounds(int trackIdx) const;
  int GetMouseOverHandle() const { return mMouseOverHandle; }

 private:
  // Where value v lies along the track.
  float PositionOf(const IRECT& track, double v) const;

  int mMouseOverHandle = -1;
  float mHandleSize;
  bool mMouseDown = false;
};

}  // namespace igraphics
}  // namespace iplug
