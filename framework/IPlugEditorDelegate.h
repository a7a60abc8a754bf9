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

  // What the user interface does to a parameter: sets it (normalised), and brackets a
  // gesture on it. The plug-in side (IPlugAPIBase) answers them.
  virtual void SetParameterValueFromUI(int paramIdx, double normalizedValue) = 0;
  virtual void BeginInformHostOfParamChangeFromUI(int paramIdx) = 0;
  virtual void EndInformHostOfParamChangeFromUI(int paramIdx) = 0;

  // The editor's screen. A delegate with a screen opens it in the parent (a platform view or
  // window) and returns its view; this one has none and returns null.
  virtual void* OpenWindow(void* parent) { return nullptr; }
  // Closes what OpenWindow opened; nothing when nothing is open.
  virtual void CloseWindow() {}
  // True while the editor's screen is handling one of its events (a menu or dialog loop may be
  // running under it): the delegate must not be deleted until it returns.
  virtual bool EditorIsHandlingEvent() const { return false; }

 private:
  std::vector<std::unique_ptr<IParam>> mParams;
};

}  // namespace iplug
