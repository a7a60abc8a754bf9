#pragma once

#include <string>

#include "platform/core/Control.h"
#include "platform/core/Panel.h"
#include "platform/objects/Object.h"

namespace platform {

class NSTextField;

// Parts the modal panels share.

// A label (a field neither editable nor selectable, without border or background) added
// to the parent, which holds it.
NSTextField* addLabel(NSView* parent, const std::string& text, const NSRect& frame,
                      NSTextAlignment alignment = NSTextAlignmentLeft);

// Puts the view in a panel's accessory slot: the view held there before leaves the
// content view, the new one (null for none) joins it.
void replaceAccessoryView(Ref<NSView>& slot, NSView* view, NSView* content);

// A chooser panel (colour, font): titled, with a close box, kept when closed, its content a
// plain view at least the panel's width, and the caller's accessory view centred at the bottom.
class ChooserPanel : public NSPanel, public AccessoryViewHost {
 public:
  NSView* accessoryView() const override { return mAccessory.get(); }
  // Lays the panel out again, for the new view or the same one's new size.
  void setAccessoryView(NSView* view) override;

 protected:
  ChooserPanel(const std::string& title, double width, double margin);
  virtual void layoutPanel() = 0;
  // The panel's width: its own, or the accessory view's when that is wider.
  double panelWidth() const;
  // The height the accessory view takes with its margin (0 without one).
  double accessoryHeight() const;
  // Centres the accessory view at y in a panel of the width; the y above it.
  double placeAccessory(double width, double y);

 private:
  double mWidth;
  double mMargin;
  Ref<NSView> mAccessory;  // a subview while set
};

}  // namespace platform
