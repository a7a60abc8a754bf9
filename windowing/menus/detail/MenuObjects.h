#pragma once

#include <string>

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

// The text of a Win32 menu text: up to its end or first tab, each '&' dropped and the
// character after it taken as it is, at most kMaxMenuTextBytes bytes cut on a whole
// UTF-8 sequence. A null text gives "".
std::string menuText(const char* text);

// The item by position (within the menu) or by command id (this menu first, then a
// depth-first search through the submenus in item order); null when none.
platform::NSMenuItem* findMenuItem(platform::NSMenu* menu, int item, bool byPosition);

// A new item for a menu: no action, no key equivalent.
platform::Ref<platform::NSMenuItem> makeMenuItem(const std::string& title);

}  // namespace swell
