#include "windowing/controls/ControlMessages.h"

namespace swell {

namespace {
bool emulateControlMessage(platform::NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) {
  if (!object || !result) return false;
  return emulateButtonMessage(object, msg, wParam, lParam, result) ||
         emulateComboMessage(object, msg, wParam, lParam, result) ||
         emulateSliderMessage(object, msg, wParam, lParam, result) ||
         emulateEditMessage(object, msg, wParam, lParam, result);
}
}  // namespace

void installControlEmulation() {
  setControlMessageEmulation(emulateControlMessage);
}

}  // namespace swell
