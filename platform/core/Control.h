#pragma once

#include <string>

#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "platform/drawing/Font.h"

namespace platform {

enum NSTextAlignment {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentRight = 1,
  NSTextAlignmentCenter = 2,
  NSTextAlignmentJustified = 3,
  NSTextAlignmentNatural = 4,
};

// A view with a value, a tag, a target-action pair, a font and a delegate. The delegate
// is any object; each control asks it with dynamic_cast for the interface it talks to.
class NSControl : public NSView {
 public:
  using NSView::NSView;
  long tag() const override { return mTag; }
  void setTag(long tag) { mTag = tag; }
  bool isEnabled() const { return mEnabled; }
  // Disabling the control takes the keyboard focus from it (and from its field editor).
  virtual void setEnabled(bool enabled);
  const std::string& stringValue() const { return mString; }
  virtual void setStringValue(std::string value);
  NSObject* target() const { return mTarget; }
  void setTarget(NSObject* target) { mTarget = target; }
  int action() const { return mAction; }
  void setAction(int action) { mAction = action; }
  // Sends the action to the target when it takes actions.
  bool sendAction();

  const NSFont& font() const { return mFont; }
  void setFont(const NSFont& font);
  NSTextAlignment alignment() const { return mAlignment; }
  void setAlignment(NSTextAlignment alignment);
  NSObject* delegate() const { return mDelegate; }
  void setDelegate(NSObject* delegate) { mDelegate = delegate; }
  bool isHighlighted() const { return mHighlighted; }
  void setHighlighted(bool highlighted);
  // A control with the keyboard focus is ringed.
  bool showsFocusRing() const override { return true; }
  // The navigation keys (see keyCommandForEvent) step an enabled control through the
  // moves it takes (moveUp, moveToEndOfDocument...); any other key, or a step it does not
  // take, goes on up the chain.
  void keyDown(const NSEvent& e) override;

  // The size the control needs for its content in its font; sizeToFit takes it,
  // keeping the frame's origin.
  virtual NSSize fittingSize() const;
  void sizeToFit();

 private:
  long mTag = 0;
  bool mEnabled = true;
  bool mHighlighted = false;
  std::string mString;
  NSObject* mTarget = nullptr;  // not retained
  int mAction = 0;
  NSFont mFont;
  NSTextAlignment mAlignment = NSTextAlignmentNatural;
  NSObject* mDelegate = nullptr;  // not retained
};

}  // namespace platform
