#pragma once

#include "platform/display/Event.h"
#include "platform/objects/Object.h"

namespace platform {

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

  virtual bool acceptsFirstResponder() const { return false; }
  virtual bool becomeFirstResponder() { return true; }
  virtual bool resignFirstResponder() { return true; }

 private:
  NSResponder* mNextResponder = nullptr;  // not retained: the superview or the window
};

}  // namespace platform
