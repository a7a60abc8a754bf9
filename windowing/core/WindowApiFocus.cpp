#include "platform/core/Application.h"
#include "platform/core/Text.h"
#include "platform/core/TextField.h"
#include "platform/core/Window.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSView;
using platform::NSWindow;

HWND GetFocus() {
  NSWindow* key = platform::NSApp() ? platform::NSApp()->keyWindow() : nullptr;
  if (!key) return nullptr;
  auto* view = dynamic_cast<NSView*>(key->firstResponder());
  if (!view) return nullptr;
  // The field editor stands in for the text field it edits, which lies above it.
  if (view == key->fieldEditor(false, nullptr)) {
    for (NSView* v = view->superview(); v; v = v->superview())
      if (platform::isKindOf<platform::NSTextField>(v)) return reinterpret_cast<HWND>(v);
  }
  return reinterpret_cast<HWND>(view);
}

void ScreenToClient(HWND hwnd, POINT* p) {
  if (!p) return;
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return;
  platform::NSPoint pt{double(p->x), double(p->y)};
  if (NSWindow* w = view->window()) pt = w->convertPointFromScreen(pt);
  pt = view->convertPointFromView(pt, nullptr);
  p->x = swell::roundCoordinate(pt.x);
  p->y = swell::roundCoordinate(pt.y);
}
