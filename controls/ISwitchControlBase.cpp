#include "controls/ISwitchControlBase.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "base/Log.h"

namespace iplug {
namespace igraphics {

ISwitchControlBase::ISwitchControlBase(const IRECT& bounds, int paramIdx, IActionFunction action,
                                       int numStates)
    : IControl(bounds, paramIdx, std::move(action)), mNumStates(numStates) {
  // A list that cannot be had leaves every state enabled (GetStateDisabled reads false).
  if (bool* flags = mDisabledState.Resize(numStates > 0 ? numStates : 0))
    std::memset(flags, 0, static_cast<size_t>(mDisabledState.GetSize()) * sizeof(bool));
  SetDirty(false);
  mDblAsSingleClick = true;
}

void ISwitchControlBase::OnInit() {
  const IParam* param = GetParam(0);
  if (!param) return;
  // One state per whole unit of the range. A range too large for an int is capped: stepping by
  // state index stays exact in 64-bit arithmetic for any int count.
  const double range = std::floor(param->GetMax() - param->GetMin());
  if (!(range < static_cast<double>(INT_MAX) - 1.0)) {
    base::warn("controls",
               "ISwitchControlBase: parameter \"%s\" has too large a range for a switch; %d states",
               param->GetName(), INT_MAX);
    mNumStates = INT_MAX;
  } else {
    mNumStates = static_cast<int>(range) + 1;
  }
  ResizeStateFlags();
}

void ISwitchControlBase::ResizeStateFlags() {
  const int oldSize = mDisabledState.GetSize();
  const int newSize = std::min(mNumStates, kMaxStateFlags);
  if (newSize == oldSize) return;
  bool* flags = mDisabledState.Resize(newSize);
  if (!flags || mDisabledState.GetSize() != newSize) {
    // The old list stays: its states keep their flags and the rest stay enabled.
    base::warn("controls", "ISwitchControlBase: no room for %d state flags; %d kept", newSize,
               oldSize);
    return;
  }
  // Flags already set keep their states; new states start enabled.
  for (int i = oldSize; i < newSize; ++i)
    flags[i] = false;
}

double ISwitchControlBase::NextStateValue(double value, int numStates) {
  if (numStates == 2) return value == 0. ? 1. : 0.;  // only exactly 0 turns on
  if (numStates < 2) return 0.;
  // Stepping by index, not by adding 1 / (n - 1): added fractions round away from the exact
  // state values and a switch of many states would wrap before reaching its last.
  const int64_t last = numStates - 1;
  const double scaled = std::round((std::isfinite(value) ? std::clamp(value, 0., 1.) : 0.) * last);
  const int64_t next = (static_cast<int64_t>(scaled) + 1) % numStates;
  return static_cast<double>(next) / static_cast<double>(last);
}

int ISwitchControlBase::GetSelectedIdx() const {
  if (mNumStates < 2) return 0;
  const double v = GetValue(0);
  return static_cast<int>(std::round((std::isfinite(v) ? std::clamp(v, 0., 1.) : 0.) *
                                     (static_cast<double>(mNumStates) - 1.)));
}

void ISwitchControlBase::OnMouseDown(float x, float y, const IMouseMod& mod) {
  SetValue(NextStateValue(GetValue(0), mNumStates), 0);
  mMouseDown = true;
  SetDirty(true);
}

void ISwitchControlBase::OnMouseUp(float x, float y, const IMouseMod& mod) {
  mMouseDown = false;
  SetDirty(false);
}

void ISwitchControlBase::SetStateDisabled(int stateIdx, bool disabled) {
  if (stateIdx >= 0 && stateIdx < mNumStates && stateIdx < mDisabledState.GetSize())
    mDisabledState.Get()[stateIdx] = disabled;
  SetDirty(false);
}

void ISwitchControlBase::SetAllStatesDisabled(bool disabled) {
  const int n = std::min(mNumStates, mDisabledState.GetSize());
  for (int i = 0; i < n; ++i)
    mDisabledState.Get()[i] = disabled;
  SetDirty(false);
}

bool ISwitchControlBase::GetStateDisabled(int stateIdx) const {
  if (stateIdx < 0 || stateIdx >= mNumStates || stateIdx >= mDisabledState.GetSize()) return false;
  return mDisabledState.Get()[stateIdx];
}

}  // namespace igraphics
}  // namespace iplug
