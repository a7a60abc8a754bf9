#pragma once

#include "platform/display/Event.h"
#include "platform/objects/Geometry.h"
#include "windowing/Win32Types.h"

namespace platform {
class NSCursor;
class NSView;
}  // namespace platform

// What event translation and the application stub need to know about keys, the
// pointer and the cursor beside the public keyboard and cursor calls
// (SWELL_MacKeyToWindowsKey, GetCursorPos, SWELL_SetCursor).
namespace swell {

// Only the modifier flags of an event: FSHIFT, FCONTROL for Command, FALT for Option,
// FLWIN for Control unless Control-click stands for the right button.
int modifierFlagsOf(const platform::NSEvent& event);

// The pointer in screen coordinates (y up): x rounded down, y rounded up.
POINT cursorPos();
// The pointer packed as a message parameter.
LPARAM messagePos();
// An event's pointer position in a view's coordinates.
platform::NSPoint mouseEventToClientPoint(const platform::NSView* view,
                                          const platform::NSEvent& event);

// The cursor set through the layer (null when the arrow was asked for).
platform::NSCursor* lastSetCursor();
// Sets the arrow cursor unless it is the current one already.
void setArrowCursorUnlessCurrent();

}  // namespace swell
