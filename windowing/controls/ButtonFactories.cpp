#include "platform/core/Window.h"
#include "windowing/controls/ButtonCells.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ButtonKinds.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/WindowMenus.h"

using platform::NSRect;
using platform::Ref;

namespace {

constexpr int kPushBezelStyle = 6;
// A text pointer below this is a resource number, not a text.
constexpr std::uintptr_t kResourceNumberLimit = 0x10000;
constexpr DWORD kButtonKindMask = 15;
constexpr DWORD kAlignMask = 0x300;

// Gives the button a cell of its own kind before anything else is set on it, since the
// cell holds what the button shows.
template <class Cell>
void installCell(platform::NSButton* button) {
  Ref<Cell> cell = Ref<Cell>::adopt(new Cell);
  button->setCell(cell.get());
}

// The group number of a new automatic radio button: a WS_GROUP button starts a group,
// and every button after it up to the next WS_GROUP button shares its number.
int radioGroupFor(DWORD style) {
  swell::ControlLayoutState& state = swell::controlLayout();
  if (!(style & WS_GROUP) && state.radioGroup > 0) return state.radioGroup;
  return ++state.radioGroup;
}

}  // namespace

HWND SWELL_MakeButton(int isDefault, const char* text, int id, int x, int y, int w, int h,
                      int style) {
  const DWORD bits = static_cast<DWORD>(style);
  swell::ControlLayoutState& state = swell::controlLayout();
  Ref<Swell_vCorvaneBrisko_button> button =
      Ref<Swell_vCorvaneBrisko_button>::adopt(new Swell_vCorvaneBrisko_button);
  if (bits & BS_BITMAP) installCell<Swell_vCorvaneBrisko_imgbuttoncell>(button.get());
  button->setTag(id);
  button->setButtonType(platform::NSButtonTypeMomentaryPushIn);
  swell::applyFontRule(button.get());
  button->setFrame(SWELL_MakeControlFrame(x, y, w, h, true, false));
  button->setBezelStyle(kPushBezelStyle);
  const bool resourceNumber = reinterpret_cast<std::uintptr_t>(text) < kResourceNumberLimit;
  button->setTitle(resourceNumber ? "ICONTEMP" : swell::controlText(text));
  swell::setCommandTarget(button.get(), kSwellCommandAction);
  if ((bits & kAlignMask) == BS_LEFT) button->setAlignment(platform::NSTextAlignmentLeft);
  if (state.sizetofit) button->sizeToFit();
  swell::finishControl(button.get(), style);
  if (isDefault && state.parent && state.parent->window())
    state.parent->window()->setDefaultButtonCell(button.get());
  return swell::handleFromObject(button.get());
}

HWND SWELL_MakeGroupBox(const char* text, int id, int x, int y, int w, int h, int style) {
  swell::ControlLayoutState& state = swell::controlLayout();
  Ref<Swell_vCorvaneBrisko_box> box =
      Ref<Swell_vCorvaneBrisko_box>::adopt(new Swell_vCorvaneBrisko_box);
  box->setTitle(swell::controlText(text));
  box->setTag(id);
  box->setTitleCentred((static_cast<DWORD>(style) & kAlignMask) == BS_CENTER);
  box->setFrame(SWELL_MakeControlFrame(x, y - 1, w, h + 3, false, false));
  // Below every other control of the parent, so it frames them instead of covering them.
  if (state.parent) state.parent->addSubview(box.get(), platform::NSWindowBelow, nullptr);
  return swell::handleFromObject(box.get());
}

namespace swell {

HWND makeButtonControl(const char* text, int id, int style, int x, int y, int w, int h) {
  const DWORD bits = static_cast<DWORD>(style);
  if (bits & SWELL_BS_GROUPBOX)
    return SWELL_MakeGroupBox(text, id, x, y, w, h, static_cast<int>(bits & ~SWELL_BS_GROUPBOX));
  if (bits & SWELL_BS_DEFPUSHBUTTON)
    return SWELL_MakeButton(1, text, id, x, y, w, h,
                            static_cast<int>(bits & ~SWELL_BS_DEFPUSHBUTTON));
  if (bits & SWELL_BS_PUSHBUTTON)
    return SWELL_MakeButton(0, text, id, x, y, w, h, static_cast<int>(bits & ~SWELL_BS_PUSHBUTTON));

  ControlLayoutState& state = controlLayout();
  Ref<Swell_vCorvaneBrisko_button> button =
      Ref<Swell_vCorvaneBrisko_button>::adopt(new Swell_vCorvaneBrisko_button);
  button->setTag(id);
  const DWORD kind = bits & kButtonKindMask;
  int action = kSwellCommandAction;
  switch (kind) {
    case BS_AUTOCHECKBOX:
      button->setButtonType(platform::NSButtonTypeSwitch);
      break;
    case BS_AUTO3STATE:
      button->setButtonType(platform::NSButtonTypeSwitch);
      button->setAllowsMixedState(true);
      break;
    case BS_AUTORADIOBUTTON: {
      button->setButtonType(platform::NSButtonTypeRadio);
      const int flags = SwellRadioButton::kRadioButton |
                        ((bits & WS_GROUP) ? SwellRadioButton::kRadioGroupStart : 0);
      button->swellSetRadioFlags(flags);
      action = kRadioCommandActionBase + radioGroupFor(bits) % kRadioCommandActions;
      break;
    }
    case BS_OWNERDRAW:
      installCell<Swell_vCorvaneBrisko_ODbuttoncell>(button.get());
      button->setButtonType(platform::NSButtonTypeMomentaryPushIn);
      break;
    default:
      if (bits & BS_BITMAP) installCell<Swell_vCorvaneBrisko_imgbuttoncell>(button.get());
      button->setButtonType(platform::NSButtonTypeMomentaryPushIn);
      if ((bits & kAlignMask) == BS_LEFT) button->setAlignment(platform::NSTextAlignmentLeft);
      break;
  }
  applyFontRule(button.get());
  button->setFrame(SWELL_MakeControlFrame(x, y, w, h, true, false));
  button->setTitle(controlText(text));
  setCommandTarget(button.get(), action);
  if (bits & BS_LEFTTEXT) button->setImagePosition(platform::NSImageRight);
  if (state.sizetofit && kind != BS_OWNERDRAW) button->sizeToFit();
  finishControl(button.get(), style);
  return swell::handleFromObject(button.get());
}

}  // namespace swell
