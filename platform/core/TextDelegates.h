#pragma once

#include "platform/core/Responder.h"

namespace platform {

class NSControl;
class NSMenu;
class NSText;
class NSTextView;
struct NSEvent;

// What a text object tells its delegate. The interfaces are independent of each other
// so one object can answer several of them without ambiguity; a control's or text's
// delegate is any object, asked with dynamic_cast whether it answers.
class NSTextDelegate {
 public:
  virtual ~NSTextDelegate() = default;
  virtual void textDidBeginEditing(NSText* text) {}
  // After every edit the user makes (typing, deleting, cut, paste).
  virtual void textDidChange(NSText* text) {}
  virtual void textDidEndEditing(NSText* text) {}
};

// What a text view asks its delegate: the context menu (the proposed one, another, or none:
// null), and whether the delegate takes the step of a navigation key before the text does.
class NSTextViewDelegate {
 public:
  virtual ~NSTextViewDelegate() = default;
  virtual NSMenu* textViewMenuForEvent(NSTextView* view, NSMenu* menu, const NSEvent& event,
                                       long charIndex) {
    return menu;
  }
  virtual bool textViewDoCommandBySelector(NSTextView* view, NSKeyCommand command) { return false; }
};

// What a text field (or a combo box) tells its delegate while the field editor edits it.
class NSControlTextEditingDelegate {
 public:
  virtual ~NSControlTextEditingDelegate() = default;
  virtual void controlTextDidBeginEditing(NSControl* control) {}
  virtual void controlTextDidChange(NSControl* control) {}
  virtual void controlTextDidEndEditing(NSControl* control) {}
};

}  // namespace platform
