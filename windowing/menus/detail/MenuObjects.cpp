#include "windowing/menus/detail/MenuObjects.h"

#include <cstring>

#include "base/Utf8.h"

using platform::NSMenu;
using platform::NSMenuItem;
using platform::Ref;

namespace {

NSMenuItem* copyItem(const NSMenuItem* item, int depth) {
  if (item->isSeparatorItem()) return NSMenuItem::separatorItem();
  auto* copy = new NSMenuItem(item->title(), item->action(), item->keyEquivalent());
  copy->setMnemonicLocation(item->mnemonicLocation());
  copy->setTag(item->tag());
  copy->setEnabled(item->isEnabled());
  copy->setHidden(item->isHidden());
  copy->setState(item->state());
  copy->setKeyEquivalentModifierMask(item->keyEquivalentModifierMask());
  copy->setTarget(item->target());
  copy->setRepresentedObject(item->representedObject());
  if (auto* sub = dynamic_cast<Swell_vCorvaneBrisko_menu*>(item->submenu());
      sub && depth < swell::kMaxMenuDepth) {
    Ref<NSMenu> subCopy = Ref<NSMenu>::adopt(sub->copyWithZone());
    copy->setSubmenu(subCopy.get());
  }
  return copy;
}

NSMenuItem* searchById(NSMenu* menu, long id, int depth) {
  if (!menu || depth > swell::kMaxMenuDepth) return nullptr;
  for (NSMenuItem* item : menu->itemArray())
    if (item->tag() == id) return item;
  for (NSMenuItem* item : menu->itemArray())
    if (NSMenuItem* found = searchById(item->submenu(), id, depth + 1)) return found;
  return nullptr;
}

}  // namespace

Swell_vCorvaneBrisko_menu* Swell_vCorvaneBrisko_menu::copyWithZone() const {
  auto* copy = new Swell_vCorvaneBrisko_menu(title());
  for (const NSMenuItem* item : itemArray()) {
    Ref<NSMenuItem> itemCopy = Ref<NSMenuItem>::adopt(copyItem(item, 0));
    copy->addItem(itemCopy.get());
  }
  return copy;
}

namespace swell {

NSMenu* menuFromHandle(HMENU menu) {
  return platform::liveObjectAs<NSMenu>(menu);
}

HMENU handleFromMenuObject(const NSMenu* menu) {
  return reinterpret_cast<HMENU>(const_cast<NSMenu*>(menu));
}

MenuText readMenuText(const char* text) {
  MenuText out;
  if (!text) return out;
  const char* p = text;
  for (; *p && *p != '\t'; ++p) {
    if (*p == '&') {
      ++p;
      // A trailing '&' ends the text: the terminator is not a character to take.
      if (!*p) break;
      if (*p != '&' && static_cast<unsigned char>(*p) > ' ' &&
          out.mnemonic == platform::NSMenuItem::kNoMnemonic)
        out.mnemonic = out.title.size();
    }
    out.title.push_back(*p);
  }
  if (*p == '\t') out.shortcut = p + 1;
  out.title.resize(base::utf8PrefixLength(out.title, kMaxMenuTextBytes));
  if (out.mnemonic >= out.title.size()) out.mnemonic = platform::NSMenuItem::kNoMnemonic;
  return out;
}

std::string menuText(const char* text) {
  return readMenuText(text).title;
}

void setItemText(NSMenuItem* item, const char* text) {
  MenuText read = readMenuText(text);
  item->setTitle(std::move(read.title));
  item->setMnemonicLocation(read.mnemonic);
  int key = 0;
  unsigned modifiers = 0;
  if (shortcutKey(read.shortcut, key, modifiers)) setKeyEquivalent(item, key, modifiers);
}

NSMenuItem* findMenuItem(NSMenu* menu, int item, bool byPosition) {
  if (!menu) return nullptr;
  if (byPosition) return menu->itemAtIndex(item);
  return searchById(menu, item, 0);
}

Ref<NSMenuItem> makeMenuItem(const std::string& title) {
  return Ref<NSMenuItem>::adopt(new NSMenuItem(title));
}

}  // namespace swell
