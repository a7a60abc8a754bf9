#include <gtest/gtest.h>

#include <string>

#include "platform/Utf16.h"

using platform::utf16ToUtf8;
using platform::utf8ToUtf16;

namespace {

// Malformed UTF-8 becomes replacement characters, one per byte that starts no valid
// sequence, and the bytes after it are read afresh.
TEST(Utf16Conversion, MalformedUtf8BecomesReplacementCharacters) {
  struct Case {
    const char* name;
    std::string in;
    std::u16string out;
  };
  const Case cases[] = {
      {"one of each length", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u00E9\u20AC\U0001F600"},
      {"a lone continuation byte", "\x80z", u"\uFFFDz"},
      {"a sequence cut by the end", "a\xC3", u"a\uFFFD"},
      {"a sequence cut by another character", "\xE2\x28\xA1", u"\uFFFD(\uFFFD"},
      {"an overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"an encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond the last code point", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"a byte no sequence starts with", "\xFF", u"\uFFFD"},
      {"an embedded zero", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(utf8ToUtf16(c.in), c.out) << c.name;
}

TEST(Utf16Conversion, LoneSurrogatesBecomeReplacementCharacters) {
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D}), replacement);
  EXPECT_EQ(utf16ToUtf8(std::u16string{0xDE00, u'a'}), replacement + "a");
  EXPECT_EQ(utf16ToUtf8(std::u16string{0xDE00, 0xD83D}), replacement + replacement);
  EXPECT_EQ(utf16ToUtf8(std::u16string{0xD83D, u'a', 0xDE00}), replacement + "a" + replacement);
  // Valid text survives the round trip unchanged.
  const std::string text = "x\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80y";
  EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(text)), text);
  EXPECT_EQ(platform::utf16Length(text), 6u);
}

}  // namespace
