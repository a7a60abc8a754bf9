#pragma once

// What the graphics core asks of the in-interface popup-menu control. The control itself
// derives from this; the graphics core keeps the one it creates apart from its control list.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IPopupMenuControlBase : public IControl {
 public:
  using IControl::IControl;

  // Shows the menu (borrowed) for the anchor rectangle. The answer comes back later through
  // IGraphics::SetControlValueAfterPopupMenu.
  virtual void CreatePopupMenu(IPopupMenu& menu, const IRECT& anchor) = 0;
  // True while the menu is open: the graphics core then sends it every mouse event.
  virtual bool GetExpanded() const = 0;
  // False while a menu is shown or still closing: the graphics core then answers a new request
  // at once with nothing chosen and leaves the shown menu, and its requester, alone.
  virtual bool CanOpenMenu() const { return !GetExpanded(); }
  // Closes the shown menu at once and reports nothing: the control that asked for it is gone,
  // and the menu it lent may be gone with it.
  virtual void DismissMenu() {}
};

}  // namespace igraphics
}  // namespace iplug
