#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Cursor.h"
#include "platform/core/Window.h"
#include "windowing/core/Capture.h"
#include "windowing/core/DragOut.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSEvent;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// A forwarded mouse move is handled by the view it was forwarded to, not sent on again.
bool gForwardingMouseMove = false;

class ForwardingScope {
 public:
  ForwardingScope() : mPrevious(gForwardingMouseMove) { gForwardingMouseMove = true; }
  ~ForwardingScope() { gForwardingMouseMove = mPrevious; }
  ForwardingScope(const ForwardingScope&) = delete;
  ForwardingScope& operator=(const ForwardingScope&) = delete;

 private:
  bool mPrevious;
};

bool isWheelMessage(UINT msg) {
  return msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL;
}

// The wheel step as the high word of wParam: 60 per line, limited in floating point to
// what 16 bits hold, packed unsigned. NaN counts as no movement.
WPARAM wheelParameter(double delta) {
  double steps = std::isnan(delta) ? 0.0 : delta * 60.0;
  steps = std::fmax(-32768.0, std::fmin(32767.0, steps));
  return swell::makeWParam(0, static_cast<std::int16_t>(steps));
}

// The messages after which the cursor is asked for.
bool asksForCursor(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

Swell_vCorvaneBrisko_hwnd* captureInSameWindow(const Swell_vCorvaneBrisko_hwnd* view) {
  auto* holder = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(GetCapture());
  if (!holder || holder == view || holder->window() != view->window()) return nullptr;
  return holder;
}

// Brings the view's window forward as the key window (a right or middle press in a
// window that is not key).
void bringWindowForward(NSView* view) {
  NSWindow* w = view->window();
  if (w && !w->isKeyWindow()) SetFocus(swell::handleFromObject(w));
}

}  // namespace

LRESULT SWELL_SendMouseMessage(Swell_vCorvaneBrisko_hwnd* view, UINT msg, const NSEvent& event) {
  if (!view || !platform::isLiveObject(view)) return 0;
  Ref<NSView> keep(view);
  if (Swell_vCorvaneBrisko_hwnd* holder = captureInSameWindow(view))
    return SWELL_SendMouseMessage(holder, msg, event);
  if (view->swellHasBeenDestroyed() || !view->getSwellWindowProc()) return -1;
  HWND hwnd = swell::handleFromObject(view);

  platform::NSPoint p = swell::mouseEventToClientPoint(view, event);
  LPARAM clientPoint = swell::packPoint(swell::roundCoordinate(p.x), swell::roundCoordinate(p.y));

  if (isWheelMessage(msg)) {
    double delta = msg == WM_MOUSEWHEEL ? event.deltaY : event.deltaX;
    return view->onSwellMessage(msg, wheelParameter(delta), swell::messagePos());
  }

  bool captured = GetCapture() != nullptr;
  LRESULT hit = HTCLIENT;
  if (!captured) {
    hit = view->onSwellMessage(WM_NCHITTEST, 0, swell::messagePos());
    if (view->swellHasBeenDestroyed()) return -1;
    if (hit != HTCLIENT && msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK)
      return view->onSwellMessage(msg - kNonClientMouseOffset, static_cast<WPARAM>(hit),
                                  swell::messagePos());
  }

  LRESULT result = view->onSwellMessage(msg, 0, clientPoint);
  if (asksForCursor(msg) && !captured) {
    LPARAM lParam = swell::makeLParam(hit, msg);
    LRESULT answer = 0;
    if (!view->swellHasBeenDestroyed() && view->getSwellWindowProc())
      answer = view->onSwellMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), lParam);
    if (answer == 0) swell::setArrowCursorUnlessCurrent();
  }
  return result;
}

void Swell_vCorvaneBrisko_hwnd::sendButtonMessage(UINT msg, const NSEvent& e) {
  SWELL_SendMouseMessage(this, msg, e);
}

void Swell_vCorvaneBrisko_hwnd::mouseDown(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  Ref<NSView> keep(this);
  SWELL_FinishDragDrop();
  m_isfakerightmouse = 0;
  if ((e.modifierFlags & platform::NSEventModifierFlagControl) &&
      SWELL_IsRightClickEmulateEnabled()) {
    rightMouseDown(e);
    if (e.clickCount == 1) m_isfakerightmouse = 1;
    return;
  }
  sendButtonMessage(e.clickCount > 1 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, e);
}

void Swell_vCorvaneBrisko_hwnd::mouseUp(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  if (m_isfakerightmouse) {
    rightMouseUp(e);
    return;
  }
  sendButtonMessage(WM_LBUTTONUP, e);
}

void Swell_vCorvaneBrisko_hwnd::mouseDragged(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  sendButtonMessage(WM_MOUSEMOVE, e);
  // A drag must not lose the cursor the window chose.
  platform::NSCursor* chosen = swell::lastSetCursor();
  if (chosen && platform::isLiveObject(chosen) && platform::NSCursor::currentCursor() != chosen)
    chosen->set();
}

void Swell_vCorvaneBrisko_hwnd::rightMouseDown(const NSEvent& e) {
  if (!canDeliver()) return;
  Ref<NSView> keep(this);
  m_isfakerightmouse = 0;
  bringWindowForward(this);
  sendButtonMessage(e.clickCount >= 2 ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN, e);
}

void Swell_vCorvaneBrisko_hwnd::rightMouseUp(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  m_isfakerightmouse = 0;
  sendButtonMessage(WM_RBUTTONUP, e);
}

void Swell_vCorvaneBrisko_hwnd::rightMouseDragged(const NSEvent& e) {
  mouseDragged(e);
}

void Swell_vCorvaneBrisko_hwnd::otherMouseDown(const NSEvent& e) {
  if (!canDeliver()) return;
  Ref<NSView> keep(this);
  bringWindowForward(this);
  sendButtonMessage(e.clickCount >= 2 ? WM_MBUTTONDBLCLK : WM_MBUTTONDOWN, e);
}

void Swell_vCorvaneBrisko_hwnd::otherMouseUp(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  sendButtonMessage(WM_MBUTTONUP, e);
}

void Swell_vCorvaneBrisko_hwnd::otherMouseDragged(const NSEvent& e) {
  mouseDragged(e);
}

void Swell_vCorvaneBrisko_hwnd::scrollWheel(const NSEvent& e) {
  if (!canDeliver() || m_enabled == 0) return;
  Ref<NSView> keep(this);
  // NaN is no movement, as 0 is.
  if (e.deltaY != 0 && !std::isnan(e.deltaY)) sendButtonMessage(WM_MOUSEWHEEL, e);
  if (e.deltaX != 0 && !std::isnan(e.deltaX) && canDeliver()) sendButtonMessage(WM_MOUSEHWHEEL, e);
}

void Swell_vCorvaneBrisko_hwnd::mouseMoved(const NSEvent& e) {
  Ref<NSView> keep(this);
  NSWindow* eventWindow = e.window && platform::isLiveObject(e.window) ? e.window : nullptr;
  if (!gForwardingMouseMove && eventWindow) {
    platform::NSApplication* app = platform::NSApp();
    platform::NSPoint screen = eventWindow->convertPointToScreen(e.locationInWindow);
    if (!GetCapture()) {
      std::vector<NSWindow*> order = app->orderedWindows();
      NSWindow* key = app->keyWindow();
      if (key && std::find(order.begin(), order.end(), key) == order.end())
        order.insert(order.begin(), key);
      NSWindow* under = nullptr;
      for (NSWindow* w : order)
        if (w->isVisible() && !w->ignoresMouseEvents() &&
            platform::NSPointInRect(screen, w->frame())) {
          under = w;
          break;
        }
      if (under && under != eventWindow && !app->modalWindow()) {
        Ref<NSWindow> keepUnder(under);
        platform::NSPoint there = under->convertPointFromScreen(screen);
        NSView* content = under->contentView();
        NSView* target =
            dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(content) ? content->hitTest(there) : nullptr;
        if (target) {
          NSEvent forwarded = e;
          forwarded.window = under;
          forwarded.locationInWindow = there;
          Ref<NSView> keepTarget(target);
          ForwardingScope scope;
          target->mouseMoved(forwarded);
        } else {
          swell::setArrowCursorUnlessCurrent();
        }
        return;
      }
    }
    if (NSView* content = eventWindow->contentView()) {
      NSView* target = content->hitTest(e.locationInWindow);
      if (target && target != this) {
        Ref<NSView> keepTarget(target);
        ForwardingScope scope;
        target->mouseMoved(e);
        return;
      }
    }
  }
  if (!canDeliver() || m_enabled == 0) return;
  HWND capture = GetCapture();
  if (!capture || capture == self()) SWELL_SendMouseMessage(this, WM_MOUSEMOVE, e);
}
