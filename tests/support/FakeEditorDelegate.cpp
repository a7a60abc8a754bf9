#include "support/FakeEditorDelegate.h"

namespace testsupport {

void FakeEditorDelegate::SetParameterValueFromUI(int paramIdx, double normalizedValue) {
  mCalls.push_back({Call::kSetValue, paramIdx, normalizedValue});
  IEditorDelegate::SetParameterValueFromUI(paramIdx, normalizedValue);
}

void FakeEditorDelegate::BeginInformHostOfParamChangeFromUI(int paramIdx) {
  mCalls.push_back({Call::kBegin, paramIdx, 0.0});
  IEditorDelegate::BeginInformHostOfParamChangeFromUI(paramIdx);
}

void FakeEditorDelegate::EndInformHostOfParamChangeFromUI(int paramIdx) {
  mCalls.push_back({Call::kEnd, paramIdx, 0.0});
  IEditorDelegate::EndInformHostOfParamChangeFromUI(paramIdx);
}

}  // namespace testsupport
