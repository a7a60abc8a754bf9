#pragma once

#include <string>

#include "platform/core/View.h"
#include "platform/objects/Color.h"

namespace platform {

// A titled frame around other views.
class NSBox : public NSView {
 public:
  using NSView::NSView;
  const std::string& title() const { return mTitle; }
  void setTitle(std::string title) { mTitle = std::move(title); }
  NSColor titleColor() const { return mTitleColor; }
  void setTitleColor(NSColor color) { mTitleColor = color; }

 private:
  std::string mTitle;
  NSColor mTitleColor = NSColor::textColor();
};

}  // namespace platform
