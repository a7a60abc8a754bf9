#include "framework/IPlugAPIBase.h"

#include <cmath>

namespace iplug {

// The parameter list, a virtual base, is made before this part.
IPlugAPIBase::IPlugAPIBase(int nParams)
    : IEditorDelegate(nParams), mGestureDepth(static_cast<std::size_t>(NParams()), 0) {}

void IPlugAPIBase::SetParameterValueFromUI(int paramIdx, double normalizedValue) {
  IParam* param = GetParam(paramIdx);
  if (!param || std::isnan(normalizedValue)) return;
  param->SetNormalized(normalizedValue);
  OnParamChange(paramIdx);
}

void IPlugAPIBase::BeginInformHostOfParamChangeFromUI(int paramIdx) {
  if (GetParam(paramIdx)) ++mGestureDepth[static_cast<std::size_t>(paramIdx)];
}

void IPlugAPIBase::EndInformHostOfParamChangeFromUI(int paramIdx) {
  if (!GetParam(paramIdx)) return;
  int& depth = mGestureDepth[static_cast<std::size_t>(paramIdx)];
  if (depth > 0) --depth;
}

int IPlugAPIBase::GetGestureDepth(int paramIdx) const {
  return GetParam(paramIdx) ? mGestureDepth[static_cast<std::size_t>(paramIdx)] : 0;
}

}  // namespace iplug
