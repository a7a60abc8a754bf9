#pragma once

#include <cstdint>

#include "platform/TabView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"

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

class Swell_vCorvaneBrisko_tabview : public SwellDirtyMarking<platform::NSTabView>,
                                     public platform::NSTabViewDelegate {
 public:
  using SwellDirtyMarking<platform::NSTabView>::SwellDirtyMarking;

  const char* swellGetClass() const { return "SysTabControl32"; }
  long tag() const override { return static_cast<long>(m_tag); }
  void setTag(std::int64_t tag) { m_tag = tag; }
  // Not retained: a window that is gone by the time of a change is not reached.
  void setNotificationWindow(HWND window) { m_dest = window; }
  HWND getNotificationWindow() const { return m_dest; }
  void tabViewDidSelectTabViewItem(platform::NSTabView* tabView,
                                   platform::NSTabViewItem* item) override;

 private:
  std::int64_t m_tag = 0;
  HWND m_dest = nullptr;
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
