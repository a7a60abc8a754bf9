#include "base/Finite.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

template <typename T>
class FiniteTest : public testing::Test {};
using FloatTypes = testing::Types<float, double>;
TYPED_TEST_SUITE(FiniteTest, FloatTypes);

TYPED_TEST(FiniteTest, EveryEdgeMustBeANumber) {
  using V = TypeParam;
  using limits = std::numeric_limits<V>;
  struct Rect {
    V L, T, R, B;
  };
  const V finite[] = {0, -0.0, 1, limits::max(), limits::lowest(), limits::denorm_min()};
  const V bad[] = {limits::quiet_NaN(), limits::infinity(), -limits::infinity()};
  for (V v : finite) {
    EXPECT_TRUE(base::isFinite(v)) << v;
    EXPECT_TRUE(base::isFiniteRect(v, v, v, v)) << v;
    EXPECT_TRUE(base::isFiniteRect(Rect{v, v, v, v})) << v;
  }
  for (V v : bad) {
    EXPECT_FALSE(base::isFinite(V(1), v)) << v;
    for (int edge = 0; edge < 4; ++edge) {
      V e[4] = {1, 2, 3, 4};
      e[edge] = v;
      EXPECT_FALSE(base::isFiniteRect(e[0], e[1], e[2], e[3])) << v << " at edge " << edge;
      EXPECT_FALSE(base::isFiniteRect(Rect{e[0], e[1], e[2], e[3]})) << v << " at edge " << edge;
    }
  }
  EXPECT_TRUE(base::isFinite(1.f, 2.0)) << "mixed types";
}

}  // namespace
