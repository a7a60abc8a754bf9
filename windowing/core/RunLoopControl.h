#pragma once

#include "windowing/Win32Types.h"

// Quitting, the right-click emulation switch, and run-loop helpers for callers that
// must let events through.
void SWELL_PostQuitMessage(void* sender);
void SWELL_EnableRightClickEmulate(BOOL enable);
BOOL SWELL_IsRightClickEmulateEnabled();
void SWELL_RunEvents();
void SWELL_RunLoopFor(int ms);
void SWELL_RunLoopForWindow(int ms, HWND hwnd);

namespace swell {
// Set once by SWELL_PostQuitMessage, never cleared.
bool isQuitting();
}  // namespace swell
