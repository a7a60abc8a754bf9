#pragma once

#include "windowing/Win32Types.h"

// Menus: a menu handle is the menu object. Where a menu's commands go and which menu a
// window shows are the window core's (windowing/core/WindowMenus.h).
void DestroyMenu(HMENU menu);
HMENU CreatePopupMenu();
