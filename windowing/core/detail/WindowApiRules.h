#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSObject;
class NSView;
class NSWindow;
}  // namespace platform

// How the window API turns a handle into the object it acts on. A handle may name a
// view or a top-level window; these rules make either behave as Win32 code expects.
namespace swell {

bool isContentView(const platform::NSView* view);

// Content-view rule: a view that is its window's content view stands for the window.
platform::NSObject* contentViewRule(platform::NSObject* object);

// Window rule: a top-level window stands for its content view. Null for objects that
// are neither views nor windows.
platform::NSView* windowRule(platform::NSObject* object);

// Scroll rule: a view inside a scroll view's clip view stands for the scroll view.
platform::NSView* scrollRule(platform::NSView* view);

// The owner of a top-level window as handles name it: an owning top-level window
// stands for its content view. Null when it has none.
platform::NSObject* ownerOf(platform::NSWindow* window);

// The window itself, or the window a view is in.
platform::NSWindow* windowOf(platform::NSObject* object);

// The parent of a window: a view inside a scroll view's clip view stands for the scroll
// view; a view that is not a content view has its superview; a content view (or a
// top-level window) has the content view of its parent window, else its owner.
platform::NSObject* parentOf(platform::NSObject* object);

// A coordinate as the layer reports it: floor(value + 0.5), held within the 32-bit
// range; NaN gives 0.
LONG roundCoordinate(double value);

}  // namespace swell
