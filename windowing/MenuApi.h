#pragma once

#include "windowing/Win32Types.h"

// The menu functions window objects and dialogs need; menus and menu resources come
// with their own issue. A menu handle is the menu object.
void SWELL_SetMenuDestination(HMENU menu, HWND hwnd);
void DestroyMenu(HMENU menu);
HMENU CreatePopupMenu();
