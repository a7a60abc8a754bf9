#pragma once

// Counted strings, the process activity that keeps the system from throttling the
// application, and the screens in the Win32 monitor form.

#include "windowing/Win32Types.h"

// Counted strings (platform::CFString) to and from UTF-8. The copy out is cut on a
// whole character and always terminated when buflen is 1 or more.
void SWELL_CFStringToCString(const void* str, char* buf, int buflen);
void* SWELL_CStringToCFString(const char* str);

// Keeps the system from throttling the application while the count is positive.
// Linux throttles nothing, so this only declares a process activity that can be
// observed (platform::NSProcessInfo).
void SWELL_DisableAppNap(int disable);

using HMONITOR = const void*;
using MONITORENUMPROC = BOOL (*)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM data);

inline constexpr int CCHDEVICENAME = 32;
struct MONITORINFOEX {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
  char szDevice[CCHDEVICENAME];
};

// Calls back for each screen (its rectangle, or its part inside clip) until the
// callback answers 0. Returns 1.
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC callback, LPARAM data);
// The screen's frame and visible frame; the device name ("DisplayID" and its number)
// when cbSize leaves room for it. 0 for an unknown screen or a cbSize below 40.
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFOEX* info);
