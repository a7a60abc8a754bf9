#include "platform/core/PopUpButton.h"

#include <algorithm>

#include "platform/core/ControlDrawing.h"

namespace platform {

NSPopUpButton::NSPopUpButton(const NSRect& frame, bool pullsDown)
    : NSButton(frame), mMenu(new NSMenu), mPullsDown(pullsDown) {}

std::string NSPopUpButton::itemTitleAtIndex(int index) const {
  NSMenuItem* item = itemAtIndex(index);
  return item ? item->title() : std::string();
}

std::vector<std::string> NSPopUpButton::itemTitles() const {
  std::vector<std::string> titles;
  for (NSMenuItem* item : mMenu->itemArray())
    titles.push_back(item->title());
  return titles;
}

int NSPopUpButton::indexOfItemWithTitle(const std::string& title) const {
  const auto& items = mMenu->itemArray();
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i]->title() == title) return static_cast<int>(i);
  return -1;
}

void NSPopUpButton::addItemWithTitle(const std::string& title) {
  insertItemWithTitle(title, numberOfItems());
}

void NSPopUpButton::insertItemWithTitle(const std::string& title, int index) {
  Ref<NSMenuItem> item = Ref<NSMenuItem>::adopt(new NSMenuItem(title));
  insertItem(item.get(), index);
}

void NSPopUpButton::insertItem(NSMenuItem* item, int index) {
  if (!item || item->menu()) return;
  index = std::clamp(index, 0, numberOfItems());
  mMenu->insertItem(item, index);
  if (indexOfSelectedItem() < 0 && !mPullsDown) selectItemAtIndex(index);
}

void NSPopUpButton::removeItemAtIndex(int index) {
  if (index < 0 || index >= numberOfItems()) return;
  if (itemAtIndex(index) == mSelected) mSelected = nullptr;
  mMenu->removeItemAtIndex(index);
  syncTitle();
}

void NSPopUpButton::removeAllItems() {
  mSelected = nullptr;
  mMenu->removeAllItems();
  syncTitle();
}

int NSPopUpButton::indexOfSelectedItem() const {
  return mSelected ? mMenu->indexOfItem(mSelected) : -1;
}

NSMenuItem* NSPopUpButton::selectedItem() const {
  return indexOfSelectedItem() >= 0 ? mSelected : nullptr;
}

std::string NSPopUpButton::titleOfSelectedItem() const {
  NSMenuItem* item = selectedItem();
  return item ? item->title() : std::string();
}

void NSPopUpButton::selectItemAtIndex(int index) {
  if (NSMenuItem* old = selectedItem()) old->setState(NSControlStateValueOff);
  mSelected = itemAtIndex(index);
  if (mSelected) mSelected->setState(NSControlStateValueOn);
  syncTitle();
}

bool NSPopUpButton::selectItemWithTitle(const std::string& title) {
  int index = indexOfItemWithTitle(title);
  if (index < 0) return false;
  selectItemAtIndex(index);
  return true;
}

bool NSPopUpButton::selectItemByUser(int index) {
  NSMenuItem* item = itemAtIndex(index);
  if (!isEnabled() || !item || !item->isEnabled() || item->isSeparatorItem()) return false;
  Ref<NSPopUpButton> keep(this);
  selectItemAtIndex(index);
  sendAction();
  return true;
}

void NSPopUpButton::popUp() {
  if (!isEnabled() || numberOfItems() == 0) return;
  Ref<NSPopUpButton> keep(this);
  Ref<NSMenu> menu(mMenu);
  menu->setMinimumWidth(bounds().size.width);
  menu->setFont(font());
  // The top left corner of the button, where the selected item shows.
  NSRect b = bounds();
  NSPoint corner{b.origin.x, isFlipped() ? b.origin.y : b.origin.y + b.size.height};
  Ref<NSMenuItem> chosen = menu->popUpMenuPositioningItem(selectedItem(), corner, this);
  if (!chosen || menu.get() != mMenu) return;
  int index = mMenu->indexOfItem(chosen.get());
  if (index >= 0) selectItemByUser(index);
}

void NSPopUpButton::mouseDown(const NSEvent&) {
  popUp();
}

void NSPopUpButton::keyDown(const NSEvent& e) {
  if (e.keyCode == kVK_Space && !(e.modifierFlags & kCommandKeyModifiers)) {
    popUp();
    return;
  }
  NSButton::keyDown(e);
}

bool NSPopUpButton::pickByKey(int from, int step) {
  Ref<NSPopUpButton> keep(this);
  for (int i = from; i >= 0 && i < numberOfItems(); i += step)
    if (i == indexOfSelectedItem() || selectItemByUser(i)) break;
  return true;
}

bool NSPopUpButton::moveUp() {
  const int selected = indexOfSelectedItem();
  return selected < 0 ? pickByKey(0, 1) : pickByKey(selected - 1, -1);
}

bool NSPopUpButton::moveDown() {
  return pickByKey(indexOfSelectedItem() + 1, 1);
}

bool NSPopUpButton::moveToBeginningOfDocument() {
  return pickByKey(0, 1);
}

bool NSPopUpButton::moveToEndOfDocument() {
  return pickByKey(numberOfItems() - 1, -1);
}

NSRect NSPopUpButton::titleRect() const {
  NSRect r = bounds();
  r.size.width = std::max(0.0, r.size.width - kArrowWidth);
  return r;
}

std::string NSPopUpButton::shownTitle() const {
  return controldrawing::fittedText(title(), font(), titleRect().size.width);
}

void NSPopUpButton::drawRect(const NSRect&) {
  // Whoever the cell calls out to may close the button while it draws.
  Ref<NSPopUpButton> keep(this);
  Ref<NSButtonCell> cell(this->cell());
  if (cell->isTransparent()) return;
  const NSRect b = bounds();
  if (cell->isBordered()) cell->drawBezel(b, this);
  // The title starts at the left, where the items' titles start in the open list.
  cell->setAlignment(NSTextAlignmentLeft);
  cell->drawTitle(shownTitle(), titleRect(), this);
  controldrawing::topDown(this, [&](CGContext* cg) {
    const NSRect arrows{{b.maxX() - kArrowWidth, b.origin.y}, {kArrowWidth, b.size.height}};
    // The list opens over the button.
    controldrawing::drawListArrows(cg, arrows, cell->ink(), true);
  });
}

void NSPopUpButton::syncTitle() {
  setStringValue(titleOfSelectedItem());
}

void NSPopUpButton::dealloc() {
  mSelected = nullptr;
  if (NSMenu* menu = std::exchange(mMenu, nullptr)) menu->release();
  NSButton::dealloc();
}

}  // namespace platform
