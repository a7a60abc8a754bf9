#pragma once

#include "windowing/Win32Types.h"

// The standard dialogs. Each runs modally on the main thread and returns when the user
// has answered; called from another thread it refuses (the failure value and a logged
// diagnostic).

// Button sets of MessageBox (the type's low four bits), its default-button flags, and the
// ids it returns.
inline constexpr UINT MB_OK = 0;
inline constexpr UINT MB_OKCANCEL = 1;
inline constexpr UINT MB_ABORTRETRYIGNORE = 2;
inline constexpr UINT MB_YESNOCANCEL = 3;
inline constexpr UINT MB_YESNO = 4;
inline constexpr UINT MB_RETRYCANCEL = 5;
inline constexpr UINT MB_DEFBUTTON2 = 0x100;
inline constexpr UINT MB_DEFBUTTON3 = 0x200;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Shows the text (as it stands; null counts as empty) in an alert titled by the caption,
// with the buttons of the type, and returns the id of the button pressed. An alert whose
// run is aborted answers as Cancel when it shows one, else 0. The window is not used.
int MessageBox(HWND hwndParent, const char* text, const char* caption, UINT type);
