#pragma once

// The dirty regions of one frame.

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "base/Finite.h"
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
  // (translucent drawing would otherwise darken where regions overlap).
  void Optimize() {
    std::vector<IRECT> out;
    for (const IRECT& r : mRects) {
      if (!base::isFiniteRect(r) || !(r.W() > 0.f && r.H() > 0.f)) continue;
      out.push_back(r);
    }
    bool merged = true;
    while (merged) {
      merged = false;
      for (std::size_t i = 0; i < out.size() && !merged; ++i) {
        for (std::size_t j = i + 1; j < out.size(); ++j) {
          if (out[i].Intersects(out[j])) {
            out[i] = out[i].Union(out[j]);
            out.erase(out.begin() + static_cast<std::ptrdiff_t>(j));
            merged = true;
            break;
          }
        }
      }
    }
    mRects = std::move(out);
  }

 private:
  std::vector<IRECT> mRects;
};

}  // namespace igraphics
}  // namespace iplug
