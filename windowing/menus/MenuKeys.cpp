#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <string_view>

#include "base/Utf8.h"
#include "platform/display/Event.h"
#include "windowing/menus/Menus.h"
#include "windowing/menus/detail/MenuObjects.h"

namespace {

constexpr int kFirstFunctionKey = 112;  // F1
constexpr int kLastFunctionKey = 135;   // F24
constexpr char32_t kFunctionKeyBase = 0xF704;

struct KeyCharacter {
  int key;
  char32_t character;
};
// Virtual keys whose key equivalent is a control or function-key character.
constexpr KeyCharacter kVirtualKeyCharacters[] = {
    {8, 8},       {13, 13},     {33, 0xF72C}, {34, 0xF72D}, {35, 0xF72B},
    {36, 0xF729}, {37, 0xF702}, {38, 0xF700}, {39, 0xF703}, {40, 0xF701},
    {45, 0xF727}, {46, 127},    {109, '-'},
};

bool isPunctuationKey(int key) {
  return key < 128 && key > 0 && std::strchr("][?!,.\"\\|'/", key) != nullptr;
}

// The key equivalent character of a key, or 0 for none.
char32_t keyEquivalentOf(int key, unsigned modifiers) {
  const bool virtualKey = (modifiers & FVIRTKEY) != 0;
  const bool shift = (modifiers & FSHIFT) != 0;
  const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
  if (letterOrDigit || (!virtualKey && isPunctuationKey(key)))
    return shift ? static_cast<char32_t>(key) : static_cast<char32_t>(std::tolower(key));
  if (!virtualKey) {
    // Without the virtual-key flag the key is a character ('p' is not F1).
    if (key >= 'a' && key <= 'z') return shift ? std::toupper(key) : key;
    if (key >= 32 && key < 127) return static_cast<char32_t>(key);
    if (key == 8 || key == 13 || key == 127) return static_cast<char32_t>(key);
    return 0;
  }
  if (key >= kFirstFunctionKey && key <= kLastFunctionKey)
    return kFunctionKeyBase + static_cast<char32_t>(key - kFirstFunctionKey);
  for (const KeyCharacter& entry : kVirtualKeyCharacters)
    if (entry.key == key) return entry.character;
  return 0;
}

// Whether a text is a word in any case.
bool isWord(std::string_view word, std::string_view text) {
  return text.size() == word.size() && strncasecmp(text.data(), word.data(), word.size()) == 0;
}

}  // namespace

namespace swell {

bool shortcutKey(std::string_view shortcut, int& key, unsigned& modifiers) {
  struct Name {
    std::string_view name;
    unsigned modifier;
  };
  static constexpr Name kModifierNames[] = {
      {"ctrl", FCONTROL}, {"control", FCONTROL}, {"shift", FSHIFT}, {"alt", FALT}};
  unsigned found = 0;
  for (;;) {
    const std::size_t plus = shortcut.find('+');
    // The last part is the key, which may itself be '+'.
    if (plus == std::string_view::npos || plus + 1 == shortcut.size()) break;
    const std::string_view part = shortcut.substr(0, plus);
    const Name* name = std::find_if(std::begin(kModifierNames), std::end(kModifierNames),
                                    [&](const Name& n) { return isWord(n.name, part); });
    if (name == std::end(kModifierNames)) return false;
    found |= name->modifier;
    shortcut.remove_prefix(plus + 1);
  }
  if (shortcut.size() != 1 || shortcut[0] <= ' ' || shortcut[0] >= 127) return false;
  if (!(found & (FCONTROL | FALT))) return false;
  const char c = shortcut[0];
  // Letters and digits name their keys; other characters are characters.
  if (std::isalnum(static_cast<unsigned char>(c))) {
    key = std::toupper(static_cast<unsigned char>(c));
    modifiers = found | FVIRTKEY;
  } else {
    key = c;
    modifiers = found;
  }
  return true;
}

void setKeyEquivalent(platform::NSMenuItem* item, int key, unsigned modifiers) {
  char32_t character = keyEquivalentOf(key, modifiers);
  std::string equivalent;
  if (character) base::appendUtf8(character, equivalent);
  item->setKeyEquivalent(equivalent);
  std::uint64_t mask = 0;
  if (modifiers & FCONTROL) mask |= platform::NSEventModifierFlagCommand;
  if (modifiers & FALT) mask |= platform::NSEventModifierFlagOption;
  if (modifiers & FLWIN) mask |= platform::NSEventModifierFlagControl;
  // A letter's case already carries Shift.
  const bool letter =
      (key >= 'A' && key <= 'Z') || (!(modifiers & FVIRTKEY) && key >= 'a' && key <= 'z');
  if ((modifiers & FSHIFT) && !letter) mask |= platform::NSEventModifierFlagShift;
  item->setKeyEquivalentModifierMask(mask);
}

}  // namespace swell

BOOL SetMenuItemModifier(HMENU menu, int item, int flags, int key, unsigned modifiers) {
  platform::NSMenuItem* found =
      swell::findMenuItem(swell::menuFromHandle(menu), item, (flags & MF_BYPOSITION) != 0);
  if (!found) return 0;
  swell::setKeyEquivalent(found, key, modifiers);
  return 1;
}
