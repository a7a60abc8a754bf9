// Key events of the platform as virtual keys with their typed character, as a table.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "graphics/IGraphicsMacInput.h"

using namespace iplug;
using namespace iplug::igraphics;

namespace {

platform::NSEvent Key(std::uint16_t code, const std::string& chars, std::uint64_t flags = 0,
                      const std::string& plain = "") {
  platform::NSEvent e;
  e.type = platform::NSEventTypeKeyDown;
  e.keyCode = code;
  e.characters = chars;
  e.charactersIgnoringModifiers = plain.empty() ? chars : plain;
  e.modifierFlags = flags;
  return e;
}

constexpr std::uint64_t kShift = platform::NSEventModifierFlagShift;
constexpr std::uint64_t kCommand = platform::NSEventModifierFlagCommand;
constexpr std::uint64_t kOption = platform::NSEventModifierFlagOption;

TEST(MacKeys, VirtualKeysAndTypedCharacters) {
  struct Row {
    const char* what;
    platform::NSEvent event;
    int vk;
    const char* utf8;
  };
  const Row rows[] = {
      {"left arrow", Key(123, "\xEF\x9C\x82"), kVK_LEFT, ""},
      {"return", Key(36, "\r"), kVK_RETURN, ""},
      {"keypad enter", Key(76, "\x03"), kVK_RETURN, ""},
      {"keypad 3", Key(85, "3"), kVK_NUMPAD0 + 3, "3"},
      // Letters and digits by the character, whatever the key code says.
      {"a", Key(0, "a"), kVK_A, "a"},
      {"z on another layout", Key(6, "y"), kVK_Y, "y"},
      {"shifted letter", Key(0, "A", kShift, "a"), kVK_A, "A"},
      // Typed characters without a key of their own.
      {"accented", Key(0, "\xC3\xA9"), 0, "\xC3\xA9"},
      {"option letter", Key(35, "\xCF\x80", kOption, "p"), kVK_P, "\xCF\x80"},
      {"function character only", Key(0, "\xEF\x9C\x83"), kVK_RIGHT, ""},
      // Only the first character, and nothing ill formed.
      {"two characters", Key(0, "ab"), kVK_A, "a"},
      {"overlong", Key(0, "\xC1\x81"), 0, ""},
      {"cut short", Key(0, "\xE2\x82"), 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const IKeyPress key = KeyPressFromEvent(row.event);
    EXPECT_EQ(key.VK, row.vk);
    EXPECT_STREQ(key.utf8, row.utf8);
  }
}

TEST(MacKeys, ModifiersOfKeysAndMice) {
  const IKeyPress key = KeyPressFromEvent(Key(0, "s", kShift | kCommand | kOption));
  EXPECT_TRUE(key.S);
  EXPECT_TRUE(key.C);
  EXPECT_TRUE(key.A);
  EXPECT_FALSE(KeyPressFromEvent(Key(0, "s", platform::NSEventModifierFlagControl)).C);

  platform::NSEvent e;
  e.modifierFlags = kCommand;
  const IMouseMod commandClick = MouseModFromEvent(e, true, false);
  EXPECT_TRUE(commandClick.L && commandClick.R);
  const IMouseMod commandMove = MouseModFromEvent(e, false, false);
  EXPECT_FALSE(commandMove.L || commandMove.R);  // Command alone is no button
}

}  // namespace
