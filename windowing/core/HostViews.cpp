#include "windowing/core/HostViews.h"

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/objects/ClassRegistry.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/kernel/Kernel.h"

using platform::NSView;
using platform::Ref;

namespace {

// The host's timer that would have driven the hosted window.
constexpr UINT_PTR kHostTimer = 1;
// Sizes the parent to the hosted view: no move, no change of order, no redraw (8).
constexpr UINT kSizeToHostedView = SWP_NOMOVE | SWP_NOZORDER | 8;

// A window view meant to host a foreign window. No such window exists on this
// platform, so it stays an empty, transparent child window view whose timers deliver
// nothing.
class Swell_vCorvaneBrisko_hwndcarbonhost final : public Swell_vCorvaneBrisko_hwnd {
 public:
  bool swellIsCarbonHostingView() const { return true; }
  bool isOpaque() const override { return false; }
  void SWELL_Timer(UINT_PTR) override {}
  LRESULT onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_DESTROY) KillTimer(swell::handleFromObject(this), kHostTimer);
    return Swell_vCorvaneBrisko_hwnd::onSwellMessage(msg, wParam, lParam);
  }
};

}  // namespace

HWND SWELL_CreateCarbonHostView(HWND parent, void** windowRefOut, const RECT* r, bool composit) {
  NSView* parentView = swell::objectFromHandleAs<NSView>(parent);
  if (!windowRefOut || !r || !parentView) {
    base::warn("swell-cocoa",
               "SWELL_CreateCarbonHostView: no window-reference output, rectangle or parent");
    return nullptr;
  }
  *windowRefOut = nullptr;
  auto host =
      Ref<Swell_vCorvaneBrisko_hwndcarbonhost>::adopt(new Swell_vCorvaneBrisko_hwndcarbonhost);
  host->initChild(nullptr, parentView, nullptr, 0);
  return swell::handleFromObject(host.get());  // the parent holds it
}

void* SWELL_GetCarbonHostWindowRef(HWND) {
  return nullptr;
}

void SWELL_CarbonHostNoOp() {}

void SWELL_SetViewFlip(HWND h, bool flip) {
  if (auto* view = swell::objectFromHandleAs<Swell_vCorvaneBrisko_hwnd>(h)) view->setFlipped(flip);
}

HWND SWELL_HostAUCocoaView(HWND parent, void* audioUnit, const SWELL_AudioUnitCocoaViewInfo* info,
                           RECT* r) {
  NSView* parentView = swell::objectFromHandleAs<NSView>(parent);
  if (!parentView || !info || !info->factoryClassName || !*info->factoryClassName || !r) {
    base::warn("swell-cocoa", "SWELL_HostAUCocoaView: no parent, factory class or rectangle");
    return nullptr;
  }
  // Loading the bundle registers its classes; it stays loaded as long as its views may.
  if (info->bundleLocation && *info->bundleLocation && !LoadLibrary(info->bundleLocation)) {
    base::warn("swell-cocoa", "SWELL_HostAUCocoaView: bundle \"%s\" does not load",
               info->bundleLocation);
    return nullptr;
  }
  platform::NSClassFactory make = platform::NSClassFromString(info->factoryClassName);
  auto factory = Ref<platform::NSObject>::adopt(make ? make() : nullptr);
  auto* viewFactory = dynamic_cast<platform::NSAudioUnitViewFactory*>(factory.get());
  if (!viewFactory) {
    base::warn("swell-cocoa", "SWELL_HostAUCocoaView: \"%s\" is not a view factory",
               info->factoryClassName);
    return nullptr;
  }
  platform::NSSize size{double(r->right) - r->left, double(r->bottom) - r->top};
  auto view = Ref<NSView>::adopt(viewFactory->uiViewForAudioUnit(audioUnit, size));
  if (!view) {
    base::warn("swell-cocoa", "SWELL_HostAUCocoaView: \"%s\" made no view", info->factoryClassName);
    return nullptr;
  }
  platform::NSRect bounds = view->bounds();
  *r = {0, 0, swell::roundCoordinate(bounds.size.width),
        swell::roundCoordinate(bounds.size.height)};
  SetWindowPos(parent, nullptr, 0, 0, r->right, r->bottom, kSizeToHostedView);
  parentView->addSubview(view.get());
  return swell::handleFromObject(view.get());  // the parent holds it
}
