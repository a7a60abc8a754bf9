#include "platform/tables/TableView.h"

#include <utility>

namespace platform {

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

}  // namespace platform
