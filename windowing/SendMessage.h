#pragma once

#include "windowing/Win32Types.h"

// Delivers a message synchronously: to the object's message entry, or for a content
// view or a top-level window to its counterpart's. Control-message emulation for native
// controls comes with the controls.
LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
