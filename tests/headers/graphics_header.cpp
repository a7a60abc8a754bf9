// A program of the graphics core: a control of its own, and the editor (its application's
// parameters aside) that makes the desktop form of the graphics context and lays it out.
#include "graphics/Graphics.h"

#include "NoDrawingLibraries.h"

using namespace iplug::igraphics;

class SketchSwatch : public IControl {
 public:
  explicit SketchSwatch(const IRECT& bounds) : IControl(bounds) {}
  void Draw(IGraphics& g) override { g.FillRect(COLOR_BLUE, mRECT); }
};

class SketchEditor : public IGEditorDelegate {
 public:
  SketchEditor() : IGEditorDelegate(0) {}

 protected:
  std::unique_ptr<IGraphicsMac> CreateGraphics() override {
    return std::make_unique<IGraphicsMac>(*this, 100, 50);
  }
  void LayoutUI(IGraphics& g) override { g.AttachControl(new SketchSwatch(g.GetBounds())); }
};
