#pragma once

#include <concepts>

#include "platform/core/View.h"
#include "windowing/core/Painting.h"

// A native control of this layer: marking it for display also tells each enclosing window
// object that a descendant must be drawn. The one rule of every control, with its two guards:
// - only a real request tells (setNeedsDisplay(false) tells nothing), and only the first one
//   before a display pass: a view already waiting to be drawn told its ancestors then, and a
//   display pass clears the view's dirt and theirs together, so later requests find them told;
// - a view that holds its updates (a table between beginUpdates and endUpdates, as
//   WM_SETREDRAW leaves it) tells nothing until it lets them go, and its letting go is a
//   request of its own. A view without updates to hold never holds them.
template <class Native>
class SwellDirtyMarking : public Native {
 public:
  using Native::Native;

  void setNeedsDisplay(bool needs) override {
    const bool told = this->needsDisplay();
    // A view waiting to be drawn whole gains nothing from another whole request; a list
    // being filled asks once for every text it is given.
    if (needs && told && this->dirtyRect() == this->bounds()) return;
    Native::setNeedsDisplay(needs);
    if (needs) tellAncestors(told);
  }
  void setNeedsDisplayInRect(const platform::NSRect& rect) override {
    const bool told = this->needsDisplay();
    Native::setNeedsDisplayInRect(rect);
    tellAncestors(told);
  }

 private:
  bool holdsUpdates() const {
    if constexpr (requires(const Native& view) {
                    { view.updatesHeld() } -> std::convertible_to<bool>;
                  })
      return this->updatesHeld();
    else
      return false;
  }
  void tellAncestors(bool told) {
    if (!told && !holdsUpdates()) swell::markAncestorsDirty(this);
  }
};
