#pragma once

#include "windowing/Win32Types.h"

// Invalidation, paint information, window properties and the default window procedure.
BOOL InvalidateRect(HWND hwnd, const RECT* r, int erase);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, PAINTSTRUCT* ps);
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL SetProp(HWND hwnd, const char* name, HANDLE value);
HANDLE GetProp(HWND hwnd, const char* name);
HANDLE RemoveProp(HWND hwnd, const char* name);
int EnumPropsEx(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam);
