#pragma once

#include <memory>
#include <vector>

#include "framework/IPlugParameter.h"

namespace iplug {

// The editor's side of the parameters: owns the parameter list the controls reach by index and
// receives the changes and gestures the user makes on them.
class IEditorDelegate {
 public:
  // Makes nParams parameters (none for a negative count), each of type kTypeNone until
  // initialised.
  explicit IEditorDelegate(int nParams);
  virtual ~IEditorDelegate();
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  // The parameter at idx, or null for a negative or out-of-range index.
  IParam* GetParam(int idx);
  const IParam* GetParam(int idx) const;
  int NParams() const { return static_cast<int>(mParams.size()); }

  // Sets a parameter from the user interface side, then calls OnParamChangeUI. A bad index or a
  // NaN value is ignored.
  virtual void SetParameterValueFromUI(int paramIdx, double normalizedValue);
  // Bracket a user gesture on a parameter. Gestures may nest; an End without a Begin is
  // tolerated and leaves the depth at 0. A bad index is ignored.
  virtual void BeginInformHostOfParamChangeFromUI(int paramIdx);
  virtual void EndInformHostOfParamChangeFromUI(int paramIdx);

  // How many gestures are open on a parameter (0 for a bad index).
  int GetGestureDepth(int paramIdx) const;

  // The editor's screen. A delegate with a screen opens it in the parent (a platform view or
  // window) and returns its view; this one has none and returns null.
  virtual void* OpenWindow(void* parent) { return nullptr; }
  // Closes what OpenWindow opened; nothing when nothing is open.
  virtual void CloseWindow() {}
  // True while the editor's screen is handling one of its events (a menu or dialog loop may be
  // running under it): the delegate must not be deleted until it returns.
  virtual bool EditorIsHandlingEvent() const { return false; }

 protected:
  // Called after the user interface changed a parameter.
  virtual void OnParamChangeUI(int paramIdx) {}

 private:
  std::vector<std::unique_ptr<IParam>> mParams;
  std::vector<int> mGestureDepth;
};

}  // namespace iplug
