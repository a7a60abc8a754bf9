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
