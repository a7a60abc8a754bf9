#pragma once

#include <string>
#include <vector>

#include "windowing/Win32Types.h"

// The file being dragged out of a window as a promise: its path and the function that
// writes it where the drop lands. It lasts until the next left-button press in a
// window, SWELL_FinishDragDrop, or the end of a promised-file copy.
using SWELL_DragOutWriter = void (*)(const char* destinationPath);

void SWELL_FinishDragDrop();

// Writes the promised file into the folder where the drop landed, under a free name
// ("name 001.ext" and on when the name is taken), and ends the drag. Returns the name
// written, or nothing when the folder, the name or the writer is missing.
std::vector<std::string> SWELL_CopyPromisedFile(const char* folder);
// Starts dragging a promised file (its type: the extension of its name) or a list of
// existing files out of a window view. Anything else only ends an earlier drag.
void SWELL_InitiateDragDrop(HWND h, const RECT* srcRect, const char* srcFile,
                            void (*callback)(const char* dropPath));
void SWELL_InitiateDragDropOfFileList(HWND h, const RECT* srcRect, const char** files, int count,
                                      HICON icon);

namespace swell {
// Starts a drag-out state (what starting a drag of a promised file does).
void setDragOutState(const char* sourcePath, SWELL_DragOutWriter writer);
// The promised file's path ("" when none) and the function that writes it.
std::string dragOutSourcePath();
SWELL_DragOutWriter dragOutWriter();
}  // namespace swell
