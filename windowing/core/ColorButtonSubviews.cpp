#include <optional>
#include <vector>

#include "platform/core/Box.h"
#include "platform/core/Button.h"
#include "platform/core/TextField.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/WindowObject.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/Text.h"

using platform::NSColor;

namespace {

NSColor colorFromColorref(COLORREF c) {
  return {((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0, 1.0};
}

}  // namespace

void SWELL_ColorButtonSubviews(platform::NSView* view, DLGPROC proc, bool useDefaultColor) {
  if (!view || !proc || view->subviews().empty()) return;
  platform::Ref<platform::NSView> keep(view);
  HWND hwnd = swell::handleFromObject(view);
  // Each colour is asked for at most once, when the first subview that needs it comes.
  auto ask = [&](UINT msg, platform::NSView* sub) -> std::optional<NSColor> {
    HDC hdc = SWELL_CreateGfxContextForNSContext(nullptr);
    proc(hwnd, msg, reinterpret_cast<WPARAM>(hdc),
         reinterpret_cast<LPARAM>(swell::handleFromObject(sub)));
    std::optional<NSColor> color;
    if (swell::hasTextColor(hdc))
      color = colorFromColorref(GetTextColor(hdc));
    else if (useDefaultColor)
      color = NSColor::textColor();
    SWELL_DeleteGfxContext(hdc);
    return color;
  };
  std::optional<std::optional<NSColor>> buttonColor, staticColor;
  std::vector<platform::Ref<platform::NSView>> subviews(view->subviews().begin(),
                                                        view->subviews().end());
  for (auto& sub : subviews) {
    if (auto* button = dynamic_cast<platform::NSButton*>(sub.get()); button && button->image()) {
      if (!buttonColor) buttonColor = ask(WM_CTLCOLORBTN, button);
      if (*buttonColor) button->setTitleColor(**buttonColor);
    } else if (auto* box = dynamic_cast<platform::NSBox*>(sub.get())) {
      if (!staticColor) staticColor = ask(WM_CTLCOLORSTATIC, box);
      if (*staticColor) box->setTitleColor(**staticColor);
    } else if (auto* field = dynamic_cast<platform::NSTextField*>(sub.get());
               field && !field->isEditable()) {
      if (!staticColor) staticColor = ask(WM_CTLCOLORSTATIC, field);
      if (*staticColor) field->setTextColor(**staticColor);
    }
  }
}
