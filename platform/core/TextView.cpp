#include "platform/core/TextView.h"

#include "platform/core/Menu.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/TextDelegates.h"

namespace platform {

namespace {

void addItem(NSMenu* menu, const char* title, int action, bool enabled, NSTextView* target) {
  Ref<NSMenuItem> item = Ref<NSMenuItem>::adopt(new NSMenuItem(title, action));
  item->setEnabled(enabled);
  item->setTarget(target);
  menu->addItem(item.get());
}

}  // namespace

Ref<NSMenu> NSTextView::menuForEvent(const NSEvent& event) {
  Ref<NSMenu> menu = Ref<NSMenu>::adopt(new NSMenu);
  bool hasSelection = selectedRange().length > 0 && !isConcealed();
  addItem(menu.get(), "Cut", kCutAction, hasSelection && isEditable(), this);
  addItem(menu.get(), "Copy", kCopyAction, hasSelection, this);
  addItem(menu.get(), "Paste", kPasteAction,
          isEditable() && NSPasteboard::generalPasteboard().hasType(NSPasteboardTypeString), this);
  auto* d = dynamic_cast<NSTextViewDelegate*>(delegate());
  if (!d) return menu;
  long index = static_cast<long>(
      characterIndexForPoint(convertPointFromView(event.locationInWindow, nullptr)));
  return Ref<NSMenu>(d->textViewMenuForEvent(this, menu.get(), event, index));
}

void NSTextView::performMenuAction(int action) {
  switch (action) {
    case kCutAction:
      cut();
      break;
    case kCopyAction:
      copy();
      break;
    case kPasteAction:
      paste();
      break;
    default:
      break;
  }
}

void NSTextView::keyDown(const NSEvent& e) {
  Ref<NSTextView> keep(this);
  const NSKeyCommand command = keyCommandForEvent(e);
  if (command != NSKeyCommand::NoCommand) {
    if (auto* d = dynamic_cast<NSTextViewDelegate*>(delegate());
        d && d->textViewDoCommandBySelector(this, command))
      return;
  }
  NSText::keyDown(e);
}

void NSTextView::rightMouseDown(const NSEvent& e) {
  Ref<NSTextView> keep(this);
  mLastMenu = menuForEvent(e);
  if (!mLastMenu) {
    NSText::rightMouseDown(e);
    return;
  }
  Ref<NSMenu> menu = mLastMenu;
  menu->popUpMenu(convertPointFromView(e.locationInWindow, nullptr), this);
}

}  // namespace platform
