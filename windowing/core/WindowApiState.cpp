#include "platform/core/Control.h"
#include "platform/core/Window.h"
#include "windowing/core/TopLevelWindow.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// EnableWindow's value for "enabled, but taking the focus only as a content view".
constexpr int kEnableWithoutFocus = -1000;

void showTopLevel(NSWindow* window, int cmd) {
  switch (cmd) {
    case SW_HIDE:
      window->orderOut();
      break;
    case SW_SHOWNA: {
      // A window whose dialog procedure asked for the focus takes it when first shown.
      auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
      if (top && top->swellWantInitialKeyWindowOnShow()) {
        top->swellSetWantInitialKeyWindowOnShow(false);
        window->makeKeyAndOrderFront();
      } else {
        window->orderFront();
      }
      break;
    }
    case SW_SHOW:
      window->makeKeyAndOrderFront();
      break;
    case SW_SHOWMINIMIZED:
      window->miniaturize();
      break;
    default:
      break;
  }
}

void showView(NSView* view, int cmd) {
  bool isContent = swell::isContentView(view);
  NSView* target = isContent ? view : swell::scrollRule(view);
  if (cmd == SW_SHOWNA || cmd == SW_SHOW) {
    target->setHidden(false);
  } else if (cmd == SW_HIDE) {
    if (NSWindow* w = target->window()) {
      auto* focus = dynamic_cast<NSView*>(w->firstResponder());
      if (focus && focus->isDescendantOf(target)) w->makeFirstResponder(nullptr);
    }
    if (!isContent && !target->isHidden()) {
      if (NSView* parent = target->superview()) parent->setNeedsDisplayInRect(target->frame());
      target->setHidden(true);
    }
  }
}

}  // namespace

void ShowWindow(HWND hwnd, int cmd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return;
  Ref<NSObject> keep(object);
  if (auto* view = dynamic_cast<NSView*>(object)) {
    showView(view, cmd);
    // A content view passes the command on to its window.
    if (!swell::isContentView(view)) return;
    object = view->window();
  }
  if (auto* window = dynamic_cast<NSWindow*>(object)) {
    Ref<NSWindow> keepWindow(window);
    showTopLevel(window, cmd);
  }
}

BOOL IsWindowVisible(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return 0;
  if (auto* w = dynamic_cast<NSWindow*>(object)) return w->isVisible() ? 1 : 0;
  if (auto* v = dynamic_cast<NSView*>(object))
    return v->window() && v->window()->isVisible() && !v->isHiddenOrHasHiddenAncestor() ? 1 : 0;
  return 1;
}

void EnableWindow(HWND hwnd, int enable) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view)) {
    if (enable == kEnableWithoutFocus)
      w->setEnabledSwellNoFocus();
    else
      w->setEnabled(enable != 0);
  } else if (auto* control = dynamic_cast<platform::NSControl*>(view)) {
    control->setEnabled(enable != 0);
  }
}

BOOL IsWindowEnabled(HWND hwnd) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view)) return w->enabledState() != 0;
  if (auto* control = dynamic_cast<platform::NSControl*>(view)) return control->isEnabled();
  return 0;
}

void SetFocus(HWND hwnd) {
  NSObject* object = swell::objectFromHandle(hwnd);
  if (!object) return;
  Ref<NSObject> keep(object);
  if (auto* window = dynamic_cast<NSWindow*>(object)) {
    if (NSView* content = window->contentView(); content && content->acceptsFirstResponder())
      window->makeFirstResponder(content);
    if (window->isVisible()) window->makeKeyAndOrderFront();
  } else if (auto* view = dynamic_cast<NSView*>(object)) {
    NSWindow* own = view->window();
    if (!own) return;
    Ref<NSWindow> keepWindow(own);
    if (own->isVisible()) own->makeKeyAndOrderFront();
    // Asking a view that refuses would still take the focus from the present holder.
    if (view->acceptsFirstResponder()) own->makeFirstResponder(view);
  }
}

void SetForegroundWindow(HWND hwnd) {
  SetFocus(hwnd);
}
