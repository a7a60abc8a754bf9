#pragma once

#include "windowing/Win32Types.h"

// Invalidation and painting.
BOOL InvalidateRect(HWND hwnd, const RECT* r, int erase);
void UpdateWindow(HWND hwnd);
void SWELL_FlushWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, PAINTSTRUCT* ps);
int ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
