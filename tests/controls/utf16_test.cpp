// UTF-8 / UTF-16 conversion of the text-entry control: well-formed text round-trips, anything
// else becomes U+FFFD without throwing or reading past its end.

#include "controls/Utf16.h"

#include <gtest/gtest.h>

using namespace iplug::igraphics;

namespace {

TEST(Utf16, WellFormedTextRoundTripsWithPairsAboveTheBasicPlane) {
  const char* text = "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";  // A, é, €, U+1F600
  const std::u16string u = Utf8ToUtf16(text);
  EXPECT_EQ(u, (std::u16string{u'A', 0x00E9, 0x20AC, 0xD83D, 0xDE00}));
  EXPECT_EQ(Utf16ToUtf8(u), text);
  EXPECT_EQ(Utf8ToUtf16(nullptr), u"");
}

TEST(Utf16, EachIllFormedByteBecomesOneReplacement) {
  struct Case {
    const char* in;
    std::u16string out;
  } cases[] = {
      {"\xFF", u"\uFFFD"},
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                      // overlong
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"a\xE2\x82", u"a\uFFFD\uFFFD"},                    // cut short at the end
      {"\xE2\x82"
       "b",
       u"\uFFFD\uFFFD"
       "b"},  // the next byte starts afresh
  };
  for (const Case& c : cases)
    EXPECT_EQ(Utf8ToUtf16(c.in), c.out) << c.in;
}

TEST(Utf16, UnpairedSurrogatesAndNulBecomeReplacements) {
  const char16_t lone[] = {u'a', 0xD83D, u'b', 0xDE00, 0xDE00, 0xD83D};
  EXPECT_EQ(Utf16ToUtf8(lone, 6),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  const char16_t nul[] = {u'x', 0, u'y'};
  EXPECT_EQ(Utf16ToUtf8(nul, 3), "x\xEF\xBF\xBDy");
  EXPECT_EQ(Utf16ToUtf8(nullptr, 4), "");
}

TEST(Utf16, AppendingRefusesValuesThatAreNoCodePoint) {
  std::u16string s;
  AppendUtf16(0x10FFFF, s);
  AppendUtf16(0xD800, s);
  AppendUtf16(0x110000, s);
  EXPECT_EQ(s, (std::u16string{0xDBFF, 0xDFFF, 0xFFFD, 0xFFFD}));
}

}  // namespace
