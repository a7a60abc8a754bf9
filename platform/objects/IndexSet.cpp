#include "platform/objects/IndexSet.h"

#include <algorithm>

namespace platform {

NSIndexSet NSIndexSet::range(std::size_t first, std::size_t count) {
  NSIndexSet set;
  set.addIndexesInRange(first, count);
  return set;
}

std::size_t NSIndexSet::count() const {
  std::size_t n = 0;
  for (const Range& r : mRanges)
    n += r.end - r.first;
  return n;
}

bool NSIndexSet::containsIndex(std::size_t index) const {
  auto it = std::upper_bound(mRanges.begin(), mRanges.end(), index,
                             [](std::size_t i, const Range& r) { return i < r.end; });
  return it != mRanges.end() && it->first <= index;
}

std::size_t NSIndexSet::firstIndex() const {
  return mRanges.empty() ? NSNotFound : mRanges.front().first;
}

std::size_t NSIndexSet::lastIndex() const {
  return mRanges.empty() ? NSNotFound : mRanges.back().end - 1;
}

std::size_t NSIndexSet::indexGreaterThanIndex(std::size_t index) const {
  if (index == NSNotFound) return NSNotFound;
  auto it = std::upper_bound(mRanges.begin(), mRanges.end(), index + 1,
                             [](std::size_t i, const Range& r) { return i < r.end; });
  if (it == mRanges.end()) return NSNotFound;
  return std::max(it->first, index + 1);
}

std::vector<NSIndexSet::Range>::iterator NSIndexSet::rangeReaching(std::size_t index) {
  return std::lower_bound(mRanges.begin(), mRanges.end(), index,
                          [](const Range& r, std::size_t i) { return r.end < i; });
}

void NSIndexSet::addIndexesInRange(std::size_t first, std::size_t count) {
  if (count == 0 || first > NSNotFound - count) return;
  std::size_t end = first + count;
  // Every range that touches or overlaps [first, end) merges with it.
  auto from = rangeReaching(first);
  auto to = from;
  while (to != mRanges.end() && to->first <= end) {
    first = std::min(first, to->first);
    end = std::max(end, to->end);
    ++to;
  }
  from = mRanges.erase(from, to);
  mRanges.insert(from, Range{first, end});
}

void NSIndexSet::addIndexes(const NSIndexSet& other) {
  for (const Range& r : other.mRanges)
    addIndexesInRange(r.first, r.end - r.first);
}

void NSIndexSet::removeIndexesInRange(std::size_t first, std::size_t count) {
  if (count == 0) return;
  std::size_t end = first > NSNotFound - count ? NSNotFound : first + count;
  std::vector<Range> kept;
  auto it = std::upper_bound(mRanges.begin(), mRanges.end(), first,
                             [](std::size_t i, const Range& r) { return i < r.end; });
  auto stop = it;
  while (stop != mRanges.end() && stop->first < end) {
    if (stop->first < first) kept.push_back({stop->first, first});
    if (stop->end > end) kept.push_back({end, stop->end});
    ++stop;
  }
  it = mRanges.erase(it, stop);
  mRanges.insert(it, kept.begin(), kept.end());
}

void NSIndexSet::shiftIndexesStartingAtIndex(std::size_t start, std::ptrdiff_t delta) {
  if (delta == 0) return;
  if (delta < 0) {
    // The magnitude taken without negating delta itself, which the most negative cannot be.
    std::size_t gap = std::min(static_cast<std::size_t>(-(delta + 1)) + 1, start);
    removeIndexesInRange(start - gap, gap);
    std::vector<Range> moved;
    moved.reserve(mRanges.size());
    for (Range r : mRanges) {
      if (r.first >= start) {
        r.first -= gap;
        r.end -= gap;
      }
      // The ranges on both sides of the closed gap may now touch.
      if (!moved.empty() && moved.back().end == r.first)
        moved.back().end = r.end;
      else
        moved.push_back(r);
    }
    mRanges = std::move(moved);
    return;
  }
  auto step = static_cast<std::size_t>(delta);
  // Indexes from here on would pass the last index a set can hold: they are dropped.
  const std::size_t room = NSNotFound - step;
  std::vector<Range> moved;
  moved.reserve(mRanges.size() + 1);
  for (Range r : mRanges) {
    if (r.end <= start) {
      moved.push_back(r);
      continue;
    }
    // A range across the gap splits around it.
    if (r.first < start) {
      moved.push_back({r.first, start});
      r.first = start;
    }
    if (r.first >= room) break;
    moved.push_back({r.first + step, std::min(r.end, room) + step});
  }
  mRanges = std::move(moved);
}

}  // namespace platform
