#include "windowing/controls/ButtonCells.h"

#include <cmath>

#include "windowing/controls/ControlFactories.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/views/ListViews.h"

using platform::NSRect;

NSRect Swell_vCorvaneBrisko_imgbuttoncell::drawTitle(const std::string&, const NSRect&,
                                                     platform::NSView*) {
  return {};
}

void Swell_vCorvaneBrisko_ODbuttoncell::drawWithFrame(const NSRect& frame, platform::NSView* view) {
  platform::NSView* control = controlView();
  if (!control) {
    // Drawn as a plain button cell; its own transparency would hide it.
    drawBezelAndInterior(frame, view);
    return;
  }
  // The parent's procedure may close the button while it draws.
  platform::Ref<platform::NSView> keep(control);
  HWND button = swell::handleFromObject(control);
  // The parent draws top down, as in every drawing context of the layer.
  drawTopDown(frame, view, [&](platform::CGContext* cg, const NSRect& r) {
    HDC hdc = SWELL_CreateGfxContextForNSContext(cg);
    if (!hdc) return;
    auto edge = [](double v) { return static_cast<LONG>(std::floor(v + 0.5)); };
    DRAWITEMSTRUCT dis;
    dis.CtlType = ODT_BUTTON;
    dis.CtlID = static_cast<UINT>(control->tag());
    dis.hwndItem = button;
    dis.hDC = hdc;
    dis.rcItem = {edge(r.minX()), edge(r.minY()), edge(r.maxX()), edge(r.maxY())};
    SendMessage(GetParent(button), WM_DRAWITEM, static_cast<WPARAM>(control->tag()),
                reinterpret_cast<LPARAM>(&dis));
    SWELL_DeleteGfxContext(hdc);
  });
}
