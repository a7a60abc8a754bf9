#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/core/Control.h"
#include "platform/core/ScrollView.h"
#include "platform/core/Text.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "windowing/core/Capture.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSRect;
using platform::NSView;
using platform::NSWindow;

namespace {

// Without any screen the layer reports one of this size.
constexpr RECT kNoScreenViewPort{0, 0, 1600, 1200};

RECT roundRect(double left, double top, double right, double bottom) {
  return {swell::roundCoordinate(left), swell::roundCoordinate(top), swell::roundCoordinate(right),
          swell::roundCoordinate(bottom)};
}

// A view's bounds corners in screen coordinates (window coordinates without a window),
// the bounds origin first: for a flipped view the top edge has the larger y.
RECT viewRectOnScreen(const NSView* view) {
  NSRect b = view->bounds();
  platform::NSPoint a = view->convertPointToView(b.origin, nullptr);
  platform::NSPoint c = view->convertPointToView({b.maxX(), b.maxY()}, nullptr);
  if (NSWindow* w = view->window()) {
    a = w->convertPointToScreen(a);
    c = w->convertPointToScreen(c);
  }
  return roundRect(a.x, a.y, c.x, c.y);
}

// Moves a view among its siblings: HWND_TOP draws it last, HWND_BOTTOM first, another
// sibling puts it right after that one. Nothing while the view or something inside it
// holds the mouse capture.
void reorder(NSView* view, HWND after) {
  NSView* parent = view->superview();
  if (!parent || parent->subviews().size() < 2) return;
  if (after == HWND_TOPMOST || after == HWND_NOTOPMOST || after == swell::handleFromObject(view))
    return;
  if (auto* capture = swell::objectFromHandleAs<NSView>(GetCapture());
      capture && capture->isDescendantOf(view))
    return;
  const auto& siblings = parent->subviews();
  if (after == HWND_TOP) {
    if (siblings.back() != view) parent->moveSubview(view, platform::NSWindowAbove, nullptr);
    return;
  }
  if (after == HWND_BOTTOM) {
    if (siblings.front() != view) parent->moveSubview(view, platform::NSWindowBelow, nullptr);
    return;
  }
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [&](NSView* v) { return swell::handleFromObject(v) == after; });
  if (it == siblings.end()) return;
  if (std::next(it) != siblings.end() && *std::next(it) == view) return;
  parent->moveSubview(view, platform::NSWindowAbove, *it);
}

// A text view in a scroll view follows the scroll view's size where no scroller
// lets it be larger.
void fitScrolledText(platform::NSScrollView* scroll) {
  auto* text = dynamic_cast<platform::NSText*>(scroll->documentView());
  if (!text) return;
  NSRect frame = text->frame();
  platform::NSSize content = scroll->contentSize();
  if (!scroll->hasHorizontalScroller()) frame.size.width = content.width;
  if (!scroll->hasVerticalScroller()) frame.size.height = content.height;
  text->setFrame(frame);
}

double limit(double value, double lo, double hi) {
  return std::max(lo, std::min(value, hi));
}

}  // namespace

bool GetWindowRect(HWND hwnd, RECT* r) {
  if (!r) return false;
  *r = RECT{};
  NSObject* object = swell::contentViewRule(swell::objectFromHandle(hwnd));
  if (auto* w = dynamic_cast<NSWindow*>(object)) {
    NSRect f = w->frame();
    *r = roundRect(f.minX(), f.minY(), f.maxX(), f.maxY());
    return true;
  }
  NSView* view = swell::scrollRule(dynamic_cast<NSView*>(object));
  if (!view) return false;
  *r = viewRectOnScreen(view);
  return true;
}

void GetClientRect(HWND hwnd, RECT* r) {
  if (!r) return;
  *r = RECT{};
  NSView* view = swell::scrollRule(swell::windowRule(swell::objectFromHandle(hwnd)));
  if (!view) return;
  NSRect b = view->bounds();
  *r = roundRect(b.minX(), b.minY(), b.maxX(), b.maxY());
  // The window procedure may take a non-client border off; the origin stays.
  if (auto* entry = dynamic_cast<SwellMessageEntry*>(view)) {
    platform::Ref<NSView> keep(view);
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = *r;
    entry->onSwellMessage(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
    // A handler that leaves the edges crossed leaves an empty client area.
    std::int64_t width = std::int64_t{params.rgrc[0].right} - params.rgrc[0].left;
    std::int64_t height = std::int64_t{params.rgrc[0].bottom} - params.rgrc[0].top;
    r->right = static_cast<LONG>(
        std::clamp<std::int64_t>(r->left + std::max<std::int64_t>(width, 0), INT32_MIN, INT32_MAX));
    r->bottom = static_cast<LONG>(
        std::clamp<std::int64_t>(r->top + std::max<std::int64_t>(height, 0), INT32_MIN, INT32_MAX));
  }
}

void GetWindowContentViewRect(HWND hwnd, RECT* r) {
  if (!r) return;
  NSObject* object = swell::contentViewRule(swell::objectFromHandle(hwnd));
  auto* window = dynamic_cast<NSWindow*>(object);
  if (window && window->contentView()) {
    *r = viewRectOnScreen(window->contentView());
    return;
  }
  GetWindowRect(hwnd, r);
}

void ClientToScreen(HWND hwnd, POINT* p) {
  if (!p) return;
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return;
  platform::NSPoint pt = view->convertPointToView({double(p->x), double(p->y)}, nullptr);
  if (NSWindow* w = view->window()) pt = w->convertPointToScreen(pt);
  p->x = swell::roundCoordinate(pt.x);
  p->y = swell::roundCoordinate(pt.y);
}

void SWELL_GetViewPort(RECT* r, const RECT* sourcerect, bool wantWork) {
  if (!r) return;
  const auto& screens = platform::NSScreen::screens();
  if (screens.empty()) {
    *r = kNoScreenViewPort;
    return;
  }
  platform::NSPoint centre{0, 0};
  if (sourcerect) {
    // Summed in 64 bits: two edges near the 32-bit limits must not overflow.
    centre = {static_cast<double>((std::int64_t{sourcerect->left} + sourcerect->right) / 2),
              static_cast<double>((std::int64_t{sourcerect->top} + sourcerect->bottom) / 2)};
  }
  const platform::NSScreen* chosen = &screens.front();
  for (const auto& s : screens)
    if (platform::NSPointInRect(centre, s.frame)) {
      chosen = &s;
      break;
    }
  NSRect f = wantWork ? chosen->visibleFrame : chosen->frame;
  *r = roundRect(f.minX(), f.minY(), f.maxX(), f.maxY());
}

BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  NSObject* object = swell::contentViewRule(swell::objectFromHandle(hwnd));
  if (!object) return 0;
  platform::Ref<NSObject> keep(object);
  auto* view = swell::scrollRule(dynamic_cast<NSView*>(object));
  auto* window = dynamic_cast<NSWindow*>(object);
  if (!view && !window) return 0;
  if (view && !(flags & SWP_NOZORDER)) reorder(view, after);
  if ((flags & SWP_NOMOVE) && (flags & SWP_NOSIZE)) return 1;

  // Positions and sizes pass through single precision, as the native frames hold them.
  NSRect frame = view ? view->frame() : window->frame();
  if (!(flags & SWP_NOMOVE))
    frame.origin = {static_cast<double>(static_cast<float>(x)),
                    static_cast<double>(static_cast<float>(y))};
  if (!(flags & SWP_NOSIZE)) {
    // A negative width is no width; a negative height counts by its size.
    frame.size = {std::max(0.0, static_cast<double>(static_cast<float>(cx))),
                  std::fabs(static_cast<double>(static_cast<float>(cy)))};
  }
  if (view) {
    view->setFrame(frame);
    if (auto* scroll = dynamic_cast<platform::NSScrollView*>(view)) fitScrolledText(scroll);
    return 1;
  }
  if (!(flags & SWP_NOSIZE)) {
    platform::NSSize lo = window->minSize(), hi = window->maxSize();
    frame.size = {limit(frame.size.width, lo.width, hi.width),
                  limit(frame.size.height, lo.height, hi.height)};
  }
  window->setFrame(frame, false);
  window->display();
  return 1;
}

bool SWELL_GetDesiredControlSize(HWND hwnd, RECT* r) {
  auto* control = swell::objectFromHandleAs<platform::NSControl>(hwnd);
  if (!control || !r) return false;
  platform::NSSize size = control->fittingSize();
  *r = roundRect(0, 0, size.width, size.height);
  return true;
}
