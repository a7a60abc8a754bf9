#include "graphics/ControlGrid.h"

#include <algorithm>

namespace iplug {
namespace igraphics {

void ControlGrid::Reset(const IRECT& area, int expectedItems) {
  for (std::vector<Item>& cell : mCells)
    for (Item& item : cell)
      *item.filing = Filing();
  mLayout.Spread(area, expectedItems);
  mCells.assign(static_cast<std::size_t>(mLayout.Count()), {});
}

void ControlGrid::File(IControl* control, Filing& filing, const IRECT& r) {
  const GridCells::Range range = mLayout.RangeOf(r);
  if (filing.filed && range == filing.cells) return;  // moved within its cells
  Unfile(control, filing);
  for (int row = range.top; row <= range.bottom; ++row)
    for (int col = range.left; col <= range.right; ++col)
      mCells[mLayout.Index(col, row)].push_back(Item{control, &filing});
  filing.cells = range;
  filing.filed = true;
}

void ControlGrid::Unfile(IControl* control, Filing& filing) {
  if (!filing.filed) return;
  for (int row = filing.cells.top; row <= filing.cells.bottom; ++row) {
    for (int col = filing.cells.left; col <= filing.cells.right; ++col) {
      std::vector<Item>& cell = mCells[mLayout.Index(col, row)];
      const auto it = std::find_if(cell.begin(), cell.end(),
                                   [control](const Item& item) { return item.control == control; });
      if (it == cell.end()) continue;
      *it = cell.back();
      cell.pop_back();
    }
  }
  filing.filed = false;
}

void ControlGrid::NextStamp() {
  if (++mStamp == 0) {
    // After four billion queries the stamps wrap: forget them all rather than mistake an old
    // visit for this one.
    for (std::vector<Item>& cell : mCells)
      for (Item& item : cell)
        item.filing->seen = 0;
    mStamp = 1;
  }
}

}  // namespace igraphics
}  // namespace iplug
