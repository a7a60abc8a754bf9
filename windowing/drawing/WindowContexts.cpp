#include "windowing/drawing/WindowContexts.h"

#include "platform/View.h"
#include "platform/Window.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {

constexpr double kRetinaScale = 1.9;

// The view a handle stands for: a view, or a window's content view; null otherwise.
platform::NSView* viewOf(HWND hwnd) {
  platform::NSObject* object = platform::liveObject(hwnd);
  if (auto* window = dynamic_cast<platform::NSWindow*>(object)) return window->contentView();
  return dynamic_cast<platform::NSView*>(object);
}

// The live paint context of a window or view, when one is painting.
HDC paintContextOf(platform::NSObject* object) {
  auto* surface = dynamic_cast<SwellDrawingSurface*>(object);
  HDC hdc = surface ? surface->swellPaintContext() : nullptr;
  return swell::isLiveDC(hdc) ? hdc : nullptr;
}

}  // namespace

HDC GetDC(HWND hwnd) {
  platform::NSObject* object = platform::liveObject(hwnd);
  if (!object) return nullptr;
  platform::NSView* view = viewOf(hwnd);
  HDC paint = paintContextOf(object);
  if (!paint && view) paint = paintContextOf(view);
  if (paint) {
    // ReleaseDC restores this.
    if (paint->ctx) paint->ctx->saveGState();
    return paint;
  }
  platform::CGContext* surface = view ? view->lockFocusIfCanDraw() : nullptr;
  if (!surface) return nullptr;
  HDC hdc = SWELL_CreateGfxContextForNSContext(surface);
  if (!hdc) {
    view->unlockFocus();
    return nullptr;
  }
  surface->saveGState();
  return hdc;
}

HDC GetWindowDC(HWND hwnd) {
  HDC hdc = GetDC(hwnd);
  platform::NSView* view = viewOf(hwnd);
  if (hdc && hdc->ctx && view) {
    const platform::NSPoint origin = view->bounds().origin;
    if (origin.x != 0 || origin.y != 0) hdc->ctx->translate(origin.x, origin.y);
  }
  return hdc;
}

void ReleaseDC(HWND hwnd, HDC hdc) {
  if (!swell::isLiveDC(hdc)) return;
  if (hdc->ctx) hdc->ctx->restoreGState();
  platform::NSObject* object = platform::liveObject(hwnd);
  platform::NSView* view = viewOf(hwnd);
  if (paintContextOf(object) == hdc || (view && paintContextOf(view) == hdc)) return;
  SWELL_DeleteGfxContext(hdc);
  if (view) view->unlockFocus();
}

bool SWELL_IsRetinaHWND(HWND hwnd) {
  platform::NSObject* object = platform::liveObject(hwnd);
  auto* window = dynamic_cast<platform::NSWindow*>(object);
  if (auto* view = dynamic_cast<platform::NSView*>(object)) window = view->window();
  return window && window->backingScaleFactor() > kRetinaScale;
}
