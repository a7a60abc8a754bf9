#pragma once

// A passive fill of a rectangle with a pattern (a solid colour unless replaced), optionally
// framed. The editor's screen uses one as its background, and the pattern is read back when the
// editor closes, so it is held as a plain copyable record.

#include "graphics/IControl.h"

namespace iplug {
namespace igraphics {

class IPanelControl : public IControl {
 public:
  // The frame's colour, whatever the fill.
  static constexpr IColor kFrameColor = COLOR_LIGHT_GRAY;

  IPanelControl(const IRECT& bounds, const IColor& color, bool drawFrame = false);

  // Drawn without the control's blend: disabling a panel does not dim it.
  void Draw(IGraphics& g) override;

  const IPattern& GetPattern() const { return mPattern; }
  void SetPattern(const IPattern& pattern) {
    mPattern = pattern;
    SetDirty(false);
  }
  bool GetDrawFrame() const { return mDrawFrame; }

 private:
  IPattern mPattern;
  bool mDrawFrame;
};

}  // namespace igraphics
}  // namespace iplug
