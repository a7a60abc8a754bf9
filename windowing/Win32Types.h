#pragma once

// The Win32 scalar and record types of the windowing layer, laid out as on 64-bit
// Windows so callers written against Win32 compile unchanged. Everything here is a
// type or a constant: no function-like or value macros leak out of this header.

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = unsigned char;
using WORD = unsigned short;
using DWORD = unsigned int;
using UINT = unsigned int;
using LONG = int;
using ULONG = unsigned int;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uint64_t;
using LPARAM = std::int64_t;
using LRESULT = std::int64_t;
using ATOM = WORD;
using COLORREF = DWORD;
using HRESULT = LONG;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using HANDLE = void*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// Handles. A window handle is the window object itself; menus, drawing contexts and
// drawing objects are the windowing layer's own records.
struct HWND__;
struct HMENU__;
struct HDC__;
struct HGDIOBJ__;
struct HINSTANCE__;
using HWND = HWND__*;
using HMENU = HMENU__*;
using HDC = HDC__*;
using HGDIOBJ = HGDIOBJ__*;
using HBITMAP = HGDIOBJ__*;
using HBRUSH = HGDIOBJ__*;
using HPEN = HGDIOBJ__*;
using HFONT = HGDIOBJ__*;
using HICON = HGDIOBJ__*;
using HRGN = HGDIOBJ__*;
using HCURSOR = HGDIOBJ__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE__*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);

struct POINT {
  LONG x = 0;
  LONG y = 0;
};

struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
};

struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
};

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
};

// Kernel emulation: file times, wait results and library entry-point reasons.
struct FILETIME {
  DWORD dwLowDateTime = 0;
  DWORD dwHighDateTime = 0;
};

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
inline constexpr DWORD WAIT_OBJECT_0 = 0;
inline constexpr DWORD WAIT_TIMEOUT = 258;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
inline constexpr DWORD DLL_PROCESS_DETACH = 0;
inline constexpr DWORD DLL_PROCESS_ATTACH = 1;

// ---------------------------------------------------------------------------------
// Windows, dialogs, timers and posted messages.

// Message numbers.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_GETOBJECT = 0x003D;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_DISPLAYCHANGE = 0x007E;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_TIMER = 0x0113;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_GESTURE = 0x0119;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSEHWHEEL = 0x020E;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_DROPFILES = 0x0233;
inline constexpr UINT WM_USER = 0x0400;

// Dialog command ids.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window-long indexes. The dialog procedure and the owner have this layer's numbers.
inline constexpr int GWL_WNDPROC = -4;
inline constexpr int DWL_DLGPROC = -8;
inline constexpr int GWL_ID = -12;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GWL_HWNDPARENT = -25;

// Style bits.
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;

// Flags of a dialog resource.
inline constexpr int SWELL_DLG_WS_CHILD = 1;
inline constexpr int SWELL_DLG_WS_RESIZABLE = 2;
inline constexpr int SWELL_DLG_WS_FLIPPED = 4;
inline constexpr int SWELL_DLG_WS_NOAUTOSIZE = 8;
inline constexpr int SWELL_DLG_WS_OPAQUE = 16;
inline constexpr int SWELL_DLG_WS_DROPTARGET = 32;

// A dialog resource registered by the host: a node of the process-wide list.
struct SWELL_DialogResourceIndex {
  const char* resid = nullptr;  // a small integer id carried in a pointer
  const char* title = nullptr;
  int windowTypeFlags = 0;
  void (*createFunc)(HWND, int) = nullptr;
  int width = 0;
  int height = 0;
  SWELL_DialogResourceIndex* _next = nullptr;
};

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = 0;
  RECT rcPaint;
};

struct MINMAXINFO {
  POINT ptReserved;
  POINT ptMaxSize;
  POINT ptMaxPosition;
  POINT ptMinTrackSize;
  POINT ptMaxTrackSize;
};

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  void* lppos = nullptr;
};

using PROPENUMPROCEX = BOOL (*)(HWND, const char*, HANDLE, LPARAM);

// ---------------------------------------------------------------------------------
// Control messages answered for native controls by SendMessage.

// Buttons.
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr int BST_INDETERMINATE = 2;
inline constexpr WPARAM IMAGE_BITMAP = 0;
inline constexpr WPARAM IMAGE_ICON = 1;

// Combo boxes (and popup buttons standing for drop-down lists).
inline constexpr UINT CB_ADDSTRING = 0x0143;
inline constexpr UINT CB_DELETESTRING = 0x0144;
inline constexpr UINT CB_GETCOUNT = 0x0146;
inline constexpr UINT CB_GETCURSEL = 0x0147;
inline constexpr UINT CB_GETLBTEXT = 0x0148;
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;
inline constexpr UINT CB_INSERTSTRING = 0x014A;
inline constexpr UINT CB_RESETCONTENT = 0x014B;
inline constexpr UINT CB_FINDSTRING = 0x014C;
inline constexpr UINT CB_SETCURSEL = 0x014E;
inline constexpr UINT CB_GETITEMDATA = 0x0150;
inline constexpr UINT CB_SETITEMDATA = 0x0151;
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
inline constexpr LRESULT CB_ERR = -1;
inline constexpr int CBS_DROPDOWN = 0x0002;
inline constexpr int CBS_DROPDOWNLIST = 0x0003;
inline constexpr int CBS_SORT = 0x0100;

// Track bars (sliders).
inline constexpr UINT TBM_GETPOS = 0x0400;
inline constexpr UINT TBM_SETTIC = 0x0404;
inline constexpr UINT TBM_SETPOS = 0x0405;
inline constexpr UINT TBM_SETRANGE = 0x0406;

// Edit fields: this layer numbers them from 0xF0B0.
inline constexpr UINT EM_GETSEL = 0xF0B0;
inline constexpr UINT EM_SETSEL = 0xF0B1;
inline constexpr UINT EM_SCROLL = 0xF0B5;
inline constexpr UINT EM_REPLACESEL = 0xF0C2;
inline constexpr UINT EM_SETPASSWORDCHAR = 0xF0CC;
// EM_SCROLL's wParam.
inline constexpr WPARAM SB_TOP = 6;
inline constexpr WPARAM SB_BOTTOM = 7;

// ---------------------------------------------------------------------------------
// The window API: placement, relations, visibility and button states.

// SetWindowPos flags.
inline constexpr UINT SWP_NOMOVE = 0x0001;
inline constexpr UINT SWP_NOSIZE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;

// SetWindowPos places: the first two are pointer values that never name a window.
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);

// ShowWindow commands as this layer numbers them.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNA = 1;
inline constexpr int SW_SHOW = 2;
inline constexpr int SW_SHOWMINIMIZED = 3;

// GetWindow commands.
inline constexpr int GW_HWNDFIRST = 0;
inline constexpr int GW_HWNDLAST = 1;
inline constexpr int GW_HWNDNEXT = 2;
inline constexpr int GW_HWNDPREV = 3;
inline constexpr int GW_OWNER = 4;
inline constexpr int GW_CHILD = 5;

// The callback of EnumWindows and EnumChildWindows: 0 stops the walk.
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// Button kinds in the low four bits of a button's style.
inline constexpr DWORD BS_AUTOCHECKBOX = 3;
inline constexpr DWORD BS_AUTO3STATE = 6;
inline constexpr DWORD BS_AUTORADIOBUTTON = 9;

// ---------------------------------------------------------------------------------
// Event translation, painting, capture, clipboard, file drops and the application stub.

// Mouse messages beyond the left button, and their non-client forms (the client
// message - 0x160).
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr UINT WM_NCMBUTTONUP = 0x00A8;
inline constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT kNonClientMouseOffset = 0x0160;

// Hit-test codes of WM_NCHITTEST.
inline constexpr LRESULT HTNOWHERE = 0;
inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTCAPTION = 2;

// The answer of a window procedure to a key message that it did not handle.
inline constexpr LRESULT kSwellKeyNotHandled = 69;

// Modifier flags of key translation and of the application's key hook.
inline constexpr int FVIRTKEY = 1;
inline constexpr int FSHIFT = 4;
inline constexpr int FCONTROL = 8;  // the Command key
inline constexpr int FALT = 16;     // the Option key
inline constexpr int FLWIN = 32;    // the Control key

// Virtual keys the layer itself reacts to.
inline constexpr int VK_BACK = 8;
inline constexpr int VK_TAB = 9;
inline constexpr int VK_RETURN = 13;
inline constexpr int VK_ESCAPE = 27;
inline constexpr int VK_SPACE = 32;
// Mouse buttons and modifier keys as GetAsyncKeyState takes them, and the first
// function key.
inline constexpr int VK_LBUTTON = 1;
inline constexpr int VK_RBUTTON = 2;
inline constexpr int VK_MBUTTON = 4;
inline constexpr int VK_SHIFT = 16;
inline constexpr int VK_CONTROL = 17;  // reported for the Command key
inline constexpr int VK_MENU = 18;     // the Option key
inline constexpr int VK_LWIN = 91;     // the Control key
inline constexpr int VK_F1 = 112;

// Notification codes in WM_COMMAND's high word.
inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD CBN_SELCHANGE = 1;
inline constexpr WORD CBN_EDITCHANGE = 5;
inline constexpr WORD CBN_DROPDOWN = 7;
inline constexpr WORD CBN_CLOSEUP = 8;
inline constexpr WORD EN_SETFOCUS = 0x0100;
inline constexpr WORD EN_KILLFOCUS = 0x0200;
inline constexpr WORD EN_CHANGE = 0x0300;

// The gesture record a WM_GESTURE message's lParam points to (56 bytes), its flags and
// its ids.
struct GESTUREINFO {
  UINT cbSize = 0;
  DWORD dwFlags = 0;
  DWORD dwID = 0;
  HWND hwndTarget = nullptr;
  struct {
    short x = 0;
    short y = 0;
  } ptsLocation;
  DWORD dwInstanceID = 0;
  DWORD dwSequenceID = 0;
  std::uint64_t ullArguments = 0;
  UINT cbExtraArgs = 0;
};
static_assert(sizeof(GESTUREINFO) == 56);
inline constexpr DWORD GF_BEGIN = 1;
inline constexpr DWORD GF_END = 4;
inline constexpr DWORD GID_ZOOM = 3;
inline constexpr DWORD GID_PAN = 4;
inline constexpr DWORD GID_ROTATE = 5;

// File drops and file lists: a global memory block that starts with this header, then
// each path as UTF-8 with its NUL, then one more NUL.
using HDROP = HANDLE;
struct DROPFILES {
  DWORD pFiles = 0;  // offset of the first path from the start of the block
  POINT pt;
  BYTE fNC = 0;    // nonzero: the point is in non-client coordinates
  BYTE fWide = 0;  // nonzero: the paths are UTF-16 (never made here)
  BYTE reserved[2] = {0, 0};
};
static_assert(sizeof(DROPFILES) == 16);

// Clipboard formats: 1 text, 2 file list, 3 and up registered types.
inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_HDROP = 2;

// System metrics.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;

// Codes of the application callback.
inline constexpr int SWELLAPP_ONLOAD = 1;
inline constexpr int SWELLAPP_LOADED = 2;
inline constexpr int SWELLAPP_DESTROY = 3;
inline constexpr int SWELLAPP_SHOULDDESTROY = 4;
inline constexpr int SWELLAPP_OPENFILE = 80;
inline constexpr int SWELLAPP_NEWFILE = 81;
inline constexpr int SWELLAPP_SHOULDOPENNEWFILE = 82;
inline constexpr int SWELLAPP_ONCOMMAND = 153;
inline constexpr int SWELLAPP_PROCESSMESSAGE = 256;
inline constexpr int SWELLAPP_ACTIVATE = 4096;

// ---------------------------------------------------------------------------------
// List and tree views: what they tell their parent (WM_NOTIFY records and codes, and the
// list-box codes of WM_COMMAND).

// The header of every WM_NOTIFY record.
struct NMHDR {
  HWND hwndFrom = nullptr;
  UINT_PTR idFrom = 0;
  UINT code = 0;
};

// Notification codes: negative numbers carried in an unsigned code.
inline constexpr UINT NM_CLICK = static_cast<UINT>(-2);
inline constexpr UINT NM_DBLCLK = static_cast<UINT>(-3);
inline constexpr UINT NM_RCLICK = static_cast<UINT>(-5);
inline constexpr UINT NM_CUSTOMDRAW = static_cast<UINT>(-12);
inline constexpr UINT LVN_ITEMCHANGED = static_cast<UINT>(-101);
inline constexpr UINT LVN_COLUMNCLICK = static_cast<UINT>(-108);
inline constexpr UINT LVN_BEGINDRAG = static_cast<UINT>(-109);
inline constexpr UINT LVN_GETDISPINFO = static_cast<UINT>(-150);
inline constexpr WORD LBN_SELCHANGE = 1;
inline constexpr WORD LBN_DBLCLK = 2;

// One item of a list view as the list-view functions read and write it.
struct LVITEM {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
};

// Every list-view notification but the cell display ones.
struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = 0;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};

// A double click on a list view.
struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = 0;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};

// The text an owner-data list asks its parent for.
struct NMLVDISPINFO {
  NMHDR hdr;
  LVITEM item;
};

// Custom drawing of a list view cell: the parent may answer a text colour.
struct NMCUSTOMDRAW {
  NMHDR hdr;
  DWORD dwDrawStage = 0;
  HDC hdc = nullptr;
  RECT rc;
  DWORD_PTR dwItemSpec = 0;
  UINT uItemState = 0;
  LPARAM lItemlParam = 0;
};
struct NMLVCUSTOMDRAW {
  NMCUSTOMDRAW nmcd;
  COLORREF clrText = 0;
  COLORREF clrTextBk = 0;
  int iSubItem = 0;
};
inline constexpr DWORD CDDS_ITEMPREPAINT = 0x00010001;
// "No colour" in a custom-draw answer.
inline constexpr COLORREF CLR_NONE = 0xFFFFFFFFu;
