#pragma once

#include <vector>

#include "framework/IPlugEditorDelegate.h"

namespace iplug {

// The plug-in side of the editor delegate: it takes the parameter changes and gestures the
// user interface makes, sets the parameters and tells the application through OnParamChange.
// The delegate is a virtual base, so an application can also be the graphics core's editor
// delegate over the one parameter list.
class IPlugAPIBase : public virtual IEditorDelegate {
 public:
  explicit IPlugAPIBase(int nParams);

  // Sets a parameter from the user interface side, then calls OnParamChange. A bad index or a
  // NaN value is ignored.
  void SetParameterValueFromUI(int paramIdx, double normalizedValue) override;
  // Gestures may nest; an End without a Begin is tolerated and leaves the depth at 0. A bad
  // index is ignored.
  void BeginInformHostOfParamChangeFromUI(int paramIdx) override;
  void EndInformHostOfParamChangeFromUI(int paramIdx) override;

  // How many gestures are open on a parameter (0 for a bad index).
  int GetGestureDepth(int paramIdx) const;

 protected:
  // Called after the user interface changed a parameter.
  virtual void OnParamChange(int paramIdx) {}

 private:
  std::vector<int> mGestureDepth;
};

}  // namespace iplug
