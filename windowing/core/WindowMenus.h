#pragma once

#include "windowing/Win32Types.h"

// The menus of windows: where a menu's commands go, the default menus of modeless and
// modal windows, and which menu a window shows.

// The action the layer's controls and menu items send to their window (any action
// reaching a window object becomes a command).
inline constexpr int kSwellCommandAction = 1;

// Makes the window the target of every item of the menu and its submenus (null: none).
void SWELL_SetMenuDestination(HMENU menu, HWND hwnd);

void SWELL_SetDefaultWindowMenu(HMENU menu);
HMENU SWELL_GetDefaultWindowMenu();
void SWELL_SetDefaultModalWindowMenu(HMENU menu);
HMENU SWELL_GetDefaultModalWindowMenu();
// The menu to show for a window: its own (ownOnly), else the first found along the
// owner chain.
HMENU SWELL_FindMenuForWindow(HWND contentView, HWND window, bool ownOnly);
