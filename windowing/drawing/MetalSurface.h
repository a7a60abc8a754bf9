#pragma once

#include <cstdint>

#include "platform/drawing/Metal.h"
#include "platform/objects/Geometry.h"
#include "windowing/Win32Types.h"

namespace platform {
class NSView;
}

// The Metal surface of a window view. Everything the view's window procedure paints
// (WM_PAINT through a context bound to the view, or GetDC drawing) lands in 32-bit pixel
// memory copied into a texture and shown on the view's CAMetalLayer. Mode 1 writes
// straight into the layer's next drawable; mode 2 keeps its own texture and draws it onto
// a drawable after painting, so a partial repaint keeps the rest of the picture. The
// window object derives from it and supplies the view, its client area and its paint.
class SwellMetalSurface {
 public:
  static constexpr int kMaxSurfaceSide = 16384;
  // A pending rectangle of these sides means the whole view.
  static constexpr int kWholeView = 1 << 28;

  virtual ~SwellMetalSurface() = default;
  virtual platform::NSView* metalView() = 0;
  virtual RECT metalClientRect() = 0;
  // The paint sequence with the Metal flag: WM_NCCALCSIZE, WM_PAINT, WM_NCPAINT.
  virtual void metalPaint(HDC hdc, const platform::NSRect& rect) = 0;

  bool swellWantsMetal() const { return m_use_metal > 0; }
  // Paints and presents one frame; update limits the painted area in mode 2.
  void swellDrawMetal(const RECT* update);
  // Leaves the refresh list and drops every Metal object (the view goes away).
  void releaseMetalObjects();
  // The frame's texture after fixing the frame's surface on its first write; null when
  // the view is empty or no texture could be had. Marks the surface written.
  platform::MTLTexture* metalBeginWrite(bool retina);

  std::int8_t m_use_metal = 0;        // 0 none, 1 direct, 2 texture, < 0 layer only
  std::uint8_t m_metal_dc_dirty = 0;  // 1 written this frame; GetDC sets 2
  std::uint8_t m_metal_gravity = 0;   // bit 0 anchors right, bit 1 bottom (vs. flipped)
  bool m_metal_retina = false;
  bool m_metal_in_needref_list = false;
  RECT m_metal_in_needref_rect{};
  platform::NSRect m_metal_lastframe;
  platform::Ref<platform::MTLTexture> m_metal_texture;
  platform::Ref<platform::MTLRenderPipelineState> m_metal_pipelineState;
  platform::Ref<platform::MTLCommandQueue> m_metal_commandQueue;
  platform::Ref<platform::CAMetalDrawable> m_metal_drawable;
  platform::Ref<platform::MTLDevice> m_metal_device;
  std::uint32_t m_metal_device_lastchkt = 0;

 private:
  platform::CAMetalLayer* metalLayer();
  bool chooseDevice(platform::CAMetalLayer* layer);
  bool ensurePipeline();
  void updateGravity(platform::CAMetalLayer* layer);
  void present(platform::CAMetalLayer* layer);
};

// The surface of a window handle that draws through Metal (mode 1 or 2); null otherwise.
SwellMetalSurface* swellMetalSurfaceOf(HWND hwnd);

// Looks for Metal devices on the first call only; true when this call found them (the
// caller then starts the flush timer).
bool SWELL_Metal_Probe();
bool SWELL_Metal_Available();

// Queues a view for repaint of r (null: whole view; empty: nothing), or with keepRect
// without touching its pending rectangle.
void SWELL_Metal_AddNeedRefresh(HWND view, const RECT* r, bool keepRect);
// Paints the views queued when the flush began; views queued meanwhile wait for the next.
void SWELL_Metal_FlushNeedRefresh();
// The timer callback form of the flush.
void SWELL_Metal_FlushTimerProc(HWND, UINT, UINT_PTR, DWORD);
// Takes a view out of the refresh list (hidden, shown or destroyed).
void SWELL_RemoveFromMetalRefreshList(SwellMetalSurface* view);

// A context bound to the view's Metal surface, with no drawing surface of its own.
HDC SWELL_CreateGfxContextForMetalView(HWND view);

// Writes a block of 32-bit pixels into the frame; the entry of every direct write.
void SWELL_Metal_UploadTexture(HWND view, const std::uint32_t* pixels, int x, int y, int w, int h,
                               int rowSpan, bool retina);
// Fills a rectangle of the frame with one pixel value.
void SWELL_Metal_FillRect(HWND view, int x, int y, int w, int h, std::uint32_t colour);
// Copies or blends (by the fourth byte) a block of pixels onto the frame.
void SWELL_Metal_Blit(HWND view, const std::uint32_t* src, int x, int y, int w, int h,
                      int srcRowSpan, bool retina, bool alphaBlend);
// Writes each source pixel into a 2 x 2 block of the destination.
void SWELL_Metal_DoublePixels(std::uint32_t* dst, const std::uint32_t* src, int w, int h,
                              int srcRowSpan, int dstRowSpan);
