#pragma once

#include "platform/Geometry.h"
#include "windowing/Win32Types.h"

// The factories that create the standard controls of a dialog at the place the current
// layout state gives (SWELL_MakeSetCurParms): dialog units scaled and offset, with an
// optional packing of controls that share a row.

// Styles the factories read.
inline constexpr DWORD SWELL_HIDDEN_STYLE = 0x80000000;  // created hidden
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
// Named for programs written for Win32; this layer makes a multi-line field from the
// scroll-bar styles (WS_VSCROLL, WS_HSCROLL) and takes no other meaning from this bit.
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_READONLY = 0x0800;
inline constexpr DWORD SS_LEFT = 0;
inline constexpr DWORD SS_CENTER = 1;
inline constexpr DWORD SS_RIGHT = 2;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x000C;
inline constexpr DWORD SS_ETCHEDHORZ = 0x0010;
inline constexpr DWORD SS_ETCHEDVERT = 0x0011;
inline constexpr DWORD SS_ETCHEDFRAME = 0x0012;
inline constexpr DWORD SS_NOTIFY = 0x0100;
inline constexpr DWORD BS_PUSHBUTTON = 0;
inline constexpr DWORD BS_OWNERDRAW = 11;
inline constexpr DWORD BS_LEFTTEXT = 0x0020;
inline constexpr DWORD BS_BITMAP = 0x0080;
inline constexpr DWORD BS_LEFT = 0x0100;
inline constexpr DWORD BS_CENTER = 0x0300;
inline constexpr DWORD SWELL_BS_GROUPBOX = 0x20000000;
inline constexpr DWORD SWELL_BS_DEFPUSHBUTTON = 0x10000000;
inline constexpr DWORD SWELL_BS_PUSHBUTTON = 0x08000000;
// The control type an owner-drawn button's WM_DRAWITEM record carries.
inline constexpr UINT ODT_BUTTON = 4;

// A creator of custom controls: (parent view, text, id, class name, style, x, y, w, h)
// with the frame already scaled; returns the new window or null.
using SWELL_ControlCreatorProc = HWND (*)(HWND parent, const char* text, int id,
                                          const char* className, int style, int x, int y, int w,
                                          int h);

void SWELL_MakeSetCurParms(HWND parent, bool doauto, bool dosizetofit, float xscale, float yscale,
                           float xtrans, float ytrans);
HWND SWELL_MakeButton(int isDefault, const char* text, int id, int x, int y, int w, int h,
                      int style);
HWND SWELL_MakeEditField(int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeLabel(int align, const char* text, int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeCheckBox(const char* text, int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeListBox(int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeGroupBox(const char* text, int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeCombo(int id, int x, int y, int w, int h, int style);
HWND SWELL_MakeControl(const char* text, int id, const char* className, int style, int x, int y,
                       int w, int h, int exStyle);
void SWELL_RegisterCustomControlCreator(SWELL_ControlCreatorProc proc);
void SWELL_UnregisterCustomControlCreator(SWELL_ControlCreatorProc proc);
void SetAllowNoMiddleManRendering(HWND hwnd, bool allow);
void SWELL_DisableContextMenu(HWND hwnd, bool disable);

// The frame rule: dialog units to a frame in the current parent's coordinates.
platform::NSRect SWELL_MakeControlFrame(int x, int y, int w, int h, bool wantAuto,
                                        bool heightUnscaled);
