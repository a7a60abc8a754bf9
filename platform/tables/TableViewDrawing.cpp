#include "platform/tables/TableView.h"

#include "platform/core/ControlDrawing.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

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
  controldrawing::fillRect(cg, rowRect, NSColor::selectedTextBackgroundColor());
}

void NSTableView::drawBackgroundInClipRect(const NSRect& clip) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (cg && mBackground.alpha > 0) controldrawing::fillRect(cg, clip, mBackground);
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
      controldrawing::fillRect(cg, NSMakeRect(clip.minX(), y, clip.size.width, 1), mGridColor);
    }
  }
  if (mGridStyle & NSTableViewSolidVerticalGridLineMask) {
    for (long c = 0; c < numberOfColumns(); ++c) {
      NSRect r = rectOfColumn(c);
      if (!r.isEmpty())
        controldrawing::fillRect(cg, NSMakeRect(r.maxX() - 1, clip.minY(), 1, clip.size.height),
                                 mGridColor);
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
