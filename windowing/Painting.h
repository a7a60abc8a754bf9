#pragma once

#include "windowing/Win32Types.h"

// Invalidation and painting, window properties, and the default window procedure.
BOOL InvalidateRect(HWND hwnd, const RECT* r, int erase);
void UpdateWindow(HWND hwnd);
void SWELL_FlushWindow(HWND hwnd);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, PAINTSTRUCT* ps);
int ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scrollRect, const RECT* clipRect);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL SetProp(HWND hwnd, const char* name, HANDLE value);
HANDLE GetProp(HWND hwnd, const char* name);
HANDLE RemoveProp(HWND hwnd, const char* name);
int EnumPropsEx(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam);
