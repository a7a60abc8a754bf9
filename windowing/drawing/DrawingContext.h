#pragma once

#include "platform/GraphicsContext.h"
#include "windowing/Win32Types.h"

// Drawing contexts and drawing objects. A context draws into a platform graphics context
// and keeps the text colour; an object is a solid brush or a bitmap over a native
// image. Both are pooled records checked against a live set.
struct HDC__ {
  platform::CGContext* ctx = nullptr;  // not owned
  COLORREF curtextcol = 0;
  bool textColorSet = false;
};

struct HGDIOBJ__ {
  int type = 0;  // kBrushObject or kBitmapObject
  COLORREF color = 0;
  platform::NSObject* image = nullptr;  // a bitmap's native image (retained)
};

namespace swell {
inline constexpr int kBrushObject = 2;
inline constexpr int kBitmapObject = 4;
bool isLiveDC(HDC hdc);
bool isLiveGdiObject(HGDIOBJ object);
// A bitmap object over a native image (retained until the object is deleted).
HBITMAP makeBitmapObject(platform::NSObject* image);
}  // namespace swell

HDC SWELL_CreateGfxContextForNSContext(platform::CGContext* context);
void SWELL_DeleteGfxContext(HDC hdc);
int SetTextColor(HDC hdc, int color);
int GetTextColor(HDC hdc);
HBRUSH CreateSolidBrush(int color);
void DeleteObject(HGDIOBJ object);
void SWELL_FillRect(HDC hdc, const RECT* r, HBRUSH brush);
// Fills with the dialog face colour.
void SWELL_FillDialogBackground(HDC hdc, const RECT* r, int level);
