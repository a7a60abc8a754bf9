#pragma once

// A linear slider drawn as a rounded track, a filled part from the start to the value and a
// round handle, moved with the slider base's rules. It can show its value as text; clicking
// that text (when editable) opens the value prompt instead of moving the handle.

#include "controls/ISliderControlBase.h"
#include "controls/IVectorBase.h"

namespace iplug {
namespace igraphics {

class IVSliderControl : public ISliderControlBase, public IVectorBase {
 public:
  // Bound to a parameter, without an action. A null label counts as empty.
  IVSliderControl(const IRECT& bounds, int paramIdx, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, bool valueIsEditable = false,
                  EDirection dir = EDirection::Vertical, bool handleInsideTrack = false,
                  double gearing = kDefaultGearing, float handleSize = kDefaultHandleSize,
                  float trackSize = kDefaultTrackSize);
  // Unbound, with an action.
  IVSliderControl(const IRECT& bounds, IActionFunction actionFunc, const char* label = "",
                  const IVStyle& style = DEFAULT_STYLE, bool valueIsEditable = false,
                  EDirection dir = EDirection::Vertical, bool handleInsideTrack = false,
                  double gearing = kDefaultGearing, float handleSize = kDefaultHandleSize,
                  float trackSize = kDefaultTrackSize);

  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  // Ends the drag and runs the action once more.
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  // The track runs along the widget's centre line, inset by the handle size at both ends (up
  // to the middle, so a widget too small for the handle gets a track of no length).
  void OnResize() override;
  // Bound: shows the parameter's value, and an empty label becomes the parameter's name.
  void OnInit() override;
  void Draw(IGraphics& g) override;
  // The value text when editable, and the widget.
  bool IsHit(float x, float y) const override;
  // Acts on the one value whatever valIdx is; bound, the value text follows.
  void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx) override;

  void DrawWidget(IGraphics& g) override;
  // The track and its filled part, lengthened by the handle size when the handle sits inside.
  virtual void DrawTrack(IGraphics& g, const IRECT& filledArea);
  virtual void DrawHandle(IGraphics& g, const IRECT& bounds);

  // The part of the track from its start to the value.
  IRECT GetFilledArea() const;
  // Where the handle is drawn (empty without a handle size).
  IRECT GetHandleBounds() const;
  bool GetValueMouseOver() const { return mValueMouseOver; }

 protected:
  bool mHandleInsideTrack;
  bool mValueMouseOver = false;

 private:
  void Setup(bool valueIsEditable, float trackSize);
};

}  // namespace igraphics
}  // namespace iplug
