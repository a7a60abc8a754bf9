#include "graphics/RectGrid.h"

#include <algorithm>
#include <cmath>

namespace iplug {
namespace igraphics {

namespace {
// Beyond this many cells a side, a grid costs more to clear, and a rectangle as large as the
// area more to file, than the cells save.
constexpr int kMaxCellsPerSide = 64;
}  // namespace

void GridCells::Spread(const IRECT& area, int expectedItems) {
  const int side = std::clamp(
      static_cast<int>(std::ceil(std::sqrt(static_cast<double>(std::max(expectedItems, 1))))), 1,
      kMaxCellsPerSide);
  // Computed in double: the width of a rectangle spanning most of the float range
  // overflows a float.
  const double width = static_cast<double>(area.R) - area.L;
  const double height = static_cast<double>(area.B) - area.T;
  const bool usable = std::isfinite(width) && std::isfinite(height) && width > 0.0 && height > 0.0;
  mColumns = usable ? side : 1;
  mRows = usable ? side : 1;
  mLeft = usable ? area.L : 0.0;
  mTop = usable ? area.T : 0.0;
  mColumnsPerUnit = usable ? mColumns / width : 1.0;
  mRowsPerUnit = usable ? mRows / height : 1.0;
}

int GridCells::CellOf(double coordinate, double origin, double cellsPerUnit, int cells) const {
  const double cell = std::floor((coordinate - origin) * cellsPerUnit);
  return static_cast<int>(std::clamp(cell, 0.0, static_cast<double>(cells - 1)));
}

GridCells::Range GridCells::RangeOf(const IRECT& r) const {
  // Written so that a NaN fails the test.
  if (mColumns == 1 || !(r.L <= r.R && r.T <= r.B)) return Range{0, 0, mColumns - 1, mRows - 1};
  return Range{
      CellOf(r.L, mLeft, mColumnsPerUnit, mColumns), CellOf(r.T, mTop, mRowsPerUnit, mRows),
      CellOf(r.R, mLeft, mColumnsPerUnit, mColumns), CellOf(r.B, mTop, mRowsPerUnit, mRows)};
}

void RectGrid::Reset(const IRECT& bounds, int expectedItems) {
  mCells.Spread(bounds, expectedItems);
  mHeads.assign(static_cast<std::size_t>(mCells.Count()), -1);
  mEntries.clear();
  std::fill(mSeen.begin(), mSeen.end(), 0u);
  mStamp = 0;
}

void RectGrid::File(int id, int col, int row) {
  int& head = mHeads[mCells.Index(col, row)];
  mEntries.push_back(Entry{id, head});
  head = static_cast<int>(mEntries.size()) - 1;
}

void RectGrid::Insert(int id, const IRECT& r) {
  if (static_cast<std::size_t>(id) >= mSeen.size())
    mSeen.resize(static_cast<std::size_t>(id) + 1, 0u);
  const GridCells::Range range = mCells.RangeOf(r);
  for (int row = range.top; row <= range.bottom; ++row)
    for (int col = range.left; col <= range.right; ++col)
      File(id, col, row);
}

void RectGrid::Grow(int id, const IRECT& before, const IRECT& grown) {
  const GridCells::Range had = mCells.RangeOf(before);
  const GridCells::Range range = mCells.RangeOf(grown);
  for (int row = range.top; row <= range.bottom; ++row)
    for (int col = range.left; col <= range.right; ++col)
      if (!had.Contains(col, row)) File(id, col, row);
}

void RectGrid::NextStamp() {
  if (++mStamp == 0) {
    // After four billion queries the stamps wrap: forget them all rather than mistake an
    // old visit for this one.
    std::fill(mSeen.begin(), mSeen.end(), 0u);
    mStamp = 1;
  }
}

}  // namespace igraphics
}  // namespace iplug
