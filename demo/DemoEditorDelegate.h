#pragma once

#include "framework/IPlugAPIBase.h"

namespace demo {

// An editor delegate with one parameter of every kind, several not starting at 0.
//
// | index | type   | range     | step       | default | label | display texts                 |
// |-------|--------|-----------|------------|---------|-------|-------------------------------|
// | 0     | enum   | 0..3      | 1          | 0       |       | "Off", "Low", "Mid", "High"   |
// | 1     | bool   | 0..1      | 1          | 0       |       | "Bypassed", "Active"          |
// | 2     | int    | 0..127    | 1          | 64      |       |                               |
// | 3     | double | -12..12   | 0.1        | 0       | "dB"  |                               |
// | 4     | double | 1..1000   | (none)     | 10      | "ms"  |                               |
// | 5     | int    | 1..16     | 1          | 1       |       |                               |
// | 6     | enum   | 3..6      | 1          | 4       |       | "three", "four", "five", "six" |
// | 7     | double | 0..100    | 5, stepped | 50      | "%"   |                               |
class DemoEditorDelegate : public iplug::IPlugAPIBase {
 public:
  enum EParams {
    kParamEnum = 0,
    kParamBool,
    kParamInt,
    kParamGain,
    kParamTime,
    kParamIntOffset,
    kParamEnumOffset,
    kParamPercentStepped,
    kNumParams
  };

  DemoEditorDelegate();
};

// Declares the demo parameters of the table above on a delegate of kNumParams.
void DeclareDemoParams(iplug::IEditorDelegate& delegate);

}  // namespace demo
