#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/Cell.h"
#include "platform/core/Control.h"
#include "platform/core/ScrollView.h"
#include "platform/drawing/Image.h"
#include "platform/objects/Color.h"
#include "platform/objects/IndexSet.h"

namespace platform {

class NSTableView;

// One column of a table: an identifier, a width, a header cell and the data cell that
// draws every row of the column.
class NSTableColumn : public NSObject {
 public:
  static constexpr double kDefaultWidth = 100;
  static constexpr double kDefaultMinWidth = 10;

  explicit NSTableColumn(std::string identifier = {});

  const std::string& identifier() const { return mIdentifier; }
  void setIdentifier(std::string identifier) { mIdentifier = std::move(identifier); }
  double width() const { return mWidth; }
  // Not below the minimum width; a width that is not a finite number is refused.
  void setWidth(double width);
  double minWidth() const { return mMinWidth; }
  void setMinWidth(double width);
  bool isHidden() const { return mHidden; }
  void setHidden(bool hidden);
  bool isEditable() const { return mEditable; }
  void setEditable(bool editable) { mEditable = editable; }
  NSTextFieldCell* headerCell() const { return mHeaderCell.get(); }
  NSCell* dataCell() const { return mDataCell.get(); }
  // A null cell is refused.
  void setDataCell(NSCell* cell);
  NSTableView* tableView() const { return mTable; }

 private:
  friend class NSTableView;
  void changed();

  std::string mIdentifier;
  double mWidth = kDefaultWidth;
  double mMinWidth = kDefaultMinWidth;
  bool mHidden = false;
  bool mEditable = true;
  Ref<NSTextFieldCell> mHeaderCell;
  Ref<NSCell> mDataCell;
  NSTableView* mTable = nullptr;  // the table holds the column
};

// The strip of column titles above a table's rows, shown by the scroll view the table
// is in. A click on a title reports the column; a press on one title released over
// another moves the column there when the table allows reordering.
class NSTableHeaderView : public NSView {
 public:
  static constexpr double kHeight = 23;

  explicit NSTableHeaderView(NSTableView* table);
  NSTableView* tableView() const { return mTable; }
  bool isFlipped() const override { return true; }
  // The column (display position) at a point in the header's coordinates; -1 none.
  long columnAtPoint(NSPoint p) const;
  NSRect headerRectOfColumn(long column) const;

  void drawRect(const NSRect& dirtyRect) override;
  void mouseDown(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;

 private:
  friend class NSTableView;
  // The table's horizontal scroll offset, which the titles follow.
  double scrollOffset() const;
  NSTableView* mTable;  // not retained: the table holds its header
  long mPressedColumn = -1;
};

// Where a table's rows come from. The table asks only for the rows it draws.
class NSTableViewDataSource {
 public:
  virtual ~NSTableViewDataSource() = default;
  virtual long numberOfRowsInTableView(NSTableView* table) = 0;
  virtual std::string tableViewObjectValue(NSTableView* table, NSTableColumn* column, long row) = 0;
};

// What a table tells its delegate.
class NSTableViewDelegate {
 public:
  virtual ~NSTableViewDelegate() = default;
  virtual void tableViewSelectionDidChange(NSTableView* table) {}
  virtual void tableViewDidClickTableColumn(NSTableView* table, NSTableColumn* column) {}
  // Before each cell draws, with the row's value already in the cell.
  virtual void tableViewWillDisplayCell(NSTableView* table, NSCell* cell, NSTableColumn* column,
                                        long row) {}
};

enum NSTableViewGridLineStyle : unsigned {
  NSTableViewGridNone = 0,
  NSTableViewSolidVerticalGridLineMask = 1,
  NSTableViewSolidHorizontalGridLineMask = 2,
};

// Rows of cells in columns, on a fixed row pitch (row height plus the vertical
// intercell spacing): every rectangle is arithmetic, there is no object per row, and
// the data source is asked only for the rows a display pass draws. reloadData costs
// nothing until the row count or a row is needed. The selection is a set of index
// ranges. The table scrolls inside a clip view and shows its header view above it.
//
// Clicks select as the platform's tables do: a plain click selects the row alone, Shift
// extends from the anchor row, Command toggles a row; a click below the rows clears the
// selection when an empty selection is allowed. A double click sends the double action.
// With the keyboard focus, Down and Up select the next or the previous row alone, Home and
// End the first and the last (with nothing selected, Up and Down start at the first), none
// past either end, and scroll it into view; the delegate hears of each change.
class NSTableView : public NSControl, public NSScrollViewHeaderSource {
 public:
  static constexpr double kDefaultRowHeight = 17;
  static constexpr NSSize kDefaultIntercellSpacing = {3, 2};

  explicit NSTableView(const NSRect& frame = {});
  bool isFlipped() const override { return true; }
  // Opaque while the background colour covers what lies behind.
  bool isOpaque() const override { return mBackground.alpha >= 1; }

  NSObject* dataSource() const { return mDataSource; }
  void setDataSource(NSObject* source);

  // Columns, in display order.
  const std::vector<NSTableColumn*>& tableColumns() const { return mColumns; }
  long numberOfColumns() const { return static_cast<long>(mColumns.size()); }
  void addTableColumn(NSTableColumn* column);
  void removeTableColumn(NSTableColumn* column);
  // Moves the column at display position `from` to `to`.
  void moveColumn(long from, long to);
  // The display position of a column, -1 when not in this table.
  long columnIndexOf(const NSTableColumn* column) const;
  NSTableColumn* columnAt(long column) const;
  long columnWithIdentifier(const std::string& identifier) const;

  NSTableHeaderView* headerView() const { return mHeader.get(); }
  // Null removes the header.
  void setHeaderView(NSTableHeaderView* header);
  NSView* scrollHeaderView() const override;
  // The rows' background reaches the bottom of what the clip view shows.
  void clipViewDidResize() override { tile(); }

  double rowHeight() const { return mRowHeight; }
  // At least 1: every row divides the pitch.
  void setRowHeight(double height);
  NSSize intercellSpacing() const { return mSpacing; }
  void setIntercellSpacing(NSSize spacing);
  double rowPitch() const { return mRowHeight + mSpacing.height; }

  unsigned gridStyleMask() const { return mGridStyle; }
  void setGridStyleMask(unsigned mask);
  NSColor gridColor() const { return mGridColor; }
  void setGridColor(NSColor color);
  NSColor backgroundColor() const { return mBackground; }
  // A clear colour leaves what lies behind the table showing.
  void setBackgroundColor(NSColor color);
  bool allowsMultipleSelection() const { return mMultiple; }
  void setAllowsMultipleSelection(bool allows) { mMultiple = allows; }
  bool allowsEmptySelection() const { return mEmptyAllowed; }
  void setAllowsEmptySelection(bool allows) { mEmptyAllowed = allows; }
  bool allowsColumnReordering() const { return mReordering; }
  void setAllowsColumnReordering(bool allows) { mReordering = allows; }

  // The sort indicator shown in a column's title (retained), or null.
  NSImage* indicatorImageInTableColumn(const NSTableColumn* column) const;
  void setIndicatorImage(NSImage* image, NSTableColumn* column);

  // Rows. The count is asked from the data source after a reload, on first need.
  long numberOfRows();
  virtual void reloadData();
  void noteNumberOfRowsChanged() { markRowCountStale(); }
  // Rows inserted or removed by the data source: the selection moves with its rows.
  void insertRows(long row, long count);
  void removeRows(long row, long count);

  // Geometry, in the table's coordinates (y down from the first row).
  NSRect rectOfRow(long row);
  NSRect rectOfColumn(long column) const;
  virtual NSRect frameOfCellAtColumn(long column, long row);
  // -1 when the point is on no row or column.
  long rowAtPoint(NSPoint p);
  long columnAtPoint(NSPoint p) const;
  // The rows that meet a rectangle: first and count.
  std::pair<long, long> rowsInRect(const NSRect& r);

  // Selection.
  const NSIndexSet& selectedRowIndexes() const { return mSelection; }
  // The last row selected (the anchor of the selection), -1 when none.
  long selectedRow() const { return mSelectedRow; }
  long numberOfSelectedRows() const { return static_cast<long>(mSelection.count()); }
  bool isRowSelected(long row) const;
  // Rows out of range are left out; without multiple selection only the last row given
  // is kept. Tells the delegate when the selection changed.
  void selectRowIndexes(const NSIndexSet& rows, bool extend);
  void deselectRow(long row);
  void deselectAll();
  void selectAll();
  long clickedRow() const { return mClickedRow; }
  long clickedColumn() const { return mClickedColumn; }
  int doubleAction() const { return mDoubleAction; }
  void setDoubleAction(int action) { mDoubleAction = action; }
  // Sends the double action to the target, when there is one.
  bool sendDoubleAction();

  // Updates grouped between begin and end redraw once, at the end: while they are
  // held the table asks for no display.
  void beginUpdates() { ++mUpdateDepth; }
  void endUpdates();
  bool updatesHeld() const { return mUpdateDepth > 0; }
  void setNeedsDisplay(bool needs) override;
  void setNeedsDisplayInRect(const NSRect& rect) override;

  // Scrolling inside the enclosing clip view.
  NSScrollView* enclosingScrollView() const;
  void scrollRowToVisible(long row);
  void scrollColumnToVisible(long column);
  void scrollRectToVisible(const NSRect& r);

  // A table takes the keyboard focus, and redraws on taking and losing it: its
  // selection may look different without it.
  bool acceptsFirstResponder() const override { return true; }
  bool becomeFirstResponder() override;
  bool resignFirstResponder() override;
  NSView* hitTest(NSPoint pointInSuperview) override;
  // The wheel scrolls a row per step (as many points sideways), never past the first or
  // the last row, nor past either side.
  void scrollWheel(const NSEvent& e) override;
  void mouseDown(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;
  bool moveUp() override;
  bool moveDown() override;
  bool moveToBeginningOfDocument() override;
  bool moveToEndOfDocument() override;
  void drawRect(const NSRect& dirtyRect) override;
  // The table's background in the clip rectangle.
  virtual void drawBackgroundInClipRect(const NSRect& clip);
  // The background of the selected rows in the clip rectangle.
  virtual void highlightSelectionInClipRect(const NSRect& clip);
  // The cells of one row that meet the clip rectangle.
  virtual void drawRow(long row, const NSRect& clip);
  // The cell that draws a row of a column, holding the row's value.
  virtual NSCell* preparedCellAtColumn(long column, long row);

  // From the header view.
  void headerClickedColumn(long column);

 protected:
  friend class NSTableHeaderView;
  friend class NSTableColumn;
  void dealloc() override;
  // The table's size follows its columns and rows, and fills the clip view.
  void tile();
  // The selection changed: redraw and tell the delegate.
  virtual void selectionDidChange();
  // Fills the part of a selected row that shows; a subclass may paint its own colours.
  virtual void drawSelectionHighlight(CGContext* cg, const NSRect& rowRect);
  // Where rows come from: the data source's answers unless a subclass keeps its own.
  virtual long rowCountFromSource();
  virtual std::string objectValueFromSource(NSTableColumn* column, long row);
  // The row count is asked again on first need; nothing else is forgotten.
  void markRowCountStale();
  void setSelection(NSIndexSet rows, long selectedRow);
  NSTableViewDelegate* tableDelegate() const;
  NSTableViewDataSource* tableDataSource() const;

 private:
  long rowCountNow();
  // Selects a row alone by a key (clamped to the rows) and scrolls it into view.
  bool selectRowByKey(long row);
  void drawGrid(const NSRect& clip, long firstRow, long rowCount);

  NSObject* mDataSource = nullptr;       // not retained
  std::vector<NSTableColumn*> mColumns;  // retained
  std::vector<std::pair<NSTableColumn*, Ref<NSImage>>> mIndicators;
  Ref<NSTableHeaderView> mHeader;
  double mRowHeight = kDefaultRowHeight;
  NSSize mSpacing = kDefaultIntercellSpacing;
  unsigned mGridStyle = NSTableViewGridNone;
  NSColor mGridColor = {0.8, 0.8, 0.8, 1};
  NSColor mBackground = NSColor::controlColor();
  bool mMultiple = false;
  bool mEmptyAllowed = true;
  bool mReordering = true;
  long mRowCount = 0;
  bool mRowCountStale = true;
  NSIndexSet mSelection;
  long mSelectedRow = -1;
  // Where a Shift range starts: the row last clicked or selected alone.
  long mAnchorRow = -1;
  long mClickedRow = -1;
  long mClickedColumn = -1;
  int mDoubleAction = 0;
  int mUpdateDepth = 0;
};

}  // namespace platform
