#pragma once

#include "windowing/Win32Types.h"

// The posted-message queue: PostMessage from any thread, delivered on the main thread
// by a repeating 0.05-second run-loop timer in the common modes. Timer requests made
// on other threads travel through the same queue.
BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL SWELL_MessageQueue_Add(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void SWELL_MessageQueue_Flush();
void SWELL_MessageQueue_Clear(HWND hwnd);
void SWELL_MessageQueue_RemoveWindow(HWND hwnd);
void SWELL_Internal_PostMessage_Init();
// Queues a timer request for the main thread; an interval of 0xFFFFFFFF asks for a kill.
// Fails for a window that is not live.
BOOL SWELL_DeferTimer(HWND hwnd, UINT_PTR id, UINT interval, TIMERPROC callback);

namespace swell {
inline constexpr int kMaxQueuedMessages = 1024;
inline constexpr double kFlushIntervalSeconds = 0.05;
inline constexpr UINT kKillTimerRequest = 0xFFFFFFFF;
bool messageQueueExists();
}  // namespace swell
