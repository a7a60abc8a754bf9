#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/tables/TableView.h"
#include "windowing/Win32Types.h"
#include "windowing/core/DirtyMarking.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/drawing/DrawingTypes.h"
#include "windowing/views/ListViewRowList.h"
#include "windowing/views/ListViews.h"
#include "windowing/views/ViewColors.h"

// The list control of the layer: a table view that is the Win32 list view (rows of
// texts in columns, row images, owner data, sorting, notifications to its parent) or,
// in its list-box form, the Win32 list box. The table asks it for the rows it draws.
class Swell_vCorvaneBrisko_listview : public SwellDirtyMarking<platform::NSTableView>,
                                      public platform::NSTableViewDataSource,
                                      public SwellMessageEntry,
                                      public SwellStyleHolder,
                                      public SwellListViewReports,
                                      public SwellClassNamed,
                                      public SwellViewColors {
 public:
  // One row: the item data and image number; its texts are in the list's row store.
  using Row = SwellListRows::Row;
  // What a press on a row is: on the row image, a drag begun, a fast click sent.
  static constexpr int kClickOnImage = 1;
  static constexpr int kClickDragged = 2;
  static constexpr int kClickFastSent = 4;
  // Drag events after a press before a drag begins.
  static constexpr int kDragStartMoves = 4;
  // The buffer an owner-data list's parent fills with a cell text.
  static constexpr int kOwnerDataTextSize = 1024;

  Swell_vCorvaneBrisko_listview();

  const char* swellGetClass() const override;
  LONG swellGetStyle() const override { return style; }
  void swellSetStyle(LONG newStyle) override { style = newStyle; }
  int getSwellNotificationMode() const override { return m_lbMode; }
  void setSwellNotificationMode(int mode) { m_lbMode = mode; }
  bool isListBox() const { return m_lbMode != 0; }
  bool isOwnerData() const { return !isListBox() && (style & LVS_OWNERDATA); }
  bool isSingleSelection() const;

  // Reports to the window object.
  int swellColumnIndex(const platform::NSTableColumn* column) const override;
  bool swellHasColumnList() const override { return !m_cols.empty(); }
  LPARAM swellItemParam(int row) override;
  bool swellSelectionReportsSuppressed() const override { return m_selectionReports > 0; }
  void swellSuppressSelectionReports(bool raise) override;
  const std::vector<platform::NSColor>& swellSelectionColors() const override {
    return m_selColors;
  }
  std::optional<platform::NSColor> swellTextColor() const override { return m_fgColor; }
  void swellSetSelectionColors(std::vector<platform::NSColor> colors) override;
  void swellSetTextColor(platform::NSColor color) override;

  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

  // Columns: logical indexes are places in m_cols, display positions places in the
  // table. An index without a column comes back unchanged from getColumnPos; a column
  // not in m_cols gives -1 from getColumnIdx.
  int getColumnPos(int index) const;
  int getColumnIdx(int position) const;
  // The logical column at a point in the list's coordinates, -1 none.
  int logicalColumnAtPoint(platform::NSPoint p) const;
  platform::NSTableColumn* logicalColumn(int index) const;

  // Rows. A row pointer lasts until rows are added or removed.
  int rowCount() const;
  Row* rowAt(int index);
  const Row* rowAt(int index) const;
  // A row's text at a logical column, empty when it has none; see SwellListRows::text.
  std::string_view rowText(const Row& row, int column) const { return m_items.text(row, column); }
  // Inserts a row at index (clamped) with its first text, keeping the selection with its
  // rows; -1 when memory cannot be had.
  int insertRow(int index, std::string_view first, LPARAM param = 0, int image = 0);
  bool deleteRow(int index);
  void deleteAllRows();
  // The row of the sorted place of a text (list-box sort or list-view sort styles).
  int sortedPlace(const char* text, bool descending) const;
  bool setItemState(int item, UINT state, UINT mask);
  // Selects a row (extending unless single selection) or deselects it, quietly: the
  // list reports its own changes.
  void selectRowQuietly(int row, bool select);
  // The image of a row's number, null when out of range or the entry is empty.
  platform::NSImage* imageForNumber(int number) const;
  // Asks an owner-data list's parent for a row's text (and image); false when the row
  // is not one.
  bool askOwnerData(int row, int subItem, std::string* text, int* image);

  // Sends a list notification to the target window (the parent); returns its answer.
  LRESULT notify(NMHDR& header);
  LRESULT notifyList(UINT code, int item, int subItem, platform::NSPoint at = {}, LPARAM param = 0);

  // Table hooks.
  long numberOfRowsInTableView(platform::NSTableView* table) override;
  std::string tableViewObjectValue(platform::NSTableView* table, platform::NSTableColumn* column,
                                   long row) override;
  void highlightSelectionInClipRect(const platform::NSRect& clip) override;
  // Draws nothing while WM_SETREDRAW has drawing off, so the parent is asked nothing.
  void drawRect(const platform::NSRect& dirtyRect) override;

  void mouseDown(const platform::NSEvent& e) override;
  void mouseDragged(const platform::NSEvent& e) override;
  void mouseUp(const platform::NSEvent& e) override;
  // A right press does nothing until its release.
  void rightMouseDown(const platform::NSEvent&) override {}
  void rightMouseUp(const platform::NSEvent& e) override;

  // State the list functions of this room work on.
  int m_leftmousemovecnt = 0;
  bool m_fakerightmouse = false;
  LONG style = 0;
  int ownermode_cnt = 0;
  int m_start_item = -1;
  int m_start_subitem = -1;
  int m_start_item_clickmode = 0;
  int m_lbMode = 0;
  SwellListRows m_items;
  std::vector<platform::NSTableColumn*> m_cols;  // the table holds them
  HIMAGELIST m_status_imagelist = nullptr;
  int m_status_imagelist_type = -1;
  unsigned m_fastClickMask = 0;
  std::optional<platform::NSColor> m_fgColor;
  std::vector<platform::NSColor> m_selColors;
  // ListView_SetItemState's re-entry guards, per list.
  int m_bulkDepth = 0;
  bool m_sendingItemChanged = false;
  // WM_SETREDRAW turned drawing off.
  bool m_redrawOff = false;

 protected:
  void dealloc() override;

 private:
  void handleRightRelease(const platform::NSEvent& e);
  POINT clientPointOfTarget(const platform::NSEvent& e) const;
  int m_selectionReports = 0;
};

namespace swell {
// The list control of a handle, or null for any other window.
Swell_vCorvaneBrisko_listview* listViewOf(HWND h);
}  // namespace swell
