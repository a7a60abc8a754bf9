// Index sets at their edges: empty sets, the first and the last index there can be, ranges
// that touch, and shifts that split, merge or push indexes off either end.

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <vector>

#include "platform/objects/IndexSet.h"

using platform::NSIndexSet;

namespace {

constexpr std::size_t kNone = NSIndexSet::NSNotFound;
constexpr std::size_t kLast = kNone - 1;  // the largest index a set can hold
using Ranges = std::vector<NSIndexSet::Range>;

NSIndexSet of(const Ranges& ranges) {
  NSIndexSet set;
  for (const auto& r : ranges)
    set.addIndexesInRange(r.first, r.end - r.first);
  return set;
}

TEST(NSIndexSet, AddingAndRemovingKeepsSortedDisjointRanges) {
  struct Case {
    const char* what;
    Ranges before;
    bool add;
    std::size_t first, count;
    Ranges after;
  } cases[] = {
      {"nothing added", {{2, 4}}, true, 9, 0, {{2, 4}}},
      {"touching ranges merge", {{2, 4}, {6, 8}}, true, 4, 2, {{2, 8}}},
      {"a range swallows those inside", {{2, 3}, {5, 6}, {9, 10}}, true, 0, 12, {{0, 12}}},
      {"the last index", {}, true, kLast, 1, {{kLast, kNone}}},
      {"a range past the last index is refused", {{1, 2}}, true, kLast, 2, {{1, 2}}},
      {"removal splits a range", {{0, 10}}, false, 3, 4, {{0, 3}, {7, 10}}},
      {"removal to the end of all indexes", {{0, 4}, {8, 9}}, false, 2, kNone, {{0, 2}}},
      {"removal of nothing", {{0, 4}}, false, 2, 0, {{0, 4}}},
      {"removal between ranges", {{0, 2}, {8, 9}}, false, 2, 6, {{0, 2}, {8, 9}}},
  };
  for (const auto& c : cases) {
    NSIndexSet set = of(c.before);
    if (c.add)
      set.addIndexesInRange(c.first, c.count);
    else
      set.removeIndexesInRange(c.first, c.count);
    EXPECT_EQ(set.ranges(), c.after) << c.what;
  }
}

TEST(NSIndexSet, QueriesAnswerNotFoundAtTheEdges) {
  const NSIndexSet empty;
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(empty.count(), 0u);
  EXPECT_EQ(empty.firstIndex(), kNone);
  EXPECT_EQ(empty.lastIndex(), kNone);
  EXPECT_EQ(empty.indexGreaterThanIndex(0), kNone);
  EXPECT_FALSE(empty.containsIndex(0));

  const NSIndexSet set = of({{0, 1}, {5, 7}, {kLast, kNone}});
  EXPECT_EQ(set.count(), 4u);
  EXPECT_EQ(set.firstIndex(), 0u);
  EXPECT_EQ(set.lastIndex(), kLast);
  EXPECT_FALSE(set.containsIndex(kNone));
  EXPECT_TRUE(set.containsIndex(kLast));
  const std::size_t greater[][2] = {
      {0, 5}, {4, 5}, {5, 6}, {6, kLast}, {kLast - 1, kLast}, {kLast, kNone}, {kNone, kNone}};
  for (const auto& g : greater)
    EXPECT_EQ(set.indexGreaterThanIndex(g[0]), g[1]) << "after " << g[0];
  EXPECT_EQ(NSIndexSet::range(3, 0), NSIndexSet());
  EXPECT_EQ(NSIndexSet(7).ranges(), (Ranges{{7, 8}}));
}

TEST(NSIndexSet, ShiftsOpenAndCloseGapsLikeRowsInsertedAndDeleted) {
  constexpr auto kMostNegative = std::numeric_limits<std::ptrdiff_t>::min();
  struct Case {
    const char* what;
    Ranges before;
    std::size_t start;
    std::ptrdiff_t delta;
    Ranges after;
  } cases[] = {
      {"rows inserted inside a range split it", {{0, 6}}, 3, 2, {{0, 3}, {5, 8}}},
      {"rows inserted after every index", {{0, 6}}, 6, 4, {{0, 6}}},
      {"rows inserted before every index", {{2, 4}}, 0, 1, {{3, 5}}},
      {"rows deleted close the gap and merge", {{0, 10}}, 5, -3, {{0, 7}}},
      {"deleted rows straddling a range", {{3, 9}}, 5, -2, {{3, 7}}},
      {"more rows deleted than lie before start", {{0, 3}, {6, 8}}, 4, -9, {{2, 4}}},
      {"no rows", {{1, 2}}, 1, 0, {{1, 2}}},
      {"indexes pushed past the last one are dropped",
       {{1, 2}, {kLast - 1, kNone}},
       5,
       3,
       {{1, 2}}},
      {"a range pushed partly past the last index",
       {{kLast - 4, kLast - 1}},
       0,
       3,
       {{kLast - 1, kNone}}},
      {"the largest deletion", {{0, 1}, {10, 11}}, 5, kMostNegative, {{5, 6}}},
  };
  for (const auto& c : cases) {
    NSIndexSet set = of(c.before);
    set.shiftIndexesStartingAtIndex(c.start, c.delta);
    EXPECT_EQ(set.ranges(), c.after) << c.what;
  }
}

}  // namespace
