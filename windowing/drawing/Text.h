#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

// Fonts and text output of drawing contexts.

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, int italic,
                 int underline, int strikeout, int charset, int outprec, int clipprec, int quality,
                 int pitchandfamily, const char* facename);
HFONT CreateFontIndirect(const LOGFONT* font);
void SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
void SetBkColor(HDC hdc, COLORREF color);
void SetBkMode(HDC hdc, int mode);
int SWELL_DrawText(HDC hdc, const char* text, int count, RECT* r, int flags);
BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics);
int GetTextFace(HDC hdc, int size, char* buffer);
int GetGlyphIndicesW(HDC hdc, const wchar_t* text, int count, WORD* glyphs, DWORD flags);
int AddFontResourceEx(const char* path, DWORD flags, void* reserved);
