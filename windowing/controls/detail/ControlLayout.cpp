#include "windowing/controls/detail/ControlLayout.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "platform/Font.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/ControlMessages.h"

namespace swell {

namespace {
// Texts this long or longer are shown as given: the ampersand pass reads only this much.
constexpr std::size_t kAmpersandTextLimit = 1024;
// From this x scale up the controls keep their own (larger) fonts.
constexpr double kSmallFontScaleLimit = 1.81;
constexpr double kSmallFontSize = 8;
constexpr double kDialogFontSize = 10;
// Controls whose planned left edge lies this close to the row's right edge share the row.
constexpr double kRowJoinDistance = 32;
}  // namespace

ControlLayoutState& controlLayout() {
  // Every factory reads the layout state: the first use hands the window core the message
  // emulation of the controls the factories make.
  static ControlLayoutState state = (installControlEmulation(), ControlLayoutState{});
  return state;
}

std::string controlText(const char* text) {
  if (!text) return {};
  const std::size_t length = std::strlen(text);
  if (length >= kAmpersandTextLimit || !std::memchr(text, '&', length)) return text;
  std::string out;
  out.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    if (text[i] == '&') {
      // The character after an ampersand is taken literally; a trailing one ends the text.
      if (++i >= length) break;
    }
    out.push_back(text[i]);
  }
  return out;
}

namespace {
// The font the rule gives at the current x scale; none from kSmallFontScaleLimit up.
std::optional<platform::NSFont> ruleFont() {
  const double xscale = controlLayout().xscale;
  if (xscale >= kSmallFontScaleLimit) return std::nullopt;
  return platform::NSFont::systemFontOfSize(xscale < 1.0 ? kSmallFontSize : kDialogFontSize);
}
}  // namespace

void applyFontRule(platform::NSControl* control) {
  if (std::optional<platform::NSFont> font = ruleFont()) control->setFont(*font);
}

void applyFontRule(platform::NSText* text) {
  if (std::optional<platform::NSFont> font = ruleFont()) text->setFont(*font);
}

void finishControl(platform::NSView* control, int style, bool honourHidden) {
  ControlLayoutState& state = controlLayout();
  if (honourHidden && (static_cast<DWORD>(style) & SWELL_HIDDEN_STYLE)) control->setHidden(true);
  if (state.parent) state.parent->addSubview(control);
  if (state.doauto) {
    const platform::NSRect f = control->frame();
    state.pendingShift = f.origin.x + f.size.width - state.rowRight;
  }
}

void setCommandTarget(platform::NSControl* control, int action) {
  control->setTarget(controlLayout().parent);
  control->setAction(action);
}

}  // namespace swell

void SWELL_MakeSetCurParms(HWND parent, bool doauto, bool dosizetofit, float xscale, float yscale,
                           float xtrans, float ytrans) {
  swell::ControlLayoutState& state = swell::controlLayout();
  state = {};
  platform::NSObject* object = platform::liveObject(parent);
  if (auto* window = dynamic_cast<platform::NSWindow*>(object)) object = window->contentView();
  state.parent = dynamic_cast<platform::NSView*>(object);
  state.xscale = xscale;
  state.yscale = yscale;
  if (state.yscale > 0 && state.parent && state.parent->isFlipped()) state.yscale = -state.yscale;
  state.xtrans = xtrans;
  state.ytrans = ytrans;
  state.parentHeight =
      state.parent ? static_cast<float>(state.parent->bounds().size.height) : 100.f;
  state.doauto = doauto;
  state.sizetofit = dosizetofit;
}

platform::NSRect SWELL_MakeControlFrame(int x, int y, int w, int h, bool wantAuto,
                                        bool heightUnscaled) {
  swell::ControlLayoutState& state = swell::controlLayout();
  if (w < 0 && h < 0) return platform::NSMakeRect(-x, -y, -w, -h);
  auto whole = [](double v) { return std::trunc(v); };
  const double ys = std::fabs(state.yscale);
  double fx = whole((x + state.xtrans) * state.xscale + 0.5);
  const double fw = whole(state.xscale * w + 0.5);
  const double fh = whole((heightUnscaled ? 1.0 : ys) * h + 0.5);
  double fy;
  if (state.yscale < 0) {
    fy = whole(ys * (y + state.ytrans) + 0.5);
  } else {
    // Bottom-up parent: the control's top edge sits where a flipped parent would put it.
    fy = whole(state.parentHeight - (y + state.ytrans) * ys + 0.5) - fh;
  }
  if (state.doauto && wantAuto) {
    const double plannedRight = fx + fw;
    const bool sameRow = std::fabs(fx - state.rowRight) < swell::kRowJoinDistance &&
                         state.rowMiddle >= fy && fy + fh > state.rowMiddle;
    if (sameRow) fx += whole(state.pendingShift);
    state.rowRight = plannedRight;
    state.rowMiddle = fy + fh / 2;
    state.pendingShift = 0;
  }
  return platform::NSMakeRect(fx, fy, fw, fh);
}
