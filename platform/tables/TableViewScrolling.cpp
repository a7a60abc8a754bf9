#include "platform/tables/TableView.h"

#include <algorithm>

#include "base/Finite.h"

namespace platform {

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

}  // namespace platform
