#include "windowing/views/ProgressBarObject.h"

#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowObject.h"

LRESULT Swell_vCorvaneBrisko_progind::onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // Positions are signed: a step of -1 moves back one instead of to 4294967295.
  const int position = static_cast<int>(static_cast<std::uint32_t>(wParam));
  switch (msg) {
    case PBM_SETRANGE:
      setMinValue(swell::loWord(static_cast<std::uint64_t>(lParam)));
      setMaxValue(swell::hiWord(static_cast<std::uint64_t>(lParam)));
      break;
    case PBM_SETPOS:
      setDoubleValue(position);
      stopAnimation();
      break;
    case PBM_DELTAPOS:
      incrementBy(position);
      break;
    default:
      break;
  }
  return 0;
}
