#include <algorithm>
#include <vector>

#include "windowing/views/ListView.h"
#include "windowing/views/ListViewCells.h"

using platform::NSTableColumn;
using platform::NSTextAlignment;
using platform::Ref;

namespace {

constexpr const char* kAscendingIndicator = "NSAscendingSortIndicator";
constexpr const char* kDescendingIndicator = "NSDescendingSortIndicator";

NSTextAlignment alignmentOf(int fmt) {
  if (fmt == LVCFMT_RIGHT) return platform::NSTextAlignmentRight;
  if (fmt == LVCFMT_CENTER) return platform::NSTextAlignmentCenter;
  return platform::NSTextAlignmentLeft;
}

bool showsHeaderText(const Swell_vCorvaneBrisko_listview* list) {
  return !list->isListBox() && !(list->style & LVS_NOCOLUMNHEADER);
}

// The platform's sort indicator of a name (one reference, the caller's).
Ref<platform::NSImage> indicator(const char* name) {
  return Ref<platform::NSImage>::adopt(platform::NSImage::imageNamed(name));
}

}  // namespace

int ListView_InsertColumn(HWND h, int index, const LVCOLUMN* lvc) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !lvc) return -1;
  int count = static_cast<int>(list->m_cols.size());
  // A negative index inserts at the front.
  index = std::max(index, 0);
  // As on Windows the new column starts empty and the later ones keep their texts.
  if (index < count && !list->m_items.insertColumn(index)) return -1;
  Ref<NSTableColumn> column = Ref<NSTableColumn>::adopt(new NSTableColumn);
  column->setEditable(false);
  NSTextAlignment alignment = alignmentOf(lvc->fmt);
  column->headerCell()->setAlignment(alignment);
  if (showsHeaderText(list) && lvc->pszText) column->headerCell()->setStringValue(lvc->pszText);
  bool statusColumn = (index >= count ? count : index) == 0 && list->m_status_imagelist;
  Ref<platform::NSCell> cell =
      statusColumn ? Ref<platform::NSCell>::adopt(new Swell_vCorvaneBrisko_statuscell)
                   : Ref<platform::NSCell>::adopt(new Swell_vCorvaneBrisko_listviewcell);
  cell->setWraps(false);
  if (!statusColumn) cell->setAlignment(alignment);
  column->setDataCell(cell.get());
  list->addTableColumn(column.get());
  if (index < count) {
    list->moveColumn(list->numberOfColumns() - 1, index);
    list->m_cols.insert(list->m_cols.begin() + index, column.get());
  } else {
    index = count;
    list->m_cols.push_back(column.get());
  }
  if (lvc->mask & LVCF_WIDTH) ListView_SetColumnWidth(h, index, lvc->cx);
  return index;
}

bool ListView_DeleteColumn(HWND h, int index) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column) return false;
  list->m_cols.erase(list->m_cols.begin() + index);
  // The rows lose that column's text, so the later columns keep theirs.
  list->m_items.eraseColumn(index);
  list->removeTableColumn(column);
  return true;
}

void ListView_SetColumn(HWND h, int index, const LVCOLUMN* lvc) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column || !lvc) return;
  if (lvc->mask & LVCF_FMT) {
    column->headerCell()->setAlignment(alignmentOf(lvc->fmt));
    column->dataCell()->setAlignment(alignmentOf(lvc->fmt));
  }
  if (lvc->mask & LVCF_WIDTH) ListView_SetColumnWidth(h, index, lvc->cx);
  if ((lvc->mask & LVCF_TEXT) && showsHeaderText(list))
    column->headerCell()->setStringValue(lvc->pszText ? lvc->pszText : "");
  list->setNeedsDisplay(true);
  if (list->headerView()) list->headerView()->setNeedsDisplay(true);
}

int ListView_GetColumnWidth(HWND h, int index) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column || column->isHidden()) return 0;
  return static_cast<int>(column->width() + 0.5);
}

void ListView_SetColumnWidth(HWND h, int index, int width) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column) return;
  // Width 0 hides the column.
  if (width == 0) {
    column->setHidden(true);
    return;
  }
  column->setHidden(false);
  column->setWidth(width);
}

bool ListView_GetColumnOrderArray(HWND h, int count, int* order) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !order || count != static_cast<int>(list->m_cols.size())) return false;
  for (int i = 0; i < count; ++i)
    order[i] = list->getColumnPos(i);
  return true;
}

bool ListView_SetColumnOrderArray(HWND h, int count, const int* order) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !order || count != static_cast<int>(list->m_cols.size())) return false;
  // Only a permutation of 0..count-1 says where every column goes.
  std::vector<int> wanter(static_cast<std::size_t>(count), -1);
  for (int i = 0; i < count; ++i) {
    if (order[i] < 0 || order[i] >= count || wanter[static_cast<std::size_t>(order[i])] >= 0)
      return false;
    wanter[static_cast<std::size_t>(order[i])] = i;
  }
  for (int position = 0; position < count; ++position) {
    NSTableColumn* column = list->logicalColumn(wanter[static_cast<std::size_t>(position)]);
    list->moveColumn(list->columnIndexOf(column), position);
  }
  return true;
}

HWND ListView_GetHeader(HWND h) {
  return swell::listViewOf(h) ? h : nullptr;
}

int Header_GetItemCount(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  return list ? static_cast<int>(list->m_cols.size()) : 0;
}

bool Header_GetItem(HWND h, int index, HDITEM* item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column || !item) return false;
  if (item->mask & HDI_FORMAT) {
    platform::NSImage* shown = list->indicatorImageInTableColumn(column);
    item->fmt = 0;
    if (shown && shown == indicator(kAscendingIndicator).get())
      item->fmt = HDF_SORTUP;
    else if (shown && shown == indicator(kDescendingIndicator).get())
      item->fmt = HDF_SORTDOWN;
  }
  return true;
}

bool Header_SetItem(HWND h, int index, const HDITEM* item) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  NSTableColumn* column = list ? list->logicalColumn(index) : nullptr;
  if (!column || !item) return false;
  if (item->mask & HDI_FORMAT) {
    Ref<platform::NSImage> image;
    if (item->fmt & HDF_SORTUP)
      image = indicator(kAscendingIndicator);
    else if (item->fmt & HDF_SORTDOWN)
      image = indicator(kDescendingIndicator);
    list->setIndicatorImage(image.get(), column);
  }
  return true;
}

int SWELL_GetListViewHeaderHeight(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  platform::NSTableHeaderView* header = list ? list->headerView() : nullptr;
  if (!header || header->isHidden()) return 0;
  return static_cast<int>(header->frame().size.height + 0.5);
}
