#pragma once

#include "platform/core/Menu.h"
#include "platform/core/Text.h"

namespace platform {

// A text view: editable text with a context menu that its delegate may replace or
// refuse, shown at a right click. Field editors are text views too. The delegate may take
// the step of a navigation key before the text moves its caret (a combo box being edited
// steps through its list on Up and Down).
class NSTextView : public NSText, public ActionTarget {
 public:
  using NSText::NSText;

  // Titles of the standard context menu's items; their actions are the ids below.
  static constexpr int kCutAction = 1;
  static constexpr int kCopyAction = 2;
  static constexpr int kPasteAction = 3;

  // The context menu for a click: the standard one (Cut, Copy, Paste, enabled as the
  // text allows) after the delegate's say; null when the delegate refuses a menu.
  virtual Ref<NSMenu> menuForEvent(const NSEvent& event);
  // Runs a standard menu action (Cut, Copy, Paste); the standard items send it here.
  void performMenuAction(int action);
  void performAction(int action, NSObject*) override { performMenuAction(action); }

  void keyDown(const NSEvent& e) override;
  // Pops the context menu up at the click; the chosen item's action is sent.
  void rightMouseDown(const NSEvent& e) override;
  // The menu the last right click asked for.
  NSMenu* lastContextMenu() const { return mLastMenu.get(); }

 private:
  Ref<NSMenu> mLastMenu;
};

}  // namespace platform
