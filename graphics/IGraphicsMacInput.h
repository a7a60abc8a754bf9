#pragma once

// Translation of the platform's input events into the records the graphics context takes: the
// button and modifier flags of a mouse event, and a key event as a Windows virtual key with the
// typed character.

#include "framework/IPlugStructs.h"
#include "graphics/IGraphicsStructs.h"
#include "platform/display/Event.h"

namespace iplug {
namespace igraphics {

// The flags of a mouse event: L for the left button (and R too when Command is held, the
// one-button right click), R for the right button, S Shift, C Control, A Option.
IMouseMod MouseModFromEvent(const platform::NSEvent& e, bool leftButton, bool rightButton);

// The virtual key of a key event: keys that type nothing (arrows, function keys, keypad, editing
// keys) by their key code, the others by the character they type without modifiers, so that
// letters and digits do not depend on the keyboard layout. A key with no virtual key gets 0.
// The typed character is kept when it is printable. S, C and A are Shift, Command and Option.
IKeyPress KeyPressFromEvent(const platform::NSEvent& e);

}  // namespace igraphics
}  // namespace iplug
