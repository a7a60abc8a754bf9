#pragma once

// A control that steps through a number of states, one per click, wrapping from the last state
// to the first. State i of n has the value i / (n - 1). Bound to a parameter, the switch takes
// its state count from the parameter's range when attached, and its list of disabled flags
// follows. Derived controls draw it and decide what a disabled state means.

#include "framework/WDLHeapBuf.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class ISwitchControlBase : public IControl {
 public:
  // Granularity of the list of state disabled flags.
  static constexpr int kStateFlagsGranularity = 4096;
  // States beyond this many have no disabled flag and are always enabled: no layout shows that
  // many, and the list would take memory in proportion to a parameter's range.
  static constexpr int kMaxStateFlags = 1024;

  ISwitchControlBase(const IRECT& bounds, int paramIdx = kNoParameter,
                     IActionFunction action = nullptr, int numStates = 2);

  void OnInit() override;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override;
  void OnMouseUp(float x, float y, const IMouseMod& mod) override;

  // Marks a state as one the user cannot pick; the control is redrawn in every case.
  void SetStateDisabled(int stateIdx, bool disabled);
  void SetAllStatesDisabled(bool disabled);
  // False for an index outside the states or the flag list.
  bool GetStateDisabled(int stateIdx) const;

  int GetNumStates() const { return mNumStates; }
  // The state the value stands for: round(value x (n - 1)), 0 with fewer than two states.
  int GetSelectedIdx() const;
  bool GetMouseDown() const { return mMouseDown; }

 protected:
  // The value after one click from value with n states.
  static double NextStateValue(double value, int numStates);
  // One flag per state, up to kMaxStateFlags, keeping the flags of the states there were.
  void ResizeStateFlags();

  int mNumStates;
  WDL_TypedBuf<bool> mDisabledState{kStateFlagsGranularity};
  bool mMouseDown = false;
};

}  // namespace igraphics
}  // namespace iplug
