#include <algorithm>

#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/views/ListView.h"

using platform::NSIndexSet;
using platform::Ref;
using Row = Swell_vCorvaneBrisko_listview::Row;

namespace {
constexpr UINT kImageBitsShift = 16;
constexpr UINT kImageNumberMask = 0xFF;
constexpr UINT kStateHighBits = 0xFFFF0000u;
}  // namespace

bool Swell_vCorvaneBrisko_listview::setItemState(int item, UINT state, UINT mask) {
  Ref<Swell_vCorvaneBrisko_listview> keep(this);
  bool single = isSingleSelection();
  if (item < 0) {
    NSIndexSet before = selectedRowIndexes();
    if (mask & LVIS_SELECTED) {
      swellSuppressSelectionReports(true);
      if (!(state & LVIS_SELECTED))
        deselectAll();
      else if (single)
        mask &= ~LVIS_SELECTED;
      else
        selectAll();
      swellSuppressSelectionReports(false);
    }
    int count = rowCount();
    ++m_bulkDepth;
    if (UINT others = mask & ~LVIS_SELECTED)
      for (int row = 0; row < count; ++row)
        setItemState(row, state, others);
    if (mask & LVIS_SELECTED) {
      for (int row = 0; row < count; ++row) {
        bool was = before.containsIndex(static_cast<std::size_t>(row));
        bool now = isRowSelected(row);
        if (was == now) continue;
        NMLISTVIEW nm;
        nm.hdr = {swell::handleFromObject(this), static_cast<UINT_PTR>(tag()), LVN_ITEMCHANGED};
        nm.iItem = row;
        nm.uNewState = now ? LVIS_SELECTED : 0;
        SendMessage(GetParent(swell::handleFromObject(this)), WM_NOTIFY, nm.hdr.idFrom,
                    reinterpret_cast<LPARAM>(&nm));
      }
    }
    --m_bulkDepth;
    reloadData();
    return true;
  }
  if (item >= rowCount()) return false;
  bool imageChanged = false;
  Row* row = rowAt(item);
  if ((mask & LVIS_STATEIMAGEMASK) && row) {
    int image = static_cast<int>((state >> kImageBitsShift) & kImageNumberMask);
    imageChanged = image != row->image;
    row->image = image;
  }
  if (mask & LVIS_SELECTED) {
    bool select = (state & LVIS_SELECTED) != 0;
    if (select != isRowSelected(item)) {
      selectRowQuietly(item, select);
      if (!m_bulkDepth && !m_sendingItemChanged) {
        m_sendingItemChanged = true;
        NMLISTVIEW nm;
        nm.hdr = {swell::handleFromObject(this), static_cast<UINT_PTR>(tag()), LVN_ITEMCHANGED};
        nm.iItem = item;
        nm.uNewState = state;
        SendMessage(GetParent(swell::handleFromObject(this)), WM_NOTIFY, nm.hdr.idFrom,
                    reinterpret_cast<LPARAM>(&nm));
        m_sendingItemChanged = false;
      }
    }
  }
  if (imageChanged) reloadData();
  return true;
}

int ListView_InsertItem(HWND h, const LVITEM* item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  // A null item or a sub-item is no row: -1, since 0 would name the first row.
  if (!list || !item || item->iSubItem != 0 || list->isOwnerData()) return -1;
  const char* text = (item->mask & LVIF_TEXT) && item->pszText ? item->pszText : "";
  int count = list->m_items.size();
  int place = item->iItem < 0 ? 0 : std::min(item->iItem, count);
  if (!list->isListBox() && (item->mask & LVIF_TEXT)) {
    if (list->style & LVS_SORTASCENDING)
      place = list->sortedPlace(text, false);
    else if (list->style & LVS_SORTDESCENDING)
      place = list->sortedPlace(text, true);
  }
  int image = 0;
  if ((item->mask & LVIF_STATE) && (item->stateMask & kStateHighBits))
    image = static_cast<int>((item->state >> kImageBitsShift) & kImageNumberMask);
  place = list->insertRow(place, text, (item->mask & LVIF_PARAM) ? item->lParam : 0, image);
  if (place < 0) return -1;
  if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_SELECTED) &&
      (item->state & LVIS_SELECTED))
    list->selectRowQuietly(place, true);
  return place;
}

bool ListView_DeleteItem(HWND h, int item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list && list->deleteRow(item);
}

void ListView_DeleteAllItems(HWND h) {
  if (Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h)) list->deleteAllRows();
}

bool ListView_SetItemState(HWND h, int item, UINT state, UINT mask) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list && list->setItemState(item, state, mask);
}

UINT ListView_GetItemState(HWND h, int item, UINT mask) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || item < 0 || item >= list->rowCount()) return 0;
  UINT state = 0;
  Row* row = list->rowAt(item);
  if ((mask & LVIS_STATEIMAGEMASK) && row)
    state |= static_cast<UINT>(row->image) << kImageBitsShift;
  if ((mask & LVIS_SELECTED) && list->isRowSelected(item)) state |= LVIS_SELECTED;
  if ((mask & LVIS_FOCUSED) && list->selectedRow() == item) state |= LVIS_FOCUSED;
  return state;
}

int ListView_GetNextItem(HWND h, int start, int flags) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list) return -1;
  if (flags == LVNI_FOCUSED) return static_cast<int>(list->selectedRow());
  if (flags != LVNI_SELECTED) return -1;
  const NSIndexSet& selection = list->selectedRowIndexes();
  std::size_t next = start < 0 ? selection.firstIndex()
                               : selection.indexGreaterThanIndex(static_cast<std::size_t>(start));
  return next == NSIndexSet::NSNotFound ? -1 : static_cast<int>(next);
}

int ListView_GetItemCount(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list ? list->rowCount() : 0;
}

void ListView_SetItemCount(HWND h, int count) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !list->isOwnerData() || count < 0) return;
  list->ownermode_cnt = count;
  list->noteNumberOfRowsChanged();
}

int ListView_GetSelectedCount(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list ? static_cast<int>(list->numberOfSelectedRows()) : 0;
}

int ListView_GetSelectionMark(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list ? static_cast<int>(list->selectedRow()) : -1;
}
