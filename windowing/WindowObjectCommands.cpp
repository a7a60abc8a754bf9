#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Application.h"
#include "platform/Button.h"
#include "platform/Menu.h"
#include "platform/Window.h"
#include "windowing/EventSupport.h"
#include "windowing/WindowObject.h"

using platform::NSObject;
using platform::NSView;
using platform::Ref;

namespace {

constexpr int kRadioButtonFlag = 1;
constexpr int kFirstOfGroupFlag = 2;

WPARAM commandParameter(long id, WORD code) {
  return (static_cast<WPARAM>(code) << 16) | (static_cast<std::uint64_t>(id) & 0xFFFFu);
}

// A button of the layer that knows its radio flags, or null.
SwellRadioButton* layerButton(NSView* view) {
  if (!dynamic_cast<platform::NSButton*>(view)) return nullptr;
  return dynamic_cast<SwellRadioButton*>(view);
}

void turnOffRadio(NSView* view) {
  auto* button = dynamic_cast<platform::NSButton*>(view);
  auto* radio = layerButton(view);
  if (button && radio && (radio->swellGetRadioFlags() & kRadioButtonFlag) &&
      button->state() != platform::NSControlStateValueOff)
    button->setState(platform::NSControlStateValueOff);
}

// Clicking a radio button turns the other radio buttons of its group off: the group is
// the run of the layer's buttons around it, from a button marked first of a group up
// to the next such mark. The clicked button keeps the state the click gave it.
void applyRadioGrouping(platform::NSButton* clicked) {
  SwellRadioButton* radio = layerButton(clicked);
  if (!radio || !(radio->swellGetRadioFlags() & kRadioButtonFlag)) return;
  // The parent: a window stands for its content view.
  NSObject* parentObject =
      swell::objectFromHandle(swell::parentHandle(swell::handleFromObject(clicked)));
  auto* parent = dynamic_cast<NSView*>(parentObject);
  if (auto* window = dynamic_cast<platform::NSWindow*>(parentObject))
    parent = window->contentView();
  if (!parent) return;
  std::vector<Ref<NSView>> siblings(parent->subviews().begin(), parent->subviews().end());
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [&](const Ref<NSView>& v) { return v.get() == clicked; });
  if (it == siblings.end()) return;
  auto index = static_cast<std::size_t>(it - siblings.begin());
  if (!(radio->swellGetRadioFlags() & kFirstOfGroupFlag)) {
    for (std::size_t i = index; i-- > 0;) {
      SwellRadioButton* sibling = layerButton(siblings[i].get());
      if (!sibling) break;
      turnOffRadio(siblings[i].get());
      if (sibling->swellGetRadioFlags() & kFirstOfGroupFlag) break;
    }
  }
  for (std::size_t i = index + 1; i < siblings.size(); ++i) {
    SwellRadioButton* sibling = layerButton(siblings[i].get());
    if (!sibling || (sibling->swellGetRadioFlags() & kFirstOfGroupFlag)) break;
    turnOffRadio(siblings[i].get());
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

void Swell_vCorvaneBrisko_hwnd::performAction(int, NSObject* sender) {
  // Every action of a control or menu item targeting the window is a command.
  onSwellCommand(sender);
}

void Swell_vCorvaneBrisko_hwnd::onSwellCommand(NSObject* sender) {
  if (!canDeliver() || !sender || !platform::isLiveObject(sender)) return;
  Ref<NSView> keep(this);
  Ref<NSObject> keepSender(sender);
  LPARAM lParam = reinterpret_cast<LPARAM>(sender);
  if (auto* button = dynamic_cast<platform::NSButton*>(sender); button && layerButton(button)) {
    applyRadioGrouping(button);
    if (canDeliver())
      onSwellMessage(WM_COMMAND, commandParameter(button->tag(), BN_CLICKED), lParam);
    return;
  }
  if (auto* control = dynamic_cast<platform::NSControl*>(sender)) {
    WORD code = isDoubleClickNow() ? 1 : 0;
    onSwellMessage(WM_COMMAND, commandParameter(control->tag(), code), lParam);
    return;
  }
  if (auto* item = dynamic_cast<platform::NSMenuItem*>(sender)) {
    onSwellMessage(WM_COMMAND, commandParameter(item->tag(), 0), lParam);
    return;
  }
}

void Swell_vCorvaneBrisko_hwnd::menuNeedsUpdate(platform::NSMenu* menu) {
  if (canDeliver()) onSwellMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
}
