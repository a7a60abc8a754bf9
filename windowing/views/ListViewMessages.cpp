#include <strings.h>

#include <cstdint>
#include <cstring>

#include "windowing/views/ListView.h"

using Row = Swell_vCorvaneBrisko_listview::Row;

namespace {

// A row's first text; null when the row or its text is missing.
const char* firstText(const Swell_vCorvaneBrisko_listview* list, int index) {
  const Row* row = list->rowAt(index);
  return row && list->m_items.hasText(*row, 0) ? list->rowText(*row, 0).data() : nullptr;
}

LRESULT addString(Swell_vCorvaneBrisko_listview* list, const char* text, int place) {
  const int index = list->insertRow(place, text ? text : "");
  return index < 0 ? LB_ERRSPACE : index;
}

LRESULT findStringExact(Swell_vCorvaneBrisko_listview* list, int start, const char* text) {
  int count = list->m_items.size();
  if (!text || count == 0) return LB_ERR;
  int first = start < 0 || start + 1 >= count ? 0 : start + 1;
  for (int n = 0; n < count; ++n) {
    const char* row = firstText(list, (first + n) % count);
    if (row && strcasecmp(row, text) == 0) return (first + n) % count;
  }
  return LB_ERR;
}

}  // namespace

LRESULT Swell_vCorvaneBrisko_listview::onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  platform::Ref<Swell_vCorvaneBrisko_listview> keep(this);
  const auto text = reinterpret_cast<const char*>(lParam);
  int count = m_items.size();
  // Row indexes come in wParam; anything beyond int range is no row.
  int row = wParam <= static_cast<WPARAM>(INT32_MAX) ? static_cast<int>(wParam) : -1;
  switch (msg) {
    case WM_SETREDRAW:
      // An on or off switch, not a count: one "on" ends any number of "off"s.
      if (wParam == 0) {
        if (!m_redrawOff) beginUpdates();
        m_redrawOff = true;
      } else {
        if (m_redrawOff) endUpdates();
        m_redrawOff = false;
        setNeedsDisplay(true);
      }
      return 0;
    case LB_ADDSTRING: {
      int place = count;
      if (isListBox() && (style & LBS_SORT)) place = sortedPlace(text ? text : "", false);
      return addString(this, text, place);
    }
    case LB_INSERTSTRING:
      return addString(this, text, wParam > static_cast<WPARAM>(count) ? count : row);
    case LB_DELETESTRING:
      deleteRow(row);
      return 0;
    case LB_GETTEXT: {
      char* buffer = reinterpret_cast<char*>(lParam);
      // Without a buffer nothing is written.
      if (!buffer) return LB_ERR;
      const char* first = firstText(this, row);
      if (!first) {
        buffer[0] = 0;
        return LB_ERR;
      }
      std::size_t length = std::strlen(first);
      std::memcpy(buffer, first, length + 1);
      return static_cast<LRESULT>(length);
    }
    case LB_RESETCONTENT:
      deleteAllRows();
      return 0;
    case LB_SETSEL:
      setItemState(static_cast<int>(lParam), wParam ? LVIS_SELECTED : 0, LVIS_SELECTED);
      return 0;
    case LB_SETCURSEL:
      if (row >= 0 && row < rowCount()) {
        swellSuppressSelectionReports(true);
        selectRowIndexes(platform::NSIndexSet(static_cast<std::size_t>(row)), false);
        swellSuppressSelectionReports(false);
        scrollRowToVisible(row);
      } else {
        swellSuppressSelectionReports(true);
        deselectAll();
        swellSuppressSelectionReports(false);
      }
      return 0;
    case LB_GETSEL:
      return row >= 0 && row < rowCount() && isRowSelected(row) ? 1 : 0;
    case LB_GETCURSEL:
      return selectedRow();
    case LB_GETTEXTLEN: {
      Row* r = rowAt(row);
      if (!r) return LB_ERR;
      return static_cast<LRESULT>(rowText(*r, 0).size());
    }
    case LB_GETCOUNT:
      return rowCount();
    case LB_GETSELCOUNT:
      return numberOfSelectedRows();
    case LB_GETITEMDATA: {
      Row* r = rowAt(row);
      return r ? r->param : 0;
    }
    case LB_SETITEMDATA:
      if (Row* r = rowAt(row)) r->param = lParam;
      return 0;
    case LB_FINDSTRINGEXACT:
      return findStringExact(this, static_cast<int>(wParam), text);
    default:
      return 0;
  }
}
