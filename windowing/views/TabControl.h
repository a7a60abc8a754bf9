#pragma once

#include "windowing/Win32Types.h"

// The tab control ("SysTabControl32") and its Win32 functions. A tab change, by a click
// or by the program, sends the notification window WM_NOTIFY with TCN_SELCHANGE.

inline constexpr UINT TCN_SELCHANGE = static_cast<UINT>(-551);
inline constexpr UINT TCIF_TEXT = 1;

// A tab as TabCtrl_InsertItem reads it.
struct TCITEM {
  UINT mask = 0;
  DWORD dwState = 0;
  DWORD dwStateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
};

int TabCtrl_GetItemCount(HWND hwnd);
// Inserts a tab with the item's text at index (limited to 0..count) without notifying;
// the position, or -1 without a text.
int TabCtrl_InsertItem(HWND hwnd, int index, TCITEM* item);
BOOL TabCtrl_DeleteItem(HWND hwnd, int index);
// Selects the tab when index is in range; the previous selection (0 when none), or -1
// when hwnd is not a tab control.
int TabCtrl_SetCurSel(HWND hwnd, int index);
int TabCtrl_GetCurSel(HWND hwnd);
// Maps a window rectangle to the display area below the tabs, or back when larger.
BOOL TabCtrl_AdjustRect(HWND hwnd, BOOL larger, RECT* rect);
