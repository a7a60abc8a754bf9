#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/core/Menu.h"
#include "windowing/Win32Types.h"

// A menu of this layer: a platform menu whose items are enabled exactly as set.
class Swell_vCorvaneBrisko_menu : public platform::NSMenu {
 public:
  explicit Swell_vCorvaneBrisko_menu(std::string title = {}) : NSMenu(std::move(title)) {
    setAutoenablesItems(false);
  }
  // A copy of the same class with copies of the items (submenus copied too).
  Swell_vCorvaneBrisko_menu* copyWithZone() const;
};

namespace swell {

// Menus are trees; deeper nesting than this is refused or not searched, so a menu made
// its own submenu cannot run a walk away.
inline constexpr int kMaxMenuDepth = 64;
// The menu text rule keeps at most this many bytes.
inline constexpr std::size_t kMaxMenuTextBytes = 1023;

platform::NSMenu* menuFromHandle(HMENU menu);
HMENU handleFromMenuObject(const platform::NSMenu* menu);

// A Win32 menu text read: the title is the text up to its end or first tab, each '&'
// dropped and the character after it taken as it is, at most kMaxMenuTextBytes bytes cut
// on a whole UTF-8 sequence; the mnemonic is where the character after the first single
// '&' lies in the title (kNoMnemonic for none); the shortcut is the text after the tab. A null
// text gives an empty title.
struct MenuText {
  std::string title;
  std::size_t mnemonic = platform::NSMenuItem::kNoMnemonic;
  std::string shortcut;
};
MenuText readMenuText(const char* text);
// The title alone.
std::string menuText(const char* text);

// Titles an item by a Win32 menu text: its title and mnemonic, and the key equivalent its
// shortcut names, when it names one (see shortcutKey); otherwise the item keeps its own.
void setItemText(platform::NSMenuItem* item, const char* text);

// The key and modifiers (as SetMenuItemModifier takes them) of a shortcut text: modifier
// names ("Ctrl", "Control", "Shift", "Alt", in any case) joined by '+' and ending in one
// printable ASCII character, with Ctrl or Alt among them (a character alone is typing,
// not a command). False for any other text: it is only shown.
bool shortcutKey(std::string_view shortcut, int& key, unsigned& modifiers);
// Sets an item's key equivalent and its modifier mask from a key and modifiers.
void setKeyEquivalent(platform::NSMenuItem* item, int key, unsigned modifiers);

// The item by position (within the menu) or by command id (this menu first, then a
// depth-first search through the submenus in item order); null when none.
platform::NSMenuItem* findMenuItem(platform::NSMenu* menu, int item, bool byPosition);

// A new item for a menu: no action, no key equivalent.
platform::Ref<platform::NSMenuItem> makeMenuItem(const std::string& title);

}  // namespace swell
