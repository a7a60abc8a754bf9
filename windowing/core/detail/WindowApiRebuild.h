#pragma once

#include "windowing/Win32Types.h"

namespace platform {
class NSView;
}

namespace swell {

// Rebuilds the top-level window around its content view when the caption and thick
// frame bits of a new style ask for another frame: a new window takes the view, the
// old window's owned and child windows, parent, text, frame, level and visibility,
// and the old window is destroyed.
void rebuildTopLevelFrame(platform::NSView* contentView, LONG_PTR style);

}  // namespace swell
