#include "platform/drawing/Layer.h"
#include "windowing/core/Painting.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowObject.h"
#include "windowing/kernel/OsVersion.h"

namespace {

constexpr int kFirstMetalOsVersion = 0x10B0;
constexpr UINT_PTR kFlushTimerId = 1;
constexpr UINT kFlushIntervalMs = 1;
constexpr int kTextureMode = 2;
constexpr int kAsynchronousLayerMode = -1;

}  // namespace

int SWELL_EnableMetal(HWND hwnd, int mode) {
  auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(hwnd);
  if (!view) return 0;
  if (view->m_use_metal || mode == 0) return view->m_use_metal;
  if (mode < 0) {
    view->m_use_metal = static_cast<std::int8_t>(mode < -128 ? -128 : mode);
    view->setWantsLayer(true);
    if (mode == kAsynchronousLayerMode) view->layer()->setDrawsAsynchronously(true);
    return view->m_use_metal;
  }
  if (SWELL_GetOSXVersion() >= kFirstMetalOsVersion && SWELL_Metal_Probe())
    SetTimer(nullptr, kFlushTimerId, kFlushIntervalMs, SWELL_Metal_FlushTimerProc);
  if (!SWELL_Metal_Available()) return view->m_use_metal;
  view->m_use_metal = static_cast<std::int8_t>(mode >= kTextureMode ? kTextureMode : 1);
  view->setWantsLayer(true);
  InvalidateRect(hwnd, nullptr, 0);
  return view->m_use_metal;
}
