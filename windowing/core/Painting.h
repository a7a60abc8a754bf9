#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSView;
}

namespace swell {
// Marks every enclosing window object as having a descendant to draw, stopping at the
// first that already knows.
void markAncestorsDirty(platform::NSView* view);
}  // namespace swell

// Invalidation and painting.
BOOL InvalidateRect(HWND hwnd, const RECT* r, int erase);
void UpdateWindow(HWND hwnd);
void SWELL_FlushWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, PAINTSTRUCT* ps);
// Draws the view through Metal: mode 1 straight into the layer's drawables, 2 (or more)
// through a texture of its own, a negative mode only gives it a plain layer. Returns the
// view's mode afterwards: the first one given sticks, 0 without Metal.
int SWELL_EnableMetal(HWND hwnd, int mode);
int ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
