#include "controls/ISVGSwitchControl.h"

#include <algorithm>

#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

ISVGSwitchControl::ISVGSwitchControl(const IRECT& bounds, std::initializer_list<ISVG> images,
                                     int paramIdx, IActionFunction action)
    : ISwitchControlBase(bounds, paramIdx, std::move(action), static_cast<int>(images.size())),
      mSVGs(images) {}

int ISVGSwitchControl::ImageIndex() const {
  if (mSVGs.empty()) return -1;
  const double pos = static_cast<double>(std::max(mNumStates - 1, 0)) * GetValue() + 0.5;
  const int last = static_cast<int>(mSVGs.size()) - 1;
  if (!(pos >= 0.)) return 0;  // a NaN value shows the first state
  return pos >= static_cast<double>(last) ? last : static_cast<int>(pos);
}

void ISVGSwitchControl::Draw(IGraphics& g) {
  const int idx = ImageIndex();
  if (idx < 0) return;
  const ISVG& image = mSVGs[static_cast<std::size_t>(idx)];
  if (image.IsValid()) g.DrawSVG(image, mRECT, &mBlend);
}

}  // namespace igraphics
}  // namespace iplug
