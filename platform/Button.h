#pragma once

#include <optional>

#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

enum NSButtonType {
  NSButtonTypeMomentaryPushIn = 7,
  NSButtonTypeSwitch = 3,
  NSButtonTypeRadio = 4
};

// A push button, check box or radio button. The title is the string value; a coloured
// title keeps its colour beside it. The image is any object the drawing code knows.
class NSButton : public NSControl {
 public:
  using NSControl::NSControl;
  const std::string& title() const { return stringValue(); }
  void setTitle(std::string title) { setStringValue(std::move(title)); }
  NSButtonType buttonType() const { return mType; }
  void setButtonType(NSButtonType type) { mType = type; }
  int state() const { return mState; }
  void setState(int state) { mState = state; }
  bool allowsMixedState() const { return mAllowsMixed; }
  void setAllowsMixedState(bool allows) { mAllowsMixed = allows; }
  NSObject* image() const { return mImage; }
  void setImage(NSObject* image);
  std::optional<NSColor> titleColor() const { return mTitleColor; }
  void setTitleColor(std::optional<NSColor> color) { mTitleColor = color; }

 protected:
  void dealloc() override;

 private:
  NSButtonType mType = NSButtonTypeMomentaryPushIn;
  int mState = NSControlStateValueOff;
  bool mAllowsMixed = false;
  NSObject* mImage = nullptr;  // retained
  std::optional<NSColor> mTitleColor;
};

}  // namespace platform
