#include <gtest/gtest.h>

#include "framework/IPlugStructs.h"

using iplug::IKeyPress;
using iplug::IMidiMsg;

namespace {

TEST(IKeyPressTest, CopiesAtMostFourBytesOfWholeCharacters) {
  IKeyPress plain("a", iplug::kVK_A, true, false, true);
  EXPECT_STREQ(plain.utf8, "a");
  EXPECT_EQ(plain.VK, 0x41);
  EXPECT_TRUE(plain.S);
  EXPECT_FALSE(plain.C);
  EXPECT_TRUE(plain.A);

  EXPECT_STREQ(IKeyPress("\xF0\x9F\x8E\xB9", 0).utf8, "\xF0\x9F\x8E\xB9");  // four-byte character
  EXPECT_STREQ(IKeyPress("abcdefgh", 0).utf8, "abcd");
  EXPECT_STREQ(IKeyPress("ab\xE2\x82\xAC", 0).utf8, "ab");  // "ab€": the € would not fit whole
  EXPECT_STREQ(IKeyPress(nullptr, iplug::kVK_RETURN).utf8, "");
}

TEST(IMidiMsgTest, StatusHelpers) {
  const IMidiMsg noteOn(12, 0x93, 60, 100);
  EXPECT_EQ(noteOn.mOffset, 12);
  EXPECT_EQ(noteOn.StatusMsg(), IMidiMsg::kNoteOn);
  EXPECT_EQ(noteOn.Channel(), 3);
  EXPECT_EQ(noteOn.NoteNumber(), 60);
  EXPECT_EQ(noteOn.Velocity(), 100);
  EXPECT_EQ(noteOn.ControlChangeIdx(), -1);

  const IMidiMsg cc(0, 0xB0, 7, 127);
  EXPECT_EQ(cc.StatusMsg(), IMidiMsg::kControlChange);
  EXPECT_EQ(cc.ControlChangeIdx(), 7);
  EXPECT_EQ(cc.NoteNumber(), -1);

  EXPECT_EQ(IMidiMsg(0, 0xE0, 0x7F, 0x7F).PitchWheel(), 8191);
  EXPECT_EQ(IMidiMsg(0, 0xF8, 0, 0).StatusMsg(), IMidiMsg::kNone);  // system message
  EXPECT_EQ(IMidiMsg(0, 0x45, 0, 0).StatusMsg(), IMidiMsg::kNone);  // a data byte
}

TEST(IMidiMsgTest, DataBytesOfMalformedMessagesReadAsTheirLowSevenBits) {
  struct Case {
    uint8_t status, data1, data2;
    int note, velocity, controller, program, pitch;
  };
  const Case cases[] = {
      {0x90, 0xFF, 0xFF, 127, 127, -1, -1, 0},
      {0x80, 0x80, 0x80, 0, 0, -1, -1, 0},
      {0x9F, 0xBC, 0xE4, 60, 100, -1, -1, 0},
      {0xA0, 0xC5, 0x90, 69, -1, -1, -1, 0},  // polyphonic aftertouch has a note, no velocity
      {0xB0, 0xFF, 0x00, -1, -1, 127, -1, 0},
      {0xB3, 0x87, 0xFF, -1, -1, 7, -1, 0},
      {0xC0, 0xFF, 0x00, -1, -1, -1, 127, 0},
      {0xE0, 0xFF, 0xFF, -1, -1, -1, -1, 8191},
      {0xE0, 0x80, 0xC0, -1, -1, -1, -1, 0},
  };
  for (const Case& c : cases) {
    const IMidiMsg msg(0, c.status, c.data1, c.data2);
    SCOPED_TRACE(testing::Message()
                 << std::hex << int{c.status} << " " << int{c.data1} << " " << int{c.data2});
    EXPECT_EQ(msg.NoteNumber(), c.note);
    EXPECT_EQ(msg.Velocity(), c.velocity);
    EXPECT_EQ(msg.ControlChangeIdx(), c.controller);
    EXPECT_EQ(msg.Program(), c.program);
    EXPECT_EQ(msg.PitchWheel(), c.pitch);
  }
}

}  // namespace
