#include <cstring>
#include <vector>

#include "base/Log.h"
#include "platform/core/Application.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/menus/Menus.h"
#include "windowing/menus/detail/MenuObjects.h"

using platform::NSMenu;
using platform::NSMenuItem;
using platform::Ref;

SWELL_MenuResourceIndex* SWELL_MenuResourceHead = nullptr;

namespace {

// Whether a live window shows the menu: such a menu is freed by its window, not under it.
bool heldByWindow(HMENU menu) {
  for (platform::NSWindow* w : platform::NSApp()->windows()) {
    auto* data = dynamic_cast<SwellWindowObject*>(w->contentView());
    if (data && data->swellGetMenu() == menu) return true;
  }
  return false;
}

void appendItem(NSMenu* menu, const char* text, int id, bool greyed) {
  if (!text) {
    Ref<NSMenuItem> separator = Ref<NSMenuItem>::adopt(NSMenuItem::separatorItem());
    menu->addItem(separator.get());
    return;
  }
  Ref<NSMenuItem> item = swell::makeMenuItem({});
  swell::setItemText(item.get(), text);
  item->setTag(id);
  item->setEnabled(!greyed);
  menu->addItem(item.get());
}

// One level of a static menu list; returns the records it consumed plus one (see
// SWELL_GenerateMenuFromList). Each level reads only its own count of records, so an
// unclosed submenu ends with the list.
int generateLevel(NSMenu* menu, const SWELL_MenuGen_Entry* list, int count, int depth) {
  if (count < 1) return 1;
  const std::size_t prefixLength = std::strlen(SWELL_MENUGEN_POPUP_PREFIX);
  int i = 0;
  while (i < count) {
    const SWELL_MenuGen_Entry& record = list[i];
    if (record.name && std::strcmp(record.name, SWELL_MENUGEN_ENDPOPUP) == 0) return i + 1;
    if (record.name && std::strncmp(record.name, SWELL_MENUGEN_POPUP_PREFIX, prefixLength) == 0) {
      if (depth >= swell::kMaxMenuDepth) {
        base::warn("swell-cocoa", "menu list nested too deeply; rest ignored");
        return count + 1;
      }
      Ref<NSMenuItem> item = swell::makeMenuItem({});
      swell::setItemText(item.get(), record.name + prefixLength);
      Ref<NSMenu> sub = Ref<NSMenu>::adopt(new Swell_vCorvaneBrisko_menu(item->title()));
      int used = generateLevel(sub.get(), list + i + 1, count - i - 1, depth + 1);
      item->setSubmenu(sub.get());
      menu->addItem(item.get());
      i += 1 + used;
      continue;
    }
    appendItem(menu, record.name, record.idx, record.flags != 0);
    ++i;
  }
  return count + 1;
}

}  // namespace

void SWELL_RegisterMenuResource(SWELL_MenuResourceIndex* record) {
  if (!record) return;
  for (auto* r = SWELL_MenuResourceHead; r; r = r->_next)
    if (r == record) return;
  record->_next = SWELL_MenuResourceHead;
  SWELL_MenuResourceHead = record;
}

HMENU CreatePopupMenu() {
  return swell::handleFromMenuObject(new Swell_vCorvaneBrisko_menu);
}

HMENU CreatePopupMenuEx(const char* title) {
  return swell::handleFromMenuObject(new Swell_vCorvaneBrisko_menu(swell::menuText(title)));
}

void DestroyMenu(HMENU menu) {
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object) return;
  if (heldByWindow(menu)) {
    base::warn("swell-cocoa", "DestroyMenu of a menu a window still shows; left to it");
    return;
  }
  if (object->supermenu()) {
    // Its item holds the only reference, taken over when it was attached.
    base::warn("swell-cocoa", "DestroyMenu of a submenu still in its menu; left to it");
    return;
  }
  SWELL_SetMenuDestination(menu, nullptr);
  // The application keeps its own reference to its main menu.
  object->release();
}

HMENU SWELL_LoadMenu(SWELL_MenuResourceIndex* head, const char* resid) {
  // Resource lists are short; the bound guards against a list made into a ring.
  int steps = 0;
  for (auto* r = head; r && steps < 100000; r = r->_next, ++steps) {
    if (r->resid != resid) continue;
    HMENU menu = CreatePopupMenu();
    if (r->createFunc) r->createFunc(menu);
    return menu;
  }
  return nullptr;
}

HMENU SWELL_DuplicateMenu(HMENU menu) {
  auto* object = dynamic_cast<Swell_vCorvaneBrisko_menu*>(swell::menuFromHandle(menu));
  return object ? swell::handleFromMenuObject(object->copyWithZone()) : nullptr;
}

int SWELL_GenerateMenuFromList(HMENU menu, const void* list, int count) {
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object || !list) return count < 1 ? 1 : 0;
  return generateLevel(object, static_cast<const SWELL_MenuGen_Entry*>(list), count, 0);
}

void SWELL_Menu_AddMenuItem(HMENU menu, const char* text, int id, unsigned flags) {
  if (NSMenu* object = swell::menuFromHandle(menu)) appendItem(object, text, id, flags != 0);
}

int AddMenuItem(HMENU menu, int position, const char* text, int id) {
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object) return -1;
  Ref<NSMenuItem> item = swell::makeMenuItem(text ? text : "");
  item->setTag(id);
  object->insertItem(item.get(), position);
  return 0;
}

BOOL DeleteMenu(HMENU menu, int item, int flags) {
  NSMenu* object = swell::menuFromHandle(menu);
  bool byPosition = (flags & MF_BYPOSITION) != 0;
  if (!object || (byPosition && item < 0)) return 0;
  NSMenuItem* found = swell::findMenuItem(object, item, byPosition);
  if (!found || !found->menu()) return 0;
  Ref<NSMenuItem> keep(found);
  if (NSMenu* sub = found->submenu()) {
    SWELL_SetMenuDestination(swell::handleFromMenuObject(sub), nullptr);
    found->setSubmenu(nullptr);
  }
  NSMenu* owner = found->menu();
  owner->removeItemAtIndex(owner->indexOfItem(found));
  return 1;
}

BOOL SetMenuItemText(HMENU menu, int item, int flags, const char* text) {
  NSMenuItem* found =
      swell::findMenuItem(swell::menuFromHandle(menu), item, (flags & MF_BYPOSITION) != 0);
  if (!found) return 0;
  swell::setItemText(found, text);
  if (NSMenu* sub = found->submenu()) sub->setTitle(found->title());
  return 1;
}

BOOL EnableMenuItem(HMENU menu, int item, int flags) {
  NSMenuItem* found =
      swell::findMenuItem(swell::menuFromHandle(menu), item, (flags & MF_BYPOSITION) != 0);
  if (!found) return 0;
  found->setEnabled(!(flags & MF_GRAYED));
  return 1;
}

BOOL CheckMenuItem(HMENU menu, int item, int flags) {
  NSMenuItem* found =
      swell::findMenuItem(swell::menuFromHandle(menu), item, (flags & MF_BYPOSITION) != 0);
  if (!found) return 0;
  found->setState((flags & MF_CHECKED) ? platform::NSControlStateValueOn
                                       : platform::NSControlStateValueOff);
  return 1;
}

HMENU GetSubMenu(HMENU menu, int position) {
  NSMenuItem* found = swell::findMenuItem(swell::menuFromHandle(menu), position, true);
  return found ? swell::handleFromMenuObject(found->submenu()) : nullptr;
}

int GetMenuItemCount(HMENU menu) {
  NSMenu* object = swell::menuFromHandle(menu);
  return object ? object->numberOfItems() : 0;
}

int GetMenuItemID(HMENU menu, int position) {
  NSMenuItem* found = swell::findMenuItem(swell::menuFromHandle(menu), position, true);
  if (!found) return 0;
  return found->hasSubmenu() ? -1 : static_cast<int>(found->tag());
}
