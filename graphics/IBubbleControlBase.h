#pragma once

// What the graphics core asks of the value bubble. The control itself derives from this; the
// graphics core keeps the one it creates apart from its control list, draws it above the
// controls and never hands it the mouse.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IBubbleControlBase : public IControl {
 public:
  using IControl::IControl;

  // Shows str in a callout pointing at (x, y): beside the point (horizontal) or above it
  // (vertical), its content at least the size of minimumContentBounds. A call while the bubble
  // shows moves it, whoever the caller.
  virtual void ShowBubble(IControl* caller, float x, float y, const char* str, EDirection dir,
                          const IRECT& minimumContentBounds) = 0;
  virtual void HideBubble() = 0;
  // The control the bubble shows for, or null when none shows.
  virtual IControl* GetCaller() const = 0;
  virtual bool IsShowing() const = 0;
};

}  // namespace igraphics
}  // namespace iplug
