#pragma once

#include <string>

#include "platform/Menu.h"
#include "platform/View.h"

namespace platform {

// A view with a value, a tag, and a target-action pair.
class NSControl : public NSView {
 public:
  using NSView::NSView;
  long tag() const override { return mTag; }
  void setTag(long tag) { mTag = tag; }
  bool isEnabled() const { return mEnabled; }
  virtual void setEnabled(bool enabled) { mEnabled = enabled; }
  const std::string& stringValue() const { return mString; }
  virtual void setStringValue(std::string value);
  NSObject* target() const { return mTarget; }
  void setTarget(NSObject* target) { mTarget = target; }
  int action() const { return mAction; }
  void setAction(int action) { mAction = action; }
  // Sends the action to the target when it takes actions.
  bool sendAction();
  // The size the control needs for its content.
  virtual NSSize fittingSize() const { return frame().size; }

 private:
  long mTag = 0;
  bool mEnabled = true;
  std::string mString;
  NSObject* mTarget = nullptr;  // not retained
  int mAction = 0;
};

}  // namespace platform
