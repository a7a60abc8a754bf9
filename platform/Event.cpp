#include "platform/Event.h"

namespace platform {

bool NSEvent::isMouseEvent() const {
  switch (type) {
    case NSEventTypeLeftMouseDown:
    case NSEventTypeLeftMouseUp:
    case NSEventTypeRightMouseDown:
    case NSEventTypeRightMouseUp:
    case NSEventTypeMouseMoved:
    case NSEventTypeLeftMouseDragged:
    case NSEventTypeRightMouseDragged:
    case NSEventTypeMouseEntered:
    case NSEventTypeMouseExited:
    case NSEventTypeOtherMouseDown:
    case NSEventTypeOtherMouseUp:
    case NSEventTypeOtherMouseDragged:
      return true;
    default:
      return false;
  }
}

bool NSEvent::isInputEvent() const {
  switch (type) {
    case NSEventTypeKeyDown:
    case NSEventTypeKeyUp:
    case NSEventTypeFlagsChanged:
    case NSEventTypeScrollWheel:
    case NSEventTypeRotate:
    case NSEventTypeMagnify:
    case NSEventTypeSwipe:
      return true;
    default:
      return isMouseEvent();
  }
}

}  // namespace platform
