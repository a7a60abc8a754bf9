#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSObject;
}

namespace swell {

// Answers a message for a native control when the message and the control's kind
// match; false when they do not (the message then goes on as for any other object).
using ControlMessageEmulation = bool (*)(platform::NSObject* object, UINT msg, WPARAM wParam,
                                         LPARAM lParam, LRESULT* result);

// SendMessage asks the installed emulation for objects without a message entry of their
// own. The standard controls (windowing/controls), above the window core, install theirs
// when their factories are first used; until then, and with null, native controls answer
// no control messages.
void setControlMessageEmulation(ControlMessageEmulation emulation);

}  // namespace swell
