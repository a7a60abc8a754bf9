#pragma once

#include "platform/display/Event.h"
#include "platform/objects/Object.h"

namespace platform {

// The steps the navigation keys ask of the responder with the keyboard focus, named as the
// platform's key bindings name them. Each control takes them its own way: a list moves its
// selection, a slider its knob.
enum class NSKeyCommand {
  NoCommand,
  MoveUp,
  MoveDown,
  MoveLeft,
  MoveRight,
  MoveToBeginningOfDocument,  // Home
  MoveToEndOfDocument,        // End
  PageUp,
  PageDown,
};

// The step a key event asks for: an arrow, Home, End, Page Up or Page Down pressed without
// Command, Control or Option (Shift may be held); NoCommand for any other key.
NSKeyCommand keyCommandForEvent(const NSEvent& e);

// An object in a responder chain. Event handlers pass the event on to the next
// responder unless a subclass handles it.
class NSResponder : public NSObject {
 public:
  NSResponder* nextResponder() const { return mNextResponder; }
  void setNextResponder(NSResponder* responder) { mNextResponder = responder; }

  virtual void mouseDown(const NSEvent& e);
  virtual void mouseUp(const NSEvent& e);
  virtual void mouseDragged(const NSEvent& e);
  virtual void mouseMoved(const NSEvent& e);
  // The pointer came onto, or left, this view (the window tells the view under the pointer).
  virtual void mouseEntered(const NSEvent& e);
  virtual void mouseExited(const NSEvent& e);
  virtual void rightMouseDown(const NSEvent& e);
  virtual void rightMouseUp(const NSEvent& e);
  virtual void rightMouseDragged(const NSEvent& e);
  virtual void otherMouseDown(const NSEvent& e);
  virtual void otherMouseUp(const NSEvent& e);
  virtual void otherMouseDragged(const NSEvent& e);
  virtual void scrollWheel(const NSEvent& e);
  virtual void keyDown(const NSEvent& e);
  virtual void keyUp(const NSEvent& e);
  virtual void magnifyWithEvent(const NSEvent& e);
  virtual void rotateWithEvent(const NSEvent& e);
  virtual void swipeWithEvent(const NSEvent& e);

  // The steps of the navigation keys. Each answers whether this responder took the step;
  // by default none is taken, and the key goes on up the chain.
  virtual bool moveUp() { return false; }
  virtual bool moveDown() { return false; }
  virtual bool moveLeft() { return false; }
  virtual bool moveRight() { return false; }
  virtual bool moveToBeginningOfDocument() { return false; }
  virtual bool moveToEndOfDocument() { return false; }
  virtual bool pageUp() { return false; }
  virtual bool pageDown() { return false; }
  // Takes the step a command names; whether it was taken.
  bool doCommandBySelector(NSKeyCommand command);

  virtual bool acceptsFirstResponder() const { return false; }
  virtual bool becomeFirstResponder() { return true; }
  virtual bool resignFirstResponder() { return true; }

 private:
  NSResponder* mNextResponder = nullptr;  // not retained: the superview or the window
};

}  // namespace platform
