#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

// Shapes drawn with a context's selected pen and brush.

void SWELL_FillRect(HDC hdc, const RECT* r, HBRUSH brush);
void Rectangle(HDC hdc, int left, int top, int right, int bottom);
void RoundRect(HDC hdc, int left, int top, int right, int bottom, int cornerWidth,
               int cornerHeight);
void Ellipse(HDC hdc, int left, int top, int right, int bottom);
void SWELL_Polygon(HDC hdc, const POINT* points, int count);
void MoveToEx(HDC hdc, int x, int y, POINT* old);
void LineTo(HDC hdc, int x, int y);
void PolyBezierTo(HDC hdc, const POINT* points, int count);
void PolyPolyline(HDC hdc, const POINT* points, const DWORD* counts, int polylines);
void SetPixel(HDC hdc, int x, int y, COLORREF color);
// Fills with the dialog face colour.
void SWELL_FillDialogBackground(HDC hdc, const RECT* r, int level);
