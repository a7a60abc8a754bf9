// The codec: every class of ill-formed input gets the one answer (one U+FFFD per byte that
// starts no well-formed sequence), encoding refuses what is no scalar value, and cuts never
// split a character.

#include "base/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using base::kReplacementCharacter;

std::u32string decodeAll(std::string_view text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    const base::Utf8Char c = base::decodeUtf8(text, i);
    out += c.codePoint;
    i += c.length;
  }
  return out;
}

std::string encodeAll(const std::u32string& codePoints) {
  std::string out;
  for (char32_t c : codePoints)
    base::appendUtf8(c, out);
  return out;
}

std::u16string encodeAll16(const std::u32string& codePoints) {
  std::u16string out;
  for (char32_t c : codePoints)
    base::appendUtf16(c, out);
  return out;
}

struct DecodeCase {
  const char* name;
  std::string in;
  std::u32string out;
};

const char32_t R = kReplacementCharacter;

const DecodeCase kWellFormed[] = {
    {"empty", "", U""},
    {"ascii with an embedded zero", std::string("a\0b", 3), std::u32string(U"a\0b", 3)},
    {"one of each length", "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", U"a\u00E9\u20AC\U0001F600"},
    {"the edges of each length", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80",
     U"\x7F\u0080\u07FF\u0800\uFFFF\U00010000"},
    {"the last code point", "\xF4\x8F\xBF\xBF", U"\U0010FFFF"},
    {"the code points around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", U"\uD7FF\uE000"},
    {"the replacement character itself", "\xEF\xBF\xBD", U"\uFFFD"},
};

const DecodeCase kIllFormed[] = {
    {"a lone continuation byte", "\x80z", {R, U'z'}},
    {"continuation bytes in a row", "\x80\xBF\x80", {R, R, R}},
    {"a sequence cut by the end (2)", "a\xC3", {U'a', R}},
    {"a sequence cut by the end (3)", "a\xE2\x82", {U'a', R, R}},
    {"a sequence cut by the end (4)", "\xF0\x9F\x98", {R, R, R}},
    {"a sequence cut by another character", "\xE2(\xA1", {R, U'(', R}},
    {"a cut sequence before a whole one", "\xE2\x82\xC3\xA9", {R, R, U'\u00E9'}},
    {"lead bytes of overlong forms only", "\xC0\xAF\xC1\xBF", {R, R, R, R}},
    {"an overlong three-byte form", "\xE0\x80\xAF", {R, R, R}},
    {"the longest overlong three-byte form", "\xE0\x9F\xBF", {R, R, R}},
    {"an overlong four-byte form", "\xF0\x8F\xBF\xBF", {R, R, R, R}},
    {"an encoded high surrogate", "\xED\xA0\x80", {R, R, R}},
    {"an encoded low surrogate", "\xED\xBF\xBF", {R, R, R}},
    {"beyond the last code point", "\xF4\x90\x80\x80", {R, R, R, R}},
    {"lead bytes of no sequence", "\xF5\xF8\xFC\xFE\xFF", {R, R, R, R, R}},
    {"a five-byte form", "\xF8\x88\x80\x80\x80", {R, R, R, R, R}},
};

TEST(Utf8Decode, WellFormedTextDecodesAndPassesUnchanged) {
  for (const DecodeCase& c : kWellFormed) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodeAll(c.in), c.out);
    EXPECT_TRUE(base::isValidUtf8(c.in));
    EXPECT_EQ(base::sanitizeUtf8(c.in), c.in);
    EXPECT_EQ(base::utf8ToUtf16(c.in), encodeAll16(c.out));
    EXPECT_EQ(base::utf16Length(c.in), encodeAll16(c.out).size());
    EXPECT_EQ(base::utf16ToUtf8(base::utf8ToUtf16(c.in)), c.in);
  }
}

TEST(Utf8Decode, EachByteStartingNoSequenceBecomesOneReplacement) {
  for (const DecodeCase& c : kIllFormed) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(decodeAll(c.in), c.out);
    EXPECT_FALSE(base::isValidUtf8(c.in));
    const std::string clean = base::sanitizeUtf8(c.in);
    EXPECT_EQ(clean, encodeAll(c.out));
    EXPECT_TRUE(base::isValidUtf8(clean));
    EXPECT_EQ(base::utf8ToUtf16(c.in), encodeAll16(c.out));
    EXPECT_EQ(base::utf16Length(c.in), encodeAll16(c.out).size());
  }
}

TEST(Utf8Decode, ReadsNothingPastTheEndOfItsView) {
  // The view ends inside a sequence whose missing bytes follow in memory.
  const std::string whole = "\xE2\x82\xAC";
  const base::Utf8Char c = base::decodeUtf8(std::string_view(whole).substr(0, 2), 0);
  EXPECT_FALSE(c.wellFormed);
  EXPECT_EQ(c.length, 1u);
  EXPECT_EQ(base::decodeUtf8(whole, 3).length, 0u) << "at the end there is nothing to take";
}

TEST(Utf8Encode, EveryScalarValueRoundTripsAndNothingElseIsEncoded) {
  std::string utf8;
  std::u16string utf16;
  for (char32_t c = 0; c <= base::kMaxCodePoint; ++c) {
    if (!base::isScalarValue(c)) continue;
    utf8.clear();
    utf16.clear();
    base::appendUtf8(c, utf8);
    base::appendUtf16(c, utf16);
    const base::Utf8Char back = base::decodeUtf8(utf8, 0);
    ASSERT_TRUE(back.wellFormed && back.codePoint == c && back.length == utf8.size())
        << static_cast<std::uint32_t>(c);
    ASSERT_EQ(base::utf16ToUtf8(utf16), utf8) << static_cast<std::uint32_t>(c);
  }
  for (char32_t c : {0xD800u, 0xDBFFu, 0xDC00u, 0xDFFFu, 0x110000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(encodeAll({c}), "\xEF\xBF\xBD") << static_cast<std::uint32_t>(c);
    EXPECT_EQ(encodeAll16({c}), u"\uFFFD") << static_cast<std::uint32_t>(c);
  }
}

TEST(Utf16ToUtf8, UnpairedSurrogatesBecomeReplacements) {
  struct Case {
    const char* name;
    std::u16string in;
    std::u32string out;
  } cases[] = {
      {"a pair", {0xD83D, 0xDE00}, U"\U0001F600"},
      {"a high surrogate at the end", {u'a', 0xD83D}, {U'a', R}},
      {"a lone low surrogate", {0xDE00, u'a'}, {R, U'a'}},
      {"a pair in the wrong order", {0xDE00, 0xD83D}, {R, R}},
      {"a high surrogate before a plain unit", {0xD83D, u'a', 0xDE00}, {R, U'a', R}},
      {"two high surrogates then a low one", {0xD83D, 0xD83D, 0xDE00}, {R, U'\U0001F600'}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(base::utf16ToUtf8(c.in), encodeAll(c.out)) << c.name;
}

// Where the decoder starts each character of the text, and the end.
std::vector<std::size_t> boundaries(std::string_view text) {
  std::vector<std::size_t> out;
  for (std::size_t i = 0; i < text.size(); i += base::decodeUtf8(text, i).length)
    out.push_back(i);
  out.push_back(text.size());
  return out;
}

TEST(Utf8Cut, ThePrefixIsTheLongestThatEndsOnAWholeCharacter) {
  std::vector<std::string> texts;
  for (const DecodeCase& c : kWellFormed)
    texts.push_back(c.in);
  for (const DecodeCase& c : kIllFormed)
    texts.push_back(c.in);
  texts.push_back("\x80\x80\x80\x80\xF0\x9F\x98\x80\x80\x80");
  texts.push_back("ab\xF0\x9F\x98\x80\xE2\x82\xAC\xC3");
  for (const std::string& text : texts) {
    const std::vector<std::size_t> cuts = boundaries(text);
    for (std::size_t max = 0; max <= text.size() + 1; ++max) {
      std::size_t expected = 0;
      for (std::size_t b : cuts)
        if (b <= max) expected = b;
      EXPECT_EQ(base::utf8PrefixLength(text, max), expected) << '"' << text << "\" at " << max;
      if (text.find('\0') != std::string::npos) continue;
      if (max > text.size()) {
        EXPECT_EQ(base::utf8PrefixLength(text.c_str(), max), expected) << "as a C string";
        continue;
      }
      // Unterminated within max bytes: only those are read (the sanitizer sees any byte
      // more), and the last character is judged as if continuation bytes followed.
      const std::vector<char> exact(text.begin(), text.begin() + static_cast<long>(max));
      const std::string continued = text.substr(0, max) + "\x80\x80\x80";
      EXPECT_EQ(base::utf8PrefixLength(exact.data(), max), base::utf8PrefixLength(continued, max))
          << '"' << text << "\" as " << max << " unterminated bytes";
    }
  }
}

TEST(Utf8Cut, CopiesIntoBuffersAreTerminatedAndWhole) {
  const std::string text = "x\xE2\x82\xAC";
  struct Case {
    std::size_t size;
    const char* copied;
  } cases[] = {{1, ""}, {2, "x"}, {4, "x"}, {5, "x\xE2\x82\xAC"}, {9, "x\xE2\x82\xAC"}};
  for (const Case& c : cases) {
    char buffer[9];
    for (bool cString : {false, true}) {
      std::fill(std::begin(buffer), std::end(buffer), '#');
      const std::size_t n = cString ? base::copyUtf8(text.c_str(), buffer, c.size)
                                    : base::copyUtf8(text, buffer, c.size);
      EXPECT_EQ(n, std::string(c.copied).size()) << c.size << (cString ? " as a C string" : "");
      EXPECT_STREQ(buffer, c.copied) << c.size;
      if (c.size < sizeof buffer) {
        EXPECT_EQ(buffer[c.size], '#') << "written past size " << c.size;
      }
    }
  }
  char untouched = '#';
  EXPECT_EQ(base::copyUtf8(text, &untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
  EXPECT_EQ(base::copyUtf8(text, nullptr, 5), 0u);
  EXPECT_EQ(base::utf8PrefixLength(nullptr, 5), 0u);
  char empty[] = "#";
  EXPECT_EQ(base::copyUtf8(static_cast<const char*>(nullptr), empty, 2), 0u);
  EXPECT_STREQ(empty, "");
  EXPECT_EQ(base::utf8PrefixLength("ab", SIZE_MAX), 2u);
  // A buffer may receive a part of itself.
  char self[] = "ab\xC3\xA9";
  EXPECT_EQ(base::copyUtf8(std::string_view(self).substr(1), self, 3), 1u);
  EXPECT_STREQ(self, "b");
}

}  // namespace
