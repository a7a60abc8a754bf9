#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

// The list view and list box (class names "SysListView32" and "SysListView32_LB"):
// their records, messages, styles and functions. Rows and columns are reached through
// functions; the only messages are the list-box ones.

// Styles.
inline constexpr LONG LVS_REPORT = 0x0001;
inline constexpr LONG LBS_SORT = 0x0002;
inline constexpr LONG LVS_SINGLESEL = 0x0004;
inline constexpr LONG LVS_SORTASCENDING = 0x0010;
inline constexpr LONG LBS_OWNERDRAWFIXED = 0x0010;
inline constexpr LONG LVS_SORTDESCENDING = 0x0020;
inline constexpr LONG LBS_EXTENDEDSEL = 0x0800;
inline constexpr LONG LVS_OWNERDATA = 0x1000;
inline constexpr LONG LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr LONG LVS_NOSORTHEADER = 0x8000;
inline constexpr int LVS_EX_GRIDLINES = 0x01;
inline constexpr int LVS_EX_HEADERDRAGDROP = 0x10;

// List-box messages, as this layer numbers them.
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT LB_ADDSTRING = 384;
inline constexpr UINT LB_INSERTSTRING = 385;
inline constexpr UINT LB_DELETESTRING = 386;
inline constexpr UINT LB_GETTEXT = 387;
inline constexpr UINT LB_RESETCONTENT = 388;
inline constexpr UINT LB_SETSEL = 389;
inline constexpr UINT LB_SETCURSEL = 390;
inline constexpr UINT LB_GETSEL = 391;
inline constexpr UINT LB_GETCURSEL = 392;
inline constexpr UINT LB_GETTEXTLEN = 394;
inline constexpr UINT LB_GETCOUNT = 395;
inline constexpr UINT LB_GETSELCOUNT = 400;
inline constexpr UINT LB_GETITEMDATA = 409;
inline constexpr UINT LB_SETITEMDATA = 410;
inline constexpr UINT LB_FINDSTRINGEXACT = 418;
inline constexpr LRESULT LB_ERR = -1;
// A string the list has no memory for.
inline constexpr LRESULT LB_ERRSPACE = -2;

// LVITEM masks and this layer's state bits.
inline constexpr UINT LVIF_TEXT = 1;
inline constexpr UINT LVIF_IMAGE = 2;
inline constexpr UINT LVIF_PARAM = 4;
inline constexpr UINT LVIF_STATE = 8;
inline constexpr UINT LVIS_SELECTED = 1;
inline constexpr UINT LVIS_FOCUSED = 2;
inline constexpr UINT LVIS_STATEIMAGEMASK = 0xFF0000;
inline constexpr int LVNI_SELECTED = 1;
inline constexpr int LVNI_FOCUSED = 2;
inline constexpr int LVSIL_STATE = 1;
inline constexpr int LVSIL_SMALL = 2;

// Columns.
inline constexpr UINT LVCF_FMT = 1;
inline constexpr UINT LVCF_WIDTH = 2;
inline constexpr UINT LVCF_TEXT = 4;
inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
struct LVCOLUMN {
  UINT mask = 0;
  int fmt = 0;
  int cx = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
};

// Hit tests.
inline constexpr UINT LVHT_NOWHERE = 0x01;
inline constexpr UINT LVHT_ONITEMICON = 0x02;
inline constexpr UINT LVHT_ONITEMLABEL = 0x04;
inline constexpr UINT LVHT_ONITEMSTATEICON = 0x08;
inline constexpr UINT LVHT_ABOVE = 0x10;
inline constexpr UINT LVHT_BELOW = 0x20;
inline constexpr UINT LVHT_TORIGHT = 0x40;
inline constexpr UINT LVHT_TOLEFT = 0x80;
struct LVHITTESTINFO {
  POINT pt;
  UINT flags = 0;
  int iItem = 0;
  int iSubItem = 0;
};

// Header items: only the sort indicator is read and written.
inline constexpr UINT HDI_FORMAT = 4;
inline constexpr int HDF_SORTDOWN = 0x200;
inline constexpr int HDF_SORTUP = 0x400;
struct HDITEM {
  UINT mask = 0;
  int cxy = 0;
  char* pszText = nullptr;
  HBITMAP hbm = nullptr;
  int cchTextMax = 0;
  int fmt = 0;
};

// Owner-drawn list-box rows.
inline constexpr UINT ODT_LISTBOX = 2;
struct DRAWITEMSTRUCT {
  UINT CtlType = 0;
  UINT CtlID = 0;
  UINT itemID = 0;
  UINT itemAction = 0;
  UINT itemState = 0;
  HWND hwndItem = nullptr;
  HDC hDC = nullptr;
  RECT rcItem;
  DWORD_PTR itemData = 0;
};

// The comparison of ListView_SortItems: the two rows' item data and the caller's
// parameter; below 0 keeps the first before the second.
using PFNLVCOMPARE = int (*)(LPARAM, LPARAM, LPARAM);

// Rows.
int ListView_InsertItem(HWND h, const LVITEM* item);
bool ListView_DeleteItem(HWND h, int item);
void ListView_DeleteAllItems(HWND h);
bool ListView_SetItemState(HWND h, int item, UINT state, UINT mask);
UINT ListView_GetItemState(HWND h, int item, UINT mask);
int ListView_GetNextItem(HWND h, int start, int flags);
int ListView_GetItemCount(HWND h);
void ListView_SetItemCount(HWND h, int count);
int ListView_GetSelectedCount(HWND h);
int ListView_GetSelectionMark(HWND h);

// Items.
void ListView_SetItemText(HWND h, int item, int subItem, const char* text);
void ListView_GetItemText(HWND h, int item, int subItem, char* text, int capacity);
bool ListView_GetItem(HWND h, LVITEM* item);
bool ListView_SetItem(HWND h, LVITEM* item);
void ListView_RedrawItems(HWND h, int first, int last);
void ListView_SortItems(HWND h, PFNLVCOMPARE compare, LPARAM parameter);
void ListView_SetImageList(HWND h, HIMAGELIST list, int which);
void ListView_SetExtendedListViewStyleEx(HWND h, int mask, int style);
void SWELL_SetListViewFastClickMask(HWND h, int mask);

// Columns and the header.
int ListView_InsertColumn(HWND h, int index, const LVCOLUMN* column);
bool ListView_DeleteColumn(HWND h, int column);
void ListView_SetColumn(HWND h, int column, const LVCOLUMN* lvc);
int ListView_GetColumnWidth(HWND h, int column);
void ListView_SetColumnWidth(HWND h, int column, int width);
bool ListView_GetColumnOrderArray(HWND h, int count, int* order);
bool ListView_SetColumnOrderArray(HWND h, int count, const int* order);
HWND ListView_GetHeader(HWND h);
int Header_GetItemCount(HWND h);
bool Header_GetItem(HWND h, int column, HDITEM* item);
bool Header_SetItem(HWND h, int column, const HDITEM* item);
int SWELL_GetListViewHeaderHeight(HWND h);

// Geometry and scrolling.
void ListView_EnsureVisible(HWND h, int item, BOOL partial);
bool ListView_Scroll(HWND h, int dx, int dy);
int ListView_GetTopIndex(HWND h);
int ListView_GetCountPerPage(HWND h);
bool ListView_GetItemRect(HWND h, int item, RECT* r, int code);
bool ListView_GetSubItemRect(HWND h, int item, int subItem, int code, RECT* r);
int ListView_HitTest(HWND h, LVHITTESTINFO* info);
int ListView_SubItemHitTest(HWND h, LVHITTESTINFO* info);
bool SWELL_ListView_GetScrollOrigin(HWND h, POINT* p);

// Colours.
void ListView_SetBkColor(HWND h, COLORREF color);
void ListView_SetTextBkColor(HWND h, COLORREF color);
void ListView_SetTextColor(HWND h, COLORREF color);
void ListView_SetGridColor(HWND h, COLORREF color);
// Selection colours of a list or tree view: 0 background with focus, 1 its text, 2
// background without focus, 3 its text.
void ListView_SetSelColors(HWND h, COLORREF* colors, int count);
