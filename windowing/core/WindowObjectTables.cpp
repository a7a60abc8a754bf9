#include "platform/core/Application.h"
#include "platform/tables/TableView.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"

using platform::NSObject;
using platform::NSView;
using platform::Ref;

namespace {

// The control id as the cell display notification carries it.
constexpr UINT_PTR kCustomDrawIdMask = 0xFFFF;
// Column clicks are not reported for a list with this style (no sort header).
constexpr LONG kNoSortHeaderStyle = 0x8000;

SwellListViewReports* listOf(NSObject* table) {
  return dynamic_cast<SwellListViewReports*>(table);
}

NMHDR headerOf(platform::NSControl* control, UINT code) {
  return {swell::handleFromObject(control), static_cast<UINT_PTR>(control->tag()), code};
}

// Whether the event being handled happened over the table's column titles.
bool currentEventInHeader(platform::NSTableView* table) {
  const platform::NSEvent* e = platform::NSApp()->currentEvent();
  platform::NSTableHeaderView* header = table->headerView();
  if (!e || !header || !header->window() || header->window() != e->window) return false;
  return platform::NSPointInRect(header->convertPointFromView(e->locationInWindow, nullptr),
                                 header->bounds());
}

}  // namespace

LRESULT Swell_vCorvaneBrisko_hwnd::sendNotify(const NMHDR& header) {
  return onSwellMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void Swell_vCorvaneBrisko_hwnd::tableViewSelectionDidChange(platform::NSTableView* table) {
  if (!canDeliver()) return;
  SwellListViewReports* list = listOf(table);
  // The list reports the changes it makes itself.
  if (list && list->swellSelectionReportsSuppressed()) return;
  Ref<NSView> keep(this);
  Ref<platform::NSTableView> keepTable(table);
  if (list) list->swellSuppressSelectionReports(true);
  if (list && list->getSwellNotificationMode()) {
    sendCommand(table->tag(), LBN_SELCHANGE, table);
  } else {
    NMLISTVIEW nm;
    nm.hdr = headerOf(table, LVN_ITEMCHANGED);
    nm.iItem = static_cast<int>(table->selectedRow());
    sendNotify(nm.hdr);
  }
  if (list) list->swellSuppressSelectionReports(false);
}

void Swell_vCorvaneBrisko_hwnd::tableViewDidClickTableColumn(platform::NSTableView* table,
                                                             platform::NSTableColumn* column) {
  SwellListViewReports* list = listOf(table);
  auto* style = dynamic_cast<SwellStyleHolder*>(table);
  if (!canDeliver() || !list || !list->swellHasColumnList() || list->getSwellNotificationMode() ||
      (style && (style->swellGetStyle() & kNoSortHeaderStyle)))
    return;
  Ref<NSView> keep(this);
  NMLISTVIEW nm;
  nm.hdr = headerOf(table, LVN_COLUMNCLICK);
  nm.iItem = -1;
  nm.iSubItem = list->swellColumnIndex(column);
  sendNotify(nm.hdr);
}

void Swell_vCorvaneBrisko_hwnd::tableViewWillDisplayCell(platform::NSTableView* table,
                                                         platform::NSCell* cell,
                                                         platform::NSTableColumn* column,
                                                         long row) {
  SwellListViewReports* list = listOf(table);
  auto* textCell = dynamic_cast<platform::NSTextFieldCell*>(cell);
  if (!list) return;
  COLORREF answered = CLR_NONE;
  if (canDeliver()) {
    NMLVCUSTOMDRAW nm;
    nm.nmcd.hdr = headerOf(table, NM_CUSTOMDRAW);
    nm.nmcd.hdr.idFrom &= kCustomDrawIdMask;
    nm.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
    nm.nmcd.dwItemSpec = static_cast<DWORD_PTR>(row);
    nm.clrText = CLR_NONE;
    nm.iSubItem = list->swellHasColumnList() ? list->swellColumnIndex(column) : 0;
    Ref<NSView> keep(this);
    sendNotify(nm.nmcd.hdr);
    answered = nm.clrText;
  }
  if (!textCell) return;
  if (answered != CLR_NONE) {
    textCell->setTextColor(swell::colorFromRGB(answered));
    return;
  }
  const std::vector<platform::NSColor>& colors = list->swellSelectionColors();
  if (!colors.empty() && table->isRowSelected(row)) {
    std::size_t pair = swell::objectFromHandle(GetFocus()) == table ? 0 : 1;
    if (colors.size() >= 2 * pair + 2) {
      textCell->setTextColor(colors[2 * pair + 1]);
      return;
    }
  }
  // One cell draws every row of a column: a row without a colour of its own gets the
  // list's, or the default, never the one the row before it had.
  textCell->setTextColor(list->swellTextColor().value_or(platform::NSColor::textColor()));
}

void Swell_vCorvaneBrisko_hwnd::swellOnControlDoubleClick(NSObject* sender) {
  auto* table = dynamic_cast<platform::NSTableView*>(sender);
  if (!canDeliver() || !table) return;
  Ref<NSView> keep(this);
  Ref<NSObject> keepSender(sender);
  SwellListViewReports* list = listOf(table);
  if (list && list->getSwellNotificationMode()) {
    sendCommand(table->tag(), LBN_DBLCLK, table);
    return;
  }
  long row = table->clickedRow();
  if (row < 0 && currentEventInHeader(table)) return;
  NMITEMACTIVATE nm;
  nm.hdr = headerOf(table, NM_DBLCLK);
  nm.iItem = static_cast<int>(row);
  long column = table->clickedColumn();
  nm.iSubItem = list ? list->swellColumnIndex(table->columnAt(column)) : static_cast<int>(column);
  if (list && row >= 0) nm.lParam = list->swellItemParam(static_cast<int>(row));
  sendNotify(nm.hdr);
}
