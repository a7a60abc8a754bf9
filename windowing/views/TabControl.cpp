#include "windowing/views/TabControlObject.h"

#include <algorithm>

#include "base/Log.h"
#include "windowing/core/Painting.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowObject.h"

namespace {

// The display area's inset from a window rectangle: the sides, the tab row and the
// bottom edge.
constexpr LONG kSideInset = 7;
constexpr LONG kTopInset = 26;
constexpr LONG kBottomInset = 3;

Swell_vCorvaneBrisko_tabview* tabViewFor(HWND hwnd, const char* call) {
  auto* tabs = swell::objectFromHandleAs<Swell_vCorvaneBrisko_tabview>(hwnd);
  if (!tabs) base::warn("swell-cocoa", "%s: %p is not a tab control", call, (void*)hwnd);
  return tabs;
}

}  // namespace

void Swell_vCorvaneBrisko_tabview::tabViewDidSelectTabViewItem(platform::NSTabView*,
                                                               platform::NSTabViewItem*) {
  if (!m_dest) return;
  NMHDR header;
  header.hwndFrom = swell::handleFromObject(this);
  header.idFrom = static_cast<UINT_PTR>(m_tag);
  header.code = TCN_SELCHANGE;
  SendMessage(m_dest, WM_NOTIFY, static_cast<WPARAM>(m_tag), reinterpret_cast<LPARAM>(&header));
}

int TabCtrl_GetItemCount(HWND hwnd) {
  auto* tabs = tabViewFor(hwnd, "TabCtrl_GetItemCount");
  return tabs ? tabs->numberOfTabViewItems() : 0;
}

int TabCtrl_InsertItem(HWND hwnd, int index, TCITEM* item) {
  auto* tabs = tabViewFor(hwnd, "TabCtrl_InsertItem");
  if (!tabs) return -1;
  if (!item || !(item->mask & TCIF_TEXT) || !item->pszText) {
    base::warn("swell-cocoa", "TabCtrl_InsertItem: no text given");
    return -1;
  }
  const int position = index < 0 ? 0 : std::min(index, tabs->numberOfTabViewItems());
  auto made =
      platform::Ref<platform::NSTabViewItem>::adopt(new platform::NSTabViewItem(item->pszText));
  // The first tab becomes selected as it goes in; that is no change of the user's.
  const HWND dest = tabs->getNotificationWindow();
  tabs->setNotificationWindow(nullptr);
  tabs->insertTabViewItem(made.get(), position);
  tabs->setNotificationWindow(dest);
  return position;
}

BOOL TabCtrl_DeleteItem(HWND hwnd, int index) {
  auto* tabs = tabViewFor(hwnd, "TabCtrl_DeleteItem");
  if (!tabs) return FALSE;
  platform::NSTabViewItem* item = tabs->tabViewItemAtIndex(index);
  if (!item) return FALSE;
  tabs->removeTabViewItem(item);
  return TRUE;
}

int TabCtrl_SetCurSel(HWND hwnd, int index) {
  auto* tabs = tabViewFor(hwnd, "TabCtrl_SetCurSel");
  if (!tabs) return -1;
  const int previous = std::max(0, tabs->indexOfSelectedTabViewItem());
  tabs->selectTabViewItemAtIndex(index);
  return previous;
}

int TabCtrl_GetCurSel(HWND hwnd) {
  auto* tabs = tabViewFor(hwnd, "TabCtrl_GetCurSel");
  return tabs ? std::max(0, tabs->indexOfSelectedTabViewItem()) : 0;
}

BOOL TabCtrl_AdjustRect(HWND hwnd, BOOL larger, RECT* rect) {
  if (!tabViewFor(hwnd, "TabCtrl_AdjustRect") || !rect) return FALSE;
  const LONG sign = larger ? -1 : 1;
  rect->left += sign * kSideInset;
  rect->right -= sign * kSideInset;
  rect->top += sign * kTopInset;
  rect->bottom -= sign * kBottomInset;
  return TRUE;
}
