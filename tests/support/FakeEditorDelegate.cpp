#include "support/FakeEditorDelegate.h"

namespace testsupport {

void FakeEditorDelegate::SetParameterValueFromUI(int paramIdx, double normalizedValue) {
  mCalls.push_back({Call::kSetValue, paramIdx, normalizedValue});
  DemoEditorDelegate::SetParameterValueFromUI(paramIdx, normalizedValue);
}

void FakeEditorDelegate::BeginInformHostOfParamChangeFromUI(int paramIdx) {
  mCalls.push_back({Call::kBegin, paramIdx, 0.0});
  DemoEditorDelegate::BeginInformHostOfParamChangeFromUI(paramIdx);
}

void FakeEditorDelegate::EndInformHostOfParamChangeFromUI(int paramIdx) {
  mCalls.push_back({Call::kEnd, paramIdx, 0.0});
  DemoEditorDelegate::EndInformHostOfParamChangeFromUI(paramIdx);
}

}  // namespace testsupport
