#pragma once

#include <vector>

#include "framework/IPlugEditorDelegate.h"

// An editor delegate with one parameter of every kind, several not starting at 0, that records
// every call the user-interface side makes on it, in order.
//
// | index | type   | range     | step       | default | label | display texts                 |
// |-------|--------|-----------|------------|---------|-------|-------------------------------|
// | 0     | enum   | 0..3      | 1          | 0       |       | "Off", "Low", "Mid", "High"   |
// | 1     | bool   | 0..1      | 1          | 0       |       | "Bypassed", "Active"          |
// | 2     | int    | 0..127    | 1          | 64      |       |                               |
// | 3     | double | -12..12   | 0.1        | 0       | "dB"  |                               |
// | 4     | double | 1..1000   | (none)     | 10      | "ms"  |                               |
// | 5     | int    | 20..40    | 1          | 30      |       |                               |
// | 6     | enum   | 3..6      | 1          | 4       |       | "three", "four", "five", "six" |
// | 7     | double | 0..100    | 5, stepped | 50      | "%"   |                               |
class FakeEditorDelegate : public iplug::IEditorDelegate {
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

  struct Call {
    enum EKind { kSetValue, kBegin, kEnd };
    EKind kind;
    int paramIdx;
    double value;  // the normalised value of kSetValue; 0 for the others

    bool operator==(const Call&) const = default;
  };

  FakeEditorDelegate();

  void SetParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;

  // Every call so far, oldest first (bad indices included, as the caller made them).
  const std::vector<Call>& Calls() const { return mCalls; }
  void ClearCalls() { mCalls.clear(); }
  // Calls to OnParamChangeUI, that is, changes the delegate accepted.
  const std::vector<int>& AcceptedChanges() const { return mAccepted; }

 protected:
  void OnParamChangeUI(int paramIdx) override { mAccepted.push_back(paramIdx); }

 private:
  std::vector<Call> mCalls;
  std::vector<int> mAccepted;
};
