// Key codes, modifiers and characters of X keys, on keymaps made from names (no server).

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/display/Event.h"
#include "platform/x11/detail/X11Keyboard.h"

using namespace platform;
using namespace platform::x11;

namespace {

constexpr unsigned kShift = 1, kControl = 4, kAlt = 8, kSuper = 64;

std::unique_ptr<KeyTranslator> translatorFor(const char* layout) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xkb_rule_names names{"evdev", "pc105", layout, "", ""};
  xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  auto translator =
      keymap ? std::make_unique<KeyTranslator>(context, keymap, "en_US.UTF-8") : nullptr;
  xkb_context_unref(context);
  return translator;
}

// The layout services over a keymap of the layout, or null without XKB data.
std::unique_ptr<XkbKeyboardLayout> layoutFor(const char* layout) {
  xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  xkb_rule_names names{"evdev", "pc105", layout, "", ""};
  xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
  auto services = keymap ? std::make_unique<XkbKeyboardLayout>(context, keymap, "C") : nullptr;
  xkb_context_unref(context);
  return services;
}

}  // namespace

TEST(X11Keys, KeyCodesNameThePositionAndUnknownKeysHaveNone) {
  struct Row {
    unsigned xKeycode;
    std::optional<std::uint16_t> mac;
  };
  const Row rows[] = {
      {38, 0x00},  // A, whatever the layout puts there
      {29, 0x10},  // the Y position (Z on a German keyboard)
      {52, 0x06},  // the Z position
      {36, 0x24},        {9, 0x35},           {22, 0x33},
      {119, 0x75},  // Return Escape Bksp Del
      {111, 0x7E},       {116, 0x7D},         {113, 0x7B},
      {114, 0x7C},  // arrows
      {90, 0x52},        {87, 0x53},          {104, 0x4C},
      {63, 0x43},                                                   // keypad 0 1 Enter *
      {67, 0x7A},        {96, 0x6F},                                // F1 F12
      {37, 0x37},        {133, 0x3B},         {64, 0x3A},           // Ctrl Super Alt
      {0, std::nullopt}, {200, std::nullopt}, {255, std::nullopt},  // no code, never 0
  };
  for (const Row& r : rows)
    EXPECT_EQ(macKeyCodeForXKeycode(r.xKeycode), r.mac) << "X keycode " << r.xKeycode;
}

TEST(X11Keys, CtrlIsCommandSuperIsControlAltIsOption) {
  EXPECT_EQ(modifierFlagsForXState(0), 0u);
  EXPECT_EQ(modifierFlagsForXState(kShift), NSEventModifierFlagShift);
  EXPECT_EQ(modifierFlagsForXState(kControl), NSEventModifierFlagCommand);
  EXPECT_EQ(modifierFlagsForXState(kSuper), NSEventModifierFlagControl);
  EXPECT_EQ(modifierFlagsForXState(kAlt), NSEventModifierFlagOption);
  EXPECT_EQ(modifierFlagsForXState(2), NSEventModifierFlagCapsLock);
  EXPECT_TRUE(isModifierKeyCode(0x37));
  EXPECT_FALSE(isModifierKeyCode(0x00));
  EXPECT_FALSE(isModifierKeyCode(kNoKeyCode));
}

TEST(X11Keys, CharactersFollowTheLayoutAndDeadKeysCompose) {
  auto us = translatorFor("us");
  auto de = translatorFor("de");
  if (!us || !de) GTEST_SKIP() << "no XKB data to make keymaps from (xkb-data)";
  struct Row {
    KeyTranslator* keys;
    unsigned keycode;
    unsigned state;
    const char* characters;
    const char* ignoringModifiers;
  };
  const Row rows[] = {
      {us.get(), 38, 0, "a", "a"},
      {us.get(), 38, kShift, "A", "A"},
      {us.get(), 38, kControl, "a", "a"},   // Command leaves the character alone
      {us.get(), 38, kSuper, "\x01", "a"},  // Control makes the control character
      {us.get(), 10, kShift, "!", "!"},
      {de.get(), 29, 0, "z", "z"},  // the German Z sits where the US Y does
      {de.get(), 52, 0, "y", "y"},
      {de.get(), 47, 0, "\xC3\xB6", "\xC3\xB6"},  // o-umlaut
      {de.get(), 10, kShift, "!", "!"},
      {de.get(), 11, kShift, "\"", "\""},
  };
  for (const Row& r : rows) {
    KeyTranslator::Characters c = r.keys->press(r.keycode, r.state);
    EXPECT_EQ(c.characters, r.characters) << "keycode " << r.keycode << " state " << r.state;
    EXPECT_EQ(c.ignoringModifiers, r.ignoringModifiers) << "keycode " << r.keycode;
  }
  // The German acute accent key is dead: it gives nothing, the next key the composed letter.
  EXPECT_EQ(de->press(21, 0).characters, "");
  EXPECT_EQ(de->press(26, 0).characters, "\xC3\xA9");
  EXPECT_EQ(de->press(26, 0).characters, "e");
  EXPECT_EQ(de->layoutName(0), "German");
}

TEST(X11Keys, TheLayoutServicesSeeTheKeymapWithDeadKeys) {
  auto german = layoutFor("de");
  if (!german) GTEST_SKIP() << "no XKB data to make keymaps from (xkb-data)";
  const XkbKeyboardLayout& layout = *german;
  std::uint32_t dead = 0;
  EXPECT_EQ(layout.translate(0x10, dead), u"z");  // the Y position
  EXPECT_EQ(layout.translate(0x18, dead), u"");   // the acute accent is dead
  EXPECT_NE(dead, 0u);
  EXPECT_EQ(layout.translate(0x0E, dead), u"\u00e9");
  EXPECT_EQ(dead, 0u);
  EXPECT_EQ(layout.translate(kNoKeyCode, dead), u"");
}

TEST(X11Keys, TheUSKeymapGivesWhatTheHeadlessUSLayoutGives) {
  // The two tables of key positions, the X keycodes' and the headless layout's, agree key by
  // key: a wrong row in either would send a shortcut's key under another name.
  auto x11 = layoutFor("us");
  if (!x11) GTEST_SKIP() << "no XKB data to make keymaps from (xkb-data)";
  USKeyboardLayout headless;
  int compared = 0;
  // The keypad's Enter is Return's character on X, the platform's own Enter headless.
  constexpr std::uint16_t kKeypadEnter = 76;
  for (std::uint16_t code = 0; code < 128; ++code) {
    std::uint32_t dead = 0;
    std::u16string expected = headless.translate(code, dead);
    if (expected.empty() || code == kKeypadEnter) continue;
    ++compared;
    EXPECT_EQ(x11->translate(code, dead), expected) << "key code " << code;
  }
  EXPECT_GT(compared, 60);
}
