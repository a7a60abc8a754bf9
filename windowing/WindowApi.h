#pragma once

#include "windowing/Win32Types.h"

// The window functions the window objects and dialogs need; the rest of the window API
// comes with its own issue.
LONG_PTR GetWindowLong(HWND hwnd, int index);
LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value);
BOOL DestroyWindow(HWND hwnd);
void ShowWindow(HWND hwnd, int cmd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
bool GetWindowRect(HWND hwnd, RECT* r);
void GetClientRect(HWND hwnd, RECT* r);
void SWELL_GetViewPort(RECT* r, const RECT* sourcerect, bool wantWork);
BOOL SetDlgItemText(HWND hwnd, int id, const char* text);
BOOL GetDlgItemText(HWND hwnd, int id, char* buffer, int size);
HWND GetDlgItem(HWND hwnd, int id);
void SWELL_SetClassName(HWND hwnd, const char* name);
int GetClassName(HWND hwnd, char* buffer, int size);
