#pragma once

#include <cstdint>
#include <cstring>

#include "base/Utf8.h"

namespace iplug {

// Windows virtual-key codes that the controls test for.
constexpr int kVK_BACK = 0x08;
constexpr int kVK_TAB = 0x09;
constexpr int kVK_RETURN = 0x0D;
constexpr int kVK_SHIFT = 0x10;
constexpr int kVK_CONTROL = 0x11;
constexpr int kVK_MENU = 0x12;
constexpr int kVK_ESCAPE = 0x1B;
constexpr int kVK_SPACE = 0x20;
constexpr int kVK_PRIOR = 0x21;
constexpr int kVK_NEXT = 0x22;
constexpr int kVK_END = 0x23;
constexpr int kVK_HOME = 0x24;
constexpr int kVK_LEFT = 0x25;
constexpr int kVK_UP = 0x26;
constexpr int kVK_RIGHT = 0x27;
constexpr int kVK_DOWN = 0x28;
constexpr int kVK_INSERT = 0x2D;
constexpr int kVK_DELETE = 0x2E;
constexpr int kVK_0 = 0x30;
constexpr int kVK_1 = 0x31;
constexpr int kVK_2 = 0x32;
constexpr int kVK_3 = 0x33;
constexpr int kVK_4 = 0x34;
constexpr int kVK_5 = 0x35;
constexpr int kVK_6 = 0x36;
constexpr int kVK_7 = 0x37;
constexpr int kVK_8 = 0x38;
constexpr int kVK_9 = 0x39;
constexpr int kVK_A = 0x41;
constexpr int kVK_B = 0x42;
constexpr int kVK_C = 0x43;
constexpr int kVK_D = 0x44;
constexpr int kVK_E = 0x45;
constexpr int kVK_F = 0x46;
constexpr int kVK_G = 0x47;
constexpr int kVK_H = 0x48;
constexpr int kVK_I = 0x49;
constexpr int kVK_J = 0x4A;
constexpr int kVK_K = 0x4B;
constexpr int kVK_L = 0x4C;
constexpr int kVK_M = 0x4D;
constexpr int kVK_N = 0x4E;
constexpr int kVK_O = 0x4F;
constexpr int kVK_P = 0x50;
constexpr int kVK_Q = 0x51;
constexpr int kVK_R = 0x52;
constexpr int kVK_S = 0x53;
constexpr int kVK_T = 0x54;
constexpr int kVK_U = 0x55;
constexpr int kVK_V = 0x56;
constexpr int kVK_W = 0x57;
constexpr int kVK_X = 0x58;
constexpr int kVK_Y = 0x59;
constexpr int kVK_Z = 0x5A;
constexpr int kVK_NUMPAD0 = 0x60;
constexpr int kVK_NUMPAD9 = 0x69;

// A key event: the Windows virtual-key code, the typed character as UTF-8 and the modifiers.
struct IKeyPress {
  static constexpr int kMaxUTF8Bytes = 4;

  int VK = 0;
  char utf8[kMaxUTF8Bytes + 1] = {};
  bool S = false;  // Shift
  bool C = false;  // Command
  bool A = false;  // Option

  // Copies at most four bytes of utf8 (null counts as ""), dropping a character that would not
  // fit whole, and always terminates.
  IKeyPress(const char* text, int vk, bool s = false, bool c = false, bool a = false)
      : VK(vk), S(s), C(c), A(a) {
    if (!text) return;
    const std::size_t n = base::utf8PrefixLength(text, kMaxUTF8Bytes);
    std::memcpy(utf8, text, n);
    utf8[n] = '\0';
  }
};

// One short MIDI message: sample offset, status byte and two data bytes.
struct IMidiMsg {
  enum EStatusMsg {
    kNone = 0,
    kNoteOff = 8,
    kNoteOn = 9,
    kPolyAftertouch = 10,
    kControlChange = 11,
    kProgramChange = 12,
    kChannelAftertouch = 13,
    kPitchWheel = 14,
  };

  int mOffset = 0;
  uint8_t mStatus = 0;
  uint8_t mData1 = 0;
  uint8_t mData2 = 0;

  IMidiMsg() = default;
  IMidiMsg(int offset, uint8_t status, uint8_t data1, uint8_t data2)
      : mOffset(offset), mStatus(status), mData1(data1), mData2(data2) {}

  // The message kind from the status byte's high nibble; kNone for system messages and for
  // bytes that are no status byte.
  EStatusMsg StatusMsg() const {
    const int kind = mStatus >> 4;
    return kind >= kNoteOff && kind <= kPitchWheel ? static_cast<EStatusMsg>(kind) : kNone;
  }
  int Channel() const { return mStatus & 0x0F; }
  // A MIDI data byte never has the top bit; a malformed message's data bytes are read as
  // their low 7 bits, so no accessor answers outside 0..127.
  static constexpr int kDataByteMask = 0x7F;
  // The note of a note-on, note-off or polyphonic aftertouch message, else -1.
  int NoteNumber() const {
    const EStatusMsg kind = StatusMsg();
    return kind == kNoteOn || kind == kNoteOff || kind == kPolyAftertouch ? mData1 & kDataByteMask
                                                                          : -1;
  }
  // The velocity of a note-on or note-off message, else -1.
  int Velocity() const {
    const EStatusMsg kind = StatusMsg();
    return kind == kNoteOn || kind == kNoteOff ? mData2 & kDataByteMask : -1;
  }
  // The controller number of a control change, else -1.
  int ControlChangeIdx() const {
    return StatusMsg() == kControlChange ? mData1 & kDataByteMask : -1;
  }
  // The program of a program change, else -1.
  int Program() const { return StatusMsg() == kProgramChange ? mData1 & kDataByteMask : -1; }
  // The 14-bit pitch-wheel position centred on 0 (-8192..8191), else 0.
  int PitchWheel() const {
    return StatusMsg() == kPitchWheel
               ? ((mData2 & kDataByteMask) << 7 | (mData1 & kDataByteMask)) - 8192
               : 0;
  }
  void Clear() { *this = IMidiMsg(); }
};

// A System Exclusive message passed by value: sample offset, size and the bytes (F0 to
// F7 included), which the sender keeps.
struct ISysEx {
  int mOffset = 0;
  int mSize = 0;
  const uint8_t* mData = nullptr;

  ISysEx() = default;
  ISysEx(int offset, const uint8_t* data, int size) : mOffset(offset), mSize(size), mData(data) {}
};

// A queued System Exclusive message: the bytes are copied in, so it can cross threads in
// a ring. Longer messages do not fit and are not queued.
struct SysExData {
  static constexpr int kMaxSize = 512;

  int mOffset = 0;
  int mSize = 0;
  uint8_t mData[kMaxSize] = {};

  SysExData() = default;
  // Copies the bytes when 0 <= size <= kMaxSize; otherwise the record stays empty (size 0).
  SysExData(int offset, int size, const uint8_t* data) : mOffset(offset) {
    if (!data || size < 0 || size > kMaxSize) return;
    mSize = size;
    std::memcpy(mData, data, static_cast<std::size_t>(size));
  }
};

}  // namespace iplug
