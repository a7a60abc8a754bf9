#pragma once

#include "windowing/Win32Types.h"

// Menus and menu resources: a menu handle is a menu object; items carry command ids as
// their tags, and choosing one sends WM_COMMAND to the menu's destination window.

// Flags of the calls that take Win32 menu flags.
inline constexpr UINT MF_BYCOMMAND = 0;
inline constexpr UINT MF_ENABLED = 0;
inline constexpr UINT MF_UNCHECKED = 0;
inline constexpr UINT MF_STRING = 0;
inline constexpr UINT MF_GRAYED = 1;
inline constexpr UINT MF_DISABLED = 2;
inline constexpr UINT MF_BITMAP = 4;
inline constexpr UINT MF_CHECKED = 8;
inline constexpr UINT MF_POPUP = 0x10;
inline constexpr UINT MF_BYPOSITION = 0x400;
inline constexpr UINT MF_SEPARATOR = 0x800;

// MENUITEMINFO: which fields count, the item types and the item states.
inline constexpr UINT MIIM_ID = 1;
inline constexpr UINT MIIM_STATE = 2;
inline constexpr UINT MIIM_TYPE = 4;
inline constexpr UINT MIIM_SUBMENU = 8;
inline constexpr UINT MIIM_DATA = 16;
inline constexpr UINT MFT_STRING = 0;
inline constexpr UINT MFT_BITMAP = 4;
inline constexpr UINT MFT_SEPARATOR = 0x800;
inline constexpr UINT MFS_GRAYED = 1;
inline constexpr UINT MFS_DISABLED = 2;
inline constexpr UINT MFS_CHECKED = 8;

// TrackPopupMenu: no WM_INITMENUPOPUP nor WM_COMMAND; return the chosen id instead.
inline constexpr UINT TPM_NONOTIFY = 0x80;
inline constexpr UINT TPM_RETURNCMD = 0x100;

// SetMenuItemModifier takes the key modifiers of Win32Types.h (FVIRTKEY, FSHIFT, ...).

struct MENUITEMINFO {
  UINT cbSize = 0;
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HANDLE hbmpChecked = nullptr;
  HANDLE hbmpUnchecked = nullptr;
  DWORD_PTR dwItemData = 0;
  char* dwTypeData = nullptr;
  UINT cch = 0;  // GetMenuItemInfo: the buffer's size in, the title's length out
};

// One record of a static menu list: a null text is a separator, "/.BO^O:" opens a
// submenu titled by the rest, "EN%%%^:" closes it.
struct SWELL_MenuGen_Entry {
  const char* name = nullptr;
  unsigned short idx = 0;
  unsigned short flags = 0;
};
inline constexpr const char* SWELL_MENUGEN_POPUP_PREFIX = "/.BO^O:";
inline constexpr const char* SWELL_MENUGEN_ENDPOPUP = "EN%%%^:";

// A registered menu resource: a node of the process-wide list.
struct SWELL_MenuResourceIndex {
  const char* resid = nullptr;  // a small integer id carried in a pointer
  void (*createFunc)(HMENU menu) = nullptr;
  SWELL_MenuResourceIndex* _next = nullptr;
};
// The registered menu resources, newest first (constant-initialised: null).
extern SWELL_MenuResourceIndex* SWELL_MenuResourceHead;
// Links a record in front of the list; a record already in it is not linked again.
void SWELL_RegisterMenuResource(SWELL_MenuResourceIndex* record);

HMENU CreatePopupMenu();
HMENU CreatePopupMenuEx(const char* title);
void DestroyMenu(HMENU menu);
HMENU SWELL_LoadMenu(SWELL_MenuResourceIndex* head, const char* resid);
HMENU SWELL_DuplicateMenu(HMENU menu);
int SWELL_GenerateMenuFromList(HMENU menu, const void* list, int count);
void SWELL_Menu_AddMenuItem(HMENU menu, const char* text, int id, unsigned flags);
int AddMenuItem(HMENU menu, int position, const char* text, int id);
void SWELL_InsertMenu(HMENU menu, int position, unsigned flags, UINT_PTR idOrSubmenu,
                      const char* text);
void InsertMenuItem(HMENU menu, int position, BOOL byPosition, MENUITEMINFO* info);
BOOL SetMenuItemInfo(HMENU menu, int item, BOOL byPosition, MENUITEMINFO* info);
BOOL GetMenuItemInfo(HMENU menu, int item, BOOL byPosition, MENUITEMINFO* info);
BOOL DeleteMenu(HMENU menu, int item, int flags);
BOOL SetMenuItemText(HMENU menu, int item, int flags, const char* text);
BOOL EnableMenuItem(HMENU menu, int item, int flags);
BOOL CheckMenuItem(HMENU menu, int item, int flags);
BOOL SetMenuItemModifier(HMENU menu, int item, int flags, int key, unsigned modifiers);
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuItemCount(HMENU menu);
int GetMenuItemID(HMENU menu, int position);
HMENU SWELL_GetCurrentMenu();
void SWELL_SetCurrentMenu(HMENU menu);
BOOL SetMenu(HWND hwnd, HMENU menu);
HMENU GetMenu(HWND hwnd);
void DrawMenuBar(HWND hwnd);
// Pops the menu up at a screen point (y up) for the window and returns when it closes:
// the chosen id with TPM_RETURNCMD; else 1 after sending it as WM_COMMAND; 0 for none.
int TrackPopupMenu(HMENU menu, int flags, int x, int y, int reserved, HWND hwnd);
