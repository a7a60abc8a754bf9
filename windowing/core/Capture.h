#pragma once

#include "windowing/Win32Types.h"

// Mouse capture: one window at a time; a capturer that asks for notices is told with
// WM_CAPTURECHANGED when it loses the capture.
HWND SetCapture(HWND hwnd);
HWND GetCapture();
void ReleaseCapture();
