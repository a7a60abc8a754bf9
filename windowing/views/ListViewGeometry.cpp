#include <algorithm>
#include <cmath>

#include "platform/ScrollView.h"
#include "windowing/views/ListView.h"

using platform::NSPoint;
using platform::NSRect;

namespace {

// The area of the scroll view that shows the list, in the list's coordinates; empty when
// it is not in one. It is the clip view's whole area, also where the list is narrower (a
// report list before its first column).
NSRect shownRect(Swell_vCorvaneBrisko_listview* list) {
  platform::NSScrollView* scroll = list->enclosingScrollView();
  if (!scroll) return {};
  platform::NSClipView* clip = scroll->contentView();
  return list->convertRectFromView(clip->bounds(), clip);
}

LONG edge(double v) {
  return static_cast<LONG>(std::floor(v + 0.5));
}

}  // namespace

void ListView_EnsureVisible(HWND h, int item, BOOL) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list) return;
  int count = static_cast<int>(list->numberOfRows());
  if (count == 0) return;
  list->scrollRowToVisible(std::min(std::max(item, 0), count - 1));
}

bool ListView_Scroll(HWND h, int dx, int dy) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !list->enclosingScrollView()) return false;
  NSRect shown = shownRect(list);
  NSPoint probe = shown.origin;
  if (dx > 0) probe.x = shown.maxX() - 1;
  if (dy > 0) probe.y = shown.maxY() - 1;
  long rows = list->numberOfRows(), columns = list->numberOfColumns();
  if (rows == 0 || columns == 0) return true;
  long row = std::clamp(list->rowAtPoint(probe), 0L, rows - 1);
  long column = list->columnAtPoint(probe);
  if (column < 0) column = probe.x < 0 ? 0 : columns - 1;
  NSRect cell = list->frameOfCellAtColumn(column, row);
  // A cell is never taken as less than a point high or wide.
  if (dy != 0) {
    long step = static_cast<long>(dy / std::max(1.0, cell.size.height));
    list->scrollRowToVisible(std::clamp(row + step, 0L, rows - 1));
  }
  if (dx != 0) {
    long step = static_cast<long>(dx / std::max(1.0, cell.size.width));
    list->scrollColumnToVisible(std::clamp(column + step, 0L, columns - 1));
  }
  return true;
}

int ListView_GetTopIndex(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !list->enclosingScrollView()) return -1;
  // The header sits above the scroll view's rows, so the top row is at the visible top.
  return static_cast<int>(list->rowAtPoint({0, shownRect(list).minY()}));
}

int ListView_GetCountPerPage(HWND h) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !list->enclosingScrollView()) return 0;
  double rowHeight = std::max(1.0, std::trunc(list->rowHeight()));
  return static_cast<int>(shownRect(list).size.height / rowHeight);
}

bool ListView_GetItemRect(HWND h, int item, RECT* r, int code) {
  return ListView_GetSubItemRect(h, item, -1, code, r);
}

bool ListView_GetSubItemRect(HWND h, int item, int subItem, int, RECT* r) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !r || item < 0 || item >= list->rowCount()) return false;
  int columns = static_cast<int>(list->m_cols.size());
  if (subItem != -1 && (subItem < 0 || subItem >= columns)) return false;
  NSRect rect = subItem == -1 ? list->rectOfRow(item)
                              : list->frameOfCellAtColumn(list->getColumnPos(subItem), item);
  platform::NSSize spacing = list->intercellSpacing();
  rect.size.width += spacing.width;
  rect.size.height += spacing.height;
  *r = {edge(rect.minX()), edge(rect.minY()), edge(rect.maxX()), edge(rect.maxY())};
  return true;
}

int ListView_HitTest(HWND h, LVHITTESTINFO* info) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !info) return -1;
  info->flags = 0;
  info->iItem = -1;
  NSRect shown = shownRect(list);
  double x = std::trunc(info->pt.x - shown.origin.x), y = info->pt.y - shown.origin.y;
  if (x < 0) info->flags |= LVHT_TOLEFT;
  if (x >= shown.size.width) info->flags |= LVHT_TORIGHT;
  if (y < 0) info->flags |= LVHT_ABOVE;
  if (y >= shown.size.height) info->flags |= LVHT_BELOW;
  if (info->flags) return -1;
  NSPoint p = {static_cast<double>(info->pt.x), static_cast<double>(info->pt.y)};
  info->iItem = static_cast<int>(list->rowAtPoint(p));
  if (info->iItem < 0) {
    info->flags = LVHT_NOWHERE;
    return -1;
  }
  info->flags = LVHT_ONITEMLABEL;
  if (list->m_status_imagelist) {
    NSRect first = list->frameOfCellAtColumn(list->getColumnPos(0), info->iItem);
    if (!first.isEmpty() && p.x >= first.minX() && p.x <= first.minX() + list->rowHeight())
      info->flags = LVHT_ONITEMSTATEICON;
  }
  return info->iItem;
}

int ListView_SubItemHitTest(HWND h, LVHITTESTINFO* info) {
  Swell_vCorvaneBrisko_listview* list = swell::listViewOf(h);
  if (!list || !info) return -1;
  int item = ListView_HitTest(h, info);
  double y = info->pt.y < 0 && item < 0 ? 0 : info->pt.y;
  info->iSubItem = list->logicalColumnAtPoint({static_cast<double>(info->pt.x), y});
  return item;
}

bool SWELL_ListView_GetScrollOrigin(HWND h, POINT* p) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(h);
  if (!view || !p) return false;
  for (platform::NSView* v = view->superview(); v; v = v->superview()) {
    auto* clip = dynamic_cast<platform::NSClipView*>(v);
    if (!clip || !dynamic_cast<platform::NSScrollView*>(clip->superview())) continue;
    NSPoint origin = clip->bounds().origin;
    *p = {static_cast<LONG>(origin.x), static_cast<LONG>(origin.y)};
    return true;
  }
  *p = {0, 0};
  return false;
}
