#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "windowing/ini/detail/IniReadout.h"
#include "windowing/ini/detail/IniStructCodec.h"

namespace {

TEST(IniTextToInt, NumbersWrapTo32BitsAndAnythingElseGivesTheDefault) {
  const std::pair<const char*, int> cases[] = {
      {"42", 42},
      {"-17abc", -17},
      {"+5", 5},
      {"0", 0},
      {"007", 7},
      {"", 99},
      {"abc", 99},
      {"-0", 99},
      {"x1", 99},
      {"2147483647", 2147483647},
      {"2147483648", -2147483647 - 1},
      {"4294967297", 1},
  };
  for (const auto& [text, value] : cases)
    EXPECT_EQ(swell::iniTextToInt(text, 99), value) << text;
  const std::string huge(400, '9');
  EXPECT_EQ(swell::iniTextToInt(huge, 1), swell::iniTextToInt(huge, 2)) << "defined, not default";
}

TEST(IniStructCodec, RoundTripsAndAFailedDecodeLeavesTheBlockAlone) {
  const unsigned char data[] = {0x00, 0x7f, 0x80, 0xff, 0x12};
  EXPECT_EQ(swell::encodeIniStruct(data, sizeof data), "007F80FF1210");  // sum 0x210
  unsigned char out[5] = {};
  EXPECT_TRUE(swell::decodeIniStruct("007f80ff1210", out, sizeof out));
  EXPECT_EQ(std::memcmp(out, data, sizeof data), 0);
  EXPECT_TRUE(swell::decodeIniStruct("00", nullptr, 0));

  unsigned char block[3] = {9, 9, 9};
  for (const char* bad : {"0102030406", "010203", "0102G306", "01020307"}) {
    EXPECT_FALSE(swell::decodeIniStruct(bad, block, 3)) << bad;
    EXPECT_EQ(block[0] + block[1] + block[2], 27) << bad;
  }
}

}  // namespace
