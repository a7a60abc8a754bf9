#pragma once

#include <memory>

#include "framework/IPlugEditorDelegate.h"
#include "graphics/IGraphicsMac.h"

namespace iplug {
namespace igraphics {

// The editor delegate of a screen drawn by the graphics core: while its window is open it owns
// the graphics context, which CreateGraphics makes and LayoutUI fills with controls. The
// parameter list is a virtual base, so an application can be this and the framework's
// application base at once over one list.
class IGEditorDelegate : public virtual IEditorDelegate {
 public:
  explicit IGEditorDelegate(int nParams);
  ~IGEditorDelegate() override;

  // Makes the graphics context, lays out its controls and opens it in the parent (a live
  // platform view or window). Returns the editor's view; null, with nothing kept, when the
  // context cannot be made or the parent takes no view. An open editor is closed first.
  void* OpenWindow(void* parent) override;
  // Closes the editor's view and deletes the graphics context and its controls; closed from
  // one of the editor's own events, the context is deleted when that event returns.
  void CloseWindow() override;
  // True while the editor handles an event, and until a context closed during one is deleted.
  bool EditorIsHandlingEvent() const override;

  // The graphics context while the editor is open, else null.
  IGraphicsMac* GetUI() const { return mGraphics.get(); }

 protected:
  // The application's graphics factory: a context of the editor's size, not yet open.
  virtual std::unique_ptr<IGraphicsMac> CreateGraphics() = 0;
  // The application's layout: attaches the controls to the new context.
  virtual void LayoutUI(IGraphics& g) = 0;

 private:
  std::unique_ptr<IGraphicsMac> mGraphics;
  // Contexts closed during an event and not yet deleted; shared with their release, which may
  // come after this delegate is gone.
  std::shared_ptr<int> mReleasingContexts = std::make_shared<int>(0);
};

}  // namespace igraphics
}  // namespace iplug
