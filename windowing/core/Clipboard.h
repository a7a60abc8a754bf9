#pragma once

#include "windowing/Win32Types.h"

// The clipboard in Win32 form over the general pasteboard, on the main thread. Data
// given to SetClipboardData is written when the clipboard closes; blocks returned by
// GetClipboardData stay valid until then.
BOOL OpenClipboard(HWND hwnd);
BOOL CloseClipboard();
BOOL EmptyClipboard();
UINT RegisterClipboardFormat(const char* name);
UINT EnumClipboardFormats(UINT format);
HANDLE GetClipboardData(UINT format);
// Takes the block over and returns it; null (the block staying the caller's) for an
// unknown format or a handle that is not a live memory block.
HANDLE SetClipboardData(UINT format, HANDLE block);
