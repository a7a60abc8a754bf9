#pragma once

// Cursors: stock and drawn shapes, cursor files and registered cursor resources;
// setting, hiding with relative mouse movement, and moving the pointer. Screen
// coordinates have y up.

#include "windowing/Win32Types.h"

// Stock ids of SWELL_LoadCursor (MAKEINTRESOURCE values).
inline constexpr UINT_PTR kCursorArrow = 32512;
inline constexpr UINT_PTR kCursorIBeam = 32513;
inline constexpr UINT_PTR kCursorUpArrow = 32516;
inline constexpr UINT_PTR kCursorSizeNWSE = 32642;
inline constexpr UINT_PTR kCursorSizeNESW = 32643;
inline constexpr UINT_PTR kCursorSizeWE = 32644;
inline constexpr UINT_PTR kCursorSizeNS = 32645;
inline constexpr UINT_PTR kCursorSizeAll = 32646;
inline constexpr UINT_PTR kCursorNo = 32648;
inline constexpr UINT_PTR kCursorHand = 32649;

// A stock cursor, a drawn one, or a registered resource's (loaded once); null for an
// id that is not registered or whose picture does not load.
HCURSOR SWELL_LoadCursor(const char* id);
// A new cursor from a file (a name with '/'), or from Contents/Resources/<name>.cur of
// the application's bundle. Cursor and icon files, and PNG images, are read; the
// platform keeps no named images, so a bare name without such a file gives null.
HCURSOR SWELL_LoadCursorFromFile(const char* fn);
// Registers a cursor resource: its id, the file or resource name of its picture (copied)
// and its hot spot.
void SWELL_Register_Cursor_Resource(const char* id, const char* name, int hotspot_x, int hotspot_y);
// Sets a cursor (null or not a cursor: the arrow, remembered as null).
void SWELL_SetCursor(HCURSOR cursor);
HCURSOR SWELL_GetCursor();
HCURSOR SWELL_GetLastSetCursor();

void GetCursorPos(POINT* pt);
// The pointer packed as x in the low and y in the high 16 bits.
DWORD GetMessagePos();
// Shows (true) or hides the cursor; hides nest. Returns the display count: shown
// while it is 0 or more. While hidden the pointer stays put and mouse motion only
// moves the position this layer reports.
int SWELL_ShowCursor(BOOL show);
bool SWELL_IsCursorVisible();
bool SWELL_SetCursorPos(int x, int y);
// The mouse point of an event (a platform::NSEvent) in the view's coordinates;
// while the cursor is hidden, the reported position moved by the event's motion.
POINT MouseEventToClientPoint(UINT msg, HWND view, void* nsevent);
