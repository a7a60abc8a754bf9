#include "platform/x11/detail/X11Keyboard.h"

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include <utility>

#include "base/Utf8.h"
#include "platform/display/Event.h"

namespace platform::x11 {

namespace {

// X keycodes are evdev codes plus 8; each row names the key by its position.
struct KeyPosition {
  unsigned xKeycode;
  std::uint16_t macKeyCode;
};

constexpr KeyPosition kKeyPositions[] = {
    {9, 0x35},                                                        // Escape
    {10, 0x12},  {11, 0x13},  {12, 0x14},  {13, 0x15},  {14, 0x17},   // 1 2 3 4 5
    {15, 0x16},  {16, 0x1A},  {17, 0x1C},  {18, 0x19},  {19, 0x1D},   // 6 7 8 9 0
    {20, 0x1B},  {21, 0x18},  {22, 0x33},  {23, 0x30},                // - = Backspace Tab
    {24, 0x0C},  {25, 0x0D},  {26, 0x0E},  {27, 0x0F},  {28, 0x11},   // Q W E R T
    {29, 0x10},  {30, 0x20},  {31, 0x22},  {32, 0x1F},  {33, 0x23},   // Y U I O P
    {34, 0x21},  {35, 0x1E},  {36, 0x24},                             // [ ] Return
    {37, 0x37},                                                       // Ctrl: Command
    {38, 0x00},  {39, 0x01},  {40, 0x02},  {41, 0x03},  {42, 0x05},   // A S D F G
    {43, 0x04},  {44, 0x26},  {45, 0x28},  {46, 0x25},  {47, 0x29},   // H J K L ;
    {48, 0x27},  {49, 0x32},  {50, 0x38},  {51, 0x2A},                // ' ` Shift backslash
    {52, 0x06},  {53, 0x07},  {54, 0x08},  {55, 0x09},  {56, 0x0B},   // Z X C V B
    {57, 0x2D},  {58, 0x2E},  {59, 0x2B},  {60, 0x2F},  {61, 0x2C},   // N M , . /
    {62, 0x3C},  {63, 0x43},  {64, 0x3A},  {65, 0x31},  {66, 0x39},   // RShift KP* Alt Space Caps
    {67, 0x7A},  {68, 0x78},  {69, 0x63},  {70, 0x76},  {71, 0x60},   // F1 - F5
    {72, 0x61},  {73, 0x62},  {74, 0x64},  {75, 0x65},  {76, 0x6D},   // F6 - F10
    {77, 0x47},                                                       // Num Lock: Clear
    {79, 0x59},  {80, 0x5B},  {81, 0x5C},  {82, 0x4E},                // KP 7 8 9 -
    {83, 0x56},  {84, 0x57},  {85, 0x58},  {86, 0x45},                // KP 4 5 6 +
    {87, 0x53},  {88, 0x54},  {89, 0x55},  {90, 0x52},  {91, 0x41},   // KP 1 2 3 0 .
    {94, 0x0A},                                                       // ISO key by Shift
    {95, 0x67},  {96, 0x6F},                                          // F11 F12
    {97, 0x5E},                                                       // JIS underscore
    {100, 0x68}, {102, 0x66},                                         // Henkan, Muhenkan
    {104, 0x4C}, {105, 0x36}, {106, 0x4B},                            // KP Enter, RCtrl, KP /
    {108, 0x3D},                                                      // AltGr: right Option
    {110, 0x73}, {111, 0x7E}, {112, 0x74}, {113, 0x7B}, {114, 0x7C},  // Home Up PgUp Left Right
    {115, 0x77}, {116, 0x7D}, {117, 0x79}, {118, 0x72}, {119, 0x75},  // End Down PgDn Ins Del
    {121, 0x4A}, {122, 0x49}, {123, 0x48},                            // Mute, Volume - +
    {125, 0x51}, {129, 0x5F}, {132, 0x5D},                            // KP =, KP comma, Yen
    {133, 0x3B}, {134, 0x3E},                                         // Super: Control
    {146, 0x72},                                                      // Help
    {191, 0x69}, {192, 0x6B}, {193, 0x71}, {194, 0x6A}, {195, 0x40},  // F13 - F17
    {196, 0x4F}, {197, 0x50}, {198, 0x5A},                            // F18 - F20
};

constexpr unsigned kShiftMask = 1 << 0;
constexpr unsigned kLockMask = 1 << 1;
constexpr unsigned kControlMask = 1 << 2;
constexpr unsigned kMod1Mask = 1 << 3;  // Alt
constexpr unsigned kMod4Mask = 1 << 6;  // Super
constexpr unsigned kCoreModifierBits = 0xff;
// With XKB, the core state carries the group in bits 13 and 14.
unsigned groupOf(unsigned xState) {
  return (xState >> 13) & 3;
}

std::string utf8Of(xkb_state* state, unsigned keycode) {
  char buffer[64];
  int n = xkb_state_key_get_utf8(state, keycode, buffer, sizeof buffer);
  if (n <= 0) return {};
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

// The platform's Control turns a letter into its control character.
std::string withControl(std::string text) {
  if (text.size() != 1) return text;
  char c = text[0];
  if (c >= 'a' && c <= 'z')
    c = static_cast<char>(c - 'a' + 1);
  else if (c >= '@' && c <= '_')
    c = static_cast<char>(c - '@');
  return std::string(1, c);
}

}  // namespace

std::optional<std::uint16_t> macKeyCodeForXKeycode(unsigned xKeycode) {
  for (const KeyPosition& k : kKeyPositions)
    if (k.xKeycode == xKeycode) return k.macKeyCode;
  return std::nullopt;
}

std::optional<unsigned> xKeycodeForMacKeyCode(std::uint16_t keyCode) {
  for (const KeyPosition& k : kKeyPositions)
    if (k.macKeyCode == keyCode) return k.xKeycode;
  return std::nullopt;
}

xkb_compose_table* composeTableFor(xkb_context* context, const char* locale) {
  xkb_compose_table* table = nullptr;
  if (locale && *locale)
    table = xkb_compose_table_new_from_locale(context, locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
  // The C locale names no table; the English one holds the common dead keys.
  if (!table)
    table = xkb_compose_table_new_from_locale(context, "en_US.UTF-8", XKB_COMPOSE_COMPILE_NO_FLAGS);
  return table;
}

bool isModifierKeyCode(std::uint16_t keyCode) {
  // Right Command through Function.
  return keyCode >= 0x36 && keyCode <= 0x3F;
}

std::uint64_t modifierFlagsForXState(unsigned xState) {
  std::uint64_t flags = 0;
  if (xState & kShiftMask) flags |= NSEventModifierFlagShift;
  if (xState & kLockMask) flags |= NSEventModifierFlagCapsLock;
  if (xState & kControlMask) flags |= NSEventModifierFlagCommand;
  if (xState & kMod1Mask) flags |= NSEventModifierFlagOption;
  if (xState & kMod4Mask) flags |= NSEventModifierFlagControl;
  return flags;
}

KeyTranslator::KeyTranslator(xkb_context* context, xkb_keymap* keymap, const char* locale)
    : mKeymap(keymap), mState(xkb_state_new(keymap)), mShiftOnlyState(xkb_state_new(keymap)) {
  if (locale && *locale)
    mComposeTable =
        xkb_compose_table_new_from_locale(context, locale, XKB_COMPOSE_COMPILE_NO_FLAGS);
  if (mComposeTable) mCompose = xkb_compose_state_new(mComposeTable, XKB_COMPOSE_STATE_NO_FLAGS);
}

KeyTranslator::~KeyTranslator() {
  xkb_compose_state_unref(mCompose);
  xkb_compose_table_unref(mComposeTable);
  xkb_state_unref(mShiftOnlyState);
  xkb_state_unref(mState);
  xkb_keymap_unref(mKeymap);
}

KeyTranslator::Characters KeyTranslator::charactersFor(unsigned keycode, unsigned xState) {
  unsigned group = groupOf(xState);
  // Command (Ctrl) leaves the characters alone, as on the platform.
  unsigned mods = xState & kCoreModifierBits & ~kControlMask & ~kMod4Mask;
  xkb_state_update_mask(mState, mods, 0, 0, 0, 0, group);
  xkb_state_update_mask(mShiftOnlyState, xState & (kShiftMask | kLockMask), 0, 0, 0, 0, group);
  Characters out{utf8Of(mState, keycode), utf8Of(mShiftOnlyState, keycode)};
  if (xState & kMod4Mask) out.characters = withControl(std::move(out.characters));
  return out;
}

KeyTranslator::Characters KeyTranslator::press(unsigned keycode, unsigned xState) {
  Characters out = charactersFor(keycode, xState);
  if (!mCompose) return out;
  xkb_keysym_t sym = xkb_state_key_get_one_sym(mState, keycode);
  if (xkb_compose_state_feed(mCompose, sym) != XKB_COMPOSE_FEED_ACCEPTED) return out;
  switch (xkb_compose_state_get_status(mCompose)) {
    case XKB_COMPOSE_COMPOSING:
      out.characters.clear();
      out.ignoringModifiers.clear();
      break;
    case XKB_COMPOSE_COMPOSED: {
      char buffer[64];
      int n = xkb_compose_state_get_utf8(mCompose, buffer, sizeof buffer);
      if (n > 0) out.characters.assign(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
      xkb_compose_state_reset(mCompose);
      break;
    }
    case XKB_COMPOSE_CANCELLED:
      xkb_compose_state_reset(mCompose);
      out.characters.clear();
      break;
    case XKB_COMPOSE_NOTHING:
      break;
  }
  return out;
}

KeyTranslator::Characters KeyTranslator::release(unsigned keycode, unsigned xState) {
  return charactersFor(keycode, xState);
}

std::string KeyTranslator::layoutName(unsigned xState) const {
  const char* name = xkb_keymap_layout_get_name(mKeymap, groupOf(xState));
  return name ? name : "";
}

XkbKeyboardLayout::XkbKeyboardLayout(xkb_context* context, xkb_keymap* keymap, const char* locale)
    : mKeymap(keymap),
      mState(xkb_state_new(keymap)),
      mComposeTable(composeTableFor(context, locale)) {
  // The keypad gives its digits, as on the platform's keyboards, which have no Num Lock.
  const xkb_mod_index_t numLock = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_NUM);
  if (numLock != XKB_MOD_INVALID) xkb_state_update_mask(mState, 0, 0, 1u << numLock, 0, 0, 0);
}

XkbKeyboardLayout::~XkbKeyboardLayout() {
  xkb_compose_table_unref(mComposeTable);
  xkb_state_unref(mState);
  xkb_keymap_unref(mKeymap);
}

std::u16string XkbKeyboardLayout::translate(std::uint16_t keyCode,
                                            std::uint32_t& deadKeyState) const {
  std::optional<unsigned> keycode = xKeycodeForMacKeyCode(keyCode);
  std::uint32_t dead = std::exchange(deadKeyState, 0);
  if (!keycode) return {};
  xkb_keysym_t sym = xkb_state_key_get_one_sym(mState, *keycode);
  if (sym >= XKB_KEY_dead_grave && sym <= XKB_KEY_dead_greek) {
    deadKeyState = sym;
    return {};
  }
  std::string text;
  if (dead && mComposeTable) {
    // A compose state of its own: layouts are shared between threads.
    xkb_compose_state* compose = xkb_compose_state_new(mComposeTable, XKB_COMPOSE_STATE_NO_FLAGS);
    xkb_compose_state_feed(compose, dead);
    xkb_compose_state_feed(compose, sym);
    if (xkb_compose_state_get_status(compose) == XKB_COMPOSE_COMPOSED) {
      char buffer[64];
      int n = xkb_compose_state_get_utf8(compose, buffer, sizeof buffer);
      if (n > 0) text.assign(buffer, std::min<std::size_t>(n, sizeof buffer - 1));
    }
    xkb_compose_state_unref(compose);
  }
  if (text.empty()) text = utf8Of(mState, *keycode);
  return base::utf8ToUtf16(text);
}

}  // namespace platform::x11
