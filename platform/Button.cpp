#include "platform/Button.h"

#include <algorithm>

#include "platform/ControlDrawing.h"
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

void NSButton::drawRect(const NSRect&) {
  controldrawing::topDown(this, [&](CGContext* cg) {
    NSRect b = bounds();
    NSColor ink = !isEnabled() ? NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1)
                               : mTitleColor.value_or(NSColor::textColor());
    if (mType == NSButtonTypeSwitch || mType == NSButtonTypeRadio) {
      // A box (or, for a radio, a smaller box) with a mark when on, a bar when mixed.
      double side = mType == NSButtonTypeRadio ? 12 : 14;
      NSRect box{{b.origin.x + 2, b.origin.y + (b.size.height - side) / 2}, {side, side}};
      controldrawing::fillRect(cg, box, NSColor::controlColor());
      controldrawing::strokeRect(cg, box, ink);
      if (mState != NSControlStateValueOff) {
        double inset = 3;
        NSRect mark{{box.origin.x + inset, box.origin.y + inset},
                    {side - 2 * inset, mState == NSControlStateValueMixed ? 2 : side - 2 * inset}};
        if (mState == NSControlStateValueMixed) mark.origin.y = box.origin.y + side / 2 - 1;
        controldrawing::fillRect(cg, mark, ink);
      }
      NSRect text{{box.origin.x + side + 2, b.origin.y}, {b.size.width - side - 4, b.size.height}};
      controldrawing::drawText(cg, title(), text, font(), ink, NSTextAlignmentLeft);
      return;
    }
    NSColor face = isHighlighted() || mState == NSControlStateValueOn
                       ? NSColor::selectedTextBackgroundColor()
                       : NSColor::controlColor();
    controldrawing::fillRect(cg, b, face);
    controldrawing::strokeRect(cg, b, NSColor::colorWithRGBA(0.55, 0.55, 0.55, 1));
    controldrawing::drawText(
        cg, title(), b, font(), ink,
        alignment() == NSTextAlignmentLeft ? NSTextAlignmentLeft : NSTextAlignmentCenter);
  });
}

}  // namespace platform
