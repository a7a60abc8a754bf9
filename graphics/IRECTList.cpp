#include "graphics/IRECTList.h"

#include <utility>

#include "base/Finite.h"
#include "graphics/RectGrid.h"

namespace iplug {
namespace igraphics {

namespace {

// A set of merged regions: its bounding box and the position of its first member.
struct Group {
  IRECT box;
  int first = 0;
  bool alive = true;
};

// Kept per thread between frames, so a steady frame rate allocates nothing.
struct MergeScratch {
  RectGrid grid;
  std::vector<Group> groups;
  std::vector<int> met;
  std::vector<int> byFirst;
  std::vector<IRECT> out;
};

MergeScratch& Scratch() {
  thread_local MergeScratch scratch;
  return scratch;
}

}  // namespace

void IRECTList::Optimize() {
  std::size_t kept = 0;
  for (const IRECT& r : mRects)
    if (base::isFiniteRect(r) && r.W() > 0.f && r.H() > 0.f) mRects[kept++] = r;
  mRects.resize(kept);
  if (kept < 2) return;

  MergeScratch& s = Scratch();
  IRECT bounds = mRects.front();
  for (const IRECT& r : mRects)
    bounds = bounds.Union(r);
  s.grid.Reset(bounds, static_cast<int>(kept));
  s.groups.clear();

  // The groups in the grid never overlap one another. Each region joins every group it
  // overlaps; the grown box may then overlap more groups, which join in turn. Any order of
  // such merges ends in the same groups, so the result equals merging pairs until none
  // overlap.
  for (int k = 0; k < static_cast<int>(kept); ++k) {
    IRECT box = mRects[static_cast<std::size_t>(k)];
    int first = k;
    int holder = -1;  // the group that takes in the others, kept to spare refiling its cells
    IRECT holderBox;
    for (;;) {
      s.met.clear();
      s.grid.ForEachNear(box, [&](int id) {
        const Group& g = s.groups[static_cast<std::size_t>(id)];
        if (id != holder && g.alive && g.box.Intersects(box)) s.met.push_back(id);
      });
      if (s.met.empty()) break;
      const IRECT asked = box;
      for (int id : s.met) {
        Group& g = s.groups[static_cast<std::size_t>(id)];
        box = box.Union(g.box);
        first = std::min(first, g.first);
        if (holder < 0 || g.box.Area() > holderBox.Area()) {
          if (holder >= 0) s.groups[static_cast<std::size_t>(holder)].alive = false;
          holder = id;
          holderBox = g.box;
        } else {
          g.alive = false;
        }
      }
      // A box that is one of the groups met overlaps no other group: they never overlap.
      bool settled = false;
      for (int id : s.met)
        settled = settled || s.groups[static_cast<std::size_t>(id)].box == box;
      if (settled || box == asked) break;
    }
    if (holder < 0) {
      s.groups.push_back(Group{box, first, true});
      s.grid.Insert(static_cast<int>(s.groups.size()) - 1, box);
    } else {
      Group& g = s.groups[static_cast<std::size_t>(holder)];
      s.grid.Grow(holder, holderBox, box);
      g.box = box;
      g.first = first;
    }
  }

  // In the order of each group's first member, as merging pairs in place leaves them.
  s.byFirst.assign(kept, -1);
  for (std::size_t id = 0; id < s.groups.size(); ++id)
    if (s.groups[id].alive)
      s.byFirst[static_cast<std::size_t>(s.groups[id].first)] = static_cast<int>(id);
  s.out.clear();
  for (int id : s.byFirst)
    if (id >= 0) s.out.push_back(s.groups[static_cast<std::size_t>(id)].box);
  mRects.assign(s.out.begin(), s.out.end());
}

}  // namespace igraphics
}  // namespace iplug
