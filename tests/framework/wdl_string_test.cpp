#include <gtest/gtest.h>

#include <string>

#include "framework/FailingRealloc.h"
#include "framework/WDLString.h"

namespace {

TEST(WDLStringTest, EmptyAndNullTextsReadAsEmpty) {
  WDL_String s;
  ASSERT_NE(s.Get(), nullptr);
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
  s.Set("x");
  s.Set(nullptr);
  EXPECT_STREQ(s.Get(), "");
  EXPECT_TRUE(s.Append(nullptr));
  EXPECT_STREQ(WDL_String(nullptr).Get(), "");
}

TEST(WDLStringTest, SetAppendInsertAndDeleteSub) {
  WDL_String s("Hello");
  EXPECT_EQ(s.GetLength(), 5);
  s.Append(", world!!!", 7);
  EXPECT_STREQ(s.Get(), "Hello, world");
  s.Insert("big ", 7);
  EXPECT_STREQ(s.Get(), "Hello, big world");
  s.Insert(">", -3);
  s.Insert("<", 1000);
  EXPECT_STREQ(s.Get(), ">Hello, big world<");
  s.DeleteSub(0, 1);
  s.DeleteSub(s.GetLength() - 1, 50);
  s.DeleteSub(5, 5);
  EXPECT_STREQ(s.Get(), "Hello world");
  s.DeleteSub(-1, 3);
  s.DeleteSub(11, 1);
  s.DeleteSub(2, 0);
  EXPECT_STREQ(s.Get(), "Hello world");
  s.Set("abcdef", 3);
  EXPECT_STREQ(s.Get(), "abc");
}

TEST(WDLStringTest, GrowsAcrossManyStepsWithoutLosingText) {
  WDL_String s;
  std::string expected;
  for (int i = 0; i < 1000; ++i) {
    const char c[2] = {static_cast<char>('a' + i % 26), '\0'};
    s.Append(c);
    expected += c;
  }
  EXPECT_EQ(s.Get(), expected);
  EXPECT_EQ(s.GetLength(), 1000);
}

TEST(WDLStringTest, SourcesInsideTheStringItself) {
  WDL_String s("abc");
  for (int i = 0; i < 8; ++i)
    s.Append(s.Get());  // grows past several steps
  EXPECT_EQ(s.GetLength(), 3 * 256);
  EXPECT_EQ(std::string(s.Get()).substr(0, 9), "abcabcabc");

  s.Set("0123456789");
  s.Insert(s.Get() + 8, 1);
  EXPECT_STREQ(s.Get(),
               "0891234567"
               "89");
  s.Set(s.Get() + 3);
  EXPECT_STREQ(s.Get(),
               "1234567"
               "89");
  s.SetFormatted(100, "[%s|%s]", s.Get(), s.Get());
  EXPECT_STREQ(s.Get(), "[123456789|123456789]");
  s.AppendFormatted(100, "%s", s.Get());
  EXPECT_STREQ(s.Get(), "[123456789|123456789][123456789|123456789]");
}

TEST(WDLStringTest, FormattedWritesAreBounded) {
  WDL_String s("keep");
  s.SetFormatted(5, "%d", 1234567);
  EXPECT_STREQ(s.Get(), "12345");
  s.SetFormatted(0, "%d", 42);
  EXPECT_STREQ(s.Get(), "");
  s.SetFormatted(-3, "%d", 42);
  EXPECT_STREQ(s.Get(), "");
  s.Set("v=");
  s.AppendFormatted(0, "%d", 42);
  s.AppendFormatted(-1, "%d", 42);
  EXPECT_STREQ(s.Get(), "v=");
  s.AppendFormatted(3, "%.2f", 3.14159);
  EXPECT_STREQ(s.Get(), "v=3.1");
  s.SetFormatted(32, "%0.0f", 50.0);
  EXPECT_STREQ(s.Get(), "50");
  EXPECT_FALSE(s.SetFormatted(10, nullptr));
  EXPECT_STREQ(s.Get(), "50");
}

TEST(WDLStringTest, LimitsNeverCutInsideACharacter) {
  WDL_String s;
  s.Set("a\xC3\xA9", 2);  // "aé": the limit falls inside "é"
  EXPECT_STREQ(s.Get(), "a");
  s.Set(
      "\xE2\x82\xAC"
      "uro",
      2);  // "€uro"
  EXPECT_STREQ(s.Get(), "");
  s.Set(
      "\xE2\x82\xAC"
      "uro",
      3);
  EXPECT_STREQ(s.Get(), "\xE2\x82\xAC");
  s.SetFormatted(4, "%s", "ab\xE2\x82\xAC");
  EXPECT_STREQ(s.Get(), "ab");
  s.Set("x");
  s.AppendFormatted(1, "%s", "\xC3\xA9");
  EXPECT_STREQ(s.Get(), "x");
}

TEST(WDLStringTest, SetLenMakesRoomOrCuts) {
  WDL_String s("abc");
  char* storage = s.SetLen(6);
  ASSERT_NE(storage, nullptr);
  EXPECT_STREQ(s.Get(), "abc");  // padding is NUL until written
  storage[3] = 'd';
  storage[4] = 'e';
  storage[5] = 'f';
  EXPECT_STREQ(s.Get(), "abcdef");
  s.SetLen(2, true);
  EXPECT_STREQ(s.Get(), "ab");
  EXPECT_EQ(s.SetLen(-1), nullptr);
  EXPECT_STREQ(s.Get(), "ab");
}

TEST(WDLStringTest, FailedGrowthKeepsTheText) {
  WDL_String s("short");
  const std::string longText(500, 'x');
  {
    FailingRealloc failing(256);
    EXPECT_FALSE(s.Append(longText.c_str()));
    EXPECT_FALSE(s.Insert(longText.c_str(), 2));
    EXPECT_FALSE(s.Set(longText.c_str()));
    EXPECT_FALSE(s.SetFormatted(1000, "%s", longText.c_str()));
    EXPECT_EQ(s.SetLen(400), nullptr);
  }
  EXPECT_STREQ(s.Get(), "short");
}

TEST(WDLStringTest, CopiesAndMovesAreIndependent) {
  WDL_String a("one");
  WDL_String b(a);
  b.Append(" two");
  EXPECT_STREQ(a.Get(), "one");
  EXPECT_STREQ(b.Get(), "one two");
  WDL_String c(std::move(b));
  EXPECT_STREQ(c.Get(), "one two");
  a = c;
  c.Set("three");
  EXPECT_STREQ(a.Get(), "one two");
  a = std::move(c);
  EXPECT_STREQ(a.Get(), "three");
}

}  // namespace
