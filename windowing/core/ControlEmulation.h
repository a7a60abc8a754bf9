#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSObject;
}

namespace swell {

// Answers a message for a native control when the message and the control's kind
// match; false when they do not (the message then goes on as for any other object).
//
// SendMessage calls it for objects without a message entry of their own. The standard
// controls define it (windowing/controls), above the window core; the reference is weak
// so that the core does not depend on them: a program without them has the address
// null and native controls answer no control messages. The windowing library links
// the standard controls whole, so every program that uses it has the definition.
bool emulateControlMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) __attribute__((weak));

}  // namespace swell
