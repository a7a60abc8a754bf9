#pragma once

#include "platform/Event.h"
#include "platform/Geometry.h"
#include "windowing/Win32Types.h"

namespace platform {
class NSCursor;
class NSObject;
class NSView;
}  // namespace platform

// What event translation and the application stub need to know about keys, the
// pointer, the cursor and the relations of windows. Kept internal to the layer: the
// public Win32 calls of the same kind (GetCursorPos, GetParent, SetFocus...) are built
// on the same rules.
namespace swell {

// The Windows virtual key (flag FVIRTKEY set) or character of a key event, and its
// modifier flags (FSHIFT, FCONTROL for Command, FALT for Option, FLWIN for Control
// unless Control-click stands for the right button).
int macKeyToWindowsKey(const platform::NSEvent& event, int* flags);
// Only the modifier flags of an event.
int modifierFlagsOf(const platform::NSEvent& event);

// A coordinate rounded to the nearest whole number (floor of value + 0.5), limited in
// floating point to the 32-bit range first; NaN gives 0.
LONG roundToLong(double value);
// Packs a point into a message parameter: x in the low 16 bits, y in the next 16, with
// unsigned arithmetic so negative coordinates keep their 16-bit forms.
LPARAM packPoint(LONG x, LONG y);
// The pointer in screen coordinates (y up): x rounded down, y rounded up.
POINT cursorPos();
// The pointer packed as a message parameter.
LPARAM messagePos();
// An event's pointer position in a view's coordinates.
platform::NSPoint mouseEventToClientPoint(const platform::NSView* view,
                                          const platform::NSEvent& event);
// A screen point in a view's coordinates, rounded.
POINT screenToClient(const platform::NSView* view, platform::NSPoint screen);

// The cursor set through the layer (null when the arrow was asked for).
void setCursor(platform::NSCursor* cursor);
platform::NSCursor* lastSetCursor();
// Sets the arrow cursor unless it is the current one already.
void setArrowCursorUnlessCurrent();

// The parent of a window: a scroll view stands for the view inside it; a view's
// superview; for a content view, the content view of the parent window or the owner.
HWND parentHandle(HWND hwnd);
// Gives a window the keyboard focus: a view becomes its window's first responder
// (when it accepts) and the window comes to the front as the key window when visible.
void setFocus(platform::NSObject* object);
// The control id of the default button of the view's window; 0 when there is none, or
// when onlyEnabled and it is disabled.
int defaultButtonId(const platform::NSView* view, bool onlyEnabled);

}  // namespace swell
