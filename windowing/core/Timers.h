#pragma once

#include "windowing/Win32Types.h"

// Window timers send WM_TIMER to a window procedure; callback timers call a function.
// Both fire on the main thread in every run-loop mode (modal loops included). Calls
// from other threads are queued for the main thread with the posted messages.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC callback);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

namespace swell {
// Timer delivery restricted to one window (SWELL_RunLoopForWindow); null: none.
HWND timerRestriction();
void setTimerRestriction(HWND hwnd);
// Whether a timer of this window may fire under the current restriction.
bool timerDeliveryAllowed(HWND hwnd);
}  // namespace swell
