#pragma once

#include "windowing/Win32Types.h"

namespace platform {
struct NSEvent;
class NSView;
}  // namespace platform

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

// The window procedure every view object starts with: the dialog procedure first (with
// background painting for WM_PAINT), then DefWindowProc.
LRESULT SWELL_DialogWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Colours the labels of a window's plain subviews from the procedure's answers to the
// control-colour messages.
void SWELL_ColorButtonSubviews(platform::NSView* view, DLGPROC proc, bool useDefaultColor);
