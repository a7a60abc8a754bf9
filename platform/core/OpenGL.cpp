#include "platform/core/OpenGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/drawing/Layer.h"

namespace platform {

namespace {

// The largest buffer side asked of the driver.
constexpr int kMaxBufferSide = 16384;

struct EglDisplay {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLConfig config = nullptr;
  bool ready = false;
};

const EglDisplay& eglDisplay() {
  static EglDisplay shared;
  static std::once_flag once;
  std::call_once(once, [] {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return;
    EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0, minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
      base::warn("platform", "NSOpenGLContext: no EGL display (error 0x%x)", eglGetError());
      return;
    }
    const EGLint attributes[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_ALPHA_SIZE,
                                 8,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_NONE};
    EGLint count = 0;
    if (!eglBindAPI(EGL_OPENGL_API) ||
        !eglChooseConfig(display, attributes, &shared.config, 1, &count) || count < 1) {
      base::warn("platform", "NSOpenGLContext: no OpenGL pixel-buffer configuration");
      return;
    }
    shared.display = display;
    shared.ready = true;
  });
  return shared;
}

thread_local NSOpenGLContext* tCurrent = nullptr;

}  // namespace

bool NSOpenGLContext::available() {
  return eglDisplay().ready;
}

NSOpenGLContext* NSOpenGLContext::create(NSOpenGLPixelFormat* format, NSOpenGLContext* share) {
  const EglDisplay& egl = eglDisplay();
  if (!egl.ready) return nullptr;
  eglBindAPI(EGL_OPENGL_API);
  EGLContext context =
      eglCreateContext(egl.display, egl.config, share ? share->mContext : EGL_NO_CONTEXT, nullptr);
  if (context == EGL_NO_CONTEXT) {
    base::warn("platform", "NSOpenGLContext: context refused (error 0x%x)", eglGetError());
    return nullptr;
  }
  auto* result = new NSOpenGLContext;
  result->mContext = context;
  return result;
}

void NSOpenGLContext::setView(NSView* view) {
  mView = view;
  mViewSerial = liveObjectSerial(view);
  if (mView) {
    mView->setWantsLayer(true);
    resize();
  }
}

NSView* NSOpenGLContext::view() const {
  return mView && liveObjectSerial(mView) == mViewSerial ? mView : nullptr;
}

bool NSOpenGLContext::resize() {
  NSView* v = view();
  if (!v) return false;
  double scale = v->wantsBestResolutionOpenGLSurface() && v->window()
                     ? v->window()->backingScaleFactor()
                     : 1.0;
  double wd = std::ceil(v->bounds().size.width * scale);
  double hd = std::ceil(v->bounds().size.height * scale);
  int w = std::isfinite(wd) ? static_cast<int>(std::clamp(wd, 1.0, double(kMaxBufferSide))) : 1;
  int h = std::isfinite(hd) ? static_cast<int>(std::clamp(hd, 1.0, double(kMaxBufferSide))) : 1;
  if (mSurface && w == mWidth && h == mHeight) return true;
  const EglDisplay& egl = eglDisplay();
  bool current = tCurrent == this;
  if (current) eglMakeCurrent(egl.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (mSurface) eglDestroySurface(egl.display, mSurface);
  const EGLint size[] = {EGL_WIDTH, w, EGL_HEIGHT, h, EGL_NONE};
  mSurface = eglCreatePbufferSurface(egl.display, egl.config, size);
  if (mSurface == EGL_NO_SURFACE) {
    base::warn("platform", "NSOpenGLContext: no %d x %d buffer (error 0x%x)", w, h, eglGetError());
    mSurface = nullptr;
    mWidth = mHeight = 0;
  } else {
    mWidth = w;
    mHeight = h;
  }
  if (current) eglMakeCurrent(egl.display, mSurface, mSurface, mContext);
  return mSurface != nullptr;
}

void NSOpenGLContext::makeCurrentContext() {
  const EglDisplay& egl = eglDisplay();
  resize();
  eglBindAPI(EGL_OPENGL_API);
  if (eglMakeCurrent(egl.display, mSurface ? mSurface : EGL_NO_SURFACE,
                     mSurface ? mSurface : EGL_NO_SURFACE, mContext))
    tCurrent = this;
}

NSOpenGLContext* NSOpenGLContext::currentContext() {
  return tCurrent;
}

void NSOpenGLContext::clearCurrentContext() {
  if (!tCurrent) return;
  eglMakeCurrent(eglDisplay().display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  tCurrent = nullptr;
}

void NSOpenGLContext::update() {
  resize();
}

void NSOpenGLContext::flushBuffer() {
  NSView* v = view();
  if (!v || !mSurface || tCurrent != this) return;
  glFinish();
  cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, mWidth, mHeight);
  if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(image);
    return;
  }
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  int stride = cairo_image_surface_get_stride(image);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, stride / 4);
  // GL rows run bottom up; BGRA bytes are what a Cairo pixel holds on this machine.
  glReadPixels(0, 0, mWidth, mHeight, GL_BGRA, GL_UNSIGNED_BYTE, data);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  std::vector<unsigned char> swap(static_cast<std::size_t>(stride));
  for (int y = 0; y < mHeight / 2; ++y) {
    unsigned char* a = data + static_cast<std::size_t>(y) * stride;
    unsigned char* b = data + static_cast<std::size_t>(mHeight - 1 - y) * stride;
    std::memcpy(swap.data(), a, stride);
    std::memcpy(a, b, stride);
    std::memcpy(b, swap.data(), stride);
  }
  cairo_surface_mark_dirty(image);
  if (CALayer* layer = v->layer()) {
    layer->setContentsScale(mWidth / std::max(1.0, v->bounds().size.width));
    layer->setContents(image);
  }
  cairo_surface_destroy(image);
  v->setNeedsDisplay(true);
}

void NSOpenGLContext::dealloc() {
  const EglDisplay& egl = eglDisplay();
  if (tCurrent == this) clearCurrentContext();
  if (mSurface) eglDestroySurface(egl.display, mSurface);
  if (mContext) eglDestroyContext(egl.display, mContext);
  mSurface = mContext = nullptr;
  NSObject::dealloc();
}

}  // namespace platform
