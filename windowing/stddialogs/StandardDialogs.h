#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

// The standard dialogs: message box, file and folder choosers, colour and font choosers.
// Each runs modally on the main thread and returns when the user has answered; called
// from another thread it refuses (the failure value and a logged diagnostic).

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

// The dialog of the caller's shown inside the next file chooser (one shot): the resource
// id in the resource list, and its procedure.
void BrowseFile_SetTemplate(const char* dlgid, DLGPROC dlgProc, SWELL_DialogResourceIndex* reshead);

// Asks for a file to save to, starting in the initial folder or the folder of the initial
// file (a path; one beginning with '.' is an extension added to names without an allowed
// one), offering the filter list's types. True when a name was chosen and written, as UTF-8
// with its NUL, to the buffer; a path that does not fit leaves the buffer empty and fails.
bool BrowseForSaveFile(const char* text, const char* initialdir, const char* initialfile,
                       const char* extlist, char* fn, int fnsize);
// Asks for one or (when allowed) several existing files of the filter list's types. The
// result is allocated (the caller frees it): one path and two NULs, or for several files an
// empty string, each path with its NUL, and a final NUL. Null when nothing was chosen.
char* BrowseForFiles(const char* text, const char* initialdir, const char* initialfile,
                     bool allowmul, const char* extlist);
// Asks for a folder (folders can be made in it). True when one was chosen and written, as
// UTF-8 with its NUL, to the buffer; a path that does not fit leaves it empty and fails.
bool BrowseForDirectory(const char* text, const char* initialdir, char* fn, int fnsize);

// Asks for a colour, starting from the one pointed to (red in bits 16-23, green in 8-15,
// blue in 0-7). True when the user accepted a colour, written back; false when cancelled
// or for a null pointer.
bool SWELL_ChooseColor(HWND parent, COLORREF* color);
// Asks for a font, starting from the record's face (bold and italic by its weight and
// italic flag) and size. True when the user accepted a font that changed the record
// (written back: size, face name, weight, italic); false otherwise or for a null record.
bool SWELL_ChooseFont(HWND parent, LOGFONT* font);
