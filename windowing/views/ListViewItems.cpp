#include <algorithm>
#include <cstring>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/views/ListView.h"
#include "windowing/views/ListViewCells.h"

using platform::NSIndexSet;
using platform::Ref;
using Row = Swell_vCorvaneBrisko_listview::Row;

namespace {
constexpr UINT kImageBitsShift = 16;
}  // namespace

void ListView_SetItemText(HWND h, int item, int subItem, const char* text) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || list->isOwnerData()) return;
  if (!list->rowAt(item) || subItem < 0 ||
      (subItem > 0 && subItem >= static_cast<int>(list->m_cols.size())))
    return;
  if (list->m_items.setText(item, subItem, text ? text : "")) list->setNeedsDisplay(true);
}

void ListView_GetItemText(HWND h, int item, int subItem, char* text, int capacity) {
  LVITEM it;
  it.mask = LVIF_TEXT;
  it.iItem = item;
  it.iSubItem = subItem;
  it.pszText = text;
  it.cchTextMax = capacity;
  ListView_GetItem(h, &it);
}

bool ListView_GetItem(HWND h, LVITEM* item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !item) return false;
  bool wantText = (item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0;
  if (wantText) item->pszText[0] = 0;
  item->state = 0;
  if (list->isOwnerData()) {
    if (item->iItem < 0 || item->iItem >= list->ownermode_cnt) return false;
    UINT asked = item->mask & (LVIF_PARAM | (wantText ? LVIF_TEXT : 0));
    if (asked) {
      NMLVDISPINFO info;
      info.hdr = {swell::handleFromObject(list), static_cast<UINT_PTR>(list->tag()),
                  LVN_GETDISPINFO};
      info.item.mask = asked;
      info.item.iItem = item->iItem;
      info.item.iSubItem = item->iSubItem;
      info.item.pszText = wantText ? item->pszText : nullptr;
      info.item.cchTextMax = wantText ? item->cchTextMax : 0;
      list->notify(info.hdr);
      // The answer ends inside the caller's buffer whatever the parent wrote.
      if (wantText) item->pszText[item->cchTextMax - 1] = 0;
      if (item->mask & LVIF_PARAM) item->lParam = info.item.lParam;
    }
  } else {
    Row* row = list->rowAt(item->iItem);
    if (!row) return false;
    if (item->mask & LVIF_PARAM) item->lParam = row->param;
    if (wantText)
      base::copyUtf8(list->rowText(*row, item->iSubItem), item->pszText,
                     static_cast<std::size_t>(item->cchTextMax));
    if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_STATEIMAGEMASK))
      item->state |= static_cast<UINT>(row->image) << kImageBitsShift;
  }
  if (item->mask & LVIF_STATE) {
    if ((item->stateMask & LVIS_SELECTED) && list->isRowSelected(item->iItem))
      item->state |= LVIS_SELECTED;
    if ((item->stateMask & LVIS_FOCUSED) && list->selectedRow() == item->iItem)
      item->state |= LVIS_FOCUSED;
  }
  return true;
}

bool ListView_SetItem(HWND h, LVITEM* item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !item) return false;
  if (list->isOwnerData()) {
    if ((item->mask & LVIF_STATE) && item->stateMask)
      list->setItemState(item->iItem, item->state, item->stateMask);
    return true;
  }
  Row* row = list->rowAt(item->iItem);
  if (!row) return false;
  // The row is written before anything else runs: a row pointer lasts only while no row
  // is added or removed.
  if (item->mask & LVIF_PARAM) row->param = item->lParam;
  const bool imageSet = (item->mask & LVIF_IMAGE) && item->iImage >= 0;
  if (imageSet) row->image = item->iImage + 1;
  if ((item->mask & LVIF_TEXT) && item->pszText)
    ListView_SetItemText(h, item->iItem, item->iSubItem, item->pszText);
  if (imageSet) list->reloadData();
  if ((item->mask & LVIF_STATE) && item->stateMask)
    list->setItemState(item->iItem, item->state, item->stateMask);
  return true;
}

void ListView_RedrawItems(HWND h, int, int) {
  if (Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h)) list->reloadData();
}

void ListView_SortItems(HWND h, PFNLVCOMPARE compare, LPARAM parameter) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || list->isListBox() || list->isOwnerData()) return;
  if (!compare) {
    base::warn("swell-cocoa", "ListView_SortItems: no comparison given; rows left as they are");
    return;
  }
  Ref<Swell_vCorvaneBrisko_listview> keep(list);
  // Selected rows stay selected in their new places, whatever the comparison does meanwhile.
  const NSIndexSet selectedBefore = list->selectedRowIndexes();
  std::vector<std::size_t> selected;
  for (const NSIndexSet::Range& range : selectedBefore.ranges())
    for (std::size_t row = range.first; row < range.end; ++row)
      selected.push_back(row);
  // The comparison may be called back into the list; it sorts the rows taken out of it.
  SwellListRows rows = std::move(list->m_items);
  NSIndexSet selection = selectedBefore;
  if (rows.sort(compare, parameter, selected)) {
    selection = NSIndexSet();
    for (std::size_t row : selected)
      selection.addIndex(row);
  }
  // Rows the comparison added meanwhile stay after the sorted ones.
  if (!rows.appendCopies(list->m_items))
    base::warn("swell-cocoa", "ListView_SortItems: rows added while sorting were lost");
  list->m_items = std::move(rows);
  list->swellSuppressSelectionReports(true);
  list->selectRowIndexes(selection, false);
  list->swellSuppressSelectionReports(false);
  list->reloadData();
}

void ListView_SetImageList(HWND h, HIMAGELIST images, int which) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list) return;
  list->m_status_imagelist = images;
  list->m_status_imagelist_type = which;
  if (platform::NSTableColumn* first = list->logicalColumn(0)) {
    Ref<Swell_vCorvaneBrisko_statuscell> cell =
        Ref<Swell_vCorvaneBrisko_statuscell>::adopt(new Swell_vCorvaneBrisko_statuscell);
    cell->setWraps(false);
    cell->setAlignment(first->dataCell()->alignment());
    first->setDataCell(cell.get());
  }
  list->reloadData();
}

void ListView_SetExtendedListViewStyleEx(HWND h, int mask, int style) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list) return;
  if (mask & LVS_EX_GRIDLINES)
    list->setGridStyleMask((style & LVS_EX_GRIDLINES)
                               ? platform::NSTableViewSolidVerticalGridLineMask |
                                     platform::NSTableViewSolidHorizontalGridLineMask
                               : platform::NSTableViewGridNone);
  if (mask & LVS_EX_HEADERDRAGDROP)
    list->setAllowsColumnReordering((style & LVS_EX_HEADERDRAGDROP) != 0);
}

void SWELL_SetListViewFastClickMask(HWND h, int mask) {
  if (Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h))
    list->m_fastClickMask = static_cast<unsigned>(mask);
}

void ListView_SetBkColor(HWND h, COLORREF color) {
  if (Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h))
    list->setBackgroundColor(swell::colorFromRGB(color));
}

void ListView_SetTextBkColor(HWND, COLORREF) {}

void ListView_SetTextColor(HWND h, COLORREF color) {
  if (auto* view = swell::objectFromHandleAs<SwellViewColors>(h))
    view->swellSetTextColor(swell::colorFromRGB(color));
}

void ListView_SetGridColor(HWND h, COLORREF color) {
  if (Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h))
    list->setGridColor(swell::colorFromRGB(color));
}

void ListView_SetSelColors(HWND h, COLORREF* colors, int count) {
  auto* view = swell::objectFromHandleAs<SwellViewColors>(h);
  // A negative count or no colours store nothing.
  if (!view || !colors || count < 0) return;
  std::vector<platform::NSColor> list;
  for (int i = 0; i < count; ++i)
    list.push_back(swell::colorFromRGB(colors[i]));
  view->swellSetSelectionColors(std::move(list));
}
