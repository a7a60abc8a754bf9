#include "demo/DemoEditorDelegate.h"

namespace demo {

using iplug::IParam;

DemoEditorDelegate::DemoEditorDelegate() : IEditorDelegate(kNumParams), IPlugAPIBase(kNumParams) {
  DeclareDemoParams(*this);
}

void DeclareDemoParams(iplug::IEditorDelegate& delegate) {
  using P = DemoEditorDelegate;
  delegate.GetParam(P::kParamEnum)->InitEnum("Mode", 0, {"Off", "Low", "Mid", "High"});
  delegate.GetParam(P::kParamBool)->InitBool("Power", false, "", 0, "", "Bypassed", "Active");
  delegate.GetParam(P::kParamInt)->InitInt("Note", 64, 0, 127);
  delegate.GetParam(P::kParamGain)->InitDouble("Gain", 0.0, -12.0, 12.0, 0.1, "dB");
  delegate.GetParam(P::kParamTime)->InitDouble("Time", 10.0, 1.0, 1000.0, 0.0, "ms");
  delegate.GetParam(P::kParamIntOffset)->InitInt("Channel", 1, 1, 16);
  IParam* offsetEnum = delegate.GetParam(P::kParamEnumOffset);
  offsetEnum->Init(IParam::kTypeEnum, "Count", 4.0, 3.0, 6.0, 1.0);
  const char* names[] = {"three", "four", "five", "six"};
  for (int i = 0; i < 4; ++i)
    offsetEnum->SetDisplayText(3 + i, names[i]);
  delegate.GetParam(P::kParamPercentStepped)
      ->InitDouble("Mix", 50.0, 0.0, 100.0, 5.0, "%", IParam::kFlagStepped);
}

}  // namespace demo
