#pragma once

#include "platform/View.h"
#include "windowing/core/Painting.h"

// A native control of this layer: marking it for display also tells each enclosing window
// object that a descendant must be drawn (a real request only: setNeedsDisplay(false) tells
// nothing).
template <class Native>
class SwellDirtyMarking : public Native {
 public:
  using Native::Native;

  void setNeedsDisplay(bool needs) override {
    Native::setNeedsDisplay(needs);
    if (needs) swell::markAncestorsDirty(this);
  }
  void setNeedsDisplayInRect(const platform::NSRect& rect) override {
    Native::setNeedsDisplayInRect(rect);
    swell::markAncestorsDirty(this);
  }
};
