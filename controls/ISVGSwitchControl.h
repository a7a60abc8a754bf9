#pragma once

// A switch drawn with one SVG image per state, in state order.

#include <initializer_list>
#include <vector>

#include "controls/ISwitchControlBase.h"

namespace iplug {
namespace igraphics {

class ISVGSwitchControl : public ISwitchControlBase {
 public:
  // As many states as images, unless a bound parameter's range gives another count.
  ISVGSwitchControl(const IRECT& bounds, std::initializer_list<ISVG> images,
                    int paramIdx = kNoParameter, IActionFunction action = nullptr);
  ~ISVGSwitchControl() override = default;

  // States beyond the last image show the last image; with no images nothing is drawn.
  void Draw(IGraphics& g) override;

  // The image shown for the current value, or -1 for none.
  int ImageIndex() const;

 private:
  std::vector<ISVG> mSVGs;
};

}  // namespace igraphics
}  // namespace iplug
