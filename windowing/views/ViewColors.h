#pragma once

#include <vector>

#include "platform/objects/Color.h"

// The text and selection colours of the layer's list and tree views. Selection colours
// come in pairs of background and text: 0 and 1 with the keyboard focus, 2 and 3
// without it.
class SwellViewColors {
 public:
  virtual ~SwellViewColors() = default;
  virtual const std::vector<platform::NSColor>& swellSelectionColors() const = 0;
  virtual void swellSetSelectionColors(std::vector<platform::NSColor> colors) = 0;
  virtual void swellSetTextColor(platform::NSColor color) = 0;
};
