#include "platform/tables/TableView.h"

#include <algorithm>
#include <utility>

#include "platform/core/ControlDrawing.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

namespace {
// Room between a column title and the sort indicator at its right.
constexpr double kIndicatorInset = 4;
constexpr NSColor kHeaderFace = {0.96, 0.96, 0.96, 1};
constexpr NSColor kHeaderLine = {0.75, 0.75, 0.75, 1};
}  // namespace

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
  controldrawing::fillRect(cg, b, kHeaderFace);
  controldrawing::fillRect(cg, NSMakeRect(b.origin.x, b.maxY() - 1, b.size.width, 1), kHeaderLine);
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
    controldrawing::fillRect(cg, NSMakeRect(r.maxX() - 1, r.origin.y + 3, 1, r.size.height - 6),
                             kHeaderLine);
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

}  // namespace platform
