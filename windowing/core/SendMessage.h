#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSView;
}

// Delivers a message synchronously and returns the answer: to the object's own message
// entry when it has one; else, for a native control of a matching kind, the emulated
// Win32 control message; else for a content view to its window's entry, or for a
// top-level window to its content view's. A null or stale handle, or an object that
// answers none of these, gives 0.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace swell {
// Tells the parent window that an editable text control took the keyboard focus:
// WM_COMMAND with the control's id, EN_SETFOCUS and the control.
void notifyEditFocus(platform::NSView* control);
}  // namespace swell
