// A program of the control library: a layout of its controls, with the library's popup-menu
// and text-entry controls installed into the graphics core.
#include "controls/Controls.h"

#include "NoDrawingLibraries.h"

using namespace iplug::igraphics;

void LayOutSketch(IGraphics& g) {
  InstallDefaultControlFactories();
  const IRECT bounds = g.GetBounds();
  g.AttachControl(
      new IVKnobControl(bounds.SubRect(EDirection::Horizontal, 2, 0), kNoParameter, "Knob"));
  g.AttachControl(
      new IVSliderControl(bounds.SubRect(EDirection::Horizontal, 2, 1), kNoParameter, "Slider"));
}
