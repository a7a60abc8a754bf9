#include "graphics/IGEditorDelegate.h"

#include "base/Log.h"
#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

IGEditorDelegate::IGEditorDelegate(int nParams) : IEditorDelegate(nParams) {}

IGEditorDelegate::~IGEditorDelegate() {
  CloseWindow();
  if (*mReleasingContexts > 0)
    base::warn("graphics",
               "IGEditorDelegate deleted while its editor handles an event; its controls may "
               "still reach it");
}

void* IGEditorDelegate::OpenWindow(void* parent) {
  CloseWindow();
  std::unique_ptr<IGraphicsMac> graphics = CreateGraphics();
  if (!graphics) {
    base::warn("graphics", "OpenWindow: the application made no graphics context");
    return nullptr;
  }
  LayoutUI(*graphics);
  // The controls start from the parameters' current values, not from their own defaults.
  graphics->ForAllControlsFunc([this](IControl* control) {
    for (int valIdx = 0; valIdx < control->NVals(); ++valIdx)
      if (const IParam* param = GetParam(control->GetParamIdx(valIdx)))
        control->SetValueFromDelegate(param->GetNormalized(), valIdx);
  });
  void* view = graphics->OpenWindow(parent);
  // A context that could not open is deleted with its controls rather than kept half open.
  if (view) mGraphics = std::move(graphics);
  return view;
}

void IGEditorDelegate::CloseWindow() {
  if (!mGraphics) return;
  mGraphics->CloseWindow();
  // Closed from one of its own events, the context lives on until that event returns.
  ++*mReleasingContexts;
  IGraphics::Release(std::move(mGraphics), [count = mReleasingContexts] { --*count; });
}

bool IGEditorDelegate::EditorIsHandlingEvent() const {
  return (mGraphics && mGraphics->IsHandlingEvent()) || *mReleasingContexts > 0;
}

}  // namespace igraphics
}  // namespace iplug
