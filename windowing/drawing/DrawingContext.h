#pragma once

#include "windowing/Win32Types.h"
#include "windowing/drawing/DrawingTypes.h"

namespace platform {
class CGContext;
class CTFont;
class NSObject;
}

// Drawing contexts and drawing objects (pens, brushes, fonts, bitmaps). Both are pooled
// records; every handle is checked against the live registry before it is read.

namespace swell {
inline constexpr int kBrushObject = 2;
inline constexpr int kBitmapObject = 4;
bool isLiveDC(HDC hdc);
bool isLiveGdiObject(HGDIOBJ object);
// A bitmap object over a native image (retained until the object is deleted).
HBITMAP makeBitmapObject(platform::NSObject* image);
// The native image of a live bitmap object; null otherwise.
platform::NSObject* bitmapImage(HGDIOBJ object);
// The face of a live font object (the object keeps it); null otherwise.
platform::CTFont* fontOfObject(HGDIOBJ object);
// Whether a text colour was given to the live context.
bool hasTextColor(HDC hdc);
}  // namespace swell

HDC SWELL_AllocGfxContext();
HDC SWELL_CreateGfxContextForNSContext(platform::CGContext* context);
// An offscreen context over B, G, R, X rows (top row first, rows 64-byte aligned); null
// for a side below 1 or a size that does not fit in memory.
HDC SWELL_CreateMemContext(HDC ignored, int width, int height);
void SWELL_DeleteGfxContext(HDC hdc);
platform::CGContext* SWELL_GetCtxGC(HDC hdc);
void* SWELL_GetCtxFrameBuffer(HDC hdc);
bool SWELL_IsRetinaDC(HDC hdc);
void SWELL_PushClipRegion(HDC hdc);
void SWELL_PopClipRegion(HDC hdc);
void SWELL_SetClipRegion(HDC hdc, const RECT* r);

HGDIOBJ SWELL_AllocGDIObject();
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenAlpha(int style, int width, COLORREF color, float alpha);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateSolidBrushAlpha(COLORREF color, float alpha);
HGDIOBJ GetStockObject(int index);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ SWELL_CloneGDIObject(HGDIOBJ object);
void DeleteObject(HGDIOBJ object);
