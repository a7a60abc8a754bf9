#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/display/KeyboardLayout.h"

struct xkb_compose_state;
struct xkb_compose_table;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace platform::x11 {

// The platform's key code for an X keycode (evdev numbering): both name a key's position,
// so the letters follow the key, not the layout. None for keys the platform has no code
// for (never 0, which is the A key).
std::optional<std::uint16_t> macKeyCodeForXKeycode(unsigned xKeycode);

// The X keycode of the platform's key code (the first key in that position).
std::optional<unsigned> xKeycodeForMacKeyCode(std::uint16_t keyCode);

// Whether the platform's key code names a modifier key (they send flags-changed events).
bool isModifierKeyCode(std::uint16_t keyCode);

// The modifier flags for an X event's state: Ctrl is Command, Super is Control, Alt is
// Option (the keys in the same places as on the platform's keyboards).
std::uint64_t modifierFlagsForXState(unsigned xState);

// The characters of keys in the keyboard's current layout, through xkbcommon; dead keys
// go through the locale's compose table.
class KeyTranslator {
 public:
  // Takes one reference to the keymap; the compose table comes from the locale (none when
  // the locale has none: dead keys then give nothing).
  KeyTranslator(xkb_context* context, xkb_keymap* keymap, const char* locale);
  ~KeyTranslator();
  KeyTranslator(const KeyTranslator&) = delete;
  KeyTranslator& operator=(const KeyTranslator&) = delete;

  struct Characters {
    std::string characters;
    std::string ignoringModifiers;  // Shift still applies
  };
  // A key press: its characters under the X state (modifier bits and group). A dead key
  // gives empty characters and the next key the composed ones.
  Characters press(unsigned xKeycode, unsigned xState);
  // A key release: the characters the key gives, with no compose step.
  Characters release(unsigned xKeycode, unsigned xState);

  // The name of the layout (group) in use, as xkb names it.
  std::string layoutName(unsigned xState) const;

 private:
  Characters charactersFor(unsigned xKeycode, unsigned xState);

  xkb_keymap* mKeymap;
  xkb_state* mState;
  xkb_state* mShiftOnlyState;
  xkb_compose_table* mComposeTable = nullptr;
  xkb_compose_state* mCompose = nullptr;
};

// The keyboard's layout as the layout services see it: the text of a key without
// modifiers in the first group, dead keys through the locale's compose table.
class XkbKeyboardLayout final : public NSKeyboardLayout {
 public:
  // Takes one reference to the keymap.
  XkbKeyboardLayout(xkb_context* context, xkb_keymap* keymap, const char* locale);
  ~XkbKeyboardLayout() override;
  std::u16string translate(std::uint16_t keyCode, std::uint32_t& deadKeyState) const override;

 private:
  xkb_keymap* mKeymap;
  xkb_state* mState;
  xkb_compose_table* mComposeTable = nullptr;
};

// The compose table of the locale, else of en_US.UTF-8 (null when neither has one).
xkb_compose_table* composeTableFor(xkb_context* context, const char* locale);

}  // namespace platform::x11
