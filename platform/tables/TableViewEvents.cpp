#include "platform/tables/TableView.h"

#include <algorithm>

#include "platform/core/Menu.h"

namespace platform {

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

bool NSTableView::selectRowByKey(long row) {
  const long count = rowCountNow();
  if (count <= 0) return true;
  Ref<NSTableView> keep(this);
  row = std::clamp(row, 0L, count - 1);
  mAnchorRow = row;
  selectRowIndexes(NSIndexSet(static_cast<std::size_t>(row)), false);
  scrollRowToVisible(row);
  return true;
}

bool NSTableView::moveUp() {
  return selectRowByKey(mSelectedRow < 0 ? 0 : mSelectedRow - 1);
}

bool NSTableView::moveDown() {
  return selectRowByKey(mSelectedRow + 1);
}

bool NSTableView::moveToBeginningOfDocument() {
  return selectRowByKey(0);
}

bool NSTableView::moveToEndOfDocument() {
  return selectRowByKey(rowCountNow() - 1);
}

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

bool NSTableView::sendDoubleAction() {
  auto* receiver = dynamic_cast<ActionTarget*>(target());
  if (!receiver || !isEnabled() || !mDoubleAction) return false;
  Ref<NSTableView> keep(this);
  receiver->performAction(mDoubleAction, this);
  return true;
}

}  // namespace platform
