#pragma once

// A uniform grid of buckets over the editor holding every listed control under the cells its
// drawing rectangle covers, kept as controls move and go, so that a frame finds the controls a
// dirty region meets without looking at all the others.

#include <cstdint>
#include <vector>

#include "graphics/IRECT.h"
#include "graphics/RectGrid.h"

namespace iplug {
namespace igraphics {

class IControl;

class ControlGrid {
 public:
  // Where the grid holds one control. It lives in the control, so that moving or removing a
  // control needs no lookup.
  struct Filing {
    GridCells::Range cells;  // where it is filed, while filed
    bool filed = false;
    std::uint32_t seen = 0;  // the last query that visited it
  };

  // Empties the grid and spreads about `expectedItems` cells over `area` (see GridCells).
  void Reset(const IRECT& area, int expectedItems);

  // Files the control under the cells `r` covers, out of the cells it was filed under before.
  void File(IControl* control, Filing& filing, const IRECT& r);
  void Unfile(IControl* control, Filing& filing);

  // Calls visit(control) once for each control filed under a cell `r` covers: every control
  // whose rectangle, as filed, overlaps `r` is among them.
  template <typename Visit>
  void ForEachNear(const IRECT& r, Visit&& visit) {
    const GridCells::Range range = mLayout.RangeOf(r);
    NextStamp();
    for (int row = range.top; row <= range.bottom; ++row) {
      for (int col = range.left; col <= range.right; ++col) {
        for (const Item& item : mCells[mLayout.Index(col, row)]) {
          if (item.filing->seen == mStamp) continue;
          item.filing->seen = mStamp;
          visit(item.control);
        }
      }
    }
  }

 private:
  struct Item {
    IControl* control;
    Filing* filing;
  };

  void NextStamp();

  GridCells mLayout;
  std::vector<std::vector<Item>> mCells = std::vector<std::vector<Item>>(1);
  std::uint32_t mStamp = 0;
};

}  // namespace igraphics
}  // namespace iplug
