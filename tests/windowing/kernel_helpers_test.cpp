#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "windowing/Kernel.h"

namespace {

TEST(KernelRects, PointInRectIsHalfOpenAndTakesEitherVerticalOrder) {
  RECT r{10, 20, 30, 40};
  EXPECT_TRUE(SWELL_PtInRect(&r, POINT{10, 20}));
  EXPECT_TRUE(SWELL_PtInRect(&r, POINT{29, 39}));
  EXPECT_FALSE(SWELL_PtInRect(&r, POINT{30, 25}));
  EXPECT_FALSE(SWELL_PtInRect(&r, POINT{15, 40}));
  RECT yUp{10, 40, 30, 20};
  EXPECT_TRUE(SWELL_PtInRect(&yUp, POINT{15, 20}));
  EXPECT_FALSE(SWELL_PtInRect(&yUp, POINT{15, 40}));
  EXPECT_FALSE(SWELL_PtInRect(nullptr, POINT{0, 0}));
}

TEST(KernelRects, SetAndOffsetRefuseNullAndStopAtTheIntRange) {
  RECT r;
  EXPECT_EQ(WinSetRect(&r, 1, 2, 3, 4), TRUE);
  EXPECT_EQ(WinOffsetRect(&r, 10, -20), TRUE);
  EXPECT_EQ(r.left, 11);
  EXPECT_EQ(r.top, -18);
  EXPECT_EQ(r.right, 13);
  EXPECT_EQ(r.bottom, -16);
  EXPECT_EQ(WinSetRect(nullptr, 1, 2, 3, 4), FALSE);
  EXPECT_EQ(WinOffsetRect(nullptr, 1, 1), FALSE);

  RECT edge{INT_MAX - 1, 0, INT_MAX, 1};
  WinOffsetRect(&edge, 100, 0);
  EXPECT_EQ(edge.left, INT_MAX);
  EXPECT_EQ(edge.right, INT_MAX);
}

TEST(KernelRects, IntersectGivesTheOverlapOrZeroes) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, out{1, 1, 1, 1};
  EXPECT_TRUE(WinIntersectRect(&out, &a, &b));
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.top, 5);
  EXPECT_EQ(out.right, 10);
  EXPECT_EQ(out.bottom, 10);

  RECT apart{10, 0, 20, 10};  // touches a's right edge only
  EXPECT_FALSE(WinIntersectRect(&out, &a, &apart));
  EXPECT_EQ(out.left | out.top | out.right | out.bottom, 0);

  RECT empty{5, 5, 5, 9};
  out = RECT{1, 1, 1, 1};
  EXPECT_FALSE(WinIntersectRect(&out, &empty, &a));
  EXPECT_EQ(out.right, 0);
  EXPECT_FALSE(WinIntersectRect(&out, nullptr, &a));
  EXPECT_FALSE(WinIntersectRect(nullptr, &a, &b));
}

TEST(KernelRects, UnionIgnoresSinglePointRectangles) {
  RECT a{0, 0, 10, 10}, b{5, -5, 20, 8}, point{50, 50, 50, 50}, out;
  WinUnionRect(&out, &a, &b);
  EXPECT_EQ(out.left, 0);
  EXPECT_EQ(out.top, -5);
  EXPECT_EQ(out.right, 20);
  EXPECT_EQ(out.bottom, 10);
  WinUnionRect(&out, &point, &b);
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.bottom, 8);
  WinUnionRect(&out, &a, &point);
  EXPECT_EQ(out.right, 10);
  EXPECT_FALSE(WinUnionRect(nullptr, &a, &b));
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

  lstrcpyn(buffer, "ab", 8);
  EXPECT_STREQ(buffer, "ab");

  std::memset(buffer, 'x', sizeof(buffer));
  lstrcpyn(buffer, "abc", 0);
  EXPECT_EQ(buffer[0], 'x');
  lstrcpyn(buffer, "abc", -3);
  EXPECT_EQ(buffer[0], 'x');
  lstrcpyn(buffer, "abc", 1);
  EXPECT_STREQ(buffer, "");

  // "aé" is 3 bytes; room for 2 would split the é.
  lstrcpyn(buffer, "a\xC3\xA9z", 3);
  EXPECT_STREQ(buffer, "a");
  lstrcpyn(buffer, "a\xC3\xA9z", 4);
  EXPECT_STREQ(buffer, "a\xC3\xA9");

  lstrcpyn(buffer, nullptr, 8);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(lstrcpyn(nullptr, "abc", 8), nullptr);
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
  setenv("TMPDIR", "", 1);
  GetTempPath(sizeof(buffer), buffer);
  EXPECT_STREQ(buffer, "/tmp/");
  setenv("TMPDIR", "/var/scratch", 1);
  GetTempPath(sizeof(buffer), buffer);
  EXPECT_STREQ(buffer, "/var/scratch/");
  setenv("TMPDIR", "/var/scratch/", 1);
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
  GetTempPath(1, buffer);
  EXPECT_STREQ(buffer, "");
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
