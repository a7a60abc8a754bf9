#pragma once

#include "platform/Menu.h"
#include "platform/Text.h"

namespace platform {

// A text view: editable text with a context menu that its delegate may replace or
// refuse. Field editors are text views too.
class NSTextView : public NSText {
 public:
  using NSText::NSText;

  // Titles of the standard context menu's items; their actions are the ids below.
  static constexpr int kCutAction = 1;
  static constexpr int kCopyAction = 2;
  static constexpr int kPasteAction = 3;

  // The context menu for a click: the standard one (Cut, Copy, Paste, enabled as the
  // text allows) after the delegate's say; null when the delegate refuses a menu.
  virtual Ref<NSMenu> menuForEvent(const NSEvent& event);
  // Runs a standard menu action (Cut, Copy, Paste).
  void performMenuAction(int action);

  void rightMouseDown(const NSEvent& e) override;
  // The menu the last right click asked for (what the display backend would show).
  NSMenu* lastContextMenu() const { return mLastMenu.get(); }

 private:
  Ref<NSMenu> mLastMenu;
};

}  // namespace platform
