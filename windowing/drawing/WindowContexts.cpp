#include "windowing/drawing/WindowContexts.h"

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/DrawingRecords.h"
#include "windowing/drawing/detail/MetalSupport.h"

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
  // A Metal view's context writes into the frame the previous paint fixed.
  if (auto* metal = dynamic_cast<SwellMetalSurface*>(view); metal && metal->swellWantsMetal()) {
    metal->m_metal_dc_dirty = 2;
    return SWELL_CreateGfxContextForMetalView(swell::handleFromObject(view));
  }
  platform::CGContext* surface = view ? view->lockFocusIfCanDraw() : nullptr;
  if (!surface) return nullptr;
  HDC hdc = SWELL_CreateGfxContextForNSContext(surface);
  if (!hdc) {
    view->unlockFocus();
    return nullptr;
  }
  surface->saveGState();
  if (auto* owner = dynamic_cast<SwellDrawingSurface*>(view); owner && owner->m_glctx) {
    hdc->GLgfxctx = owner->m_glctx.get();
    owner->m_glctx->setView(view);
  }
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
  if (hdc->GLgfxctx) {
    if (platform::NSOpenGLContext::currentContext() == hdc->GLgfxctx)
      platform::NSOpenGLContext::clearCurrentContext();
    hdc->GLgfxctx = nullptr;
  }
  platform::NSObject* object = platform::liveObject(hwnd);
  platform::NSView* view = viewOf(hwnd);
  if (paintContextOf(object) == hdc || (view && paintContextOf(view) == hdc)) return;
  HWND metalView = hdc->metal_view;
  SWELL_DeleteGfxContext(hdc);
  if (metalView) {
    SwellMetalSurface* metal = swellMetalSurfaceOf(metalView);
    if (!metal || metal->m_metal_dc_dirty != 1) return;
    if (metal->m_use_metal == 1)
      base::warn("swell-cocoa",
                 "metal(1) surface %p had write in GetDC()/ReleaseDC(), this is unsupported, use a "
                 "metal(2) surface",
                 static_cast<void*>(metalView));
    SWELL_Metal_AddNeedRefresh(metalView, nullptr, true);
    return;
  }
  if (view) view->unlockFocus();
}

bool SWELL_IsRetinaHWND(HWND hwnd) {
  platform::NSObject* object = platform::liveObject(hwnd);
  auto* window = dynamic_cast<platform::NSWindow*>(object);
  if (auto* view = dynamic_cast<platform::NSView*>(object)) window = view->window();
  return window && window->backingScaleFactor() > kRetinaScale;
}
