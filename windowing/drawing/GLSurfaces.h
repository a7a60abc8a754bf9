#pragma once

#include "platform/drawing/ColorSpace.h"
#include "windowing/Win32Types.h"

class SwellDrawingSurface;

// OpenGL contexts of window views: the view's owner draws into them directly; what it
// drew is read back into the view's layer when the paint ends or on flushBuffer.

// Makes the view's context current (true); a null handle clears the current context.
bool SWELL_SetGLContextToView(HWND hwnd);
// Gives the view a context (wantGL nonzero; 2 at the window's full backing resolution)
// or takes it away (0).
void SWELL_SetViewGL(HWND hwnd, char wantGL);
bool SWELL_GetViewGL(HWND hwnd);
// The colour space of blitted images (made once).
platform::CGColorSpace* SWELL_GetDisplayColorSpace();

namespace swell {
// The paint sequence's part: the view's GL context attached to the paint context, made
// current and sized; at the end its pixels read back and no context left current.
void beginPaintGL(HDC hdc, SwellDrawingSurface* surface);
void endPaintGL(HDC hdc);
}  // namespace swell
