#include "windowing/views/ListView.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Log.h"
#include "platform/core/ScrollView.h"
#include "platform/drawing/GraphicsContext.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/drawing/Bitmaps.h"
#include "windowing/views/ListViewCells.h"

using platform::NSRect;
using platform::NSTableColumn;
using platform::Ref;

Swell_vCorvaneBrisko_listview::Swell_vCorvaneBrisko_listview() {
  setDataSource(this);
  setAllowsMultipleSelection(true);
}

void Swell_vCorvaneBrisko_listview::dealloc() {
  m_items.clear();
  m_cols.clear();
  m_selColors.clear();
  NSTableView::dealloc();
}

const char* Swell_vCorvaneBrisko_listview::swellGetClass() const {
  return m_lbMode ? "SysListView32_LB" : "SysListView32";
}

bool Swell_vCorvaneBrisko_listview::isSingleSelection() const {
  return isListBox() ? !(style & LBS_EXTENDEDSEL) : (style & LVS_SINGLESEL) != 0;
}

int Swell_vCorvaneBrisko_listview::swellColumnIndex(const NSTableColumn* column) const {
  auto it = std::find(m_cols.begin(), m_cols.end(), column);
  return it == m_cols.end() ? -1 : static_cast<int>(it - m_cols.begin());
}

LPARAM Swell_vCorvaneBrisko_listview::swellItemParam(int row) {
  if (isOwnerData()) {
    if (row < 0 || row >= ownermode_cnt) return 0;
    NMLVDISPINFO info;
    info.hdr = {swell::handleFromObject(this), static_cast<UINT_PTR>(tag()), LVN_GETDISPINFO};
    info.item.mask = LVIF_PARAM;
    info.item.iItem = row;
    notify(info.hdr);
    return info.item.lParam;
  }
  Row* r = rowAt(row);
  return r ? r->param : 0;
}

void Swell_vCorvaneBrisko_listview::swellSuppressSelectionReports(bool raise) {
  if (raise)
    ++m_selectionReports;
  else if (m_selectionReports > 0)
    --m_selectionReports;
}

void Swell_vCorvaneBrisko_listview::swellSetSelectionColors(std::vector<platform::NSColor> colors) {
  m_selColors = std::move(colors);
  setNeedsDisplay(true);
}

void Swell_vCorvaneBrisko_listview::swellSetTextColor(platform::NSColor color) {
  m_fgColor = color;
  setNeedsDisplay(true);
}

int Swell_vCorvaneBrisko_listview::getColumnPos(int index) const {
  if (index < 0 || index >= static_cast<int>(m_cols.size())) return index;
  return static_cast<int>(columnIndexOf(m_cols[static_cast<std::size_t>(index)]));
}

int Swell_vCorvaneBrisko_listview::getColumnIdx(int position) const {
  NSTableColumn* column = columnAt(position);
  if (!column) return position;
  return swellColumnIndex(column);
}

int Swell_vCorvaneBrisko_listview::logicalColumnAtPoint(platform::NSPoint p) const {
  long position = columnAtPoint(p);
  return position < 0 ? -1 : swellColumnIndex(columnAt(position));
}

NSTableColumn* Swell_vCorvaneBrisko_listview::logicalColumn(int index) const {
  if (index < 0 || index >= static_cast<int>(m_cols.size())) return nullptr;
  return m_cols[static_cast<std::size_t>(index)];
}

int Swell_vCorvaneBrisko_listview::rowCount() const {
  return isOwnerData() ? ownermode_cnt : m_items.size();
}

Swell_vCorvaneBrisko_listview::Row* Swell_vCorvaneBrisko_listview::rowAt(int index) {
  return m_items.at(index);
}

const Swell_vCorvaneBrisko_listview::Row* Swell_vCorvaneBrisko_listview::rowAt(int index) const {
  return m_items.at(index);
}

int Swell_vCorvaneBrisko_listview::insertRow(int index, std::string_view first, LPARAM param,
                                             int image) {
  int count = m_items.size();
  // Room for every column's text at once, so setting them moves nothing.
  index = m_items.insert(index, first, param, image, static_cast<int>(m_cols.size()));
  if (index < 0) return -1;
  // Rows after the new one keep their selection, one index further on.
  if (index < count) insertRows(index, 1);
  reloadData();
  return index;
}

bool Swell_vCorvaneBrisko_listview::deleteRow(int index) {
  if (!m_items.erase(index)) return false;
  swellSuppressSelectionReports(true);
  removeRows(index, 1);
  swellSuppressSelectionReports(false);
  return true;
}

void Swell_vCorvaneBrisko_listview::deleteAllRows() {
  ownermode_cnt = 0;
  m_items.clear();
  swellSuppressSelectionReports(true);
  deselectAll();
  swellSuppressSelectionReports(false);
  reloadData();
}

int Swell_vCorvaneBrisko_listview::sortedPlace(const char* text, bool descending) const {
  // Bisection over the first texts; an equal row met by the search gets the new row
  // before it.
  int lo = 0, hi = m_items.size();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    const char* other = rowText(*rowAt(mid), 0).data();
    int c = descending ? std::strcmp(other, text) : std::strcmp(text, other);
    if (c == 0) return mid;
    if (c < 0)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo;
}

void Swell_vCorvaneBrisko_listview::selectRowQuietly(int row, bool select) {
  if (row < 0 || isRowSelected(row) == select) return;
  swellSuppressSelectionReports(true);
  if (select)
    selectRowIndexes(platform::NSIndexSet(static_cast<std::size_t>(row)), !isSingleSelection());
  else
    deselectRow(row);
  swellSuppressSelectionReports(false);
}

platform::NSImage* Swell_vCorvaneBrisko_listview::imageForNumber(int number) const {
  if (!m_status_imagelist || number < 1) return nullptr;
  return swell::imageListImage(m_status_imagelist, number - 1);
}

LRESULT Swell_vCorvaneBrisko_listview::notify(NMHDR& header) {
  auto* entry = dynamic_cast<SwellMessageEntry*>(target());
  if (!entry || !platform::isLiveObject(target())) return 0;
  Ref<platform::NSObject> keep(target());
  return entry->onSwellMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

LRESULT Swell_vCorvaneBrisko_listview::notifyList(UINT code, int item, int subItem,
                                                  platform::NSPoint at, LPARAM param) {
  NMLISTVIEW nm;
  nm.hdr = {swell::handleFromObject(this), static_cast<UINT_PTR>(tag()), code};
  nm.iItem = item;
  nm.iSubItem = subItem;
  nm.ptAction = {static_cast<LONG>(std::floor(at.x + 0.5)),
                 static_cast<LONG>(std::floor(at.y + 0.5))};
  nm.lParam = param;
  return notify(nm.hdr);
}

bool Swell_vCorvaneBrisko_listview::askOwnerData(int row, int subItem, std::string* text,
                                                 int* image) {
  if (!isOwnerData() || row < 0 || row >= ownermode_cnt) return false;
  char buffer[kOwnerDataTextSize] = {};
  NMLVDISPINFO info;
  info.hdr = {swell::handleFromObject(this), static_cast<UINT_PTR>(tag()), LVN_GETDISPINFO};
  info.item.mask = LVIF_TEXT;
  if (m_status_imagelist_type == LVSIL_STATE) info.item.mask |= LVIF_STATE;
  if (m_status_imagelist_type == LVSIL_SMALL) info.item.mask |= LVIF_IMAGE;
  info.item.iItem = row;
  info.item.iSubItem = subItem;
  info.item.pszText = buffer;
  info.item.cchTextMax = kOwnerDataTextSize - 1;
  info.item.iImage = -1;
  notify(info.hdr);
  // Whatever the parent wrote, the text ends inside the buffer.
  buffer[kOwnerDataTextSize - 1] = 0;
  *text = buffer;
  if (m_status_imagelist_type == LVSIL_STATE)
    *image = static_cast<int>((info.item.state >> 16) & 0xFF);
  else if (m_status_imagelist_type == LVSIL_SMALL)
    *image = info.item.iImage + 1;
  else
    *image = 0;
  return true;
}

long Swell_vCorvaneBrisko_listview::numberOfRowsInTableView(platform::NSTableView*) {
  return rowCount();
}

std::string Swell_vCorvaneBrisko_listview::tableViewObjectValue(platform::NSTableView*,
                                                                NSTableColumn* column, long row) {
  int index = swellColumnIndex(column);
  std::string text;
  int image = 0;
  if (isOwnerData()) {
    askOwnerData(static_cast<int>(row), index, &text, &image);
  } else if (Row* r = rowAt(static_cast<int>(row))) {
    text = rowText(*r, index);
    if (m_status_imagelist_type == LVSIL_STATE || m_status_imagelist_type == LVSIL_SMALL)
      image = r->image;
  }
  if (auto* owner = dynamic_cast<Swell_vCorvaneBrisko_ODlistviewcell*>(column->dataCell()))
    owner->setItemIdx(static_cast<int>(row));
  if (!isListBox() && m_status_imagelist)
    if (auto* status = dynamic_cast<Swell_vCorvaneBrisko_statuscell*>(column->dataCell()))
      status->setStatusImage(imageForNumber(image));
  return text;
}

void Swell_vCorvaneBrisko_listview::highlightSelectionInClipRect(const NSRect& clip) {
  std::size_t entry = swell::objectFromHandle(GetFocus()) == this ? 0 : 2;
  if (m_selColors.size() <= entry) {
    NSTableView::highlightSelectionInClipRect(clip);
    return;
  }
  platform::CGContext* cg = platform::NSGraphicsContext::currentContext();
  if (!cg) return;
  const platform::NSColor& c = m_selColors[entry];
  auto [first, count] = rowsInRect(clip);
  for (long row = first; row < first + count; ++row) {
    if (!isRowSelected(row)) continue;
    NSRect r = platform::NSIntersectionRect(rectOfRow(row), clip);
    if (r.isEmpty()) continue;
    cg->setFillColor(c.red, c.green, c.blue, c.alpha);
    cg->fillRect(r);
  }
}

void Swell_vCorvaneBrisko_listview::drawRect(const NSRect& dirtyRect) {
  if (!m_redrawOff) NSTableView::drawRect(dirtyRect);
}

namespace swell {

Swell_vCorvaneBrisko_listview* listViewOf(HWND h) {
  return objectFromHandleAs<Swell_vCorvaneBrisko_listview>(h);
}

}  // namespace swell
