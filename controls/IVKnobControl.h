#pragma once

// A rotary knob drawn as an arc track, a round body and a pointer, dragged with the knob base's
// gearing. It can show its value as text; clicking that text (when editable) opens the value
// prompt instead of starting a drag. Angles are in degrees, 0 pointing up, growing clockwise.

#include "controls/IKnobControlBase.h"
#include "controls/IVectorBase.h"

namespace iplug {
namespace igraphics {

class IVKnobControl : public IKnobControlBase, public IVectorBase {
 public:
  static constexpr float kDefaultStartAngle = -135.f;
  static constexpr float kDefaultEndAngle = 135.f;
  static constexpr float kDefaultTrackToHandleDistance = 4.f;
  static constexpr float kDefaultInnerPointerFrac = 0.1f;
  static constexpr float kDefaultOuterPointerFrac = 1.f;
  static constexpr float kDefaultPointerThickness = 2.5f;

  // Bound to a parameter, without an action. A null label counts as empty.
  IVKnobControl(const IRECT& bounds, int paramIdx, const char* label = "",
                const IVStyle& style = DEFAULT_STYLE, bool valueIsEditable = false,
                bool valueInWidget = false, float a1 = kDefaultStartAngle,
                float a2 = kDefaultEndAngle, float aAnchor = kDefaultStartAngle,
                EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                float trackSize = kDefaultTrackSize);
  // Unbound, with an action.
  IVKnobControl(const IRECT& bounds, IActionFunction actionFunc, const char* label = "",
                const IVStyle& style = DEFAULT_STYLE, bool valueIsEditable = false,
                bool valueInWidget = false, float a1 = kDefaultStartAngle,
                float a2 = kDefaultEndAngle, float aAnchor = kDefaultStartAngle,
                EDirection direction = EDirection::Vertical, double gearing = kDefaultGearing,
                float trackSize = kDefaultTrackSize);

  // On the value text (drawn beside the knob) an editable knob prompts for a value; anywhere
  // else a press starts a drag. A knob with its value inside the body always drags on a left
  // press, and prompts on a right one.
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  // Ends the drag and runs the action once more.
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;
  void OnMouseOver(float x, float y, const IMouseMod& mod) override;
  void OnMouseOut() override;
  void OnResize() override;
  // Bound: shows the parameter's value, and an empty label becomes the parameter's name.
  void OnInit() override;
  void Draw(IGraphics& g) override;
  // The value text when editable, and the widget.
  bool IsHit(float x, float y) const override;
  // Acts on the one value whatever valIdx is; bound, the value text follows.
  void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx) override;
  IRECT GetDragBounds() override { return GetKnobDragBounds(); }

  // A half-height square-ish area inside the widget whose size scales a drag: h/2 x h when the
  // widget is wider than high, else w x w/2; never below 1 x 1.
  IRECT GetKnobDragBounds() const;

  void DrawWidget(IGraphics& g) override;
  // The value arc from the anchor to angle, when the track has a size.
  virtual void DrawIndicatorTrack(IGraphics& g, float angle, float cx, float cy, float radius);
  virtual void DrawPointer(IGraphics& g, float angle, float cx, float cy, float radius);

  bool GetValueMouseOver() const { return mValueMouseOver; }
  float GetStartAngle() const { return mAngle1; }
  float GetEndAngle() const { return mAngle2; }
  float GetAnchorAngle() const { return mAnchorAngle; }

 protected:
  float mTrackToHandleDistance = kDefaultTrackToHandleDistance;
  float mInnerPointerFrac = kDefaultInnerPointerFrac;
  float mOuterPointerFrac = kDefaultOuterPointerFrac;
  float mPointerThickness = kDefaultPointerThickness;
  float mAngle1;
  float mAngle2;
  float mAnchorAngle;
  bool mValueMouseOver = false;

 private:
  void Setup(bool valueIsEditable, float trackSize);
  bool OnValueText(float x, float y) const;
};

}  // namespace igraphics
}  // namespace iplug
