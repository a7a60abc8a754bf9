#include "platform/tables/TableView.h"

#include <algorithm>
#include <cmath>

#include "base/Finite.h"

namespace platform {

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

}  // namespace platform
