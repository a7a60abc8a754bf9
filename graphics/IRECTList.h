#pragma once

// The dirty regions of one frame.

#include <cstddef>
#include <vector>

#include "graphics/IRECT.h"

namespace iplug {
namespace igraphics {

class IRECTList {
 public:
  void Add(const IRECT& r) { mRects.push_back(r); }
  int Size() const { return static_cast<int>(mRects.size()); }
  const IRECT& Get(int i) const { return mRects[static_cast<std::size_t>(i)]; }
  void Clear() { mRects.clear(); }
  bool Empty() const { return mRects.empty(); }

  // The smallest rectangle holding every region.
  IRECT Bounds() const {
    IRECT u;
    for (const IRECT& r : mRects)
      u = u.Union(r);
    return u;
  }

  // Drops regions without area and merges overlapping ones, so no area is drawn twice in a frame
  // (translucent drawing would otherwise darken where regions overlap). Merging repeats until
  // no two regions overlap; the regions come out in the order of their first member. Near
  // linear: each region is compared only with those filed near it in a grid.
  void Optimize();

 private:
  std::vector<IRECT> mRects;
};

}  // namespace igraphics
}  // namespace iplug
