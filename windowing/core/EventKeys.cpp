#include <cstdint>
#include <string>

#include "windowing/core/EventSupport.h"
#include "windowing/core/RunLoopControl.h"

namespace {

// Keys found by their hardware code before their characters are looked at.
struct KeyCodeEntry {
  std::uint16_t keyCode;
  int virtualKey;
};

constexpr int kKeypadBit = 0x8000;

constexpr KeyCodeEntry kKeyCodes[] = {
    {51, VK_BACK},  // delete
    {65, 110},      // keypad .
    {67, 106},      // keypad *
    {69, 107},      // keypad +
    {75, 111},      // keypad /
    {78, 109},      // keypad -
    {81, 108},      // keypad =
    {71, 144},      // keypad clear: num lock
    {76, kKeypadBit | VK_RETURN},
    {82, 96},
    {83, 97},
    {84, 98},
    {85, 99},
    {86, 100},
    {87, 101},
    {88, 102},
    {89, 103},
    {91, 104},
    {92, 105},
    // F1 to F12, then F13 to F16.
    {122, 112},
    {120, 113},
    {99, 114},
    {118, 115},
    {96, 116},
    {97, 117},
    {98, 118},
    {100, 119},
    {101, 120},
    {109, 121},
    {103, 122},
    {111, 123},
    {105, 124},
    {107, 125},
    {113, 126},
    {106, 127},
    {114, 45},  // help: insert
    {115, 36},  // home
    {119, 35},  // end
    {116, 33},  // page up
    {121, 34},  // page down
    {117, 46},  // forward delete
    {123, 37},
    {124, 39},
    {125, 40},
    {126, 38},  // left, right, down, up
};

// The platform's function-key characters.
constexpr char32_t kFunctionKeyFirst = 0xF704;
constexpr char32_t kFunctionKeyLast = 0xF71B;
constexpr char32_t kBackTab = 25;
constexpr int kUnmappedKeyBase = 1024;

// The first code point of a UTF-8 text; 0 for an empty or malformed one.
char32_t firstCodePoint(const std::string& text) {
  if (text.empty()) return 0;
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char c = byte(0);
  std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (len == 0 || text.size() < len) return 0;
  if (len == 1) return c;
  char32_t cp = c & (0x7F >> len);
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  return cp;
}

bool isLetterOrDigit(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

}  // namespace

namespace swell {

int modifierFlagsOf(const platform::NSEvent& e) {
  int flags = 0;
  if (e.modifierFlags & platform::NSEventModifierFlagShift) flags |= FSHIFT;
  if (e.modifierFlags & platform::NSEventModifierFlagCommand) flags |= FCONTROL;
  if (e.modifierFlags & platform::NSEventModifierFlagOption) flags |= FALT;
  // While Control-click is the right button, the Control key is not a modifier.
  if ((e.modifierFlags & platform::NSEventModifierFlagControl) &&
      !SWELL_IsRightClickEmulateEnabled())
    flags |= FLWIN;
  return flags;
}

int macKeyToWindowsKey(const platform::NSEvent& e, int* flagsOut) {
  int flags = modifierFlagsOf(e);
  int result = 0;
  bool found = false;
  for (const auto& entry : kKeyCodes) {
    if (entry.keyCode == e.keyCode) {
      result = entry.virtualKey;
      flags |= FVIRTKEY;
      found = true;
      break;
    }
  }
  if (!found) {
    char32_t c = firstCodePoint(e.charactersIgnoringModifiers);
    if (c >= kFunctionKeyFirst && c <= kFunctionKeyLast) {
      result = 112 + static_cast<int>(c - kFunctionKeyFirst);
      flags |= FVIRTKEY;
    } else if (c) {
      if (c >= 'a' && c <= 'z') c = c - 'a' + 'A';
      if (c == kBackTab && (flags & FSHIFT)) c = VK_TAB;
      result = static_cast<int>(c);
      if (isLetterOrDigit(c) || c == VK_TAB || c == 10 || c == VK_RETURN || c == VK_ESCAPE ||
          c == VK_SPACE)
        flags |= FVIRTKEY;
      else
        flags &= ~FSHIFT;  // the character itself says what Shift did
    } else {
      // No characters and no layout to ask: the key code itself, marked as unmapped.
      result = e.keyCode + kUnmappedKeyBase;
      flags |= FVIRTKEY;
    }
  }
  if (flagsOut) *flagsOut = flags;
  return result;
}

}  // namespace swell
