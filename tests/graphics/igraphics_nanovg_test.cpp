// End-to-end pixels: controls attached to the Cairo-drawing graphics context, one frame drawn,
// the surface read back.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "controls/Controls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using testsupport::LoggingControl;

namespace {

const IColor kRed(255, 255, 0, 0), kBlue(255, 0, 0, 255);

// Draws past its own rectangle on every side.
class Spilling : public IControl {
 public:
  using IControl::IControl;
  void Draw(IGraphics& g) override { g.FillRect(kBlue, mRECT.GetPadded(20.f)); }
};

class NanoVGPixels : public testsupport::ControlTestFixture<IGraphicsNanoVG, 100, 80> {
 protected:
};

TEST_F(NanoVGPixels, AControlPaintsItsRectangleAndNothingElse) {
  g.AttachControl(new LoggingControl(IRECT(10, 10, 30, 30), kNoParameter, kRed));
  ASSERT_TRUE(g.DrawFrame());
  EXPECT_EQ(g.GetPixel(20, 20), kRed);
  EXPECT_EQ(g.GetPixel(5, 5).A, 0);
  EXPECT_EQ(g.GetPixel(30, 20).A, 0);  // the right edge is outside
}

TEST_F(NanoVGPixels, DrawingIsClippedToTheControlsRectangle) {
  g.AttachControl(new Spilling(IRECT(40, 40, 60, 60)));
  g.DrawFrame();
  EXPECT_EQ(g.GetPixel(50, 50), kBlue);
  EXPECT_EQ(g.GetPixel(35, 50).A, 0);
  EXPECT_EQ(g.GetPixel(50, 65).A, 0);
}

TEST_F(NanoVGPixels, AHiddenControlLeavesNoTraceAndTheOneBelowShowsAgain) {
  g.AttachControl(new LoggingControl(IRECT(0, 0, 100, 80), kNoParameter, kRed));
  IControl* top = g.AttachControl(new LoggingControl(IRECT(20, 20, 40, 40), kNoParameter, kBlue));
  g.DrawFrame();
  ASSERT_EQ(g.GetPixel(30, 30), kBlue);
  top->Hide(true);
  g.DrawFrame();
  EXPECT_EQ(g.GetPixel(30, 30), kRed);

  g.RemoveAllControls();
  g.AttachControl(new LoggingControl(IRECT(50, 50, 60, 60), kNoParameter, kBlue))->Hide(true);
  g.DrawFrame();
  EXPECT_EQ(g.GetPixel(55, 55).A, 0);
}

TEST_F(NanoVGPixels, ADisabledControlIsDrawnAtAQuarterOfItsOpacity) {
  IControl* c = g.AttachControl(new LoggingControl(IRECT(0, 0, 20, 20), kNoParameter, kRed));
  c->SetDisabled(true);
  g.DrawFrame();
  EXPECT_NEAR(g.GetPixel(10, 10).A, 64, 2);
}

TEST_F(NanoVGPixels, PressableShapesAndTextReachTheSurface) {
  struct Button : IControl, IVectorBase {
    Button(const IRECT& r) : IControl(r), IVectorBase(DEFAULT_STYLE.WithShowValue(false)) {
      AttachIControl(this, "Go");
    }
    void Draw(IGraphics& g) override {
      DrawBackground(g, mRECT);
      DrawLabel(g);
      DrawPressableShape(g, kVShapeEllipse, mWidgetBounds, false, false, false);
    }
    void OnResize() override { SetTargetRECT(MakeRects(mRECT)); }
  };
  auto* b = static_cast<Button*>(g.AttachControl(new Button(IRECT(0, 0, 100, 80))));
  g.DrawFrame();
  const IRECT w = b->GetWidgetBounds();
  EXPECT_GT(w.T, 0.f);  // the measured label took the top strip
  EXPECT_EQ(g.GetPixel(static_cast<int>(w.MW()), static_cast<int>(w.MH())), DEFAULT_FGCOLOR);
  int inked = 0;
  const IRECT l = b->GetLabelBounds();
  for (int y = static_cast<int>(l.T); y < static_cast<int>(l.B); ++y)
    for (int x = static_cast<int>(l.L); x < static_cast<int>(l.R); ++x)
      inked += g.GetPixel(x, y).A > 0;
  EXPECT_GT(inked, 10);
}

}  // namespace
