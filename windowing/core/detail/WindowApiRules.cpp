#include "windowing/core/detail/WindowApiRules.h"

#include <cmath>
#include <limits>

#include "platform/core/ScrollView.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;

namespace swell {

bool isContentView(const NSView* view) {
  return view && view->window() && view->window()->contentView() == view;
}

NSObject* contentViewRule(NSObject* object) {
  if (auto* view = dynamic_cast<NSView*>(object); isContentView(view)) return view->window();
  return object;
}

NSView* windowRule(NSObject* object) {
  if (auto* view = dynamic_cast<NSView*>(object)) return view;
  if (auto* window = dynamic_cast<NSWindow*>(object)) return window->contentView();
  return nullptr;
}

NSView* scrollRule(NSView* view) {
  if (!view) return nullptr;
  if (auto* clip = dynamic_cast<platform::NSClipView*>(view->superview()))
    if (auto* scroll = dynamic_cast<platform::NSScrollView*>(clip->superview())) return scroll;
  return view;
}

NSWindow* windowOf(NSObject* object) {
  if (auto* window = dynamic_cast<NSWindow*>(object)) return window;
  if (auto* view = dynamic_cast<NSView*>(object)) return view->window();
  return nullptr;
}

NSObject* ownerOf(NSWindow* window) {
  auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
  NSObject* owner = top ? top->swellGetOwner() : nullptr;
  if (auto* ownerWindow = dynamic_cast<NSWindow*>(owner)) return ownerWindow->contentView();
  return owner;
}

NSObject* parentOf(NSObject* object) {
  NSWindow* window = dynamic_cast<NSWindow*>(object);
  if (auto* view = scrollRule(dynamic_cast<NSView*>(object))) {
    if (!isContentView(view)) return view->superview();
    window = view->window();
  }
  if (!window) return nullptr;
  if (NSWindow* parent = window->parentWindow()) return parent->contentView();
  return ownerOf(window);
}

LONG roundCoordinate(double value) {
  if (std::isnan(value)) return 0;
  double r = std::floor(value + 0.5);
  constexpr double lo = std::numeric_limits<LONG>::min();
  constexpr double hi = std::numeric_limits<LONG>::max();
  if (r <= lo) return std::numeric_limits<LONG>::min();
  if (r >= hi) return std::numeric_limits<LONG>::max();
  return static_cast<LONG>(r);
}

}  // namespace swell
