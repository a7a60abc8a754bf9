#include "controls/ControlDrag.h"

#include <algorithm>
#include <cmath>

namespace iplug {
namespace igraphics {

bool DragIncrement(float dX, float dY, EDirection direction, const IRECT& bounds, double gearing,
                   bool fine, double& increment) {
  const double g = fine ? gearing * kFineGearingFactor : gearing;
  // Screen y grows downwards, so a vertical drag divides by top - bottom: up raises the value.
  const double delta = direction == EDirection::Horizontal
                           ? static_cast<double>(dX) / (static_cast<double>(bounds.R) - bounds.L)
                           : static_cast<double>(dY) / (static_cast<double>(bounds.T) - bounds.B);
  const double result = delta / g;
  if (!std::isfinite(result)) return false;
  increment = result;
  return true;
}

bool IsSteppedParam(const IParam* param) {
  return param && param->GetStepped() && param->GetStep() > 0.;
}

double QuantiseToParam(const IParam* param, double normalized) {
  if (!IsSteppedParam(param)) return normalized;
  // ToNormalized rounds to the step, clamps to the range and to 0..1.
  return param->ToNormalized(param->FromNormalized(normalized));
}

double WheelValue(const IParam* param, double normalized, float d, bool fine) {
  if (d == 0.f) return normalized;
  if (IsSteppedParam(param)) {
    const double current = param->Constrain(param->FromNormalized(normalized));
    const double step = param->GetStep();
    return param->ToNormalized(d > 0.f ? current + step : current - step);
  }
  return normalized + static_cast<double>(d) * (fine ? kWheelFineStep : kWheelStep);
}

}  // namespace igraphics
}  // namespace iplug
