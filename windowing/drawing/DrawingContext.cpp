#include "windowing/drawing/DrawingContext.h"

#include <mutex>
#include <unordered_set>

#include "platform/Color.h"

namespace {

// Live records, so a stale handle is refused instead of touched.
struct LiveSets {
  std::mutex mutex;
  std::unordered_set<const void*> dcs;
  std::unordered_set<const void*> objects;
};
LiveSets& live() {
  static LiveSets* sets = new LiveSets;
  return *sets;
}

void setFill(platform::CGContext* ctx, COLORREF c) {
  ctx->setFillColor(((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, 1);
}

void fill(HDC hdc, const RECT* r) {
  hdc->ctx->fillRect(platform::NSMakeRect(r->left, r->top, r->right - r->left, r->bottom - r->top));
}

}  // namespace

namespace swell {

bool isLiveDC(HDC hdc) {
  std::lock_guard<std::mutex> lock(live().mutex);
  return hdc && live().dcs.count(hdc);
}

bool isLiveGdiObject(HGDIOBJ object) {
  std::lock_guard<std::mutex> lock(live().mutex);
  return object && live().objects.count(object);
}

HBITMAP makeBitmapObject(platform::NSObject* image) {
  auto* bitmap = new HGDIOBJ__;
  bitmap->type = kBitmapObject;
  bitmap->image = image;
  if (image) image->retain();
  std::lock_guard<std::mutex> lock(live().mutex);
  live().objects.insert(bitmap);
  return bitmap;
}

}  // namespace swell

HDC SWELL_CreateGfxContextForNSContext(platform::CGContext* context) {
  auto* hdc = new HDC__;
  hdc->ctx = context;
  std::lock_guard<std::mutex> lock(live().mutex);
  live().dcs.insert(hdc);
  return hdc;
}

void SWELL_DeleteGfxContext(HDC hdc) {
  {
    std::lock_guard<std::mutex> lock(live().mutex);
    if (!live().dcs.erase(hdc)) return;
  }
  delete hdc;
}

int SetTextColor(HDC hdc, int color) {
  if (!swell::isLiveDC(hdc)) return -1;
  int previous = static_cast<int>(hdc->curtextcol);
  hdc->curtextcol = static_cast<COLORREF>(color) & 0xFFFFFF;
  hdc->textColorSet = true;
  return previous;
}

int GetTextColor(HDC hdc) {
  return swell::isLiveDC(hdc) ? static_cast<int>(hdc->curtextcol) : -1;
}

HBRUSH CreateSolidBrush(int color) {
  auto* brush = new HGDIOBJ__;
  brush->type = swell::kBrushObject;
  brush->color = static_cast<COLORREF>(color) & 0xFFFFFF;
  std::lock_guard<std::mutex> lock(live().mutex);
  live().objects.insert(brush);
  return brush;
}

void DeleteObject(HGDIOBJ object) {
  {
    std::lock_guard<std::mutex> lock(live().mutex);
    if (!live().objects.erase(object)) return;
  }
  if (object->image) object->image->release();
  delete object;
}

void SWELL_FillRect(HDC hdc, const RECT* r, HBRUSH brush) {
  if (!r || !swell::isLiveDC(hdc) || !hdc->ctx || !swell::isLiveGdiObject(brush)) return;
  setFill(hdc->ctx, brush->color);
  fill(hdc, r);
}

void SWELL_FillDialogBackground(HDC hdc, const RECT* r, int level) {
  if (!r || !swell::isLiveDC(hdc) || !hdc->ctx) return;
  platform::NSColor face = platform::NSColor::windowBackgroundColor();
  hdc->ctx->setFillColor(face.red, face.green, face.blue, face.alpha);
  fill(hdc, r);
}
