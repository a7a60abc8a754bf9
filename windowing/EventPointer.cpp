#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/Control.h"
#include "platform/Cursor.h"
#include "platform/ScrollView.h"
#include "platform/View.h"
#include "platform/Window.h"
#include "windowing/EventSupport.h"
#include "windowing/WindowInterfaces.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;

namespace {
platform::NSCursor* gLastSetCursor = nullptr;  // retained

}  // namespace

namespace swell {

LONG roundToLong(double v) {
  if (std::isnan(v)) return 0;
  double r = std::floor(v + 0.5);
  if (r <= -2147483648.0) return std::numeric_limits<LONG>::min();
  if (r >= 2147483647.0) return std::numeric_limits<LONG>::max();
  return static_cast<LONG>(r);
}

LPARAM packPoint(LONG x, LONG y) {
  auto low = static_cast<std::uint32_t>(x) & 0xFFFFu;
  auto high = static_cast<std::uint32_t>(y) & 0xFFFFu;
  return static_cast<LPARAM>((high << 16) | low);
}

POINT cursorPos() {
  platform::NSPoint p = platform::NSEvent::mouseLocation();
  return {roundToLong(std::floor(p.x)), roundToLong(std::ceil(p.y))};
}

LPARAM messagePos() {
  POINT p = cursorPos();
  return packPoint(p.x, p.y);
}

platform::NSPoint mouseEventToClientPoint(const NSView* view, const platform::NSEvent& e) {
  if (!view) return e.locationInWindow;
  return view->convertPointFromView(e.locationInWindow, nullptr);
}

POINT screenToClient(const NSView* view, platform::NSPoint screen) {
  platform::NSPoint p = screen;
  if (view) {
    if (NSWindow* w = view->window()) p = w->convertPointFromScreen(p);
    p = view->convertPointFromView(p, nullptr);
  }
  return {roundToLong(p.x), roundToLong(p.y)};
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

HWND parentHandle(HWND hwnd) {
  NSObject* object = objectFromHandle(hwnd);
  NSView* view = dynamic_cast<NSView*>(object);
  NSWindow* window = dynamic_cast<NSWindow*>(object);
  if (view) {
    if (auto* clip = dynamic_cast<platform::NSClipView*>(view->superview()))
      if (auto* scroll = dynamic_cast<platform::NSScrollView*>(clip->superview())) view = scroll;
    NSWindow* w = view->window();
    if (!w || w->contentView() != view) return handleFromObject(view->superview());
    window = w;
  }
  if (!window) return nullptr;
  if (NSWindow* parent = window->parentWindow()) return handleFromObject(parent->contentView());
  auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
  NSObject* owner = top ? top->swellGetOwner() : nullptr;
  if (auto* ownerWindow = dynamic_cast<NSWindow*>(owner)) owner = ownerWindow->contentView();
  return handleFromObject(owner);
}

void setFocus(NSObject* object) {
  if (!object || !platform::isLiveObject(object)) return;
  platform::Ref<NSObject> keep(object);
  NSView* view = dynamic_cast<NSView*>(object);
  NSWindow* window = view ? view->window() : dynamic_cast<NSWindow*>(object);
  if (!window) return;
  if (!view) view = window->contentView();
  if (window->isVisible()) window->makeKeyAndOrderFront();
  if (view && view->acceptsFirstResponder()) window->makeFirstResponder(view);
}

int defaultButtonId(const NSView* view, bool onlyEnabled) {
  NSWindow* window = view ? view->window() : nullptr;
  auto* control =
      window ? dynamic_cast<platform::NSControl*>(window->defaultButtonCell()) : nullptr;
  if (!control || !platform::isLiveObject(control)) return 0;
  if (onlyEnabled && !control->isEnabled()) return 0;
  return static_cast<int>(control->tag());
}

}  // namespace swell
