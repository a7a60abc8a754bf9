#include <gtest/gtest.h>

#include "windowing/Win32.h"

namespace {

// Negative coordinates keep their 16-bit forms and come back signed; the packed
// parameter itself stays a non-negative 32-bit value.
TEST(MessageWordsTest, PointsRoundTripThroughTheirWords) {
  struct Case {
    LONG x, y;
    LPARAM packed;
  } cases[] = {
      {0, 0, 0},
      {-1, -2, 0xFFFEFFFF},
      {32767, -32768, 0x80007FFF},
      {65536 + 5, -65536 - 7, 0xFFF90005},  // only the low words survive
  };
  for (const Case& c : cases) {
    LPARAM p = swell::packPoint(c.x, c.y);
    EXPECT_EQ(p, c.packed) << c.x << "," << c.y;
    EXPECT_EQ(swell::pointX(p), static_cast<short>(c.x));
    EXPECT_EQ(swell::pointY(p), static_cast<short>(c.y));
  }
}

TEST(MessageWordsTest, WordsIgnoreBitsAboveTheLowThirtyTwo) {
  // A command id wider than 16 bits is cut, not carried into the notification code.
  EXPECT_EQ(swell::makeWParam(0x12345, 3), WPARAM{0x00032345});
  EXPECT_EQ(swell::makeLParam(-1, 0x20001), LPARAM{0x0001FFFF});
  // A sign-extended parameter reads as two all-ones words.
  EXPECT_EQ(swell::loWord(static_cast<std::uint64_t>(LPARAM{-1})), 0xFFFF);
  EXPECT_EQ(swell::hiWord(static_cast<std::uint64_t>(LPARAM{-1})), 0xFFFF);
  EXPECT_EQ(swell::hiWord(0x0000'0007'0002'0001u), 2);
}

}  // namespace
