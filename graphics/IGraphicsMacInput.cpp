#include "graphics/IGraphicsMacInput.h"

#include <cstdint>
#include <string>

#include "base/Utf8.h"

namespace iplug {
namespace igraphics {

namespace {

using platform::NSEvent;

// Windows virtual keys that the framework does not name.
constexpr int kVK_NONE = 0;
constexpr int kVK_CLEAR = 0x0C;
constexpr int kVK_MULTIPLY = 0x6A;
constexpr int kVK_ADD = 0x6B;
constexpr int kVK_SUBTRACT = 0x6D;
constexpr int kVK_DECIMAL = 0x6E;
constexpr int kVK_DIVIDE = 0x6F;
constexpr int kVK_F1 = 0x70;

// The platform's key codes of keys that type no character of their own.
struct KeyCodeEntry {
  std::uint16_t keyCode;
  int vk;
};
constexpr KeyCodeEntry kKeyCodes[] = {
    {36, kVK_RETURN},      {76, kVK_RETURN},  // return, keypad enter
    {48, kVK_TAB},         {49, kVK_SPACE},       {51, kVK_BACK},        {53, kVK_ESCAPE},
    {114, kVK_INSERT},  // help, where PC keyboards have insert
    {117, kVK_DELETE},  // forward delete
    {115, kVK_HOME},       {119, kVK_END},        {116, kVK_PRIOR},      {121, kVK_NEXT},
    {123, kVK_LEFT},       {124, kVK_RIGHT},      {125, kVK_DOWN},       {126, kVK_UP},
    {65, kVK_DECIMAL},     {67, kVK_MULTIPLY},    {69, kVK_ADD},         {75, kVK_DIVIDE},
    {78, kVK_SUBTRACT},    {71, kVK_CLEAR},       {82, kVK_NUMPAD0},     {83, kVK_NUMPAD0 + 1},
    {84, kVK_NUMPAD0 + 2}, {85, kVK_NUMPAD0 + 3}, {86, kVK_NUMPAD0 + 4}, {87, kVK_NUMPAD0 + 5},
    {88, kVK_NUMPAD0 + 6}, {89, kVK_NUMPAD0 + 7}, {91, kVK_NUMPAD0 + 8}, {92, kVK_NUMPAD9},
    {122, kVK_F1},         {120, kVK_F1 + 1},     {99, kVK_F1 + 2},      {118, kVK_F1 + 3},
    {96, kVK_F1 + 4},      {97, kVK_F1 + 5},      {98, kVK_F1 + 6},      {100, kVK_F1 + 7},
    {101, kVK_F1 + 8},     {109, kVK_F1 + 9},     {103, kVK_F1 + 10},    {111, kVK_F1 + 11},
    {105, kVK_F1 + 12},    {107, kVK_F1 + 13},    {113, kVK_F1 + 14},    {106, kVK_F1 + 15},
};

// The platform's characters for keys that type nothing, in a private-use block.
constexpr char32_t kUpArrowChar = 0xF700;
constexpr char32_t kDownArrowChar = 0xF701;
constexpr char32_t kLeftArrowChar = 0xF702;
constexpr char32_t kRightArrowChar = 0xF703;
constexpr char32_t kF1Char = 0xF704;
constexpr char32_t kF24Char = 0xF71B;
constexpr char32_t kInsertChar = 0xF727;
constexpr char32_t kDeleteChar = 0xF728;
constexpr char32_t kHomeChar = 0xF729;
constexpr char32_t kEndChar = 0xF72B;
constexpr char32_t kPageUpChar = 0xF72C;
constexpr char32_t kPageDownChar = 0xF72D;
constexpr char32_t kFunctionCharsFirst = 0xF700;
constexpr char32_t kFunctionCharsLast = 0xF8FF;
constexpr char32_t kBackTabChar = 0x19;
constexpr char32_t kEnterChar = 0x03;
constexpr char32_t kDeleteBackwardChar = 0x7F;

constexpr char32_t kNoChar = 0xFFFFFFFF;

// The first code point of a UTF-8 text and its length in bytes, or kNoChar when the text is empty
// or starts ill formed (a short, overlong or surrogate sequence, or one past U+10FFFF).
char32_t FirstCodePoint(const std::string& s, size_t* bytes = nullptr) {
  const base::Utf8Char c = base::decodeUtf8(s, 0);
  if (bytes) *bytes = c.wellFormed ? c.length : 0;
  return c.wellFormed ? c.codePoint : kNoChar;
}

int VirtualKeyFromKeyCode(std::uint16_t keyCode) {
  for (const KeyCodeEntry& entry : kKeyCodes) {
    if (entry.keyCode == keyCode) return entry.vk;
  }
  return kVK_NONE;
}

int VirtualKeyFromChar(char32_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<int>(c - 'a') + kVK_A;
  if (c >= 'A' && c <= 'Z') return static_cast<int>(c - 'A') + kVK_A;
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0') + kVK_0;
  if (c >= kF1Char && c <= kF24Char) return kVK_F1 + static_cast<int>(c - kF1Char);
  switch (c) {
    case ' ':
      return kVK_SPACE;
    case '\r':
    case '\n':
    case kEnterChar:
      return kVK_RETURN;
    case '\t':
    case kBackTabChar:
      return kVK_TAB;
    case 0x1B:
      return kVK_ESCAPE;
    case '\b':
    case kDeleteBackwardChar:
      return kVK_BACK;
    case kUpArrowChar:
      return kVK_UP;
    case kDownArrowChar:
      return kVK_DOWN;
    case kLeftArrowChar:
      return kVK_LEFT;
    case kRightArrowChar:
      return kVK_RIGHT;
    case kInsertChar:
      return kVK_INSERT;
    case kDeleteChar:
      return kVK_DELETE;
    case kHomeChar:
      return kVK_HOME;
    case kEndChar:
      return kVK_END;
    case kPageUpChar:
      return kVK_PRIOR;
    case kPageDownChar:
      return kVK_NEXT;
    default:
      return kVK_NONE;
  }
}

// Control characters and the platform's function-key characters type nothing visible.
bool IsPrintable(char32_t c) {
  if (c == kNoChar || c < 0x20 || c == kDeleteBackwardChar) return false;
  return c < kFunctionCharsFirst || c > kFunctionCharsLast;
}

}  // namespace

IMouseMod MouseModFromEvent(const NSEvent& e, bool leftButton, bool rightButton) {
  const std::uint64_t f = e.modifierFlags;
  const bool command = f & platform::NSEventModifierFlagCommand;
  return IMouseMod(leftButton, rightButton || (leftButton && command),
                   f & platform::NSEventModifierFlagShift, f & platform::NSEventModifierFlagControl,
                   f & platform::NSEventModifierFlagOption);
}

IKeyPress KeyPressFromEvent(const NSEvent& e) {
  int vk = VirtualKeyFromKeyCode(e.keyCode);
  if (vk == kVK_NONE) {
    const std::string& plain =
        e.charactersIgnoringModifiers.empty() ? e.characters : e.charactersIgnoringModifiers;
    vk = VirtualKeyFromChar(FirstCodePoint(plain));
  }
  const std::uint64_t f = e.modifierFlags;
  // One key types one character; only the first is kept when the event carries more.
  size_t bytes = 0;
  const char32_t first = FirstCodePoint(e.characters, &bytes);
  const std::string typed = IsPrintable(first) ? e.characters.substr(0, bytes) : std::string();
  return IKeyPress(typed.c_str(), vk, f & platform::NSEventModifierFlagShift,
                   f & platform::NSEventModifierFlagCommand,
                   f & platform::NSEventModifierFlagOption);
}

}  // namespace igraphics
}  // namespace iplug
