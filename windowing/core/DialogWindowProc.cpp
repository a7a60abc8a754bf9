#include "platform/core/Window.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/Painting.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/Shapes.h"
#include "windowing/kernel/OsVersion.h"

namespace {

// Platform versions before 10.5 and from 10.10 on paint the dialog face themselves;
// then only the view's own opacity counts.
bool systemPaintsBackground() {
  int version = SWELL_GetOSXVersion();
  return version < 0x1050 || version >= 0x10A0;
}

void paintBackground(HWND hwnd, DLGPROC dlgproc) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(hwnd);
  if (!view) return;
  bool opaque = view->isOpaque();
  platform::NSWindow* window = view->window();
  if (!systemPaintsBackground() && !opaque && window && window->contentView())
    opaque = window->contentView()->isOpaque();
  bool isContentView = window && window->contentView() == view;
  if (!isContentView && !opaque) return;
  PAINTSTRUCT ps;
  if (!BeginPaint(hwnd, &ps)) return;
  const RECT& r = ps.rcPaint;
  if (r.left < r.right && r.top < r.bottom) {
    LRESULT brush = dlgproc(hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(ps.hdc),
                            reinterpret_cast<LPARAM>(hwnd));
    if (brush != 0 && brush != 1)
      SWELL_FillRect(ps.hdc, &r, reinterpret_cast<HBRUSH>(brush));
    else if (opaque)
      SWELL_FillDialogBackground(ps.hdc, &r, 3);
  }
  EndPaint(hwnd, &ps);
}

}  // namespace

LRESULT SWELL_DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto dlgproc = reinterpret_cast<DLGPROC>(GetWindowLong(hwnd, DWL_DLGPROC));
  if (!dlgproc) return DefWindowProc(hwnd, msg, wParam, lParam);
  if (msg == WM_PAINT && dlgproc(hwnd, WM_ERASEBKGND, 0, 0) == 0) paintBackground(hwnd, dlgproc);
  LRESULT result = dlgproc(hwnd, msg, wParam, lParam);
  if (result) return result;
  return DefWindowProc(hwnd, msg, wParam, lParam);
}
