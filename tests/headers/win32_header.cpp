// A program of the windowing layer: its window procedure and a dialog it runs.
#include "windowing/Win32.h"

#include "NoDrawingLibraries.h"

namespace {

LRESULT SketchProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    if (HDC dc = BeginPaint(hwnd, &ps)) {
      HBRUSH brush = CreateSolidBrush(0x1E140A);
      SWELL_FillRect(dc, &ps.rcPaint, brush);
      DeleteObject(brush);
      EndPaint(hwnd, &ps);
    }
    return 0;
  }
  return DefWindowProc(hwnd, msg, wParam, lParam);
}

}  // namespace

WNDPROC SketchWindowProcedure() {
  return &SketchProc;
}
