#pragma once

// A switch drawn as a track with one slot per state and a handle in the slot of the current
// state. A click steps to the next state and the handle slides there over kSlideMs; the value
// text is hidden while it slides. The caller's action of the unbound form runs when the slide
// ends.

#include "controls/IVSwitchControl.h"

namespace iplug {
namespace igraphics {

class IVSlideSwitchControl : public IVSwitchControl {
 public:
  // How long the handle takes from one slot to the next.
  static constexpr int kSlideMs = 100;

  // Bound to a parameter; the state count comes from the parameter's range when attached.
  IVSlideSwitchControl(const IRECT& bounds, int paramIdx = kNoParameter, const char* label = "",
                       const IVStyle& style = DEFAULT_STYLE, bool valueInButton = true,
                       EDirection direction = EDirection::Horizontal);
  // Unbound, with at least one state (fewer are taken as one). initialState is the starting
  // value: 0 the first state, 1 the last; others are clamped to that range.
  IVSlideSwitchControl(const IRECT& bounds, IActionFunction actionFunc, const char* label = "",
                       const IVStyle& style = DEFAULT_STYLE, bool valueInButton = true,
                       EDirection direction = EDirection::Horizontal, int numStates = 2,
                       int initialState = 0);

  void Draw(IGraphics& g) override;
  void DrawWidget(IGraphics& g) override;
  // Lays out anew; a running slide continues between its two slots in the new layout.
  void OnResize() override;
  // Outside a slide the handle is put in the slot of the current state.
  void SetDirty(bool triggerAction = true, int valIdx = kNoValIdx) override;
  void OnEndAnimation() override;
  // The track under the handle, in the style's shadow colour.
  virtual void DrawTrack(IGraphics& g, const IRECT& bounds);

  // Start of the slide (the current state's slot), its end (the next state's) and where the
  // handle is now.
  const IRECT& GetStartRect() const { return mStartRect; }
  const IRECT& GetEndRect() const { return mEndRect; }
  const IRECT& GetHandleBounds() const { return mHandleBounds; }
  EDirection GetDirection() const { return mDirection; }

 protected:
  // Puts the handle in the slot of the current state; the slide's end is the following slot.
  void UpdateRects();

  IRECT mStartRect;
  IRECT mEndRect;
  IRECT mHandleBounds;
  EDirection mDirection;

 private:
  // The slot of state k in the widget rectangle.
  IRECT SlotRect(int k) const;
  // Starts the slide from the state shown to the state of the value just set.
  void StartSlide();
  // One frame of the slide.
  void SlideStep();
  // Places the handle at fraction p of the way from the start slot to the end slot.
  void PlaceHandle(double p);
  void InstallSlideStarter();

  // The states the slide runs between, kept so a new layout can find their slots again.
  int mFromState = 0;
  int mToState = 0;
};

}  // namespace igraphics
}  // namespace iplug
