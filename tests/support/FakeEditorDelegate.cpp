#include "FakeEditorDelegate.h"

using iplug::IParam;

FakeEditorDelegate::FakeEditorDelegate() : IEditorDelegate(kNumParams) {
  GetParam(kParamEnum)->InitEnum("Mode", 0, {"Off", "Low", "Mid", "High"});
  GetParam(kParamBool)->InitBool("Power", false, "", 0, "", "Bypassed", "Active");
  GetParam(kParamInt)->InitInt("Note", 64, 0, 127);
  GetParam(kParamGain)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  GetParam(kParamTime)->InitDouble("Time", 10.0, 1.0, 1000.0, 0.0, "ms");
  GetParam(kParamIntOffset)->InitInt("Channel", 30, 20, 40);
  IParam* offsetEnum = GetParam(kParamEnumOffset);
  offsetEnum->Init(IParam::kTypeEnum, "Count", 4.0, 3.0, 6.0, 1.0);
  const char* names[] = {"three", "four", "five", "six"};
  for (int i = 0; i < 4; ++i)
    offsetEnum->SetDisplayText(3 + i, names[i]);
  GetParam(kParamPercentStepped)
      ->InitDouble("Mix", 50.0, 0.0, 100.0, 5.0, "%", IParam::kFlagStepped);
}

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
