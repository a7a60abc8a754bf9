#pragma once

#include "platform/core/OpenGL.h"
#include "windowing/Win32Types.h"

// What a window view of the layer tells the drawing layer; the window object implements
// it and the drawing layer reaches it with dynamic_cast.
class SwellDrawingSurface {
 public:
  virtual ~SwellDrawingSurface() = default;
  // The context of a running BeginPaint; null outside painting.
  virtual HDC swellPaintContext() const = 0;
  // The OpenGL context the view's owner draws into, when it asked for one.
  platform::NSOpenGLContext* swellGetGLContext() const { return m_glctx.get(); }

  platform::Ref<platform::NSOpenGLContext> m_glctx;
};

// Contexts for drawing into a window outside its paint: the running paint context when
// there is one, else a context over the window's backing store.
HDC GetDC(HWND hwnd);
// As GetDC, with the origin moved to the view's bounds origin.
HDC GetWindowDC(HWND hwnd);
// Ends a GetDC context; the paint context stays alive for EndPaint.
void ReleaseDC(HWND hwnd, HDC hdc);
// Whether the window draws at more than 1.9 device pixels per point.
bool SWELL_IsRetinaHWND(HWND hwnd);
