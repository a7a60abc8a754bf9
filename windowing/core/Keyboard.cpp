#include "windowing/core/Keyboard.h"

#include <cstdint>
#include <string>

#include "base/Utf8.h"
#include "platform/core/Application.h"
#include "platform/display/Event.h"
#include "platform/display/KeyboardLayout.h"
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

// The first character of a UTF-8 text; 0 for an empty one or one that starts with no
// character, so a key with garbled text counts as a key without text.
char32_t firstCodePoint(const std::string& text) {
  const base::Utf8Char first = base::decodeUtf8(text, 0);
  return first.wellFormed ? first.codePoint : 0;
}

bool isLetterOrDigit(char32_t c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// The US shifted characters of the digits 0 to 9.
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// What GetAsyncKeyState reports for a mouse button or modifier key that is down.
constexpr WORD kKeyDown = 0x8000;

// The first character the current keyboard layout gives the key with no modifiers;
// a dead key is resolved by the space bar, as typing it would. 0 when none.
int layoutCharacter(std::uint16_t keyCode) {
  auto layout = platform::NSKeyboardLayout::current();
  std::uint32_t deadKeyState = 0;
  std::u16string text = layout->translate(keyCode, deadKeyState);
  if (text.empty() && deadKeyState) text = layout->translate(platform::kVK_Space, deadKeyState);
  return text.empty() ? 0 : text[0];
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

}  // namespace swell

int SWELL_MacKeyToWindowsKeyEx(void* nsevent, int* flagsOut, int mode) {
  const platform::NSEvent* event = static_cast<const platform::NSEvent*>(nsevent);
  if (!event) event = platform::NSApp() ? platform::NSApp()->currentEvent() : nullptr;
  if (!event) {
    if (flagsOut) *flagsOut = 0;
    return 0;
  }
  const platform::NSEvent& e = *event;
  int flags = swell::modifierFlagsOf(e);
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
    const std::string& typed =
        mode == 1 && !e.characters.empty() ? e.characters : e.charactersIgnoringModifiers;
    char32_t c = firstCodePoint(typed);
    int fromLayout = 0;
    if (c >= kFunctionKeyFirst && c <= kFunctionKeyLast) {
      result = VK_F1 + static_cast<int>(c - kFunctionKeyFirst);
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
    } else if (mode == 1 && (fromLayout = layoutCharacter(e.keyCode)) != 0) {
      result = fromLayout;
      flags &= ~FSHIFT;
    } else {
      // No characters and nothing from the layout: the key code itself, marked as unmapped.
      result = e.keyCode + kUnmappedKeyBase;
      flags |= FVIRTKEY;
    }
  }
  if (flagsOut) *flagsOut = flags;
  return result;
}

int SWELL_MacKeyToWindowsKey(void* nsevent, int* flags) {
  if (!nsevent) return 0;
  return SWELL_MacKeyToWindowsKeyEx(nsevent, flags, 0);
}

int SWELL_KeyToASCII(int key, int flags, int* newflags) {
  if (key >= '0' && key <= '9' && flags == (FVIRTKEY | FSHIFT)) {
    if (newflags) *newflags = 0;
    return kShiftedDigits[key - '0'];
  }
  return 0;
}

WORD GetAsyncKeyState(int key) {
  // The state as of the last event dispatched, kept where any thread may read it.
  if (key == VK_LBUTTON || key == VK_RBUTTON || key == VK_MBUTTON)
    return (platform::NSEvent::pressedMouseButtons() & static_cast<unsigned>(key)) ? kKeyDown : 0;
  std::uint64_t held = platform::NSEvent::currentModifierFlags();
  std::uint64_t mask = 0;
  switch (key) {
    case VK_SHIFT:
      mask = platform::NSEventModifierFlagShift;
      break;
    case VK_CONTROL:
      mask = platform::NSEventModifierFlagCommand;
      break;
    case VK_MENU:
      mask = platform::NSEventModifierFlagOption;
      break;
    case VK_LWIN:
      if (!SWELL_IsRightClickEmulateEnabled()) mask = platform::NSEventModifierFlagControl;
      break;
    default:
      break;
  }
  return (held & mask) ? kKeyDown : 0;
}
