#include <cstdint>

#include "windowing/drawing/detail/DrawingRecords.h"

using swell::isMarker;

namespace {

HGDIOBJ makePenOrBrush(int type, int width, COLORREF color, double alpha) {
  HGDIOBJ o = swell::allocObject();
  if (!o) return nullptr;
  o->type = type;
  o->wid = width;
  o->color_value = color;
  o->color = swell::colorFromRef(color, alpha);
  return o;
}

}  // namespace

HGDIOBJ SWELL_AllocGDIObject() {
  return swell::allocObject();
}

HPEN CreatePen(int style, int width, COLORREF color) {
  return makePenOrBrush(swell::kPenObject, width < 0 ? 0 : width, color, 1.0);
}

HPEN CreatePenAlpha(int style, int width, COLORREF color, float alpha) {
  return makePenOrBrush(swell::kPenObject, width < 0 ? 0 : width, color, alpha);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  return makePenOrBrush(swell::kBrushObject, 0, color, 1.0);
}

HBRUSH CreateSolidBrushAlpha(COLORREF color, float alpha) {
  return makePenOrBrush(swell::kBrushObject, 0, color, alpha);
}

HGDIOBJ GetStockObject(int index) {
  if (index == swell::kPenObject) return swell::stockNullObject(swell::kPenObject);
  if (index == swell::kBrushObject) return swell::stockNullObject(swell::kBrushObject);
  return nullptr;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  if (!swell::isLiveDC(hdc)) return nullptr;
  auto v = reinterpret_cast<std::uintptr_t>(obj);
  if (!obj || v == swell::kBitmapObject) return nullptr;
  int type = 0;
  if (isMarker(obj)) {
    type = static_cast<int>(v);
  } else {
    if (!swell::isLiveGdiObject(obj) || obj->type < swell::kPenObject ||
        obj->type > swell::kFontObject)
      return nullptr;
    type = obj->type;
  }
  HGDIOBJ previous = swell::selectedObject(hdc, type);
  if (!previous) previous = reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(type));
  HGDIOBJ__** slot = type == swell::kPenObject     ? &hdc->curpen
                     : type == swell::kBrushObject ? &hdc->curbrush
                                                   : &hdc->curfont;
  std::uint64_t* serial = type == swell::kPenObject     ? &hdc->curpen_serial
                          : type == swell::kBrushObject ? &hdc->curbrush_serial
                                                        : &hdc->curfont_serial;
  if (isMarker(obj)) {
    *slot = nullptr;
    *serial = 0;
  } else if (previous != obj) {
    *slot = obj;
    *serial = swell::gdiObjectSerial(obj);
  }
  return previous;
}

HGDIOBJ SWELL_CloneGDIObject(HGDIOBJ obj) {
  if (!swell::isLiveGdiObject(obj)) return nullptr;
  ++obj->additional_refcnt;
  return obj;
}

void DeleteObject(HGDIOBJ obj) {
  if (!swell::isLiveGdiObject(obj)) return;
  if (obj == swell::stockNullObject(swell::kPenObject) ||
      obj == swell::stockNullObject(swell::kBrushObject))
    return;
  if (obj->additional_refcnt-- > 0) return;
  if (obj->type < swell::kPenObject || obj->type > swell::kBitmapObject) return;
  if ((obj->type == swell::kPenObject || obj->type == swell::kBrushObject) && obj->wid < 0) return;
  if (!swell::retireObject(obj)) return;
  if (obj->fontptr) obj->fontptr->release();
  if (obj->wid && obj->image) obj->image->release();
  swell::poolObject(obj);
}
