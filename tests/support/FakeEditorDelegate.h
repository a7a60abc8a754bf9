#pragma once

#include <vector>

#include "demo/DemoEditorDelegate.h"

namespace testsupport {

// The demo delegate, with one parameter of every kind, that also records every call the
// user-interface side makes on it, in order.
class FakeEditorDelegate : public demo::DemoEditorDelegate {
 public:
  struct Call {
    enum EKind { kSetValue, kBegin, kEnd };
    EKind kind;
    int paramIdx;
    double value;  // the normalised value of kSetValue; 0 for the others

    bool operator==(const Call&) const = default;
  };

  FakeEditorDelegate() : IEditorDelegate(kNumParams) {}

  void SetParameterValueFromUI(int paramIdx, double normalizedValue) override;
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;

  // Every call so far, oldest first (bad indices included, as the caller made them).
  const std::vector<Call>& Calls() const { return mCalls; }
  void ClearCalls() { mCalls.clear(); }
  // Calls to OnParamChange, that is, changes the delegate accepted.
  const std::vector<int>& AcceptedChanges() const { return mAccepted; }

 protected:
  void OnParamChange(int paramIdx) override { mAccepted.push_back(paramIdx); }

 private:
  std::vector<Call> mCalls;
  std::vector<int> mAccepted;
};

}  // namespace testsupport
