#include "platform/Cursor.h"

#include <cmath>

#include "platform/DisplayBackend.h"
#include "platform/Event.h"

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

namespace {
void showCurrent() {
  displayBackend().cursorChanged(NSCursor::isHidden() ? nullptr : NSCursor::currentCursor());
}
}  // namespace

NSCursor::NSCursor(cairo_surface_t* image, NSPoint hotSpot)
    : mName("image"), mImage(image ? cairo_surface_reference(image) : nullptr), mHotSpot(hotSpot) {}

void NSCursor::dealloc() {
  if (mImage) cairo_surface_destroy(mImage);
  mImage = nullptr;
  NSObject::dealloc();
}

bool NSCursor::warpMouseCursorPosition(NSPoint screenPoint) {
  if (!std::isfinite(screenPoint.x) || !std::isfinite(screenPoint.y)) return false;
  return displayBackend().warpPointer(screenPoint);
}

NSCursor* NSCursor::currentCursor() {
  return gCurrent ? gCurrent : arrowCursor();
}

void NSCursor::set() {
  if (gCurrent == this) return;
  retain();
  if (gCurrent) gCurrent->release();
  gCurrent = this;
  showCurrent();
}

void NSCursor::hide() {
  if (++gHideCount == 1) showCurrent();
}

void NSCursor::unhide() {
  if (gHideCount > 0 && --gHideCount == 0) showCurrent();
}

bool NSCursor::isHidden() {
  return gHideCount > 0;
}

void NSCursor::resetForTesting() {
  arrowCursor()->set();
  gHideCount = 0;
}

}  // namespace platform
