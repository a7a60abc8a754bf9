#include "platform/Button.h"

#include "base/Log.h"

#include "platform/Event.h"

namespace platform {

namespace {
constexpr std::uint64_t kKeyEquivalentModifiers =
    NSEventModifierFlagShift | NSEventModifierFlagControl | NSEventModifierFlagOption |
    NSEventModifierFlagCommand;
}  // namespace

NSButtonCell* NSButton::newCellFor(NSButton* button) {
  auto* cell = new NSButtonCell;
  cell->setControlView(button);
  return cell;
}

NSButtonCell* NSButton::cell() const {
  syncCell();
  return mCell;
}

void NSButton::setCell(NSButtonCell* cell) {
  if (!cell) {
    base::warn("platform", "NSButton: a null cell refused");
    return;
  }
  if (cell == mCell) return;
  cell->retain();
  if (mCell) {
    if (mCell->controlView() == this) mCell->setControlView(nullptr);
    mCell->release();
  }
  mCell = cell;
  mCell->setControlView(this);
  setNeedsDisplay(true);
}

void NSButton::syncCell() const {
  mCell->setStringValue(stringValue());
  mCell->setFont(font());
  mCell->setAlignment(alignment());
  mCell->setEnabled(isEnabled());
  mCell->setHighlighted(isHighlighted());
  mCell->setTag(tag());
}

void NSButton::setButtonType(NSButtonType type) {
  if (type == mCell->buttonType()) return;
  mCell->setButtonType(type);
  setNeedsDisplay(true);
}

void NSButton::setState(int state) {
  int before = mCell->state();
  mCell->setState(state);
  if (mCell->state() != before) setNeedsDisplay(true);
}

void NSButton::setAllowsMixedState(bool allows) {
  int before = mCell->state();
  mCell->setAllowsMixedState(allows);
  if (mCell->state() != before) setNeedsDisplay(true);
}

void NSButton::setImage(NSObject* image) {
  if (image == mCell->image()) return;
  mCell->setImage(image);
  setNeedsDisplay(true);
}

void NSButton::setImagePosition(NSCellImagePosition position) {
  if (position == mCell->imagePosition()) return;
  mCell->setImagePosition(position);
  setNeedsDisplay(true);
}

void NSButton::setTitleColor(std::optional<NSColor> color) {
  mCell->setTitleColor(color);
  setNeedsDisplay(true);
}

void NSButton::setBezelStyle(int style) {
  mCell->setBezelStyle(style);
  setNeedsDisplay(true);
}

void NSButton::setBordered(bool bordered) {
  if (bordered == mCell->isBordered()) return;
  mCell->setBordered(bordered);
  setNeedsDisplay(true);
}

void NSButton::setTransparent(bool transparent) {
  if (transparent == mCell->NSButtonCell::isTransparent()) return;
  mCell->setTransparent(transparent);
  setNeedsDisplay(true);
}

bool NSButton::performKeyEquivalent(const NSEvent& event) {
  if (event.type != NSEventTypeKeyDown || mKeyEquivalent.empty()) return false;
  if (!isEnabled() || isHiddenOrHasHiddenAncestor()) return false;
  if ((event.modifierFlags & kKeyEquivalentModifiers) != (mKeyMask & kKeyEquivalentModifiers))
    return false;
  if (event.charactersIgnoringModifiers != mKeyEquivalent && event.characters != mKeyEquivalent)
    return false;
  performClick();
  return true;
}

void NSButton::performClick() {
  if (!isEnabled()) return;
  Ref<NSButton> keep(this);
  setState(nextState());
  sendAction();
}

bool NSButton::containsWindowPoint(NSPoint p) const {
  return NSPointInRect(convertPointFromView(p, nullptr), bounds());
}

void NSButton::mouseDown(const NSEvent& e) {
  if (!isEnabled()) return;
  mTracking = true;
  setHighlighted(true);
}

void NSButton::mouseDragged(const NSEvent& e) {
  if (!mTracking) return;
  setHighlighted(containsWindowPoint(e.locationInWindow));
}

void NSButton::mouseUp(const NSEvent& e) {
  if (!mTracking) return;
  mTracking = false;
  setHighlighted(false);
  // Releasing outside the button cancels the click.
  if (containsWindowPoint(e.locationInWindow)) performClick();
}

void NSButton::keyDown(const NSEvent& e) {
  if (e.keyCode == kVK_Space && !(e.modifierFlags & kCommandKeyModifiers) && isEnabled()) {
    performClick();
    return;
  }
  NSControl::keyDown(e);
}

NSSize NSButton::fittingSize() const {
  return cell()->cellSize();
}

void NSButton::dealloc() {
  // The cell stays until the destructor, so calls made while the view goes still find it;
  // from now on it draws for no control.
  if (mCell->controlView() == this) mCell->setControlView(nullptr);
  NSControl::dealloc();
}

NSButton::~NSButton() {
  mCell->release();
}

void NSButton::drawRect(const NSRect&) {
  // Whoever the cell calls out to may close the button while it draws.
  Ref<NSButton> keep(this);
  Ref<NSButtonCell> cell(this->cell());
  cell->drawWithFrame(bounds(), this);
}

}  // namespace platform
