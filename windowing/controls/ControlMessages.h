#pragma once

#include "windowing/Win32Types.h"
#include "windowing/core/ControlEmulation.h"

// The Win32 control messages of native controls, which have no window procedure:
// buttons, drop-down lists and combo boxes, sliders and single-line edit fields.
// Each function addresses its control as GetDlgItem(hwnd, idx) does (id 0 is the
// handle itself).

// Combo boxes and drop-down lists. Functions that return an index give CB_ERR (-1)
// when there is no such control.
int SWELL_CB_AddString(HWND hwnd, int idx, const char* str);
int SWELL_CB_InsertString(HWND hwnd, int idx, int pos, const char* str);
void SWELL_CB_DeleteString(HWND hwnd, int idx, int item);
int SWELL_CB_GetNumItems(HWND hwnd, int idx);
int SWELL_CB_GetCurSel(HWND hwnd, int idx);
void SWELL_CB_SetCurSel(HWND hwnd, int idx, int item);
// Copies entry item into buf (cut to bufsz, never inside a character): 1 when copied;
// without a buffer the text's length plus 64; -1 for no control or a bad index.
int SWELL_CB_GetItemText(HWND hwnd, int idx, int item, char* buf, int bufsz);
void SWELL_CB_Empty(HWND hwnd, int idx);
LONG_PTR SWELL_CB_GetItemData(HWND hwnd, int idx, int item);
void SWELL_CB_SetItemData(HWND hwnd, int idx, int item, LONG_PTR value);
// Searches the entries after startAfter (from the first when negative), ignoring ASCII
// case: the whole entry when exact, else its beginning. The index, or -1.
int SWELL_CB_FindString(HWND hwnd, int idx, int startAfter, const char* str, bool exact);

// Sliders. A control with its own window procedure gets the track-bar messages.
int SWELL_TB_GetPos(HWND hwnd, int idx);
void SWELL_TB_SetPos(HWND hwnd, int idx, int pos);
void SWELL_TB_SetRange(HWND hwnd, int idx, int low, int high);
void SWELL_TB_SetTic(HWND hwnd, int idx, int pos);

namespace swell {

// Hands SendMessage the emulation of the standard controls' messages (the control factories
// do so on their first use).
void installControlEmulation();

// The emulation of one kind of control each; the installed emulation tries them in turn.
bool emulateButtonMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                          LRESULT* result);
bool emulateComboMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT* result);
bool emulateSliderMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                          LRESULT* result);
bool emulateEditMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                        LRESULT* result);

}  // namespace swell
