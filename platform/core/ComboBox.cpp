#include "platform/core/ComboBox.h"

#include <algorithm>

#include "base/Log.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/Menu.h"
#include "platform/core/Text.h"
#include "platform/core/Window.h"

namespace platform {

std::string NSComboBox::itemObjectValueAtIndex(int index) const {
  if (index < 0 || index >= numberOfItems()) return {};
  return mItems[static_cast<std::size_t>(index)];
}

void NSComboBox::addItemWithObjectValue(const std::string& value) {
  insertItemWithObjectValue(value, numberOfItems());
}

bool NSComboBox::insertItemWithObjectValue(const std::string& value, int index) {
  if (index < 0 || index > numberOfItems()) {
    base::warn("platform", "NSComboBox: insert index %d outside 0..%d refused", index,
               numberOfItems());
    return false;
  }
  mItems.insert(mItems.begin() + index, value);
  if (mSelected >= index) ++mSelected;
  return true;
}

void NSComboBox::removeItemAtIndex(int index) {
  if (index < 0 || index >= numberOfItems()) return;
  mItems.erase(mItems.begin() + index);
  if (mSelected == index)
    mSelected = -1;
  else if (mSelected > index)
    --mSelected;
}

void NSComboBox::removeAllItems() {
  mItems.clear();
  mSelected = -1;
}

int NSComboBox::indexOfItemWithObjectValue(const std::string& value) const {
  for (std::size_t i = 0; i < mItems.size(); ++i)
    if (mItems[i] == value) return static_cast<int>(i);
  return -1;
}

NSComboBoxDelegate* NSComboBox::comboDelegate() const {
  return dynamic_cast<NSComboBoxDelegate*>(delegate());
}

void NSComboBox::setSelection(int index) {
  Ref<NSComboBox> keep(this);
  mSelected = index;
  if (index >= 0) setStringValue(mItems[static_cast<std::size_t>(index)]);
  if (auto* d = comboDelegate()) d->comboBoxSelectionDidChange(this);
}

void NSComboBox::selectItemAtIndex(int index) {
  if (index < 0 || index >= numberOfItems()) return;
  setSelection(index);
}

void NSComboBox::deselectItemAtIndex(int index) {
  if (index < 0 || index != mSelected) return;
  setSelection(-1);
}

void NSComboBox::popUp() {
  if (mPoppedUp || !isEnabled()) return;
  Ref<NSComboBox> keep(this);
  if (auto* d = comboDelegate()) d->comboBoxWillPopUp(this);
  mPoppedUp = true;
}

void NSComboBox::dismiss() {
  if (!mPoppedUp) return;
  Ref<NSComboBox> keep(this);
  if (auto* d = comboDelegate()) d->comboBoxWillDismiss(this);
  mPoppedUp = false;
}

bool NSComboBox::chooseItemAtIndex(int index) {
  if (!isEnabled() || index < 0 || index >= numberOfItems()) return false;
  Ref<NSComboBox> keep(this);
  setSelection(index);
  sendAction();
  dismiss();
  return true;
}

NSRect NSComboBox::editingRect() const {
  NSRect r = NSTextField::editingRect();
  r.size.width = std::max(0.0, r.size.width - kArrowWidth);
  return r;
}

std::vector<std::string> NSComboBox::shownLines() const {
  return {controldrawing::fittedText(stringValue(), font(), editingRect().size.width)};
}

void NSComboBox::showList() {
  if (mPoppedUp || !isEnabled()) return;
  Ref<NSComboBox> keep(this);
  popUp();
  if (!mPoppedUp) return;
  Ref<NSMenu> list = Ref<NSMenu>::adopt(new NSMenu);
  for (int i = 0; i < numberOfItems(); ++i) {
    Ref<NSMenuItem> item = Ref<NSMenuItem>::adopt(new NSMenuItem(mItems[std::size_t(i)]));
    if (i == mSelected) item->setState(NSControlStateValueOn);
    list->addItem(item.get());
  }
  list->setMinimumWidth(bounds().size.width);
  list->setFont(font());
  // Below the field: its bottom left corner.
  NSRect b = bounds();
  NSPoint corner{b.origin.x, isFlipped() ? b.origin.y + b.size.height : b.origin.y};
  NSMenuPopUp request;
  request.view = this;
  request.highlightedItem = list->itemAtIndex(mSelected);
  request.screenPoint =
      window() ? window()->convertPointToScreen(convertPointToView(corner, nullptr)) : corner;
  Ref<NSMenuItem> chosen = list->trackPopUp(request);
  const int index = chosen ? list->indexOfItem(chosen.get()) : -1;
  // The list may have changed while it was shown: the choice counts by its text.
  if (index >= 0 && index < numberOfItems() && mItems[std::size_t(index)] == chosen->title() &&
      chooseItemAtIndex(index))
    return;
  dismiss();
}

void NSComboBox::mouseDown(const NSEvent& e) {
  NSPoint p = convertPointFromView(e.locationInWindow, nullptr);
  if (isEnabled() && p.x >= bounds().size.width - kArrowWidth) {
    if (mPoppedUp)
      dismiss();
    else
      showList();
    return;
  }
  NSTextField::mouseDown(e);
}

bool NSComboBox::chooseByKey(int step) {
  const int next = mSelected < 0 ? 0 : mSelected + step;
  if (next < 0 || next >= numberOfItems()) return true;
  Ref<NSComboBox> keep(this);
  if (chooseItemAtIndex(next))
    if (NSText* editor = currentEditor()) editor->selectAll();
  return true;
}

bool NSComboBox::moveUp() {
  return chooseByKey(-1);
}

bool NSComboBox::moveDown() {
  return chooseByKey(1);
}

NSSize NSComboBox::fittingSize() const {
  NSSize size = NSTextField::fittingSize();
  size.width += kArrowWidth;
  return size;
}

void NSComboBox::drawRect(const NSRect& dirtyRect) {
  NSTextField::drawRect(dirtyRect);
  controldrawing::topDown(this, [&](CGContext* cg) {
    NSRect b = bounds();
    NSRect arrow{{b.origin.x + b.size.width - kArrowWidth, b.origin.y},
                 {kArrowWidth, b.size.height}};
    controldrawing::fillRect(
        cg, arrow, mPoppedUp ? NSColor::selectedTextBackgroundColor() : NSColor::controlColor());
    const NSColor edge = NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1);
    controldrawing::strokeRect(cg, arrow, edge);
    // The list opens below the field.
    controldrawing::drawListArrows(cg, arrow, isEnabled() ? textColor() : edge, false);
  });
}

}  // namespace platform
