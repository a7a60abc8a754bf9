#pragma once

#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

// A text label or an editable field.
class NSTextField : public NSControl {
 public:
  using NSControl::NSControl;
  bool isEditable() const { return mEditable; }
  void setEditable(bool editable) { mEditable = editable; }
  bool isSelectable() const { return mSelectable; }
  void setSelectable(bool selectable) { mSelectable = selectable; }
  NSColor textColor() const { return mTextColor; }
  void setTextColor(NSColor color) { mTextColor = color; }

 private:
  bool mEditable = true;
  bool mSelectable = true;
  NSColor mTextColor = NSColor::textColor();
};

}  // namespace platform
