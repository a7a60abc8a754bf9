#pragma once

#include "windowing/Win32.h"

namespace host {

// The main window while it exists (code 2 until it is destroyed).
HWND MainWindow();

// The dialog procedures of 40001 and 40002.
INT_PTR MainDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR PreferencesDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Async-signal-safe: asks the program to quit; the main window's timer terminates the
// application (codes 4 and 3), as the Quit command does.
void RequestQuit();
// Whether a quit was asked for and has not been carried out yet.
bool QuitRequested();

// Deletes the host of the closed main window if it is still kept for a call that was in
// progress; main calls it once the application's loop has ended and nothing runs.
void ReleaseClosedHost();

// The timer that drives the application's idle work and the quit request, and the one that
// watches the MIDI and audio devices.
inline constexpr UINT_PTR kIdleTimerId = 1;
inline constexpr UINT_PTR kDeviceTimerId = 2;

// "Preferences" lists a remembered device that is absent under its name followed by this.
inline constexpr const char* kAbsentDeviceMark = " (absent)";

}  // namespace host
