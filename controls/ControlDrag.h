#pragma once

// The value arithmetic that the knob and slider bases share: how far a drag moves the value,
// how a stepped parameter quantises it, and what one wheel notch does. Kept apart from the
// controls so that the rules are written once.

#include "framework/IPlugParameter.h"
#include "graphics/IGraphicsStructs.h"

namespace iplug {
namespace igraphics {

// Wheel increments of an unstepped value, per unit of wheel delta.
inline constexpr double kWheelStep = 0.01;
inline constexpr double kWheelFineStep = 0.001;
// Fine adjustment divides the pointer's effect by this much.
inline constexpr double kFineGearingFactor = 10.0;

// Shift or Control held: the fine adjustment of the dragging controls.
inline bool IsFineAdjust(const IMouseMod& mod) {
  return mod.S || mod.C;
}

// The value change of a drag of dX, dY over bounds: the full range 0..1 takes gearing lengths of
// the bounds along the direction (upwards raises a vertical value). fine multiplies the gearing
// by kFineGearingFactor. False when the drag gives no finite change (an extent or gearing of 0,
// a non-finite delta): the caller then changes nothing.
bool DragIncrement(float dX, float dY, EDirection direction, const IRECT& bounds, double gearing,
                   bool fine, double& increment);

// The normalised value as the parameter can hold it: for a stepped parameter with a positive
// step, taken to real units, rounded to the step, clamped and normalised again; otherwise the
// value itself. A null parameter leaves the value as it is.
double QuantiseToParam(const IParam* param, double normalized);

// True when the parameter is stepped with a positive step.
bool IsSteppedParam(const IParam* param);

// The value after a wheel delta d: one step of a stepped parameter per event (the sign of d
// chooses the direction), else d x kWheelStep (kWheelFineStep when fine). Not clamped to 0..1
// for an unstepped value; the caller's SetDirty clamps.
double WheelValue(const IParam* param, double normalized, float d, bool fine);

}  // namespace igraphics
}  // namespace iplug
