#pragma once

// A handle moved in two dimensions over a pad: value 0 is its horizontal place (0 at the left),
// value 1 its vertical place (0 at the bottom). A press jumps the handle to the pointer; both
// values go to their parameters on every move.

#include <initializer_list>

#include "controls/IVectorBase.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IVXYPadControl : public IControl, public IVectorBase {
 public:
  static constexpr float kDefaultHandleRadius = 10.f;

  // Always two values, bound to the first two entries of params; missing entries leave the
  // value unbound and further entries are ignored.
  IVXYPadControl(const IRECT& bounds, std::initializer_list<int> params, const char* label = "",
                 const IVStyle& style = DEFAULT_STYLE, float handleRadius = kDefaultHandleRadius);

  void Draw(IGraphics& g) override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
  void OnResize() override;

  void DrawWidget(IGraphics& g) override;
  virtual void DrawHandle(IGraphics& g, const IRECT& trackBounds, const IRECT& handleBounds);
  virtual void DrawTrack(IGraphics& g);

  // Where the handle is drawn.
  IRECT GetHandleBounds() const;
  void SetTrackClipsHandle(bool clips) { mTrackClipsHandle = clips; }
  bool GetMouseDown() const { return mMouseDown; }

 protected:
  float mHandleRadius;
  bool mMouseDown = false;
  bool mTrackClipsHandle = true;
};

}  // namespace igraphics
}  // namespace iplug
