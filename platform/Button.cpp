#include "platform/Button.h"

#include <algorithm>

#include "platform/Event.h"

namespace platform {

namespace {
// Room the bezel of a push button takes around its title, and the box of a check box or
// radio button beside its title.
constexpr double kPushPaddingX = 14;
constexpr double kPushMinHeight = 21;
constexpr double kMarkSize = 18;
constexpr std::uint64_t kKeyEquivalentModifiers =
    NSEventModifierFlagShift | NSEventModifierFlagControl | NSEventModifierFlagOption |
    NSEventModifierFlagCommand;
}  // namespace

void NSButton::setState(int state) {
  int normal = state == 0     ? NSControlStateValueOff
               : state > 0    ? NSControlStateValueOn
               : mAllowsMixed ? NSControlStateValueMixed
                              : NSControlStateValueOn;
  if (normal == mState) return;
  mState = normal;
  setNeedsDisplay(true);
}

void NSButton::setAllowsMixedState(bool allows) {
  mAllowsMixed = allows;
  if (!allows && mState == NSControlStateValueMixed) setState(NSControlStateValueOn);
}

int NSButton::nextState() const {
  switch (mType) {
    case NSButtonTypeSwitch:
      if (!mAllowsMixed)
        return mState == NSControlStateValueOff ? NSControlStateValueOn : NSControlStateValueOff;
      if (mState == NSControlStateValueOn) return NSControlStateValueOff;
      if (mState == NSControlStateValueOff) return NSControlStateValueMixed;
      return NSControlStateValueOn;
    case NSButtonTypeRadio:
      return NSControlStateValueOn;
    case NSButtonTypePushOnPushOff:
    case NSButtonTypeToggle:
      return mState == NSControlStateValueOff ? NSControlStateValueOn : NSControlStateValueOff;
    default:
      return mState;
  }
}

void NSButton::setImage(NSObject* image) {
  if (image == mImage) return;
  if (image) image->retain();
  if (mImage) mImage->release();
  mImage = image;
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

NSSize NSButton::fittingSize() const {
  NSSize text = font().sizeOfString(title());
  if (mType == NSButtonTypeSwitch || mType == NSButtonTypeRadio)
    return {kMarkSize + text.width, std::max(kMarkSize, text.height)};
  return {text.width + 2 * kPushPaddingX, std::max(kPushMinHeight, text.height + 4)};
}

void NSButton::dealloc() {
  setImage(nullptr);
  NSControl::dealloc();
}

}  // namespace platform
