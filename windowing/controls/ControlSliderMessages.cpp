#include <climits>
#include <cmath>

#include "platform/core/Slider.h"
#include "windowing/controls/ControlMessages.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSObject;
using platform::NSSlider;
using platform::Ref;

namespace {

// The position a value stands for: the nearest integer, kept within int. Rounding down
// from value + 0.5 keeps a negative whole position as it was set (truncating would
// read -42 back as -41).
int position(const NSSlider* slider) {
  double v = std::floor(slider->doubleValue() + 0.5);
  return v <= INT_MIN ? INT_MIN : v >= INT_MAX ? INT_MAX : static_cast<int>(v);
}

NSObject* resolve(HWND hwnd, int idx) {
  return swell::objectFromHandle(GetDlgItem(hwnd, idx));
}

// Sends to a control with its own procedure; a slider's answer is its own affair.
LRESULT sendToEntry(NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* entry = dynamic_cast<SwellMessageEntry*>(object);
  if (!entry) return 0;
  Ref<NSObject> keep(object);
  return entry->onSwellMessage(msg, wParam, lParam);
}

// The low and high words of a TBM_SETRANGE or SWELL_TB_SetRange to a custom control.
LPARAM packRange(int low, int high) {
  return swell::makeLParam(low, high);
}

}  // namespace

int SWELL_TB_GetPos(HWND hwnd, int idx) {
  NSObject* object = resolve(hwnd, idx);
  if (auto* slider = dynamic_cast<NSSlider*>(object)) return position(slider);
  return static_cast<int>(sendToEntry(object, TBM_GETPOS, 0, 0));
}

void SWELL_TB_SetPos(HWND hwnd, int idx, int pos) {
  NSObject* object = resolve(hwnd, idx);
  if (auto* slider = dynamic_cast<NSSlider*>(object))
    slider->setDoubleValue(pos);
  else
    sendToEntry(object, TBM_SETPOS, 1, pos);
}

void SWELL_TB_SetRange(HWND hwnd, int idx, int low, int high) {
  NSObject* object = resolve(hwnd, idx);
  if (auto* slider = dynamic_cast<NSSlider*>(object)) {
    slider->setMinValue(low);
    slider->setMaxValue(high);
  } else {
    sendToEntry(object, TBM_SETRANGE, 1, packRange(low, high));
  }
}

void SWELL_TB_SetTic(HWND hwnd, int idx, int pos) {
  sendToEntry(resolve(hwnd, idx), TBM_SETTIC, 0, pos);
}

namespace swell {

bool emulateSliderMessage(NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                          LRESULT* result) {
  if (msg < TBM_GETPOS || msg > TBM_SETRANGE) return false;
  auto* slider = dynamic_cast<NSSlider*>(object);
  if (!slider) return false;
  switch (msg) {
    case TBM_GETPOS:
      *result = position(slider);
      break;
    case TBM_SETTIC:
      *result = 1;
      break;
    case TBM_SETPOS:
      slider->setDoubleValue(static_cast<std::int32_t>(static_cast<std::uint64_t>(lParam)));
      *result = 1;
      break;
    case TBM_SETRANGE: {
      slider->setMinValue(static_cast<double>(swell::loWord(lParam)));
      slider->setMaxValue(static_cast<double>(swell::hiWord(lParam)));
      *result = 1;
      break;
    }
    default:
      *result = 0;
      break;
  }
  return true;
}

}  // namespace swell
