#include "windowing/core/DefWindowProc.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "windowing/core/Capture.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/Painting.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// Scroll bars, and the screen size when there is no screen.
constexpr int kScrollBarSize = 16;
constexpr int kScreenSizeWithoutScreen = 1024;

// Passes a message up to the nearest enclosing window object; a content view (or a
// window) has nobody to pass it to.
LRESULT passUp(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* view = swell::objectFromHandleAs<NSView>(hwnd);
  if (!view || (view->window() && view->window()->contentView() == view)) return 0;
  for (NSView* v = view->superview(); v; v = v->superview())
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(v)) {
      Ref<NSView> keep(v);
      return entry->onSwellMessage(msg, wParam, lParam);
    }
  return 0;
}

LRESULT hitTest(HWND hwnd, LPARAM lParam) {
  RECT r{};
  if (!GetWindowRect(hwnd, &r)) return HTNOWHERE;
  // Flipped views come with their top above their bottom on the y-up screen; the test
  // is made top-down, with the point mirrored to match.
  bool mirrored = r.top > r.bottom;
  if (mirrored) std::swap(r.top, r.bottom);
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = r;
  SendMessage(hwnd, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&params));
  std::int64_t x = swell::pointX(lParam), y = swell::pointY(lParam);
  if (mirrored) y = std::int64_t{r.top} + r.bottom - y;
  const RECT& c = params.rgrc[0];
  return x >= c.left && x < c.right && y >= c.top && y < c.bottom ? HTCLIENT : HTNOWHERE;
}

// The deepest view under a screen point, in the frontmost window that holds it.
NSView* viewAtScreenPoint(platform::NSPoint screen) {
  platform::NSApplication* app = platform::NSApp();
  std::vector<NSWindow*> order = app->orderedWindows();
  if (NSWindow* key = app->keyWindow();
      key && std::find(order.begin(), order.end(), key) == order.end())
    order.insert(order.begin(), key);
  for (NSWindow* w : order) {
    if (!platform::NSPointInRect(screen, w->frame())) continue;
    NSView* content = w->contentView();
    if (!content) return nullptr;
    NSView* hit = content->hitTest(w->convertPointFromScreen(screen));
    return hit ? hit : content;
  }
  return nullptr;
}

LRESULT contextMenuFromClick(HWND hwnd, LPARAM lParam) {
  auto* view = swell::objectFromHandleAs<NSView>(hwnd);
  if (!view) return 0;
  Ref<NSView> keep(view);
  platform::NSPoint p = view->convertPointToView(
      {double(swell::pointX(lParam)), double(swell::pointY(lParam))}, nullptr);
  if (NSWindow* w = view->window()) p = w->convertPointToScreen(p);
  LONG sx = swell::roundCoordinate(p.x), sy = swell::roundCoordinate(p.y);
  NSView* under = viewAtScreenPoint({double(sx), double(sy)});
  HWND target = under && under->isDescendantOf(view) ? swell::handleFromObject(under) : hwnd;
  SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), swell::packPoint(sx, sy));
  return 1;
}

void displayChanged(HWND hwnd) {
  auto* view = swell::objectFromHandleAs<NSView>(hwnd);
  if (!view || view->subviews().empty()) return;
  Ref<NSView> keep(view);
  std::vector<Ref<NSView>> subviews(view->subviews().begin(), view->subviews().end());
  for (auto& sub : subviews)
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(sub.get()))
      entry->onSwellMessage(WM_DISPLAYCHANGE, 0, 0);
  auto dlgproc = reinterpret_cast<DLGPROC>(GetWindowLong(hwnd, DWL_DLGPROC));
  SWELL_ColorButtonSubviews(view, dlgproc, false);
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      return kSwellKeyNotHandled;
    case WM_CONTEXTMENU:
    case WM_GESTURE:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
      return passUp(hwnd, msg, wParam, lParam);
    case WM_NCHITTEST:
      return hitTest(hwnd, lParam);
    case WM_NCRBUTTONUP:
      SendMessage(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), lParam);
      return 1;
    case WM_RBUTTONUP:
      return contextMenuFromClick(hwnd, lParam);
    case WM_DISPLAYCHANGE:
      displayChanged(hwnd);
      // A Metal view may now be shown by another screen's device.
      if (auto* metal = swell::objectFromHandleAs<SwellMetalSurface>(hwnd);
          metal && metal->swellWantsMetal())
        InvalidateRect(hwnd, nullptr, 0);
      return 0;
    case WM_CTLCOLORSTATIC:
      // Only the dark appearance needs another text colour, and it is never in use here.
      return 0;
    default:
      return 0;
  }
}

void SWELL_BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  std::vector<Ref<NSWindow>> windows;
  for (NSWindow* w : platform::NSApp()->orderedWindows())
    windows.emplace_back(w);
  for (auto& w : windows) {
    if (!platform::isLiveObject(w.get())) continue;
    Ref<NSView> content(w->contentView());
    auto* entry = dynamic_cast<SwellMessageEntry*>(content.get());
    if (!entry) continue;
    entry->onSwellMessage(msg, wParam, lParam);
    if (msg == WM_DISPLAYCHANGE) InvalidateRect(swell::handleFromObject(content.get()), nullptr, 0);
  }
}

bool SWELL_RouteNonClientMouse(const platform::NSEvent& e) {
  if (GetCapture()) return false;
  switch (e.type) {
    case platform::NSEventTypeLeftMouseDown:
    case platform::NSEventTypeLeftMouseUp:
    case platform::NSEventTypeRightMouseDown:
    case platform::NSEventTypeRightMouseUp:
    case platform::NSEventTypeMouseMoved:
    case platform::NSEventTypeLeftMouseDragged:
    case platform::NSEventTypeRightMouseDragged:
      break;
    default:
      return false;
  }
  NSWindow* w = e.window && platform::isLiveObject(e.window) ? e.window : nullptr;
  NSView* content = w ? w->contentView() : nullptr;
  if (!content) return false;
  Ref<NSWindow> keep(w);
  platform::NSPoint screen = w->convertPointToScreen(e.locationInWindow);
  LPARAM where =
      swell::packPoint(swell::roundCoordinate(screen.x), swell::roundCoordinate(screen.y));
  std::vector<Ref<NSView>> chain;
  for (NSView* v = content->hitTest(e.locationInWindow); v; v = v->superview()) {
    chain.emplace_back(v);
    if (v == content) break;
  }
  NSView* chosen = nullptr;
  for (auto& v : chain)
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(v.get()))
      if (entry->onSwellMessage(WM_NCHITTEST, 0, where) >= HTCAPTION) chosen = v.get();
  if (!chosen) return false;
  switch (e.type) {
    case platform::NSEventTypeLeftMouseDown:
      chosen->mouseDown(e);
      break;
    case platform::NSEventTypeLeftMouseUp:
      chosen->mouseUp(e);
      break;
    case platform::NSEventTypeRightMouseDown:
      chosen->rightMouseDown(e);
      break;
    case platform::NSEventTypeRightMouseUp:
      chosen->rightMouseUp(e);
      break;
    case platform::NSEventTypeMouseMoved:
      chosen->mouseMoved(e);
      break;
    case platform::NSEventTypeLeftMouseDragged:
      chosen->mouseDragged(e);
      break;
    default:
      chosen->rightMouseDragged(e);
      break;
  }
  return true;
}

int GetSystemMetrics(int index) {
  const platform::NSScreen* screen = platform::NSScreen::mainScreen();
  switch (index) {
    case SM_CXSCREEN:
      return screen ? swell::roundCoordinate(screen->frame.size.width) : kScreenSizeWithoutScreen;
    case SM_CYSCREEN:
      return screen ? swell::roundCoordinate(screen->frame.size.height) : kScreenSizeWithoutScreen;
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
      return kScrollBarSize;
    case SM_CYMENU:
      return swell::roundCoordinate(platform::NSScreen::kMenuBarHeight);
    default:
      return 0;
  }
}
