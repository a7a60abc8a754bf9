#include "platform/core/Cursor.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/Finite.h"
#include "platform/core/detail/TestHooks.h"
#include "platform/display/DisplayBackend.h"
#include "platform/display/Event.h"

namespace platform {

namespace {
NSCursor* shared(const char* name) {
  // Standard cursors live for the program.
  return new NSCursor(name);
}
NSCursor* gCurrent = nullptr;  // retained
int gHideCount = 0;
std::atomic<bool> gMouseDetached{false};
}  // namespace

namespace {
// The display shows the cursor set, or none while hidden.
void showCurrent() {
  displayBackend().cursorChanged(NSCursor::isHidden() ? nullptr : NSCursor::currentCursor());
}
}  // namespace

NSCursor::NSCursor(NSCursorImage image, NSPoint hotSpot)
    : mName("image"), mImage(std::make_shared<const NSCursorImage>(std::move(image))) {
  double right = std::max(0, mImage->width - 1), bottom = std::max(0, mImage->height - 1);
  // Inside the picture; a coordinate that is no number is its top left.
  auto inside = [](double v, double last) {
    return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, last);
  };
  mHotSpot = {inside(hotSpot.x, right), inside(hotSpot.y, bottom)};
}

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
PLATFORM_STANDARD_CURSOR(resizeUpCursor, "resize-up")
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

void NSCursor::setMouseDetached(bool detached) {
  gMouseDetached.store(detached);
}

bool NSCursor::isMouseDetached() {
  return gMouseDetached.load();
}

void NSCursor::warpCursorPosition(NSPoint screenLocation) {
  if (!base::isFinite(screenLocation.x, screenLocation.y)) return;
  NSEvent::setMouseLocation(screenLocation);
  displayBackend().warpPointer(screenLocation);
}

void resetCursorForTesting() {
  NSCursor::arrowCursor()->set();
  gHideCount = 0;
  gMouseDetached.store(false);
}

}  // namespace platform
