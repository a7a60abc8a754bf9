#include "platform/core/TableView.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "platform/core/Menu.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

namespace {
// Room between a column title and the sort indicator at its right.
constexpr double kIndicatorInset = 4;
constexpr NSColor kHeaderFace = {0.96, 0.96, 0.96, 1};
constexpr NSColor kHeaderLine = {0.75, 0.75, 0.75, 1};

void fill(CGContext* cg, const NSRect& r, NSColor c) {
  cg->setFillColor(c.red, c.green, c.blue, c.alpha);
  cg->fillRect(r);
}
}  // namespace

// --- NSTableColumn ---

NSTableColumn::NSTableColumn(std::string identifier)
    : mIdentifier(std::move(identifier)),
      mHeaderCell(Ref<NSTextFieldCell>::adopt(new NSTextFieldCell)),
      mDataCell(Ref<NSCell>::adopt(new NSTextFieldCell)) {}

void NSTableColumn::setWidth(double width) {
  if (!base::isFinite(width)) return;
  width = std::max(width, mMinWidth);
  if (width == mWidth) return;
  mWidth = width;
  changed();
}

void NSTableColumn::setMinWidth(double width) {
  if (!base::isFinite(width) || width < 0) return;
  mMinWidth = width;
  if (mWidth < width) setWidth(width);
}

void NSTableColumn::setHidden(bool hidden) {
  if (hidden == mHidden) return;
  mHidden = hidden;
  changed();
}

void NSTableColumn::setDataCell(NSCell* cell) {
  if (!cell) return;
  mDataCell = cell;
  if (mTable) mTable->setNeedsDisplay(true);
}

void NSTableColumn::changed() {
  if (mTable) mTable->tile();
}

// --- NSTableHeaderView ---

NSTableHeaderView::NSTableHeaderView(NSTableView* table)
    : NSView(NSMakeRect(0, 0, 0, kHeight)), mTable(table) {}

double NSTableHeaderView::scrollOffset() const {
  return mTable ? mTable->visibleRect().origin.x : 0;
}

NSRect NSTableHeaderView::headerRectOfColumn(long column) const {
  if (!mTable) return {};
  NSRect r = mTable->rectOfColumn(column);
  if (!(r.size.width > 0)) return {};
  return NSMakeRect(r.origin.x - scrollOffset(), 0, r.size.width, bounds().size.height);
}

long NSTableHeaderView::columnAtPoint(NSPoint p) const {
  if (!mTable || p.y < 0 || p.y >= bounds().size.height) return -1;
  return mTable->columnAtPoint(NSMakePoint(p.x + scrollOffset(), 0));
}

void NSTableHeaderView::drawRect(const NSRect&) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg || !mTable) return;
  NSRect b = bounds();
  fill(cg, b, kHeaderFace);
  fill(cg, NSMakeRect(b.origin.x, b.maxY() - 1, b.size.width, 1), kHeaderLine);
  for (long c = 0; c < mTable->numberOfColumns(); ++c) {
    NSRect r = headerRectOfColumn(c);
    if (r.isEmpty()) continue;
    NSTableColumn* column = mTable->columnAt(c);
    NSRect title = r;
    if (NSImage* indicator = mTable->indicatorImageInTableColumn(column)) {
      NSSize s = indicator->size();
      NSRect place = NSMakeRect(r.maxX() - kIndicatorInset - s.width,
                                r.origin.y + (r.size.height - s.height) / 2, s.width, s.height);
      indicator->drawInRect(cg, place);
      title.size.width = std::max(0.0, place.origin.x - title.origin.x);
    }
    column->headerCell()->drawWithFrame(title, this);
    fill(cg, NSMakeRect(r.maxX() - 1, r.origin.y + 3, 1, r.size.height - 6), kHeaderLine);
  }
}

void NSTableHeaderView::mouseDown(const NSEvent& e) {
  if (!mTable) return;
  long column = columnAtPoint(convertPointFromView(e.locationInWindow, nullptr));
  mPressedColumn = column;
  if (e.clickCount >= 2) {
    // A double click on the titles is the table's, with no row.
    mTable->mClickedRow = -1;
    mTable->mClickedColumn = column;
    mTable->sendDoubleAction();
  }
}

void NSTableHeaderView::mouseUp(const NSEvent& e) {
  long pressed = std::exchange(mPressedColumn, -1);
  if (!mTable || pressed < 0) return;
  Ref<NSTableView> keep(mTable);
  long column = columnAtPoint(convertPointFromView(e.locationInWindow, nullptr));
  if (column == pressed) {
    if (e.clickCount < 2) mTable->headerClickedColumn(column);
  } else if (column >= 0 && mTable->allowsColumnReordering()) {
    mTable->moveColumn(pressed, column);
  }
}

// --- NSTableView ---

NSTableView::NSTableView(const NSRect& frame)
    : NSControl(frame), mHeader(Ref<NSTableHeaderView>::adopt(new NSTableHeaderView(this))) {}

void NSTableView::dealloc() {
  if (mHeader) {
    mHeader->mTable = nullptr;
    mHeader->removeFromSuperview();
  }
  mHeader.reset();
  for (NSTableColumn* column : mColumns) {
    column->mTable = nullptr;
    column->release();
  }
  mColumns.clear();
  mIndicators.clear();
  NSControl::dealloc();
}

void NSTableView::setDataSource(NSObject* source) {
  mDataSource = source;
  reloadData();
}

NSTableViewDelegate* NSTableView::tableDelegate() const {
  return dynamic_cast<NSTableViewDelegate*>(delegate());
}

NSTableViewDataSource* NSTableView::tableDataSource() const {
  return dynamic_cast<NSTableViewDataSource*>(mDataSource);
}

void NSTableView::addTableColumn(NSTableColumn* column) {
  if (!column || column->mTable) return;
  column->retain();
  column->mTable = this;
  mColumns.push_back(column);
  tile();
}

void NSTableView::removeTableColumn(NSTableColumn* column) {
  auto it = std::find(mColumns.begin(), mColumns.end(), column);
  if (it == mColumns.end()) return;
  mColumns.erase(it);
  std::erase_if(mIndicators, [&](const auto& entry) { return entry.first == column; });
  column->mTable = nullptr;
  tile();
  column->release();
}

void NSTableView::moveColumn(long from, long to) {
  long n = numberOfColumns();
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return;
  NSTableColumn* column = mColumns[static_cast<std::size_t>(from)];
  mColumns.erase(mColumns.begin() + from);
  mColumns.insert(mColumns.begin() + to, column);
  tile();
}

long NSTableView::columnIndexOf(const NSTableColumn* column) const {
  auto it = std::find(mColumns.begin(), mColumns.end(), column);
  return it == mColumns.end() ? -1 : static_cast<long>(it - mColumns.begin());
}

NSTableColumn* NSTableView::columnAt(long column) const {
  if (column < 0 || column >= numberOfColumns()) return nullptr;
  return mColumns[static_cast<std::size_t>(column)];
}

long NSTableView::columnWithIdentifier(const std::string& identifier) const {
  for (long c = 0; c < numberOfColumns(); ++c)
    if (mColumns[static_cast<std::size_t>(c)]->identifier() == identifier) return c;
  return -1;
}

void NSTableView::setHeaderView(NSTableHeaderView* header) {
  if (header == mHeader.get()) return;
  if (mHeader) {
    mHeader->mTable = nullptr;
    mHeader->removeFromSuperview();
  }
  mHeader = header;
  if (header) header->mTable = this;
  if (NSScrollView* scroll = enclosingScrollView()) scroll->tile();
}

NSView* NSTableView::scrollHeaderView() const {
  return mHeader.get();
}

void NSTableView::setRowHeight(double height) {
  if (!base::isFinite(height)) return;
  mRowHeight = std::max(1.0, height);
  tile();
}

void NSTableView::setIntercellSpacing(NSSize spacing) {
  if (!base::isFinite(spacing.width) || !base::isFinite(spacing.height)) return;
  mSpacing = {std::max(0.0, spacing.width), std::max(0.0, spacing.height)};
  tile();
}

void NSTableView::setGridStyleMask(unsigned mask) {
  mGridStyle = mask;
  setNeedsDisplay(true);
}

void NSTableView::setGridColor(NSColor color) {
  mGridColor = color;
  setNeedsDisplay(true);
}

void NSTableView::setBackgroundColor(NSColor color) {
  mBackground = color;
  setNeedsDisplay(true);
}

NSImage* NSTableView::indicatorImageInTableColumn(const NSTableColumn* column) const {
  for (const auto& [c, image] : mIndicators)
    if (c == column) return image.get();
  return nullptr;
}

void NSTableView::setIndicatorImage(NSImage* image, NSTableColumn* column) {
  if (columnIndexOf(column) < 0) return;
  std::erase_if(mIndicators, [&](const auto& entry) { return entry.first == column; });
  if (image) mIndicators.emplace_back(column, Ref<NSImage>(image));
  if (mHeader) mHeader->setNeedsDisplay(true);
}

long NSTableView::rowCountFromSource() {
  NSTableViewDataSource* source = tableDataSource();
  return source ? source->numberOfRowsInTableView(this) : 0;
}

std::string NSTableView::objectValueFromSource(NSTableColumn* column, long row) {
  NSTableViewDataSource* source = tableDataSource();
  return source ? source->tableViewObjectValue(this, column, row) : std::string();
}

long NSTableView::rowCountNow() {
  if (mRowCountStale) {
    mRowCountStale = false;
    mRowCount = std::max(0L, rowCountFromSource());
    // Rows that went away take their selection with them.
    if (!mSelection.empty() && mSelection.lastIndex() >= static_cast<std::size_t>(mRowCount)) {
      NSIndexSet kept = mSelection;
      kept.removeIndexesInRange(static_cast<std::size_t>(mRowCount), NSIndexSet::NSNotFound);
      setSelection(std::move(kept), mSelectedRow < mRowCount ? mSelectedRow : -1);
    }
    tile();
  }
  return mRowCount;
}

long NSTableView::numberOfRows() {
  return rowCountNow();
}

void NSTableView::reloadData() {
  markRowCountStale();
}

void NSTableView::markRowCountStale() {
  mRowCountStale = true;
  setNeedsDisplay(true);
}

void NSTableView::insertRows(long row, long count) {
  if (row < 0 || count <= 0) return;
  mSelection.shiftIndexesStartingAtIndex(static_cast<std::size_t>(row), count);
  if (mSelectedRow >= row) mSelectedRow += count;
  if (mAnchorRow >= row) mAnchorRow += count;
  markRowCountStale();
}

void NSTableView::removeRows(long row, long count) {
  if (row < 0 || count <= 0) return;
  bool hadSelected = false;
  for (const NSIndexSet::Range& r : mSelection.ranges())
    if (r.end > static_cast<std::size_t>(row) && r.first < static_cast<std::size_t>(row + count))
      hadSelected = true;
  mSelection.shiftIndexesStartingAtIndex(static_cast<std::size_t>(row + count), -count);
  if (mSelectedRow >= row + count)
    mSelectedRow -= count;
  else if (mSelectedRow >= row)
    mSelectedRow = mSelection.empty() ? -1 : static_cast<long>(mSelection.lastIndex());
  if (mAnchorRow >= row + count)
    mAnchorRow -= count;
  else if (mAnchorRow >= row)
    mAnchorRow = -1;
  markRowCountStale();
  if (hadSelected) selectionDidChange();
}

void NSTableView::tile() {
  double width = 0;
  for (NSTableColumn* column : mColumns)
    if (!column->isHidden()) width += column->width() + mSpacing.width;
  double height = static_cast<double>(mRowCount) * rowPitch();
  if (auto* clip = dynamic_cast<NSClipView*>(superview())) {
    // The rows' background reaches down to the bottom of what shows.
    height = std::max(height, clip->frame().size.height);
    width = std::max(width, clip->frame().size.width);
  }
  NSSize size = {width, height};
  if (size != frame().size) setFrameSize(size);
  if (mHeader) mHeader->setNeedsDisplay(true);
  setNeedsDisplay(true);
}

NSRect NSTableView::rectOfRow(long row) {
  if (row < 0 || row >= rowCountNow()) return {};
  return NSMakeRect(0, static_cast<double>(row) * rowPitch(), bounds().size.width, rowPitch());
}

NSRect NSTableView::rectOfColumn(long column) const {
  NSTableColumn* target = columnAt(column);
  if (!target || target->isHidden()) return {};
  double x = 0;
  for (long c = 0; c < column; ++c) {
    NSTableColumn* col = mColumns[static_cast<std::size_t>(c)];
    if (!col->isHidden()) x += col->width() + mSpacing.width;
  }
  return NSMakeRect(x, 0, target->width() + mSpacing.width, bounds().size.height);
}

NSRect NSTableView::frameOfCellAtColumn(long column, long row) {
  NSRect r = rectOfRow(row);
  NSRect c = rectOfColumn(column);
  if (c.isEmpty() || r.isEmpty()) return {};
  // The cell is the crossing less the spacing, half of it on each side.
  return NSMakeRect(c.origin.x + mSpacing.width / 2, r.origin.y + mSpacing.height / 2,
                    c.size.width - mSpacing.width, r.size.height - mSpacing.height);
}

long NSTableView::rowAtPoint(NSPoint p) {
  if (!base::isFinite(p.y) || p.y < 0) return -1;
  double row = std::floor(p.y / rowPitch());
  if (row >= static_cast<double>(rowCountNow())) return -1;
  return static_cast<long>(row);
}

long NSTableView::columnAtPoint(NSPoint p) const {
  if (!base::isFinite(p.x) || p.x < 0) return -1;
  double x = 0;
  for (long c = 0; c < numberOfColumns(); ++c) {
    NSTableColumn* col = mColumns[static_cast<std::size_t>(c)];
    if (col->isHidden()) continue;
    x += col->width() + mSpacing.width;
    if (p.x < x) return c;
  }
  return -1;
}

std::pair<long, long> NSTableView::rowsInRect(const NSRect& r) {
  long count = rowCountNow();
  if (r.isEmpty() || count == 0) return {0, 0};
  double pitch = rowPitch();
  double first = std::max(0.0, std::floor(r.minY() / pitch));
  double end = std::min(static_cast<double>(count), std::ceil(r.maxY() / pitch));
  if (!(end > first)) return {0, 0};
  return {static_cast<long>(first), static_cast<long>(end - first)};
}

bool NSTableView::isRowSelected(long row) const {
  return row >= 0 && mSelection.containsIndex(static_cast<std::size_t>(row));
}

void NSTableView::setSelection(NSIndexSet rows, long selectedRow) {
  if (rows == mSelection && selectedRow == mSelectedRow) return;
  bool changed = rows != mSelection;
  mSelection = std::move(rows);
  mSelectedRow = selectedRow;
  setNeedsDisplay(true);
  if (changed) selectionDidChange();
}

void NSTableView::selectionDidChange() {
  if (NSTableViewDelegate* d = tableDelegate()) {
    Ref<NSTableView> keep(this);
    d->tableViewSelectionDidChange(this);
  }
}

void NSTableView::selectRowIndexes(const NSIndexSet& rows, bool extend) {
  long count = rowCountNow();
  NSIndexSet wanted = rows;
  wanted.removeIndexesInRange(static_cast<std::size_t>(count), NSIndexSet::NSNotFound);
  if (wanted.empty() && extend) return;
  long last = wanted.empty() ? -1 : static_cast<long>(wanted.lastIndex());
  if (!mMultiple) {
    if (last < 0) {
      if (!extend) setSelection({}, -1);
      return;
    }
    setSelection(NSIndexSet(static_cast<std::size_t>(last)), last);
    return;
  }
  if (extend) {
    NSIndexSet all = mSelection;
    all.addIndexes(wanted);
    setSelection(std::move(all), last);
  } else {
    setSelection(std::move(wanted), last);
  }
}

void NSTableView::deselectRow(long row) {
  if (!isRowSelected(row)) return;
  NSIndexSet kept = mSelection;
  kept.removeIndex(static_cast<std::size_t>(row));
  long selected = mSelectedRow;
  if (selected == row) selected = kept.empty() ? -1 : static_cast<long>(kept.lastIndex());
  setSelection(std::move(kept), selected);
}

void NSTableView::deselectAll() {
  setSelection({}, -1);
}

void NSTableView::selectAll() {
  if (!mMultiple) return;
  long count = rowCountNow();
  if (count == 0) return;
  setSelection(NSIndexSet::range(0, static_cast<std::size_t>(count)), count - 1);
}

bool NSTableView::sendDoubleAction() {
  auto* receiver = dynamic_cast<ActionTarget*>(target());
  if (!receiver || !isEnabled() || !mDoubleAction) return false;
  Ref<NSTableView> keep(this);
  receiver->performAction(mDoubleAction, this);
  return true;
}

void NSTableView::endUpdates() {
  if (mUpdateDepth > 0 && --mUpdateDepth == 0) setNeedsDisplay(true);
}

void NSTableView::setNeedsDisplay(bool needs) {
  if (needs && updatesHeld()) return;
  NSControl::setNeedsDisplay(needs);
}

void NSTableView::setNeedsDisplayInRect(const NSRect& rect) {
  if (updatesHeld()) return;
  NSControl::setNeedsDisplayInRect(rect);
}

NSScrollView* NSTableView::enclosingScrollView() const {
  auto* clip = dynamic_cast<NSClipView*>(superview());
  return clip ? dynamic_cast<NSScrollView*>(clip->superview()) : nullptr;
}

void NSTableView::scrollRectToVisible(const NSRect& r) {
  auto* clip = dynamic_cast<NSClipView*>(superview());
  if (!clip || r.isEmpty()) return;
  NSRect shown = clip->bounds();
  NSPoint origin = shown.origin;
  if (r.minY() < shown.minY())
    origin.y = r.minY();
  else if (r.maxY() > shown.maxY())
    origin.y = std::min(r.minY(), r.maxY() - shown.size.height);
  if (r.minX() < shown.minX())
    origin.x = r.minX();
  else if (r.maxX() > shown.maxX())
    origin.x = std::min(r.minX(), r.maxX() - shown.size.width);
  if (origin == shown.origin) return;
  clip->setBoundsOrigin(origin);
  clip->setNeedsDisplay(true);
  setNeedsDisplay(true);
  if (mHeader) mHeader->setNeedsDisplay(true);
}

void NSTableView::scrollRowToVisible(long row) {
  NSRect r = rectOfRow(row);
  if (r.isEmpty()) return;
  // Only the vertical position moves for a row.
  NSRect shown = visibleRect();
  r.origin.x = shown.origin.x;
  r.size.width = std::max(1.0, shown.size.width);
  scrollRectToVisible(r);
}

void NSTableView::scrollColumnToVisible(long column) {
  NSRect c = rectOfColumn(column);
  if (c.isEmpty()) return;
  NSRect shown = visibleRect();
  c.origin.y = shown.origin.y;
  c.size.height = std::max(1.0, shown.size.height);
  scrollRectToVisible(c);
}

NSView* NSTableView::hitTest(NSPoint pointInSuperview) {
  // Hit testing needs the frame of the rows as they are now.
  rowCountNow();
  return NSControl::hitTest(pointInSuperview);
}

bool NSTableView::becomeFirstResponder() {
  setNeedsDisplay(true);
  return true;
}

bool NSTableView::resignFirstResponder() {
  setNeedsDisplay(true);
  return true;
}

void NSTableView::scrollWheel(const NSEvent& e) {
  auto* clip = dynamic_cast<NSClipView*>(superview());
  if (!clip) {
    NSControl::scrollWheel(e);
    return;
  }
  rowCountNow();
  // A step up (a positive delta) brings earlier rows into view.
  const double dy = base::isFinite(e.deltaY) ? -e.deltaY * rowPitch() : 0;
  const double dx = base::isFinite(e.deltaX) ? -e.deltaX * rowPitch() : 0;
  const NSRect shown = clip->bounds();
  const NSSize size = frame().size;
  NSPoint origin = {
      std::clamp(shown.origin.x + dx, 0.0, std::max(0.0, size.width - shown.size.width)),
      std::clamp(shown.origin.y + dy, 0.0, std::max(0.0, size.height - shown.size.height))};
  if (origin == shown.origin) return;
  clip->setBoundsOrigin(origin);
  clip->setNeedsDisplay(true);
  setNeedsDisplay(true);
  if (mHeader) mHeader->setNeedsDisplay(true);
}

void NSTableView::mouseDown(const NSEvent& e) {
  if (!isEnabled()) return;
  Ref<NSTableView> keep(this);
  NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  long row = rowAtPoint(p);
  mClickedRow = row;
  mClickedColumn = columnAtPoint(p);
  if (row < 0) {
    if (mEmptyAllowed && !(e.modifierFlags & NSEventModifierFlagCommand)) deselectAll();
  } else if ((e.modifierFlags & NSEventModifierFlagShift) && mMultiple && mAnchorRow >= 0 &&
             mAnchorRow < rowCountNow()) {
    long from = std::min(mAnchorRow, row), to = std::max(mAnchorRow, row);
    NSIndexSet all = mSelection;
    all.addIndexesInRange(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from + 1));
    // The anchor stays where the range began; the clicked row is the selected one.
    setSelection(std::move(all), row);
  } else if (e.modifierFlags & NSEventModifierFlagCommand) {
    if (isRowSelected(row)) {
      if (mEmptyAllowed || numberOfSelectedRows() > 1) deselectRow(row);
    } else {
      selectRowIndexes(NSIndexSet(static_cast<std::size_t>(row)), mMultiple);
    }
    mAnchorRow = row;
  } else {
    selectRowIndexes(NSIndexSet(static_cast<std::size_t>(row)), false);
    mAnchorRow = row;
  }
  if (e.clickCount >= 2) sendDoubleAction();
}

void NSTableView::mouseUp(const NSEvent&) {}

void NSTableView::headerClickedColumn(long column) {
  NSTableColumn* target = columnAt(column);
  if (!target) return;
  mClickedRow = -1;
  mClickedColumn = column;
  if (NSTableViewDelegate* d = tableDelegate()) {
    Ref<NSTableView> keep(this);
    d->tableViewDidClickTableColumn(this, target);
  }
}

NSCell* NSTableView::preparedCellAtColumn(long column, long row) {
  NSTableColumn* col = columnAt(column);
  if (!col) return nullptr;
  NSCell* cell = col->dataCell();
  cell->setStringValue(objectValueFromSource(col, row));
  cell->setHighlighted(isRowSelected(row));
  if (NSTableViewDelegate* d = tableDelegate()) d->tableViewWillDisplayCell(this, cell, col, row);
  return cell;
}

void NSTableView::highlightSelectionInClipRect(const NSRect& clip) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg || mSelection.empty()) return;
  auto [first, count] = rowsInRect(clip);
  for (long row = first; row < first + count; ++row) {
    if (!isRowSelected(row)) continue;
    NSRect r = NSIntersectionRect(rectOfRow(row), clip);
    if (!r.isEmpty()) drawSelectionHighlight(cg, r);
  }
}

void NSTableView::drawSelectionHighlight(CGContext* cg, const NSRect& rowRect) {
  fill(cg, rowRect, NSColor::selectedTextBackgroundColor());
}

void NSTableView::drawBackgroundInClipRect(const NSRect& clip) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (cg && mBackground.alpha > 0) fill(cg, clip, mBackground);
}

void NSTableView::drawRow(long row, const NSRect& clip) {
  for (long c = 0; c < numberOfColumns(); ++c) {
    if (!NSIntersectsRect(rectOfColumn(c), clip)) continue;
    if (NSCell* cell = preparedCellAtColumn(c, row))
      cell->drawWithFrame(frameOfCellAtColumn(c, row), this);
  }
}

void NSTableView::drawGrid(const NSRect& clip, long firstRow, long rowCount) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg || mGridStyle == NSTableViewGridNone) return;
  if (mGridStyle & NSTableViewSolidHorizontalGridLineMask) {
    for (long row = firstRow; row < firstRow + rowCount; ++row) {
      double y = static_cast<double>(row + 1) * rowPitch() - 1;
      fill(cg, NSMakeRect(clip.minX(), y, clip.size.width, 1), mGridColor);
    }
  }
  if (mGridStyle & NSTableViewSolidVerticalGridLineMask) {
    for (long c = 0; c < numberOfColumns(); ++c) {
      NSRect r = rectOfColumn(c);
      if (!r.isEmpty())
        fill(cg, NSMakeRect(r.maxX() - 1, clip.minY(), 1, clip.size.height), mGridColor);
    }
  }
}

void NSTableView::drawRect(const NSRect& dirtyRect) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg) return;
  Ref<NSTableView> keep(this);
  drawBackgroundInClipRect(dirtyRect);
  // Only the rows that show are drawn, and only they are asked from the data source.
  NSRect clip = NSIntersectionRect(dirtyRect, visibleRect());
  auto [first, count] = rowsInRect(clip);
  highlightSelectionInClipRect(clip);
  for (long row = first; row < first + count; ++row)
    drawRow(row, clip);
  drawGrid(clip, first, count);
}

}  // namespace platform
