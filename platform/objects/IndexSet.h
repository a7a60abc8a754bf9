#pragma once

#include <cstddef>
#include <vector>

namespace platform {

// A set of row indexes kept as sorted, disjoint, non-adjacent ranges, so that selecting
// every row of a million-row table, or moving the selection past an inserted row, costs
// per range and not per index.
class NSIndexSet {
 public:
  struct Range {
    std::size_t first = 0;  // the first index
    std::size_t end = 0;    // one past the last index
    bool operator==(const Range&) const = default;
  };
  static constexpr std::size_t NSNotFound = static_cast<std::size_t>(-1);

  NSIndexSet() = default;
  explicit NSIndexSet(std::size_t index) { addIndex(index); }
  static NSIndexSet range(std::size_t first, std::size_t count);

  bool operator==(const NSIndexSet&) const = default;

  std::size_t count() const;
  bool empty() const { return mRanges.empty(); }
  bool containsIndex(std::size_t index) const;
  // NSNotFound when empty.
  std::size_t firstIndex() const;
  std::size_t lastIndex() const;
  // The first index above `index`, or NSNotFound.
  std::size_t indexGreaterThanIndex(std::size_t index) const;
  const std::vector<Range>& ranges() const { return mRanges; }

  void addIndex(std::size_t index) { addIndexesInRange(index, 1); }
  void addIndexesInRange(std::size_t first, std::size_t count);
  void addIndexes(const NSIndexSet& other);
  void removeIndex(std::size_t index) { removeIndexesInRange(index, 1); }
  void removeIndexesInRange(std::size_t first, std::size_t count);
  void removeAllIndexes() { mRanges.clear(); }
  // Moves every index from `start` on by delta: a positive delta opens a gap of delta
  // indexes at start; a negative delta removes the |delta| indexes before start and
  // closes the gap. Indexes pushed past the last index a set can hold are dropped.
  void shiftIndexesStartingAtIndex(std::size_t start, std::ptrdiff_t delta);

 private:
  // The first range whose end is at or after index.
  std::vector<Range>::iterator rangeReaching(std::size_t index);
  std::vector<Range> mRanges;
};

}  // namespace platform
