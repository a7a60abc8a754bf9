#pragma once

#include <cstdint>
#include <optional>

#include "platform/drawing/CoreText.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/objects/Color.h"
#include "windowing/drawing/DrawingContext.h"

// A drawing context: its surface, its selections and its text state. Selections keep
// the serial of the object they name, so an object deleted, pooled and reused meanwhile
// is not taken for the selection.
struct HDC__ {
  platform::CGContext* ctx = nullptr;  // owned only when ownedpixels is set
  void* ownedpixels = nullptr;         // memory contexts: the allocation of the pixel rows
  HWND__* metal_view = nullptr;
  HGDIOBJ__* curpen = nullptr;
  HGDIOBJ__* curbrush = nullptr;
  HGDIOBJ__* curfont = nullptr;
  COLORREF curtextcol = 0;
  COLORREF curbkcol = 0;
  int curbkmode = 0;
  float lastpos_x = 0;
  float lastpos_y = 0;
  void* GLgfxctx = nullptr;
  bool _infreelist = false;
  HDC__* _next = nullptr;
  std::optional<platform::NSColor> curtextcolor;  // set once a text colour is given
  std::uint64_t curpen_serial = 0;
  std::uint64_t curbrush_serial = 0;
  std::uint64_t curfont_serial = 0;
};

// A pen, brush, font or bitmap.
struct HGDIOBJ__ {
  int type = 0;
  int additional_refcnt = 0;
  std::optional<platform::NSColor> color;
  int wid = 0;  // pens: line width; -1 the null pen and brush; bitmaps: 1 owns the image
  COLORREF color_value = 0;
  platform::NSObject* image = nullptr;  // bitmaps (retained)
  bool _infreelist = false;
  HGDIOBJ__* _next = nullptr;
  platform::CTFont* fontptr = nullptr;  // fonts (owned)
};

namespace swell {

inline constexpr int kPenObject = 1;
inline constexpr int kFontObject = 3;
inline constexpr int kMaxPooledContexts = 100;
inline constexpr int kMaxPooledObjects = 200;

// Records from the pools (zeroed) and registered as live; null when memory runs out.
HDC allocContext();
HGDIOBJ allocObject();
// Takes a record off the live registry; false when it was not live (a second delete),
// and then the record must not be touched.
bool retireContext(HDC hdc);
bool retireObject(HGDIOBJ object);
// Zeroes a retired record and pools it, or frees it when the pool is full.
void poolContext(HDC hdc);
void poolObject(HGDIOBJ object);
int pooledContextCount();

// The handle values 1 to 4 name object types, never objects.
bool isMarker(const void* handle);

// The never-pooled null pen or null brush.
HGDIOBJ stockNullObject(int type);

// The object's live serial; 0 for anything not a live object.
std::uint64_t gdiObjectSerial(HGDIOBJ object);
bool isObjectOfType(HGDIOBJ object, int type);
// The context's selection of the type when it is still the object selected; else null.
HGDIOBJ selectedObject(HDC hdc, int type);
// A selected pen or brush that draws (not a null one).
HGDIOBJ drawingObject(HDC hdc, int type);

platform::NSColor colorFromRef(COLORREF c, double alpha = 1.0);

}  // namespace swell
