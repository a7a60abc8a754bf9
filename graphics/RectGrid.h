#pragma once

// A uniform grid of buckets over an area, for finding which of many rectangles a rectangle
// may overlap without testing it against every one. The frame cycle merges its dirty regions
// with it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/IRECT.h"

namespace iplug {
namespace igraphics {

// How a grid spreads its cells over an area and which cells a rectangle covers. Rectangles
// outside the area fall in the cells at its edge; one with a NaN or an inverted edge pair
// covers every cell, since the overlap test may still find it meeting others.
class GridCells {
 public:
  struct Range {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int col, int row) const {
      return col >= left && col <= right && row >= top && row <= bottom;
    }
    bool operator==(const Range&) const = default;
  };

  // Spreads about `expectedItems` cells over `area` (one cell when it has no area).
  void Spread(const IRECT& area, int expectedItems);
  Range RangeOf(const IRECT& r) const;
  int Count() const { return mColumns * mRows; }
  std::size_t Index(int col, int row) const {
    return static_cast<std::size_t>(row * mColumns + col);
  }

 private:
  int CellOf(double coordinate, double origin, double cellsPerUnit, int cells) const;

  double mLeft = 0.0, mTop = 0.0, mColumnsPerUnit = 1.0, mRowsPerUnit = 1.0;
  int mColumns = 1, mRows = 1;
};

class RectGrid {
 public:
  // Empties the grid and spreads about `expectedItems` cells over `bounds`.
  void Reset(const IRECT& bounds, int expectedItems);

  // Files `id` (0 or more) under every cell `r` covers.
  void Insert(int id, const IRECT& r);

  // Files `id` under the cells `grown` covers that `before`, where it is filed already,
  // does not.
  void Grow(int id, const IRECT& before, const IRECT& grown);

  // Calls visit(id) once for each id filed under a cell `r` covers: every item whose
  // rectangle overlaps `r` is among them. A rectangle with a NaN or an inverted edge pair
  // visits the whole grid.
  template <typename Visit>
  void ForEachNear(const IRECT& r, Visit&& visit) {
    const GridCells::Range range = mCells.RangeOf(r);
    NextStamp();
    for (int row = range.top; row <= range.bottom; ++row) {
      for (int col = range.left; col <= range.right; ++col) {
        for (int e = mHeads[mCells.Index(col, row)]; e >= 0;
             e = mEntries[static_cast<std::size_t>(e)].next) {
          const int id = mEntries[static_cast<std::size_t>(e)].id;
          std::uint32_t& seen = mSeen[static_cast<std::size_t>(id)];
          if (seen == mStamp) continue;
          seen = mStamp;
          visit(id);
        }
      }
    }
  }

 private:
  struct Entry {
    int id;
    int next;  // the next entry of the same cell, -1 at the end
  };

  void File(int id, int col, int row);
  void NextStamp();

  GridCells mCells;
  std::vector<int> mHeads;  // each cell's first entry, -1 when it has none
  std::vector<Entry> mEntries;
  std::vector<std::uint32_t> mSeen;  // per id: the stamp of the last query that visited it
  std::uint32_t mStamp = 0;
};

}  // namespace igraphics
}  // namespace iplug
