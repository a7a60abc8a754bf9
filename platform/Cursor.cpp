#include "platform/Cursor.h"

namespace platform {

namespace {
NSCursor* shared(const char* name) {
  // Standard cursors live for the program.
  return new NSCursor(name);
}
NSCursor* gCurrent = nullptr;  // retained
int gHideCount = 0;
}  // namespace

#define PLATFORM_STANDARD_CURSOR(method, name) \
  NSCursor* NSCursor::method() {               \
    static NSCursor* c = shared(name);         \
    return c;                                  \
  }
PLATFORM_STANDARD_CURSOR(arrowCursor, "arrow")
PLATFORM_STANDARD_CURSOR(IBeamCursor, "ibeam")
PLATFORM_STANDARD_CURSOR(pointingHandCursor, "pointing-hand")
PLATFORM_STANDARD_CURSOR(crosshairCursor, "crosshair")
PLATFORM_STANDARD_CURSOR(resizeLeftRightCursor, "resize-left-right")
PLATFORM_STANDARD_CURSOR(resizeUpDownCursor, "resize-up-down")
PLATFORM_STANDARD_CURSOR(closedHandCursor, "closed-hand")
PLATFORM_STANDARD_CURSOR(openHandCursor, "open-hand")
PLATFORM_STANDARD_CURSOR(operationNotAllowedCursor, "not-allowed")
#undef PLATFORM_STANDARD_CURSOR

NSCursor* NSCursor::currentCursor() {
  return gCurrent ? gCurrent : arrowCursor();
}

void NSCursor::set() {
  if (gCurrent == this) return;
  retain();
  if (gCurrent) gCurrent->release();
  gCurrent = this;
}

void NSCursor::hide() {
  ++gHideCount;
}

void NSCursor::unhide() {
  if (gHideCount > 0) --gHideCount;
}

bool NSCursor::isHidden() {
  return gHideCount > 0;
}

void NSCursor::resetForTesting() {
  arrowCursor()->set();
  gHideCount = 0;
}

}  // namespace platform
