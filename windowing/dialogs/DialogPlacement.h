#pragma once

// Where dialogs open: over the window they belong to, on the screen.

#include "platform/core/Window.h"
#include "windowing/Win32Types.h"

namespace swell {

// Moves a dialog so that its frame is centred over its owner's frame (over the main screen
// without an owner), then kept within that screen's visible area (by its left and top edges
// when it is larger), so that its title bar can be reached.
void centreDialogOverOwner(platform::NSWindow* dialog, const platform::NSWindow* owner);

// The top-level window a handle stands for: the window itself, or the window of a view;
// without one, the key window, else the main window.
platform::NSWindow* dialogOwnerOf(HWND hwnd);

}  // namespace swell
