// Renders the controls of the library into a PNG and prints the file's path.

#include <cstdio>
#include <string>

#include "GalleryControls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/FakeEditorDelegate.h"

using namespace iplug::igraphics;
using namespace gallery;

namespace {

constexpr int kWidth = 560;
constexpr int kHeight = 320;

void AttachShapes(IGraphics& g, FakeEditorDelegate& dlg) {
  const IVStyle style =
      DEFAULT_STYLE.WithRoundness(0.3f).WithColor(kBG, IColor(255, 225, 225, 225));
  const char* names[] = {"Rectangle", "Ellipse", "Triangle", "Top round"};
  const IRECT row(20, 20, 540, 140);
  for (int i = 0; i < 4; ++i) {
    auto* c = new ShapeControl(row.SubRect(EDirection::Horizontal, 4, i).GetPadded(-6.f), names[i],
                               i, style, FakeEditorDelegate::kParamGain + (i % 2));
    g.AttachControl(c, kNoTag, "shapes");
  }
  // The same rectangle in its other looks.
  const char* looks[] = {"Pressed", "Hovered", "Disabled"};
  const IRECT looksRow(20, 150, 300, 260);
  for (int i = 0; i < 3; ++i) {
    auto* c =
        new ShapeControl(looksRow.SubRect(EDirection::Horizontal, 3, i).GetPadded(-6.f), looks[i],
                         IVectorBase::kVShapeAllRounded, style.WithShowValue(false));
    g.AttachControl(c, kNoTag, "looks");
    if (i == 0) c->SetPressed(true);
    if (i == 1) c->SetMouseOver(true);
    if (i == 2) c->SetDisabled(true);
  }
  (void)dlg;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "gallery.png";

  FakeEditorDelegate dlg;
  IGraphicsNanoVG g(dlg, kWidth, kHeight);
  g.AttachControl(new PanelControl(g.GetBounds(), IColor(255, 245, 245, 240)));
  AttachShapes(g, dlg);
  g.AttachControl(new MeterControl(IRECT(20, 270, 300, 300), FakeEditorDelegate::kParamInt));
  g.AttachControl(new PlotControl(IRECT(320, 160, 540, 300)));

  // Values as they would arrive from the parameters.
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamGain, -3.5, false);
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamTime, 250.0, false);
  g.SendParameterValueFromDelegate(FakeEditorDelegate::kParamInt, 90.0, false);

  g.DrawFrame();
  if (!g.WritePNG(path.c_str())) {
    std::fprintf(stderr, "gallery: cannot write %s\n", path.c_str());
    return 1;
  }
  std::printf("%s\n", path.c_str());
  return 0;
}
