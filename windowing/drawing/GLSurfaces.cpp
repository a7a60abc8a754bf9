#include "windowing/drawing/GLSurfaces.h"

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/objects/Screen.h"
#include "windowing/drawing/WindowContexts.h"
#include "windowing/drawing/detail/DrawingRecords.h"

using platform::NSOpenGLContext;
using platform::Ref;

namespace {

// Lets the driver pick an offline renderer too.
constexpr int kAllowOfflineRenderers = 96;
constexpr char kFullResolution = 2;

SwellDrawingSurface* surfaceOf(HWND hwnd) {
  return dynamic_cast<SwellDrawingSurface*>(platform::liveObject(hwnd));
}

}  // namespace

bool SWELL_SetGLContextToView(HWND hwnd) {
  if (!hwnd) {
    NSOpenGLContext::clearCurrentContext();
    return false;
  }
  SwellDrawingSurface* surface = surfaceOf(hwnd);
  if (!surface || !surface->m_glctx) return false;
  surface->m_glctx->makeCurrentContext();
  return true;
}

void SWELL_SetViewGL(HWND hwnd, char wantGL) {
  SwellDrawingSurface* surface = surfaceOf(hwnd);
  auto* view = dynamic_cast<platform::NSView*>(surface);
  if (!surface || !view || (wantGL != 0) == static_cast<bool>(surface->m_glctx)) return;
  if (!wantGL) {
    if (NSOpenGLContext::currentContext() == surface->m_glctx.get())
      NSOpenGLContext::clearCurrentContext();
    surface->m_glctx.reset();
    return;
  }
  if (wantGL == kFullResolution) view->setWantsBestResolutionOpenGLSurface(true);
  Ref<platform::NSOpenGLPixelFormat> format = Ref<platform::NSOpenGLPixelFormat>::adopt(
      new platform::NSOpenGLPixelFormat({kAllowOfflineRenderers, 0}));
  surface->m_glctx = Ref<NSOpenGLContext>::adopt(NSOpenGLContext::create(format.get(), nullptr));
  if (!surface->m_glctx)
    base::warn("swell-cocoa", "SWELL_SetViewGL: no OpenGL context for view %p",
               static_cast<void*>(hwnd));
  else
    surface->m_glctx->setView(view);
}

bool SWELL_GetViewGL(HWND hwnd) {
  SwellDrawingSurface* surface = surfaceOf(hwnd);
  return surface && surface->m_glctx;
}

platform::CGColorSpace* SWELL_GetDisplayColorSpace() {
  // Made once and kept for the life of the process.
  static platform::CGColorSpace* space = [] {
    const platform::NSScreen* main = platform::NSScreen::mainScreen();
    platform::CGColorSpace* display =
        main ? platform::CGDisplayCopyColorSpace(main->number) : nullptr;
    return display ? display : platform::CGColorSpaceCreateDeviceRGB();
  }();
  return space;
}

namespace swell {

void beginPaintGL(HDC hdc, SwellDrawingSurface* surface) {
  if (!isLiveDC(hdc) || !surface || !surface->m_glctx) return;
  NSOpenGLContext* gl = surface->m_glctx.get();
  hdc->GLgfxctx = gl;
  gl->setView(dynamic_cast<platform::NSView*>(surface));
  gl->makeCurrentContext();
  gl->update();
}

void endPaintGL(HDC hdc) {
  NSOpenGLContext* current = NSOpenGLContext::currentContext();
  if (isLiveDC(hdc) && current && current == hdc->GLgfxctx) current->flushBuffer();
  if (current) NSOpenGLContext::clearCurrentContext();
  if (isLiveDC(hdc)) hdc->GLgfxctx = nullptr;
}

}  // namespace swell
