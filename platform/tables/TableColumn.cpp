#include "platform/tables/TableView.h"

#include <algorithm>

#include "base/Finite.h"

namespace platform {

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

}  // namespace platform
