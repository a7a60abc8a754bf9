#include "windowing/views/FocusRect.h"

#include <algorithm>
#include <cstdlib>

#include "platform/core/ControlDrawing.h"
#include "platform/core/Window.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSWindow;

namespace {

constexpr double kOverlayAlpha = 0.5;
constexpr double kOverlayGrey = 0.5;
// Above ordinary and floating windows when there is no window to ride on.
constexpr int kUnparentedOverlayLevel = 101;

// The overlay's content: grey all over.
class FocusOverlayView : public platform::NSView {
 public:
  using platform::NSView::NSView;
  void drawRect(const platform::NSRect&) override {
    platform::controldrawing::topDown(this, [&](platform::CGContext* cg) {
      platform::controldrawing::fillRect(
          cg, bounds(),
          platform::NSColor::colorWithRGBA(kOverlayGrey, kOverlayGrey, kOverlayGrey, 1));
    });
  }
};

void closeOverlay(NSWindow* overlay) {
  if (NSWindow* parent = overlay->parentWindow()) parent->removeChildWindow(overlay);
  overlay->close();
}

NSWindow* makeOverlay() {
  auto* overlay =
      new NSWindow(platform::NSMakeRect(0, 0, 1, 1), platform::NSWindowStyleMaskBorderless);
  overlay->setAlphaValue(kOverlayAlpha);
  overlay->setOpaque(true);
  overlay->setExcludedFromWindowsMenu(true);
  overlay->setIgnoresMouseEvents(true);
  auto content = platform::Ref<FocusOverlayView>::adopt(new FocusOverlayView);
  overlay->setContentView(content.get());
  return overlay;
}

}  // namespace

void SWELL_DrawFocusRect(HWND hwnd, RECT* rect, void** overlayHandle) {
  if (!overlayHandle) return;
  // The overlay is a window of ours only while it lives; anything else is forgotten.
  NSWindow* overlay = platform::liveObjectAs<NSWindow>(*overlayHandle);
  if (!rect) {
    if (overlay) closeOverlay(overlay);
    *overlayHandle = nullptr;
    return;
  }
  platform::NSView* view = swell::viewForHandle(hwnd);
  NSWindow* topLevel = view ? view->window() : nullptr;
  POINT a{rect->left, rect->top};
  POINT b{rect->right, rect->bottom};
  if (view) {
    ClientToScreen(hwnd, &a);
    ClientToScreen(hwnd, &b);
  }
  if (overlay && overlay->parentWindow() != topLevel) {
    closeOverlay(overlay);
    overlay = nullptr;
  }
  if (!overlay) {
    overlay = makeOverlay();
    if (topLevel) {
      topLevel->addChildWindow(overlay, platform::NSWindowAbove);
    } else {
      overlay->setLevel(kUnparentedOverlayLevel);
      overlay->orderFront();
    }
    *overlayHandle = overlay;
  }
  const double left = std::min(a.x, b.x);
  const double bottom = std::min(a.y, b.y);
  overlay->setFrame(platform::NSMakeRect(left, bottom, std::abs(b.x - a.x), std::abs(b.y - a.y)),
                    true);
}
