#include <algorithm>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/Button.h"
#include "platform/core/Menu.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/Slider.h"
#include "platform/core/Text.h"
#include "platform/core/Window.h"
#include "windowing/core/ControlButton.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowObject.h"
#include "windowing/core/detail/WindowApiRules.h"

using platform::NSObject;
using platform::NSView;
using platform::Ref;

namespace {

// A radio-capable button of the layer, as the grouping sees its siblings.
struct RadioSibling {
  platform::NSButton* button = nullptr;
  int flags = 0;
};

RadioSibling radioSibling(NSView* view) {
  auto* radio = dynamic_cast<SwellRadioButton*>(view);
  auto* button = dynamic_cast<platform::NSButton*>(view);
  if (!radio || !button) return {};
  return {button, radio->swellGetRadioFlags()};
}

void turnOffRadio(const RadioSibling& sibling) {
  if ((sibling.flags & SwellRadioButton::kRadioButton) &&
      sibling.button->state() != platform::NSControlStateValueOff)
    sibling.button->setState(platform::NSControlStateValueOff);
}

// Clicking a radio button turns the other radio buttons of its group off: the group is
// the run of the layer's buttons around it, from a button marked first of a group up
// to the next such mark. The clicked button keeps the state the click gave it.
void applyRadioGrouping(Swell_vCorvaneBrisko_button* clicked) {
  int flags = clicked->swellGetRadioFlags();
  if (!(flags & SwellRadioButton::kRadioButton)) return;
  // The parent: a window stands for its content view.
  NSView* parent = swell::windowRule(swell::parentOf(clicked));
  if (!parent) return;
  std::vector<Ref<NSView>> siblings(parent->subviews().begin(), parent->subviews().end());
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [&](const Ref<NSView>& v) { return v.get() == clicked; });
  if (it == siblings.end()) return;
  auto index = static_cast<std::size_t>(it - siblings.begin());
  if (!(flags & SwellRadioButton::kRadioGroupStart)) {
    for (std::size_t i = index; i-- > 0;) {
      RadioSibling sibling = radioSibling(siblings[i].get());
      if (!sibling.button) break;
      turnOffRadio(sibling);
      if (sibling.flags & SwellRadioButton::kRadioGroupStart) break;
    }
  }
  for (std::size_t i = index + 1; i < siblings.size(); ++i) {
    RadioSibling sibling = radioSibling(siblings[i].get());
    if (!sibling.button || (sibling.flags & SwellRadioButton::kRadioGroupStart)) break;
    turnOffRadio(sibling);
  }
}

// A double click on a control is reported as code 1.
bool isDoubleClickNow() {
  const platform::NSEvent* e = platform::NSApp()->currentEvent();
  return e &&
         (e->type == platform::NSEventTypeLeftMouseDown ||
          e->type == platform::NSEventTypeLeftMouseUp) &&
         e->clickCount >= 2;
}

}  // namespace

void Swell_vCorvaneBrisko_hwnd::sendCommand(long id, WORD code, NSObject* control) {
  if (!canDeliver()) return;
  onSwellMessage(WM_COMMAND, swell::makeWParam(id, code), reinterpret_cast<LPARAM>(control));
}

void Swell_vCorvaneBrisko_hwnd::performAction(int action, NSObject* sender) {
  if (action == kSwellDoubleClickAction) {
    swellOnControlDoubleClick(sender);
    return;
  }
  // Every other action of a control or menu item that targets the window is a command.
  onSwellCommand(sender);
}

void Swell_vCorvaneBrisko_hwnd::onSwellCommand(NSObject* sender) {
  if (!canDeliver() || !sender || !platform::isLiveObject(sender)) return;
  Ref<NSView> keep(this);
  Ref<NSObject> keepSender(sender);
  if (auto* slider = dynamic_cast<platform::NSSlider*>(sender)) {
    onSwellMessage(WM_HSCROLL, 0, reinterpret_cast<LPARAM>(slider));
  } else if (dynamic_cast<platform::NSComboBox*>(sender)) {
    // Combo boxes report through their delegate methods.
  } else if (auto* popup = dynamic_cast<platform::NSPopUpButton*>(sender)) {
    sendCommand(popup->tag(), CBN_SELCHANGE, popup);
  } else if (auto* button = dynamic_cast<Swell_vCorvaneBrisko_button*>(sender)) {
    applyRadioGrouping(button);
    sendCommand(button->tag(), BN_CLICKED, button);
  } else if (auto* control = dynamic_cast<platform::NSControl*>(sender)) {
    sendCommand(control->tag(), isDoubleClickNow() ? 1 : 0, control);
  } else if (auto* item = dynamic_cast<platform::NSMenuItem*>(sender)) {
    sendCommand(item->tag(), 0, item);
  }
}

void Swell_vCorvaneBrisko_hwnd::menuNeedsUpdate(platform::NSMenu* menu) {
  if (canDeliver()) onSwellMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
}

void Swell_vCorvaneBrisko_hwnd::comboBoxWillPopUp(platform::NSComboBox* combo) {
  Ref<NSView> keep(this);
  sendCommand(combo->tag(), CBN_DROPDOWN, combo);
}

void Swell_vCorvaneBrisko_hwnd::comboBoxWillDismiss(platform::NSComboBox* combo) {
  Ref<NSView> keep(this);
  sendCommand(combo->tag(), CBN_CLOSEUP, combo);
}

void Swell_vCorvaneBrisko_hwnd::comboBoxSelectionDidChange(platform::NSComboBox* combo) {
  Ref<NSView> keep(this);
  // The layer's combo box remembers the index it last reported, so a selection that
  // changes nothing is not reported again.
  if (auto* cbox = dynamic_cast<Swell_vCorvaneBrisko_cbox*>(combo)) {
    int selected = cbox->indexOfSelectedItem();
    if (selected == cbox->m_ignore_selchg) return;
    cbox->m_ignore_selchg = selected;
  }
  sendCommand(combo->tag(), CBN_SELCHANGE, combo);
}

void Swell_vCorvaneBrisko_hwnd::controlTextDidChange(platform::NSControl* control) {
  Ref<NSView> keep(this);
  bool combo = dynamic_cast<platform::NSComboBox*>(control) != nullptr;
  sendCommand(control->tag(), combo ? CBN_EDITCHANGE : EN_CHANGE, control);
}

void Swell_vCorvaneBrisko_hwnd::controlTextDidEndEditing(platform::NSControl* control) {
  Ref<NSView> keep(this);
  sendCommand(control->tag(), EN_KILLFOCUS, control);
}

void Swell_vCorvaneBrisko_hwnd::textDidEndEditing(platform::NSText* text) {
  Ref<NSView> keep(this);
  sendCommand(text->tag(), EN_CHANGE, text);
  sendCommand(text->tag(), EN_KILLFOCUS, text);
}
