// The panel, LED and bitmap controls drawn by the Cairo-drawing graphics context: the pixels they
// leave.

#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/Controls.h"
#include "graphics/IGraphicsNanoVG.h"
#include "support/ControlTestFixture.h"

using namespace iplug::igraphics;

namespace {

bool Near(const IColor& a, const IColor& b, int tolerance = 3) {
  return std::abs(a.A - b.A) <= tolerance && std::abs(a.R - b.R) <= tolerance &&
         std::abs(a.G - b.G) <= tolerance && std::abs(a.B - b.B) <= tolerance;
}

class PanelBitmapPixels : public testsupport::ControlTestFixture<IGraphicsNanoVG, 120, 80> {
 protected:
  PanelBitmapPixels() {
    IGraphicsNanoVG::AddResourcePath(TEST_RESOURCES_DIR);
    g.AttachControl(new IPanelControl(g.GetBounds(), COLOR_WHITE));
  }
};

TEST_F(PanelBitmapPixels, AnLEDLightsItsCentreAndGlowsAroundItOnlyWhenLit) {
  auto* lit = Attach(new ILEDControl(IRECT(0, 0, 60, 60), 0.5f));
  Attach(new ILEDControl(IRECT(60, 0, 120, 60), 0.5f));
  lit->SetValue(1.);
  lit->SetDirty(false);
  g.DrawFrame();
  // The light is 30 across; its glow reaches 24.75 from the centre.
  EXPECT_TRUE(Near(g.GetPixel(30, 30), IColor::FromHSLA(0.5f, 1.f, 0.65f, 1.f), 6));
  // The glow is the light's cyan thinning out over white: green and blue stay full.
  const IColor glow = g.GetPixel(30, 8);
  EXPECT_LT(glow.R, 240) << "the glow";
  EXPECT_GE(glow.G, 250) << "the glow fades without turning grey";
  EXPECT_GE(glow.B, 250);
  EXPECT_EQ(g.GetPixel(30, 2), COLOR_WHITE) << "outside the glow";
  EXPECT_EQ(g.GetPixel(90, 30), COLOR_BLACK);
  EXPECT_EQ(g.GetPixel(90, 8), COLOR_WHITE) << "a dark LED has no glow";
}

TEST_F(PanelBitmapPixels, ASwitchShowsTheFrameOfItsValue) {
  const IBitmap sw = g.LoadBitmap("switch3.png", 3);
  ASSERT_TRUE(sw.IsValid());
  auto* c = Attach(new IBSwitchControl(10, 10, sw));
  ASSERT_EQ(c->GetRECT(), IRECT(10, 10, 50, 30));
  c->SetValue(0.5);
  c->SetDirty(false);
  g.DrawFrame();
  // The knob sits in the middle in amber.
  EXPECT_TRUE(Near(g.GetPixel(30, 20), IColor(255, 240, 180, 0)));
  c->OnMouseDown(30, 20, IMouseMod(true));
  g.DrawFrame();
  EXPECT_TRUE(Near(g.GetPixel(40, 20), IColor(255, 40, 180, 60))) << "green, at the right";
}

TEST_F(PanelBitmapPixels, BitmapTextInksItsCharactersAndAMissingFontNothing) {
  const IBitmap font = g.LoadBitmap("font.png", 96);
  Attach(new IBTextControl(IRECT(0, 0, 60, 20), font, IText(14.f, EAlign::Near), "I", 8, 12));
  Attach(new IBTextControl(IRECT(60, 0, 120, 20), g.LoadBitmap("missing_font.png", 96),
                           IText(14.f, EAlign::Near), "IIII", 8, 12));
  Attach(new IBitmapControl(0, 40, g.LoadBitmap("missing_picture.png")));
  g.DrawFrame();
  // The top bar of "I" spans the glyph's first two pixel rows, from x 1 to 6.
  EXPECT_TRUE(Near(g.GetPixel(3, 5), IColor(255, 30, 40, 90)));
  int inked = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 60; x < 120; ++x)
      inked += g.GetPixel(x, y) != COLOR_WHITE;
  }
  EXPECT_EQ(inked, 0);
}

}  // namespace
