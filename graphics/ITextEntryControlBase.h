#pragma once

// What the graphics core asks of the in-interface text-entry control. The control itself
// derives from this; the graphics core keeps the one it creates apart from its control list.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class ITextEntryControlBase : public IControl {
 public:
  using IControl::IControl;

  // Begins editing str over bounds in the given style. The typed text comes back through
  // IGraphics::SetControlValueAfterTextEdit.
  virtual void StartTextEntry(int paramIdx, const IText& text, const IRECT& bounds, int length,
                              const char* str) = 0;
  // True while an edit is in progress: the graphics core then sends it every mouse and key event.
  virtual bool EditInProgress() const = 0;
  // Ends the edit without a result.
  virtual void DismissEdit() = 0;
};

}  // namespace igraphics
}  // namespace iplug
