#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "windowing/IniReadout.h"
#include "windowing/IniStructCodec.h"

namespace {

using namespace std::string_literals;

TEST(IniValueAsRead, CutsBlanksThenOnePairOfMatchingQuotes) {
  EXPECT_EQ(swell::iniValueAsRead(" \t\"a b\" \t"), "a b");
  EXPECT_EQ(swell::iniValueAsRead("'x'"), "x");
  EXPECT_EQ(swell::iniValueAsRead("\"\"q\"\""), "\"q\"");
  EXPECT_EQ(swell::iniValueAsRead("\"mixed'"), "\"mixed'");
  EXPECT_EQ(swell::iniValueAsRead("\""), "\"");
  EXPECT_EQ(swell::iniValueAsRead("  "), "");
}

TEST(IniCopyText, CutsToTheBufferWithoutSplittingACharacter) {
  char buffer[16];
  EXPECT_EQ(swell::copyIniText("abcdefghij", buffer, 8), 7u);
  EXPECT_STREQ(buffer, "abcdefg");
  EXPECT_EQ(swell::copyIniText("abc", buffer, 8), 3u);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(swell::copyIniText("abc", buffer, 1), 0u);
  EXPECT_STREQ(buffer, "");
  // "ab" then U+00E9 (2 bytes) then U+1F600 (4 bytes).
  const std::string text = "ab\xC3\xA9\xF0\x9F\x98\x80";
  EXPECT_EQ(swell::copyIniText(text, buffer, 4), 2u);
  EXPECT_EQ(swell::copyIniText(text, buffer, 5), 4u);
  EXPECT_EQ(swell::copyIniText(text, buffer, 8), 4u);
  EXPECT_EQ(swell::copyIniText(text, buffer, 9), 8u);
  // Not UTF-8 (a long run of continuation bytes): cut at the limit.
  EXPECT_EQ(swell::copyIniText("\x80\x80\x80\x80\x80\x80", buffer, 6), 5u);
}

TEST(IniCopyText, TheBufferMayAlsoHoldTheText) {
  char buffer[16] = "default";
  EXPECT_EQ(swell::copyIniText(buffer, buffer, 5), 4u);
  EXPECT_STREQ(buffer, "defa");
}

TEST(IniNameList, FitsOrIsCutToSizeMinusTwoWithTwoNuls) {
  const std::string list = "alpha\0beta\0"s;
  char buffer[32];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(swell::copyIniNameList(list, buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::string(buffer, 12), "alpha\0beta\0\0"s);
  // Exactly enough room: eleven bytes of list and the final NUL.
  EXPECT_EQ(swell::copyIniNameList(list, buffer, 12), 10u);
  // One byte short: cut to size - 2 and ended with two NULs.
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(swell::copyIniNameList(list, buffer, 11), 9u);
  EXPECT_EQ(std::string(buffer, 11), "alpha\0bet\0\0"s);
  EXPECT_EQ(swell::copyIniNameList(list, buffer, 2), 0u);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
  EXPECT_EQ(swell::copyIniNameList("", buffer, 5), 0u);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
}

TEST(IniEntryList, CountsTheLastEntrysNulAndCutsToSizeMinusTwo) {
  swell::IniSection section;
  section.insert("b", " \"two\" ");
  section.insert("a", "1");
  char buffer[32];
  EXPECT_EQ(swell::copyIniEntryList(section, buffer, sizeof buffer), 10u);
  EXPECT_EQ(std::string(buffer, 11), "a=1\0b=two\0\0"s);
  EXPECT_EQ(swell::copyIniEntryList(section, buffer, 11), 10u);
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(swell::copyIniEntryList(section, buffer, 10), 8u);
  EXPECT_EQ(std::string(buffer, 10), "a=1\0b=tw\0\0"s);
  EXPECT_EQ(swell::copyIniEntryList(swell::IniSection(), buffer, 2), 0u);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
}

TEST(IniTextToInt, NumbersWrapAndEverythingElseGivesTheDefault) {
  EXPECT_EQ(swell::iniTextToInt("42", 7), 42);
  EXPECT_EQ(swell::iniTextToInt("-17abc", 7), -17);
  EXPECT_EQ(swell::iniTextToInt("+5", 7), 5);
  EXPECT_EQ(swell::iniTextToInt("0", 7), 0);
  EXPECT_EQ(swell::iniTextToInt("007", 7), 7);
  EXPECT_EQ(swell::iniTextToInt("", 7), 7);
  EXPECT_EQ(swell::iniTextToInt("abc", 7), 7);
  EXPECT_EQ(swell::iniTextToInt("-0", 7), 7);
  EXPECT_EQ(swell::iniTextToInt("2147483647", 7), 2147483647);
  EXPECT_EQ(swell::iniTextToInt("2147483648", 7), -2147483647 - 1);
  EXPECT_EQ(swell::iniTextToInt("4294967297", 7), 1);
  EXPECT_EQ(swell::iniTextToInt("99999999999999999999999999999", 7),
            swell::iniTextToInt("99999999999999999999999999999", 8));
}

TEST(IniStructCodec, RoundTripsWithAnUpperCaseChecksum) {
  const unsigned char data[] = {0x00, 0x7f, 0x80, 0xff, 0x12};
  const std::string text = swell::encodeIniStruct(data, sizeof data);
  EXPECT_EQ(text, "007F80FF1210");  // checksum 0x210 mod 256
  unsigned char out[5] = {};
  EXPECT_TRUE(swell::decodeIniStruct(text, out, sizeof out));
  EXPECT_EQ(std::memcmp(out, data, sizeof data), 0);
  EXPECT_TRUE(swell::decodeIniStruct("007f80ff1210", out, sizeof out));  // either case
  EXPECT_EQ(swell::encodeIniStruct(nullptr, 0), "00");
  EXPECT_TRUE(swell::decodeIniStruct("00", nullptr, 0));
}

TEST(IniStructCodec, FailedDecodeLeavesTheCallersBlockAlone) {
  unsigned char out[3] = {9, 9, 9};
  const unsigned char untouched[3] = {9, 9, 9};
  EXPECT_FALSE(swell::decodeIniStruct("01020304", out, 3 - 1 + 2));  // wrong size
  EXPECT_FALSE(swell::decodeIniStruct("010203", out, 3));            // too short
  EXPECT_FALSE(swell::decodeIniStruct("0102G307", out, 3));          // not a digit
  EXPECT_FALSE(swell::decodeIniStruct("01020307", out, 3));          // checksum 06
  EXPECT_EQ(std::memcmp(out, untouched, sizeof out), 0);
  EXPECT_TRUE(swell::decodeIniStruct("01020306", out, 3));
}

}  // namespace
