#include <algorithm>
#include <cstring>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/menus/Menus.h"
#include "windowing/menus/detail/MenuObjects.h"

using platform::NSMenu;
using platform::NSMenuItem;
using platform::Ref;

namespace {

// Menus this long are scanned only at their ends for a sibling's routing.
constexpr int kFullScanLimit = 15;
constexpr int kScanHead = 6;
constexpr int kScanTail = 5;

// The new item reaches the same destination as its siblings: the first other item
// that has an action or a target gives both.
void routeLikeSiblings(NSMenu* menu, NSMenuItem* item) {
  const int count = menu->numberOfItems();
  auto tryItem = [&](int index) {
    NSMenuItem* other = menu->itemAtIndex(index);
    if (!other || other == item || (!other->action() && !other->target())) return false;
    if (other->action()) item->setAction(other->action());
    if (other->target()) item->setTarget(other->target());
    return true;
  };
  if (count < kFullScanLimit) {
    for (int i = 0; i < count; ++i)
      if (tryItem(i)) return;
    return;
  }
  for (int i = 0; i < kScanHead; ++i)
    if (tryItem(i)) return;
  for (int i = count - kScanTail; i < count; ++i)
    if (tryItem(i)) return;
}

void setItemData(NSMenuItem* item, DWORD_PTR data) {
  Ref<Swell_vCorvaneBrisko_sdh> holder = Ref<Swell_vCorvaneBrisko_sdh>::adopt(
      (new Swell_vCorvaneBrisko_sdh)->initWithVal(static_cast<INT_PTR>(data)));
  item->setRepresentedObject(holder.get());
}

void applyState(NSMenuItem* item, UINT state) {
  item->setEnabled(!(state & (MFS_GRAYED | MFS_DISABLED)));
  item->setState((state & MFS_CHECKED) ? platform::NSControlStateValueOn
                                       : platform::NSControlStateValueOff);
}

// True when `sub` is `menu` or a menu above it: as a submenu there it would hold itself, never
// be freed, and send every walk down the menus round in a circle.
bool isMenuOrAbove(const NSMenu* sub, const NSMenu* menu) {
  for (int depth = 0; menu && depth <= swell::kMaxMenuDepth; ++depth, menu = menu->supermenu())
    if (menu == sub) return true;
  return false;
}

// Whether `submenu` may go below an item of `menu`; logged when not.
bool isAttachable(HMENU submenu, const NSMenu* menu) {
  NSMenu* sub = swell::menuFromHandle(submenu);
  if (!sub || !isMenuOrAbove(sub, menu)) return true;
  base::warn("swell-cocoa", "a menu cannot be a submenu of itself or of a menu below it");
  return false;
}

// Attaches a submenu to an item; the menu takes over the caller's reference. A submenu that
// another item shows already is shared: that item holds the only reference, so this one
// takes its own.
void attachSubmenu(NSMenuItem* item, HMENU submenu, bool titled) {
  NSMenu* sub = swell::menuFromHandle(submenu);
  if (!sub || sub == item->submenu()) return;
  const bool shownElsewhere = sub->supermenu() != nullptr;
  if (titled) sub->setTitle(item->title());
  item->setSubmenu(sub);
  if (!shownElsewhere) sub->release();
}

}  // namespace

void SWELL_InsertMenu(HMENU menu, int position, unsigned flags, UINT_PTR idOrSubmenu,
                      const char* text) {
  MENUITEMINFO info;
  info.cbSize = sizeof(info);
  info.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
  info.fState = flags & ~MF_BYPOSITION;
  if (!(flags & MF_POPUP)) info.wID = static_cast<UINT>(idOrSubmenu);
  info.dwTypeData = const_cast<char*>(text);
  if (flags & MF_POPUP) {
    info.hSubMenu = reinterpret_cast<HMENU>(idOrSubmenu);
    info.fMask |= MIIM_SUBMENU;
    info.fState &= ~(MF_POPUP | MF_BYPOSITION);
  }
  if (flags & MF_SEPARATOR) {
    info.fMask = MIIM_TYPE;
    info.fType = MFT_SEPARATOR;
    info.fState &= ~(MF_BYPOSITION | MF_SEPARATOR);
  } else if (flags & MF_BITMAP) {
    info.fType = MFT_BITMAP;
    info.fState &= ~MF_BITMAP;
  }
  InsertMenuItem(menu, position, (flags & MF_BYPOSITION) != 0, &info);
}

void InsertMenuItem(HMENU menu, int position, BOOL byPosition, MENUITEMINFO* info) {
  NSMenu* object = swell::menuFromHandle(menu);
  if (!object || !info) return;
  if ((info->fMask & MIIM_SUBMENU) && !isAttachable(info->hSubMenu, object)) return;
  const int count = object->numberOfItems();
  int index = byPosition ? position : object->indexOfItemWithTag(position);
  if (index < 0 || index > count) index = count;

  Ref<NSMenuItem> item;
  if (info->fType == MFT_BITMAP) {
    // Bitmap images in menus are not drawn here: the item keeps its placeholder title.
    item = swell::makeMenuItem("(no image)");
  } else if (info->fType != MFT_STRING) {
    item = Ref<NSMenuItem>::adopt(NSMenuItem::separatorItem());
  } else {
    item = swell::makeMenuItem("(null)");
    if (info->dwTypeData) swell::setItemText(item.get(), info->dwTypeData);
  }
  if ((info->fMask & MIIM_SUBMENU) && info->hSubMenu)
    attachSubmenu(item.get(), info->hSubMenu, info->fType == MFT_STRING);
  if (count == 0) object->setAutoenablesItems(false);
  item->setEnabled(true);
  if (info->fMask & MIIM_STATE) applyState(item.get(), info->fState);
  if (info->fMask & MIIM_DATA) setItemData(item.get(), info->dwItemData);
  if (info->fMask & MIIM_ID) item->setTag(info->wID);
  object->insertItem(item.get(), index);
  routeLikeSiblings(object, item.get());
}

BOOL SetMenuItemInfo(HMENU menu, int item, BOOL byPosition, MENUITEMINFO* info) {
  NSMenuItem* found = swell::findMenuItem(swell::menuFromHandle(menu), item, byPosition != 0);
  if (!found || !info) return 0;
  if ((info->fMask & MIIM_SUBMENU) && !isAttachable(info->hSubMenu, found->menu())) return 0;
  if ((info->fMask & MIIM_TYPE) && info->fType == MFT_STRING && info->dwTypeData) {
    swell::setItemText(found, info->dwTypeData);
    if (NSMenu* sub = found->submenu()) sub->setTitle(found->title());
  }
  if ((info->fMask & MIIM_SUBMENU) && swell::menuFromHandle(info->hSubMenu) != found->submenu()) {
    // The old submenu goes back to the caller, who holds it from now on.
    if (NSMenu* old = found->submenu()) {
      old->retain();
      found->setSubmenu(nullptr);
    }
    if (info->hSubMenu) attachSubmenu(found, info->hSubMenu, true);
  }
  if (info->fMask & MIIM_STATE) applyState(found, info->fState);
  if (info->fMask & MIIM_ID) found->setTag(info->wID);
  if (info->fMask & MIIM_DATA) setItemData(found, info->dwItemData);
  return 1;
}

BOOL GetMenuItemInfo(HMENU menu, int item, BOOL byPosition, MENUITEMINFO* info) {
  NSMenuItem* found = swell::findMenuItem(swell::menuFromHandle(menu), item, byPosition != 0);
  if (!found || !info) return 0;
  if (info->fMask & MIIM_TYPE) {
    if (found->isSeparatorItem()) {
      info->fType = MFT_SEPARATOR;
    } else {
      info->fType = MFT_STRING;
      // cch comes back as the length in bytes (no NUL) of the title reported: the whole
      // title's when there is no buffer to copy into (how a caller asks the size to
      // allocate), else the bytes copied, which a buffer too small cuts to at most cch - 1
      // on a whole UTF-8 sequence, as every copy into a caller's buffer does.
      const std::string& title = found->title();
      if (info->dwTypeData && info->cch > 0)
        info->cch = static_cast<UINT>(base::copyUtf8(title, info->dwTypeData, info->cch));
      else
        info->cch = static_cast<UINT>(title.size());
    }
  }
  if (info->fMask & MIIM_DATA) {
    auto* holder = dynamic_cast<Swell_vCorvaneBrisko_sdh*>(found->representedObject());
    info->dwItemData = holder ? static_cast<DWORD_PTR>(holder->getValue()) : 0;
  }
  if (info->fMask & MIIM_STATE) {
    info->fState = (found->state() == platform::NSControlStateValueOn ? MFS_CHECKED : 0) |
                   (found->isEnabled() ? 0 : MFS_GRAYED | MFS_DISABLED);
  }
  if (info->fMask & MIIM_ID) info->wID = static_cast<UINT>(found->tag());
  if (info->fMask & MIIM_SUBMENU) info->hSubMenu = swell::handleFromMenuObject(found->submenu());
  return 1;
}
