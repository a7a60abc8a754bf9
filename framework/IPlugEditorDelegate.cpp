#include "framework/IPlugEditorDelegate.h"

#include <cmath>

namespace iplug {

IEditorDelegate::IEditorDelegate(int nParams) {
  const size_t count = nParams > 0 ? static_cast<size_t>(nParams) : 0;
  mParams.reserve(count);
  for (size_t i = 0; i < count; ++i)
    mParams.push_back(std::make_unique<IParam>());
  mGestureDepth.assign(count, 0);
}

IEditorDelegate::~IEditorDelegate() = default;

IParam* IEditorDelegate::GetParam(int idx) {
  return idx >= 0 && idx < NParams() ? mParams[static_cast<size_t>(idx)].get() : nullptr;
}

const IParam* IEditorDelegate::GetParam(int idx) const {
  return idx >= 0 && idx < NParams() ? mParams[static_cast<size_t>(idx)].get() : nullptr;
}

void IEditorDelegate::SetParameterValueFromUI(int paramIdx, double normalizedValue) {
  IParam* param = GetParam(paramIdx);
  if (!param || std::isnan(normalizedValue)) return;
  param->SetNormalized(normalizedValue);
  OnParamChangeUI(paramIdx);
}

void IEditorDelegate::BeginInformHostOfParamChangeFromUI(int paramIdx) {
  if (GetParam(paramIdx)) ++mGestureDepth[static_cast<size_t>(paramIdx)];
}

void IEditorDelegate::EndInformHostOfParamChangeFromUI(int paramIdx) {
  if (!GetParam(paramIdx)) return;
  int& depth = mGestureDepth[static_cast<size_t>(paramIdx)];
  if (depth > 0) --depth;
}

int IEditorDelegate::GetGestureDepth(int paramIdx) const {
  return GetParam(paramIdx) ? mGestureDepth[static_cast<size_t>(paramIdx)] : 0;
}

}  // namespace iplug
