#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

enum NSButtonType {
  NSButtonTypeMomentaryLight = 0,
  NSButtonTypePushOnPushOff = 1,
  NSButtonTypeToggle = 2,
  NSButtonTypeSwitch = 3,
  NSButtonTypeRadio = 4,
  NSButtonTypeMomentaryPushIn = 7,
};

enum NSCellImagePosition {
  NSNoImage = 0,
  NSImageOnly = 1,
  NSImageLeft = 2,
  NSImageRight = 3,
  NSImageBelow = 4,
  NSImageAbove = 5,
  NSImageOverlaps = 6,
};

// A push button, check box (switch) or radio button. The title is the string value; a
// coloured title keeps its colour beside it. The image is any object the drawing code
// knows. A click inside the button (press and release over it) moves the state on by
// the button's type and then sends the action:
// - push buttons keep their state; push-on-push-off and toggle buttons flip it;
// - switches go off -> on -> off, or on -> off -> mixed -> on when mixed is allowed;
// - radio buttons turn on. Grouping radios is the caller's business.
class NSButton : public NSControl {
 public:
  using NSControl::NSControl;
  const std::string& title() const { return stringValue(); }
  void setTitle(std::string title) { setStringValue(std::move(title)); }
  NSButtonType buttonType() const { return mType; }
  void setButtonType(NSButtonType type) { mType = type; }

  int state() const { return mState; }
  // Positive values mean on; negative mean mixed, which becomes on unless mixed is
  // allowed.
  void setState(int state);
  bool allowsMixedState() const { return mAllowsMixed; }
  // Forbidding mixed turns a mixed button on.
  void setAllowsMixedState(bool allows);
  // The state a click moves to.
  int nextState() const;

  NSObject* image() const { return mImage; }
  void setImage(NSObject* image);
  NSCellImagePosition imagePosition() const { return mImagePosition; }
  void setImagePosition(NSCellImagePosition position) { mImagePosition = position; }
  std::optional<NSColor> titleColor() const { return mTitleColor; }
  void setTitleColor(std::optional<NSColor> color) { mTitleColor = color; }
  int bezelStyle() const { return mBezelStyle; }
  void setBezelStyle(int style) { mBezelStyle = style; }

  const std::string& keyEquivalent() const { return mKeyEquivalent; }
  void setKeyEquivalent(std::string key) { mKeyEquivalent = std::move(key); }
  std::uint64_t keyEquivalentModifierMask() const { return mKeyMask; }
  void setKeyEquivalentModifierMask(std::uint64_t mask) { mKeyMask = mask; }
  // Clicks the button when the key event matches its key equivalent and modifiers
  // and the button is enabled and shown; returns whether it did.
  bool performKeyEquivalent(const NSEvent& event);

  // What a completed click does: next state, then the action. Nothing when disabled.
  void performClick();

  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;

  NSSize fittingSize() const override;

 protected:
  void dealloc() override;

 private:
  bool containsWindowPoint(NSPoint p) const;

  NSButtonType mType = NSButtonTypeMomentaryPushIn;
  int mState = NSControlStateValueOff;
  bool mAllowsMixed = false;
  bool mTracking = false;
  NSObject* mImage = nullptr;  // retained
  NSCellImagePosition mImagePosition = NSNoImage;
  std::optional<NSColor> mTitleColor;
  int mBezelStyle = 1;
  std::string mKeyEquivalent;
  std::uint64_t mKeyMask = 0;
};

}  // namespace platform
