#include <cstdint>
#include <cstdlib>
#include <limits>

#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/WindowContexts.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {

constexpr std::size_t kRowAlignment = 64;
constexpr int kBytesPerPixel = 4;
constexpr double kRetinaScale = 1.9;

// The live context that has a surface; null otherwise.
platform::CGContext* surfaceOf(HDC hdc) {
  return swell::isLiveDC(hdc) ? hdc->ctx : nullptr;
}

}  // namespace

namespace swell {

bool hasTextColor(HDC hdc) {
  return isLiveDC(hdc) && hdc->curtextcolor.has_value();
}

platform::NSObject* bitmapImage(HGDIOBJ object) {
  return isObjectOfType(object, kBitmapObject) ? object->image : nullptr;
}

platform::CTFont* fontOfObject(HGDIOBJ object) {
  return isObjectOfType(object, kFontObject) ? object->fontptr : nullptr;
}

HBITMAP makeBitmapObject(platform::NSObject* image) {
  HGDIOBJ bitmap = allocObject();
  if (!bitmap) return nullptr;
  bitmap->type = kBitmapObject;
  bitmap->wid = 1;
  bitmap->image = image;
  if (image) image->retain();
  return bitmap;
}

}  // namespace swell

HDC SWELL_AllocGfxContext() {
  return swell::allocContext();
}

HDC SWELL_CreateGfxContextForNSContext(platform::CGContext* context) {
  HDC hdc = swell::allocContext();
  if (hdc) hdc->ctx = context;
  return hdc;
}

HDC SWELL_CreateMemContext(HDC, int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  const auto w = static_cast<std::uint64_t>(width), h = static_cast<std::uint64_t>(height);
  // Both sides are below 2^31, so the product cannot wrap 64 bits; the row length must
  // still fit the surface's 32-bit stride.
  const std::uint64_t rowBytes = w * kBytesPerPixel;
  if (rowBytes > static_cast<std::uint64_t>(std::numeric_limits<int>::max()) ||
      rowBytes * h > std::numeric_limits<std::size_t>::max() - kRowAlignment)
    return nullptr;
  void* memory = std::calloc(static_cast<std::size_t>(rowBytes * h + kRowAlignment - 1), 1);
  if (!memory) return nullptr;
  auto address = reinterpret_cast<std::uintptr_t>(memory);
  void* rows = reinterpret_cast<void*>((address + kRowAlignment - 1) & ~(kRowAlignment - 1));
  platform::CGContext* surface =
      platform::CGContext::createBitmapOverMemory(rows, width, height, static_cast<int>(rowBytes));
  if (!surface) {
    std::free(memory);
    return nullptr;
  }
  // y grows downwards from the top row, as in every other context of the layer.
  surface->translate(0, height);
  surface->scale(1, -1);
  surface->setShouldSmoothFonts(false);
  HDC hdc = swell::allocContext();
  if (!hdc) {
    delete surface;
    std::free(memory);
    return nullptr;
  }
  hdc->ctx = surface;
  hdc->ownedpixels = memory;
  hdc->curtextcol = 0;
  hdc->curtextcolor = swell::colorFromRef(0);
  return hdc;
}

void SWELL_DeleteGfxContext(HDC hdc) {
  if (!swell::retireContext(hdc)) return;
  if (hdc->ownedpixels) {
    delete hdc->ctx;
    std::free(hdc->ownedpixels);
  }
  swell::poolContext(hdc);
}

platform::CGContext* SWELL_GetCtxGC(HDC hdc) {
  return surfaceOf(hdc);
}

void* SWELL_GetCtxFrameBuffer(HDC hdc) {
  if (!swell::isLiveDC(hdc) || !hdc->ownedpixels) return nullptr;
  auto address = reinterpret_cast<std::uintptr_t>(hdc->ownedpixels);
  return reinterpret_cast<void*>((address + kRowAlignment - 1) & ~(kRowAlignment - 1));
}

bool SWELL_IsRetinaDC(HDC hdc) {
  if (!swell::isLiveDC(hdc)) return false;
  platform::CGContext* surface = hdc->ctx;
  if (!surface) {
    SwellMetalSurface* metal = swellMetalSurfaceOf(hdc->metal_view);
    if (!metal) return false;
    return metal->m_metal_dc_dirty ? metal->m_metal_retina : SWELL_IsRetinaHWND(hdc->metal_view);
  }
  return surface->convertSizeToDeviceSpace({1, 1}).width > kRetinaScale;
}

void SWELL_PushClipRegion(HDC hdc) {
  if (platform::CGContext* surface = surfaceOf(hdc)) surface->saveGState();
}

void SWELL_PopClipRegion(HDC hdc) {
  // The surface counts its saves, so a pop without a push is ignored.
  if (platform::CGContext* surface = surfaceOf(hdc)) surface->restoreGState();
}

void SWELL_SetClipRegion(HDC hdc, const RECT* r) {
  platform::CGContext* surface = surfaceOf(hdc);
  if (!surface || !r) return;
  surface->clipToRect(platform::NSMakeRect(r->left, r->top, static_cast<double>(r->right) - r->left,
                                           static_cast<double>(r->bottom) - r->top));
}
