#include <cstdint>

#include "platform/core/Button.h"
#include "platform/core/Text.h"
#include "platform/core/Window.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/TopLevelWindow.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRebuild.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::NSWindow;

namespace {

// Reported for a shown view, never stored.
constexpr LONG_PTR kVisibleBit = 0x02000000;
// What a native text view answers for its user value.
constexpr LONG_PTR kTextViewUserData = 0xDEADF00B;
constexpr DWORD kButtonKindMask = 0xF;
constexpr int kRadioButton = Swell_vCorvaneBrisko_button::kRadioButton;
constexpr int kRadioGroupStart = Swell_vCorvaneBrisko_button::kRadioGroupStart;

// The style of a native button: its kind in the low bits, WS_GROUP for the first
// radio button of a group.
LONG_PTR buttonStyle(const platform::NSButton* button) {
  if (button->allowsMixedState()) return BS_AUTO3STATE;
  if (auto* radio = dynamic_cast<const SwellRadioButton*>(button)) {
    int flags = radio->swellGetRadioFlags();
    if (flags) return BS_AUTORADIOBUTTON | ((flags & kRadioGroupStart) ? WS_GROUP : 0);
  }
  return BS_AUTOCHECKBOX;
}

LONG_PTR readStyle(NSView* view) {
  LONG_PTR style = view->isHidden() ? 0 : kVisibleBit;
  if (auto* holder = dynamic_cast<SwellStyleHolder*>(view)) {
    style |= static_cast<LONG_PTR>(static_cast<DWORD>(holder->swellGetStyle()) &
                                   ~static_cast<DWORD>(kVisibleBit));
  } else if (auto* button = dynamic_cast<platform::NSButton*>(view)) {
    style |= buttonStyle(button);
  }
  NSWindow* win = view->window();
  if (!swell::isContentView(view)) {
    style |= WS_CHILD;
  } else if (win->styleMask() & platform::NSWindowStyleMaskTitled) {
    style |= WS_CAPTION;
    if (win->styleMask() & platform::NSWindowStyleMaskResizable) style |= WS_THICKFRAME;
  }
  return style;
}

// A button takes a new kind; kinds other than the three check and radio kinds change
// nothing.
void writeButtonStyle(platform::NSButton* button, LONG_PTR value) {
  auto* radio = dynamic_cast<SwellRadioButton*>(button);
  switch (static_cast<DWORD>(value) & kButtonKindMask) {
    case BS_AUTOCHECKBOX:
    case BS_AUTO3STATE:
      button->setButtonType(platform::NSButtonTypeSwitch);
      button->setAllowsMixedState((static_cast<DWORD>(value) & kButtonKindMask) == BS_AUTO3STATE);
      if (radio) radio->swellSetRadioFlags(0);
      break;
    case BS_AUTORADIOBUTTON:
      button->setButtonType(platform::NSButtonTypeRadio);
      button->setAllowsMixedState(false);
      if (radio)
        radio->swellSetRadioFlags(kRadioButton | ((value & WS_GROUP) ? kRadioGroupStart : 0));
      break;
    default:
      break;
  }
}

LONG_PTR writeStyle(NSView* view, LONG_PTR value) {
  if (auto* holder = dynamic_cast<SwellStyleHolder*>(view)) {
    LONG previous = holder->swellGetStyle();
    holder->swellSetStyle(static_cast<LONG>(static_cast<DWORD>(value) & ~kVisibleBit));
    return previous;
  }
  if (auto* button = dynamic_cast<platform::NSButton*>(view)) {
    LONG_PTR previous = readStyle(view);
    writeButtonStyle(button, value);
    return previous;
  }
  if (swell::isContentView(view)) swell::rebuildTopLevelFrame(view, value);
  return 0;
}

// The owner of a top-level window, as the handle of its content view.
LONG_PTR ownerHandle(NSWindow* window) {
  return reinterpret_cast<LONG_PTR>(swell::ownerOf(window));
}

// Moves a top-level window from its owner's list to that of the window of the given
// view (or of the given window) when that window keeps owned windows.
LONG_PTR writeOwner(NSWindow* window, LONG_PTR value) {
  auto* top = dynamic_cast<SwellTopLevelWindow*>(window);
  if (!top) return 0;
  LONG_PTR previous = ownerHandle(window);
  NSObject* given = swell::objectFromHandle(reinterpret_cast<HWND>(value));
  NSWindow* newOwnerWindow = swell::windowOf(given);
  auto* newOwner = dynamic_cast<SwellTopLevelWindow*>(newOwnerWindow);
  if (newOwnerWindow == window) newOwner = nullptr;  // never its own owner
  NSObject* current = top->swellGetOwner();
  NSObject* target = newOwner ? newOwnerWindow : nullptr;
  if (current == target) return previous;
  if (auto* currentTop = dynamic_cast<SwellTopLevelWindow*>(current))
    currentTop->swellRemoveOwnedWindow(window);
  top->swellSetOwner(nullptr);
  if (newOwner) newOwner->swellAddOwnedWindow(window);
  return previous;
}

}  // namespace

LONG_PTR GetWindowLong(HWND hwnd, int index) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return 0;
  auto* data = dynamic_cast<SwellWindowObject*>(view);
  switch (index) {
    case GWL_WNDPROC:
      return data ? reinterpret_cast<LONG_PTR>(data->getSwellWindowProc()) : 0;
    case DWL_DLGPROC:
      return data ? reinterpret_cast<LONG_PTR>(data->getSwellDialogProc()) : 0;
    case GWL_ID:
      return view->tag();
    case GWL_USERDATA:
      if (dynamic_cast<platform::NSText*>(view)) return kTextViewUserData;
      if (auto* button = dynamic_cast<Swell_vCorvaneBrisko_button*>(view))
        return button->getSwellUserData();
      return data ? data->getSwellUserData() : 0;
    case GWL_EXSTYLE:
      if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view))
        return w->swellGetExtendedStyle();
      return 0;
    case GWL_STYLE:
      return readStyle(view);
    case GWL_HWNDPARENT:
      return ownerHandle(view->window());
    default:
      return data ? data->getSwellExtraData(index) : 0;
  }
}

LONG_PTR SetWindowLong(HWND hwnd, int index, LONG_PTR value) {
  NSView* view = swell::windowRule(swell::objectFromHandle(hwnd));
  if (!view) return 0;
  platform::Ref<NSView> keep(view);
  auto* data = dynamic_cast<SwellWindowObject*>(view);
  LONG_PTR previous = 0;
  switch (index) {
    case GWL_WNDPROC:
      if (!data) return 0;
      previous = reinterpret_cast<LONG_PTR>(data->getSwellWindowProc());
      data->setSwellWindowProc(reinterpret_cast<WNDPROC>(value));
      return previous;
    case DWL_DLGPROC:
      if (!data) return 0;
      previous = reinterpret_cast<LONG_PTR>(data->getSwellDialogProc());
      data->setSwellDialogProc(reinterpret_cast<DLGPROC>(value));
      return previous;
    case GWL_ID: {
      previous = view->tag();
      // The id is a 32-bit value.
      long tag = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
      if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view))
        w->setTag(tag);
      else if (auto* control = dynamic_cast<platform::NSControl*>(view))
        control->setTag(tag);
      else
        return 0;
      return previous;
    }
    case GWL_USERDATA:
      if (auto* button = dynamic_cast<Swell_vCorvaneBrisko_button*>(view)) {
        previous = button->getSwellUserData();
        button->setSwellUserData(value);
        return previous;
      }
      if (!data) return 0;
      previous = data->getSwellUserData();
      data->setSwellUserData(value);
      return previous;
    case GWL_EXSTYLE:
      if (auto* w = dynamic_cast<Swell_vCorvaneBrisko_hwnd*>(view)) {
        previous = w->swellGetExtendedStyle();
        w->swellSetExtendedStyle(static_cast<LONG>(value));
      }
      return previous;
    case GWL_STYLE:
      return writeStyle(view, value);
    case GWL_HWNDPARENT:
      return swell::isContentView(view) ? writeOwner(view->window(), value) : 0;
    default:
      if (!data) return 0;
      previous = data->getSwellExtraData(index);
      data->setSwellExtraData(index, value);
      return previous;
  }
}
