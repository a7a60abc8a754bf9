#pragma once

#include "windowing/Win32Types.h"

// Shows a focus rectangle as a grey half-transparent window over the window's top-level
// window (rectangle in hwnd's client coordinates), moves it, or, for a null rectangle,
// removes it. *overlay keeps the overlay between calls; a null overlay pointer does
// nothing.
void SWELL_DrawFocusRect(HWND hwnd, RECT* rect, void** overlay);
