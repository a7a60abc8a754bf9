#include "platform/core/Control.h"

#include "platform/core/Window.h"

namespace platform {

namespace {
// Room around a plain control's text: the cell's inset on each side.
constexpr double kTextInsetX = 2;
constexpr double kTextInsetY = 1;
}  // namespace

void NSControl::setEnabled(bool enabled) {
  if (enabled == mEnabled) return;
  mEnabled = enabled;
  // A disabled control cannot keep the keyboard focus: its field editor would go on
  // typing into it.
  if (NSWindow* w = window(); w && !enabled) {
    if (auto* focused = dynamic_cast<NSView*>(w->firstResponder());
        focused && focused->isDescendantOf(this))
      w->makeFirstResponder(nullptr);
  }
  setNeedsDisplay(true);
}

void NSControl::setStringValue(std::string value) {
  if (value == mString) return;
  mString = std::move(value);
  setNeedsDisplay(true);
}

bool NSControl::sendAction() {
  auto* target = dynamic_cast<ActionTarget*>(mTarget);
  if (!target || !mEnabled) return false;
  Ref<NSControl> keep(this);
  target->performAction(mAction, this);
  return true;
}

void NSControl::setFont(const NSFont& font) {
  if (font == mFont) return;
  mFont = font;
  setNeedsDisplay(true);
}

void NSControl::setAlignment(NSTextAlignment alignment) {
  if (alignment == mAlignment) return;
  mAlignment = alignment;
  setNeedsDisplay(true);
}

void NSControl::setHighlighted(bool highlighted) {
  if (highlighted == mHighlighted) return;
  mHighlighted = highlighted;
  setNeedsDisplay(true);
}

void NSControl::keyDown(const NSEvent& e) {
  Ref<NSControl> keep(this);
  if (isEnabled() && doCommandBySelector(keyCommandForEvent(e))) return;
  NSView::keyDown(e);
}

NSSize NSControl::fittingSize() const {
  NSSize text = mFont.sizeOfString(mString);
  return {text.width + 2 * kTextInsetX, text.height + 2 * kTextInsetY};
}

void NSControl::sizeToFit() {
  setFrameSize(fittingSize());
}

}  // namespace platform
