#pragma once

#include "windowing/Win32Types.h"

// The window API: finding windows and their relations, texts and numbers, visibility,
// state and focus, geometry, and top-level windows. Every function takes null or a
// stale handle and answers with the Win32 failure value (0, null, false or nothing).

// Window fields by index (GWL_*, DWL_DLGPROC, extra words from 0).
LONG_PTR GetWindowLong(HWND hwnd, int index);
LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value);

// Finding and relations.
HWND GetDlgItem(HWND hwnd, int id);
HWND GetWindow(HWND hwnd, int cmd);
HWND GetParent(HWND hwnd);
BOOL IsChild(HWND parent, HWND child);
BOOL IsWindow(HWND hwnd);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
BOOL EnumChildWindows(HWND hwnd, WNDENUMPROC proc, LPARAM lParam);
HWND FindWindowEx(HWND parent, HWND after, const char* className, const char* title);
HWND SWELL_GetScrollRuleView(HWND hwnd);
HWND GetForegroundWindow();
HWND WindowFromPoint(POINT p);

// Texts and numbers.
BOOL GetDlgItemText(HWND hwnd, int id, char* buffer, int size);
BOOL SetDlgItemText(HWND hwnd, int id, const char* text);
int GetWindowTextLength(HWND hwnd);
BOOL SetDlgItemInt(HWND hwnd, int id, int value, BOOL isSigned);
int GetDlgItemInt(HWND hwnd, int id, BOOL* ok, BOOL isSigned);
void CheckDlgButton(HWND hwnd, int id, int state);
int IsDlgButtonChecked(HWND hwnd, int id);
int GetClassName(HWND hwnd, char* buffer, int size);
void SWELL_SetClassName(HWND hwnd, const char* name);
bool SWELL_IsButton(HWND hwnd);
bool SWELL_IsStaticText(HWND hwnd);
bool SWELL_IsGroupBox(HWND hwnd);

// Visibility, state and focus.
void ShowWindow(HWND hwnd, int cmd);
BOOL IsWindowVisible(HWND hwnd);
void EnableWindow(HWND hwnd, int enable);
BOOL IsWindowEnabled(HWND hwnd);
void SetFocus(HWND hwnd);
void SetForegroundWindow(HWND hwnd);

// Geometry. Screen coordinates have y pointing up.
bool GetWindowRect(HWND hwnd, RECT* r);
void GetClientRect(HWND hwnd, RECT* r);
void GetWindowContentViewRect(HWND hwnd, RECT* r);
void ClientToScreen(HWND hwnd, POINT* p);
void SWELL_GetViewPort(RECT* r, const RECT* sourcerect, bool wantWork);
BOOL SetWindowPos(HWND hwnd, HWND after, int x, int y, int cx, int cy, UINT flags);
bool SWELL_GetDesiredControlSize(HWND hwnd, RECT* r);

// Top-level windows.
BOOL DestroyWindow(HWND hwnd);
void SWELL_CloseWindow(HWND hwnd);
void SWELL_HideApp();
// A modeless window around an existing view, which becomes its content view.
HWND SWELL_CreateModelessWindowForChild(HWND child, HWND owner, unsigned styleMask);
void SWELL_SetCollectionBehaviorForWindow(HWND window);
HWND SetParent(HWND hwnd, HWND newParent);
void* SWELL_ModalWindowStart(HWND hwnd);
bool SWELL_ModalWindowRun(void* session, int* result);
void SWELL_ModalWindowEnd(void* session);
int SWELL_GetWindowWantRaiseAmt(HWND hwnd);
void SWELL_SetWindowWantRaiseAmt(HWND hwnd, int amount);
int SWELL_SetWindowLevel(HWND hwnd, int level);
void SetOpaque(HWND hwnd, bool opaque);
int SWELL_GetDefaultButtonID(HWND hwnd, bool onlyEnabled);
void SWELL_SetWindowRepre(HWND hwnd, const char* path, bool edited);
void SWELL_SetWindowTransparent(HWND hwnd);
void SWELL_SetWindowShadow(HWND hwnd, bool shadow);
bool SWELL_SetMenuBarAndDockHiding(int mode);
bool SWELL_IsFieldEditorOf(HWND a, HWND b);
BOOL SWELL_GetGestureInfo(LPARAM lParam, GESTUREINFO* info);
