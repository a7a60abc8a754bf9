#pragma once

#include <cstdint>

#include "windowing/Win32Types.h"

// The records and flags of the drawing interface.

struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  char lfItalic = 0;
  char lfUnderline = 0;
  char lfStrikeOut = 0;
  char lfCharSet = 0;
  char lfOutPrecision = 0;
  char lfClipPrecision = 0;
  char lfQuality = 0;
  char lfPitchAndFamily = 0;
  char lfFaceName[32] = {};
};

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmAveCharWidth = 0;
};

struct BITMAP {
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  std::uint16_t bmPlanes = 0;
  std::uint16_t bmBitsPixel = 0;
  void* bmBits = nullptr;
};

struct ICONINFO {
  BOOL fIcon = 0;
  DWORD xHotspot = 0;
  DWORD yHotspot = 0;
  HBITMAP hbmMask = nullptr;
  HBITMAP hbmColor = nullptr;
};

// An ordered list of bitmaps for list and tree views.
struct SwellImageList;
using HIMAGELIST = SwellImageList*;

inline constexpr int DT_TOP = 0x0;
inline constexpr int DT_LEFT = 0x0;
inline constexpr int DT_CENTER = 0x1;
inline constexpr int DT_RIGHT = 0x2;
inline constexpr int DT_VCENTER = 0x4;
inline constexpr int DT_BOTTOM = 0x8;
inline constexpr int DT_SINGLELINE = 0x20;
inline constexpr int DT_NOCLIP = 0x100;
inline constexpr int DT_CALCRECT = 0x400;
inline constexpr int DT_NOPREFIX = 0x800;

inline constexpr int TRANSPARENT = 0;
inline constexpr int OPAQUE = 1;

inline constexpr int PS_SOLID = 0;
inline constexpr int NULL_PEN = 1;
inline constexpr int NULL_BRUSH = 2;

inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;

inline constexpr DWORD GGI_MARK_NONEXISTING_GLYPHS = 1;
inline constexpr DWORD FR_PRIVATE = 1;

inline constexpr int SRCCOPY = 0;
