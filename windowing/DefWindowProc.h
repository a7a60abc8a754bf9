#pragma once

#include "platform/Event.h"
#include "windowing/Win32Types.h"

// The default window procedure and the messages the layer sends to every window.
LRESULT DefWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Sends a message to the content view of every window on screen; WM_DISPLAYCHANGE also
// invalidates each.
void SWELL_BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam);
// Gives a mouse event to the outermost view object under it that calls the point
// non-client (WM_NCHITTEST answered 2 or more), when nobody holds the capture. True
// when such a view took it.
bool SWELL_RouteNonClientMouse(const platform::NSEvent& event);
int GetSystemMetrics(int index);
