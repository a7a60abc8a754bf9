#pragma once

#include <string>

#include "windowing/Win32Types.h"

// The file being dragged out of a window as a promise: its path and the function that
// writes it where the drop lands. It lasts until the next left-button press in a
// window, SWELL_FinishDragDrop, or the end of a promised-file copy.
using SWELL_DragOutWriter = void (*)(const char* destinationPath);

void SWELL_FinishDragDrop();

namespace swell {
// Starts a drag-out state (what starting a drag of a promised file does).
void setDragOutState(const char* sourcePath, SWELL_DragOutWriter writer);
bool hasDragOutState();
}  // namespace swell
