// Rectangle arithmetic with edges that are no number or infinite: what the dirty regions and
// hit tests of views are made of, so one bad frame must not spread to every rectangle met.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/objects/Geometry.h"

using namespace platform;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

bool isNumber(const NSRect& r) {
  return !std::isnan(r.origin.x) && !std::isnan(r.origin.y) && !std::isnan(r.size.width) &&
         !std::isnan(r.size.height);
}

TEST(NSRect, ARectangleThatIsNoNumberIsEmptyWhicheverSideItIsOn) {
  const NSRect good = NSMakeRect(10, 10, 100, 50);
  const NSRect bad[] = {NSMakeRect(kNaN, 0, 10, 10),    NSMakeRect(0, kNaN, 10, 10),
                        NSMakeRect(0, 0, kNaN, 10),     NSMakeRect(0, 0, 10, kNaN),
                        NSMakeRect(-kInf, 0, kInf, 10), NSMakeRect(0, -kInf, 10, kInf)};
  for (const NSRect& b : bad) {
    SCOPED_TRACE(testing::Message()
                 << b.origin.x << "," << b.origin.y << " " << b.size.width << "x" << b.size.height);
    EXPECT_TRUE(b.isEmpty());
    EXPECT_FALSE(NSIntersectsRect(good, b));
    EXPECT_FALSE(NSIntersectsRect(b, good));
    EXPECT_TRUE(NSIntersectionRect(good, b).isEmpty());
    EXPECT_TRUE(NSIntersectionRect(b, good).isEmpty());
    EXPECT_EQ(NSUnionRect(good, b), good);
    EXPECT_EQ(NSUnionRect(b, good), good);
    EXPECT_FALSE(NSPointInRect(NSMakePoint(b.minX(), b.minY()), b));
    EXPECT_FALSE(NSPointInRect(NSMakePoint(kNaN, 20), good));
  }
}

TEST(NSRect, EmptyZeroAndNegativeSizesAndInfiniteButOrderlyEdges) {
  struct Case {
    NSRect a, b;
    NSRect intersection, united;
  } cases[] = {
      // Touching edges do not intersect; an empty rectangle adds nothing to a union.
      {NSMakeRect(0, 0, 10, 10), NSMakeRect(10, 0, 10, 10), {}, NSMakeRect(0, 0, 20, 10)},
      {NSMakeRect(0, 0, 10, 10), NSMakeRect(5, 5, 0, 10), {}, NSMakeRect(0, 0, 10, 10)},
      {NSMakeRect(0, 0, 10, 10), NSMakeRect(5, 5, -4, 4), {}, NSMakeRect(0, 0, 10, 10)},
      {NSMakeRect(0, 0, 10, 10), NSMakeRect(2, 3, 4, 5), NSMakeRect(2, 3, 4, 5),
       NSMakeRect(0, 0, 10, 10)},
      // A rectangle reaching to infinity on one side is still a rectangle.
      {NSMakeRect(0, 0, 10, 10), NSMakeRect(5, 5, kInf, kInf), NSMakeRect(5, 5, 5, 5),
       NSMakeRect(0, 0, kInf, kInf)},
  };
  for (const auto& c : cases) {
    for (bool swapped : {false, true}) {
      const NSRect& a = swapped ? c.b : c.a;
      const NSRect& b = swapped ? c.a : c.b;
      EXPECT_EQ(NSIntersectionRect(a, b), c.intersection);
      EXPECT_EQ(NSUnionRect(a, b), c.united);
      EXPECT_TRUE(isNumber(NSUnionRect(a, b)));
    }
  }
  EXPECT_EQ(NSRectFromCorners({5, 9}, {1, 2}), NSMakeRect(1, 2, 4, 7));
  EXPECT_EQ(NSOffsetRect(NSMakeRect(1, 2, 3, 4), -1, -2), NSMakeRect(0, 0, 3, 4));
  EXPECT_TRUE(NSPointInRect({0, 0}, NSMakeRect(0, 0, 1, 1)));
  EXPECT_FALSE(NSPointInRect({1, 0}, NSMakeRect(0, 0, 1, 1)));
}

}  // namespace
