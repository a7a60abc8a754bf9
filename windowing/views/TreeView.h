#pragma once

#include "windowing/Win32Types.h"

// The tree view ("SysTreeView32") over an outline view, and its Win32 functions. An
// HTREEITEM is the record of one item; every function first finds it in the tree, so a
// stale or foreign handle is refused instead of followed.

class TreeItemRec;
using HTREEITEM = TreeItemRec*;
// The special item handles.
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(0xFFFF0000);
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(0xFFFF0001);
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(0xFFFF0002);
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(0xFFFF0003);

inline constexpr UINT TVIF_TEXT = 0x0001;
inline constexpr UINT TVIF_PARAM = 0x0004;
inline constexpr UINT TVIF_HANDLE = 0x0010;
inline constexpr UINT TVIF_CHILDREN = 0x0040;
inline constexpr UINT TVIS_SELECTED = 0x0002;
inline constexpr UINT TVIS_EXPANDED = 0x0020;
inline constexpr UINT TVE_COLLAPSE = 1;
inline constexpr UINT TVE_EXPAND = 2;
inline constexpr UINT TVE_TOGGLE = 3;
inline constexpr UINT TVHT_NOWHERE = 1;
inline constexpr LONG TVS_DISABLEDRAGDROP = 0x0010;

inline constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
inline constexpr UINT TVN_ITEMEXPANDING = static_cast<UINT>(-405);
inline constexpr UINT TVN_BEGINDRAG = static_cast<UINT>(-407);

struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEM item;
};

struct TVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  HTREEITEM hItem = nullptr;
};

// What tree notifications carry: the action (2 expand, 1 collapse, 0 otherwise) and the
// item concerned in itemNew (its handle and parameter); the rest is zero.
struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = 0;
  TVITEM itemOld;
  TVITEM itemNew;
  POINT ptDrag;
};

// The drop answers a parent gives to WM_MOUSEMOVE while it steers a drag: refuse, at the
// end, or (from this value up) before the item whose handle it is.
inline constexpr LRESULT kTreeDropRefused = -1;
inline constexpr LRESULT kTreeDropAtEnd = -2;
inline constexpr LRESULT kTreeDropFirstHandle = 0x10000;

HTREEITEM TreeView_InsertItem(HWND tree, TVINSERTSTRUCT* insert);
BOOL TreeView_DeleteItem(HWND tree, HTREEITEM item);
BOOL TreeView_DeleteAllItems(HWND tree);
BOOL TreeView_Expand(HWND tree, HTREEITEM item, UINT action);
BOOL TreeView_EnsureVisible(HWND tree, HTREEITEM item);
BOOL TreeView_GetItem(HWND tree, TVITEM* item);
BOOL TreeView_SetItem(HWND tree, TVITEM* item);
HTREEITEM TreeView_GetSelection(HWND tree);
BOOL TreeView_SelectItem(HWND tree, HTREEITEM item);
HTREEITEM TreeView_HitTest(HWND tree, TVHITTESTINFO* info);
HTREEITEM TreeView_GetRoot(HWND tree);
HTREEITEM TreeView_GetParent(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetChild(HWND tree, HTREEITEM item);
HTREEITEM TreeView_GetNextSibling(HWND tree, HTREEITEM item);
BOOL TreeView_SetIndent(HWND tree, int indent);
void TreeView_SetBkColor(HWND tree, int color);
void TreeView_SetTextColor(HWND tree, int color);
