#include "controls/DefaultControlFactories.h"

#include <memory>

#include "controls/IBubbleControl.h"
#include "controls/IPopupMenuControl.h"
#include "controls/ITextEntryControl.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

void InstallDefaultControlFactories() {
  IGraphics::SetPopupMenuControlFactory([](const IText& text, const IRECT& bounds) {
    return std::make_unique<IPopupMenuControl>(kNoParameter, text, IRECT(), bounds);
  });
  IGraphics::SetTextEntryControlFactory([] { return std::make_unique<ITextEntryControl>(); });
  IGraphics::SetBubbleControlFactory([] { return std::make_unique<IBubbleControl>(); });
}

}  // namespace igraphics
}  // namespace iplug
