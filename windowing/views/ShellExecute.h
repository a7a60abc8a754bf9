#pragma once

#include "windowing/Win32Types.h"

// Opens a web address, a document with its default application, a document with a
// given application, or an application, through the desktop's workspace. The verb and
// the show mode are not used. TRUE when the workspace opened it.
BOOL ShellExecute(HWND hwnd, const char* verb, const char* file, const char* parameters,
                  const char* folder, int showMode);
