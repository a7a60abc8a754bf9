#include "platform/core/Menu.h"

#include "platform/core/View.h"
#include "platform/core/Window.h"

#include <strings.h>

#include <algorithm>

#include "base/Utf8.h"
#include "platform/display/Event.h"

namespace platform {

NSMenuItem::NSMenuItem(std::string title, int action, std::string keyEquivalent)
    : mTitle(std::move(title)), mKeyEquivalent(std::move(keyEquivalent)), mAction(action) {}

NSMenuItem* NSMenuItem::separatorItem() {
  auto* item = new NSMenuItem;
  item->mSeparator = true;
  item->mEnabled = false;
  return item;
}

void NSMenuItem::setTitle(std::string title) {
  mTitle = std::move(title);
  mMnemonicLocation = kNoMnemonic;
}

void NSMenuItem::setMnemonicLocation(std::size_t location) {
  const bool whole = location < mTitle.size() && base::decodeUtf8(mTitle, location).wellFormed;
  mMnemonicLocation = whole ? location : kNoMnemonic;
}

std::string NSMenuItem::mnemonic() const {
  if (mMnemonicLocation == kNoMnemonic) return {};
  return mTitle.substr(mMnemonicLocation, base::decodeUtf8(mTitle, mMnemonicLocation).length);
}

namespace {
bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}
}  // namespace

bool NSMenuItem::hasMnemonic(std::string_view typed) const {
  const std::string own = mnemonic();
  return !own.empty() && equalIgnoringCase(own, typed);
}

void NSMenuItem::setSubmenu(NSMenu* menu) {
  if (menu == mSubmenu) return;
  if (menu) menu->retain();
  if (mSubmenu) {
    mSubmenu->mSupermenu = nullptr;
    mSubmenu->release();
  }
  mSubmenu = menu;
  if (mSubmenu) mSubmenu->mSupermenu = mMenu;
}

void NSMenuItem::setRepresentedObject(NSObject* object) {
  if (object) object->retain();
  if (mRepresented) mRepresented->release();
  mRepresented = object;
}

bool NSMenuItem::sendAction() {
  auto* target = dynamic_cast<ActionTarget*>(mTarget);
  if (!target || !mEnabled) return false;
  Ref<NSMenuItem> keep(this);
  target->performAction(mAction, this);
  return true;
}

void NSMenuItem::dealloc() {
  setSubmenu(nullptr);
  setRepresentedObject(nullptr);
  NSObject::dealloc();
}

NSMenu::NSMenu(std::string title) : mTitle(std::move(title)) {}

NSMenuItem* NSMenu::itemAtIndex(int index) const {
  return index >= 0 && index < numberOfItems() ? mItems[static_cast<std::size_t>(index)] : nullptr;
}

int NSMenu::indexOfItem(const NSMenuItem* item) const {
  auto it = std::find(mItems.begin(), mItems.end(), item);
  return it == mItems.end() ? -1 : static_cast<int>(it - mItems.begin());
}

int NSMenu::indexOfItemWithTag(long tag) const {
  for (std::size_t i = 0; i < mItems.size(); ++i)
    if (mItems[i]->tag() == tag) return static_cast<int>(i);
  return -1;
}

void NSMenu::addItem(NSMenuItem* item) {
  insertItem(item, numberOfItems());
}

void NSMenu::insertItem(NSMenuItem* item, int index) {
  if (!item || item->mMenu) return;
  index = std::clamp(index, 0, numberOfItems());
  item->retain();
  mItems.insert(mItems.begin() + index, item);
  item->mMenu = this;
  if (item->mSubmenu) item->mSubmenu->mSupermenu = this;
}

void NSMenu::removeItemAtIndex(int index) {
  NSMenuItem* item = itemAtIndex(index);
  if (!item) return;
  mItems.erase(mItems.begin() + index);
  item->mMenu = nullptr;
  if (item->mSubmenu) item->mSubmenu->mSupermenu = nullptr;
  item->release();
}

void NSMenu::removeAllItems() {
  while (!mItems.empty())
    removeItemAtIndex(numberOfItems() - 1);
}

namespace {
MenuTracker* gMenuTracker = nullptr;

// Walks through submenus go no deeper: a menu made its own submenu cannot run one away.
constexpr int kMaxMenuDepth = 64;

// Whether an item belongs to the menu or to one of its submenus; a chosen item from
// elsewhere is a tracker's fault and is not acted on.
bool menuHolds(const NSMenu* menu, const NSMenuItem* item, int depth) {
  if (!menu || depth > kMaxMenuDepth) return false;
  for (const NSMenuItem* own : menu->itemArray())
    if (own == item || menuHolds(own->submenu(), item, depth + 1)) return true;
  return false;
}
}  // namespace

void setMenuTracker(MenuTracker* tracker) {
  gMenuTracker = tracker;
}

MenuTracker* menuTracker() {
  return gMenuTracker;
}

void NSMenu::menuWillOpen() {
  if (mDelegate) mDelegate->menuNeedsUpdate(this);
}

namespace {

constexpr std::uint64_t kEquivalentModifiers =
    NSEventModifierFlagShift | NSEventModifierFlagControl | NSEventModifierFlagOption |
    NSEventModifierFlagCommand;

bool matchesKeyEquivalent(const NSMenuItem* item, const NSEvent& e) {
  const std::string& key = item->keyEquivalent();
  if (key.empty() || item->isSeparatorItem() || item->hasSubmenu()) return false;
  std::uint64_t wanted = item->keyEquivalentModifierMask() & kEquivalentModifiers;
  if (key.size() == 1 && key[0] >= 'A' && key[0] <= 'Z') wanted |= NSEventModifierFlagShift;
  return (e.modifierFlags & kEquivalentModifiers) == wanted &&
         equalIgnoringCase(e.charactersIgnoringModifiers, key);
}

// The first item of the menu, then of its submenus in item order, that the key reaches.
NSMenuItem* itemForKeyEquivalent(const NSMenu* menu, const NSEvent& e, int depth) {
  if (depth > kMaxMenuDepth) return nullptr;
  for (NSMenuItem* item : menu->itemArray())
    if (!item->isHidden() && item->isEnabled() && matchesKeyEquivalent(item, e)) return item;
  for (NSMenuItem* item : menu->itemArray())
    if (item->submenu() && !item->isHidden() && item->isEnabled())
      if (NSMenuItem* found = itemForKeyEquivalent(item->submenu(), e, depth + 1)) return found;
  return nullptr;
}

}  // namespace

bool NSMenu::performKeyEquivalent(const NSEvent& e) {
  if (e.type != NSEventTypeKeyDown || e.charactersIgnoringModifiers.empty()) return false;
  Ref<NSMenu> keep(this);
  Ref<NSMenuItem> item(itemForKeyEquivalent(this, e, 0));
  if (!item) return false;
  // Its owner may enable, change or take out the item as the menu is about to show.
  Ref<NSMenu> owner(item->menu());
  owner->menuWillOpen();
  if (item->menu() != owner.get() || itemForKeyEquivalent(this, e, 0) != item.get()) return false;
  return item->sendAction();
}

Ref<NSMenuItem> NSMenu::popUpMenu(NSPoint location, NSView* view) {
  return popUpMenuPositioningItem(nullptr, location, view);
}

Ref<NSMenuItem> NSMenu::popUpMenuPositioningItem(NSMenuItem* item, NSPoint location, NSView* view) {
  Ref<NSMenu> keep(this);
  NSMenuPopUp popUp;
  popUp.screenPoint = location;
  if (view && view->window())
    popUp.screenPoint =
        view->window()->convertPointToScreen(view->convertPointToView(location, nullptr));
  popUp.view = view;
  popUp.positionedItem = item && item->menu() == this ? item : nullptr;
  Ref<NSMenuItem> chosen = trackPopUp(popUp);
  if (chosen) chosen->sendAction();
  return chosen;
}

Ref<NSMenuItem> NSMenu::trackPopUp(NSMenuPopUp& popUp) {
  if (mOpen || !gMenuTracker) return {};
  Ref<NSMenu> keep(this);
  mOpen = true;
  NSMenuItem* item = gMenuTracker->trackPopUp(this, popUp);
  mOpen = false;
  if (item && menuHolds(this, item, 0) && !item->isSeparatorItem() && item->isEnabled())
    return Ref<NSMenuItem>(item);
  return {};
}

void NSMenu::dealloc() {
  removeAllItems();
  NSObject::dealloc();
}

}  // namespace platform
