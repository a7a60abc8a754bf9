#include <cmath>

#include "platform/Cursor.h"
#include "platform/View.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSView;

namespace {
platform::NSCursor* gLastSetCursor = nullptr;  // retained
}  // namespace

namespace swell {

POINT cursorPos() {
  platform::NSPoint p = platform::NSEvent::mouseLocation();
  return {roundCoordinate(std::floor(p.x)), roundCoordinate(std::ceil(p.y))};
}

LPARAM messagePos() {
  POINT p = cursorPos();
  return packPoint(p.x, p.y);
}

platform::NSPoint mouseEventToClientPoint(const NSView* view, const platform::NSEvent& e) {
  if (!view) return e.locationInWindow;
  return view->convertPointFromView(e.locationInWindow, nullptr);
}

void setCursor(platform::NSCursor* cursor) {
  platform::NSCursor* keep = cursor;
  if (keep) keep->retain();
  if (gLastSetCursor) gLastSetCursor->release();
  gLastSetCursor = keep;
  (cursor ? cursor : platform::NSCursor::arrowCursor())->set();
}

platform::NSCursor* lastSetCursor() {
  return gLastSetCursor;
}

void setArrowCursorUnlessCurrent() {
  platform::NSCursor* arrow = platform::NSCursor::arrowCursor();
  if (platform::NSCursor::currentCursor() != arrow) arrow->set();
}

}  // namespace swell
