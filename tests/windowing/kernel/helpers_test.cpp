#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "windowing/Win32.h"

namespace {

bool same(const RECT& r, LONG left, LONG top, LONG right, LONG bottom) {
  return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

TEST(KernelRects, PointInRectIsHalfOpenAndTakesEitherVerticalOrder) {
  RECT r{10, 20, 30, 40}, yUp{10, 40, 30, 20};
  EXPECT_TRUE(SWELL_PtInRect(&r, POINT{10, 20}));
  EXPECT_FALSE(SWELL_PtInRect(&r, POINT{30, 25}));
  EXPECT_FALSE(SWELL_PtInRect(&r, POINT{15, 40}));
  EXPECT_TRUE(SWELL_PtInRect(&yUp, POINT{15, 20}));
  EXPECT_FALSE(SWELL_PtInRect(&yUp, POINT{15, 40}));
  EXPECT_FALSE(SWELL_PtInRect(nullptr, POINT{0, 0}));
}

TEST(KernelRects, OffsetStopsAtTheIntRangeAndNullIsRefused) {
  RECT edge{INT_MAX - 1, INT_MIN + 1, INT_MAX, 1};
  EXPECT_EQ(WinOffsetRect(&edge, 100, -100), TRUE);
  EXPECT_TRUE(same(edge, INT_MAX, INT_MIN, INT_MAX, -99));
  EXPECT_EQ(WinOffsetRect(nullptr, 1, 1), FALSE);
  EXPECT_EQ(WinSetRect(nullptr, 1, 2, 3, 4), FALSE);
}

TEST(KernelRects, IntersectAndUnion) {
  RECT a{0, 0, 10, 10}, b{5, -5, 20, 8}, out{1, 1, 1, 1};
  EXPECT_TRUE(WinIntersectRect(&out, &a, &b));
  EXPECT_TRUE(same(out, 5, 0, 10, 8));
  // Touching edges, empty inputs and null inputs give a zeroed result.
  RECT touching{10, 0, 20, 10}, empty{5, 5, 5, 9};
  EXPECT_FALSE(WinIntersectRect(&out, &a, &touching));
  EXPECT_TRUE(same(out, 0, 0, 0, 0));
  out = RECT{1, 1, 1, 1};
  EXPECT_FALSE(WinIntersectRect(&out, &empty, &a));
  EXPECT_TRUE(same(out, 0, 0, 0, 0));
  EXPECT_FALSE(WinIntersectRect(&out, nullptr, &a));

  WinUnionRect(&out, &a, &b);
  EXPECT_TRUE(same(out, 0, -5, 20, 10));
  // A single-point rectangle does not stretch the union.
  RECT point{50, 50, 50, 50};
  WinUnionRect(&out, &point, &b);
  EXPECT_TRUE(same(out, 5, -5, 20, 8));
  WinUnionRect(&out, &a, &point);
  EXPECT_TRUE(same(out, 0, 0, 10, 10));
}

TEST(KernelMulDiv, TruncatesTowardZeroAndReportsOverflow) {
  EXPECT_EQ(MulDiv(7, 3, 2), 10);
  EXPECT_EQ(MulDiv(-7, 3, 2), -10);
  EXPECT_EQ(MulDiv(7, -3, -2), 10);
  EXPECT_EQ(MulDiv(7, 3, 0), 0);
  EXPECT_EQ(MulDiv(0, 0, 0), 0);
  // A product beyond 53 bits still divides exactly.
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
  EXPECT_EQ(_controlfp(0x1F, 0xFFFF), 0u);
}

TEST(KernelStrings, LstrcpynCopiesAtMostNMinusOneAndNeverSplitsACharacter) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(lstrcpyn(buffer, "abcdef", 4), buffer);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'x');

  std::memset(buffer, 'x', sizeof(buffer));
  lstrcpyn(buffer, "abc", 0);
  EXPECT_EQ(buffer[0], 'x');

  // "aé" is 3 bytes; room for 2 would split the é.
  lstrcpyn(buffer, "a\xC3\xA9z", 3);
  EXPECT_STREQ(buffer, "a");
  lstrcpyn(buffer, "a\xC3\xA9z", 4);
  EXPECT_STREQ(buffer, "a\xC3\xA9");

  lstrcpyn(buffer, nullptr, 8);
  EXPECT_STREQ(buffer, "");
}

class KernelTempPath : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    mHadOld = old != nullptr;
    if (old) mOld = old;
  }
  void TearDown() override {
    if (mHadOld) {
      setenv("TMPDIR", mOld.c_str(), 1);
    } else {
      unsetenv("TMPDIR");
    }
  }

 private:
  bool mHadOld = false;
  std::string mOld;
};

TEST_F(KernelTempPath, DefaultsToSlashTmpAndEndsInASlash) {
  char buffer[64];
  unsetenv("TMPDIR");
  EXPECT_EQ(GetTempPath(sizeof(buffer), buffer), 5u);
  EXPECT_STREQ(buffer, "/tmp/");
  setenv("TMPDIR", "/var/scratch", 1);
  GetTempPath(sizeof(buffer), buffer);
  EXPECT_STREQ(buffer, "/var/scratch/");
}

TEST_F(KernelTempPath, ShortBuffersKeepTheSlashInsideAndTerminate) {
  char buffer[8];
  setenv("TMPDIR", "/var/scratch", 1);
  std::memset(buffer, 'x', sizeof(buffer));
  GetTempPath(5, buffer);
  EXPECT_STREQ(buffer, "/va/");
  EXPECT_EQ(buffer[5], 'x');
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(GetTempPath(0, buffer), 0u);
  EXPECT_EQ(buffer[0], 'x');

  // The slash never lands inside a two-byte character.
  setenv("TMPDIR", "/\xC3\xA9\xC3\xA9", 1);
  GetTempPath(5, buffer);
  EXPECT_STREQ(buffer, "/\xC3\xA9/");
}

TEST(KernelGuid, MakesDistinctVersion4Identifiers) {
  unsigned char a[16], b[16];
  ASSERT_TRUE(SWELL_GenerateGUID(a));
  ASSERT_TRUE(SWELL_GenerateGUID(b));
  EXPECT_NE(std::memcmp(a, b, 16), 0);
  EXPECT_EQ(a[6] >> 4, 4);
  EXPECT_EQ(a[8] & 0xC0, 0x80);
  EXPECT_TRUE(SWELL_GenerateGUID(nullptr));
}

}  // namespace
