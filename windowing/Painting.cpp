#include "windowing/Painting.h"

#include <algorithm>
#include <cstdlib>

#include "platform/View.h"
#include "platform/Window.h"
#include "windowing/WindowObject.h"

namespace {
// What the key routing reads as "not handled".
constexpr LRESULT kKeyNotHandled = 69;
}  // namespace

BOOL InvalidateRect(HWND hwnd, const RECT* r, int erase) {
  platform::NSView* view = swell::viewForHandle(hwnd);
  if (!view) return 1;
  if (!r) {
    view->setNeedsDisplay(true);
    return 1;
  }
  view->setNeedsDisplayInRect(platform::NSMakeRect(
      r->left, std::min(r->top, r->bottom), r->right - r->left, std::abs(r->bottom - r->top)));
  return 1;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps) {
  if (!ps) return nullptr;
  *ps = PAINTSTRUCT{};
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  if (!w || !w->getSwellPaintInfo(ps)) return nullptr;
  return ps->hdc;
}

BOOL EndPaint(HWND, PAINTSTRUCT*) {
  return 1;
}

LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
      return kKeyNotHandled;
    case WM_CONTEXTMENU:
    case WM_GESTURE:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // Passed up to the nearest enclosing window object; a content view passes nothing.
      auto* view = swell::objectFromHandleAs<platform::NSView>(hwnd);
      if (!view || (view->window() && view->window()->contentView() == view)) return 0;
      for (platform::NSView* v = view->superview(); v; v = v->superview())
        if (auto* entry = dynamic_cast<SwellMessageEntry*>(v))
          return entry->onSwellMessage(msg, wParam, lParam);
      return 0;
    }
    default:
      return 0;
  }
}

BOOL SetProp(HWND hwnd, const char* name, HANDLE value) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellSetProp(name, value) : 0;
}

HANDLE GetProp(HWND hwnd, const char* name) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellGetProp(name, false) : nullptr;
}

HANDLE RemoveProp(HWND hwnd, const char* name) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w && name ? w->swellGetProp(name, true) : nullptr;
}

int EnumPropsEx(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam) {
  auto* w = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  return w ? w->swellEnumProps(proc, lParam) : -1;
}
