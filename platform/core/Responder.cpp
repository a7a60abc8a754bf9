#include "platform/core/Responder.h"

namespace platform {

// Each handler hands the event up the chain; the end of the chain drops it.
#define PLATFORM_FORWARD(method)                              \
  void NSResponder::method(const NSEvent& e) {                \
    if (NSResponder* next = nextResponder()) next->method(e); \
  }
PLATFORM_FORWARD(mouseDown)
PLATFORM_FORWARD(mouseUp)
PLATFORM_FORWARD(mouseDragged)
PLATFORM_FORWARD(mouseMoved)
PLATFORM_FORWARD(mouseEntered)
PLATFORM_FORWARD(mouseExited)
PLATFORM_FORWARD(rightMouseDown)
PLATFORM_FORWARD(rightMouseUp)
PLATFORM_FORWARD(rightMouseDragged)
PLATFORM_FORWARD(otherMouseDown)
PLATFORM_FORWARD(otherMouseUp)
PLATFORM_FORWARD(otherMouseDragged)
PLATFORM_FORWARD(scrollWheel)
PLATFORM_FORWARD(keyDown)
PLATFORM_FORWARD(keyUp)
PLATFORM_FORWARD(magnifyWithEvent)
PLATFORM_FORWARD(rotateWithEvent)
PLATFORM_FORWARD(swipeWithEvent)
#undef PLATFORM_FORWARD

}  // namespace platform
