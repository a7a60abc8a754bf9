// Pixel tests of gradient stops with transparency: colours fade as their alpha does, never
// through the colour of a transparent stop.

#include "cairo_test_util.h"

namespace {

using namespace cairo_test;

// A half-covered red over white: red at full strength, the others halfway to white.
const IColor kHalfRedOverWhite(255, 255, 128, 128);

TEST(CairoGradientAlpha, AFadeToTransparentBlackKeepsItsColourAsItFades) {
  CairoPainter p(100, 10);
  StartWhite(p);
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(
      IPattern::CreateLinearGradient(0, 0, 100, 0, {{COLOR_RED, 0.f}, {COLOR_TRANSPARENT, 1.f}}));
  // Blending red with black would darken the middle to (191, 128, 128).
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 5), kHalfRedOverWhite, 6));
  EXPECT_TRUE(ColorNear(p.GetPixel(0, 5), COLOR_RED, 6));
  EXPECT_TRUE(ColorNear(p.GetPixel(99, 5), COLOR_WHITE, 6));

  // Transparent at the start, and a radial glow as the LED draws it.
  StartWhite(p);
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(
      IPattern::CreateLinearGradient(0, 0, 100, 0, {{COLOR_TRANSPARENT, 0.f}, {COLOR_RED, 1.f}}));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 5), kHalfRedOverWhite, 6));

  CairoPainter glow(100, 100);
  StartWhite(glow);
  glow.PathRect(IRECT(0, 0, 100, 100));
  glow.PathFill(
      IPattern::CreateRadialGradient(50, 50, 40, {{COLOR_RED, 0.f}, {COLOR_TRANSPARENT, 1.f}}));
  EXPECT_TRUE(ColorNear(glow.GetPixel(70, 50), kHalfRedOverWhite, 6));
}

TEST(CairoGradientAlpha, ATransparentStopBetweenTwoColoursFadesIntoEachOfThem) {
  CairoPainter p(100, 10);
  StartWhite(p);
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(IPattern::CreateLinearGradient(
      0, 0, 100, 0, {{COLOR_RED, 0.f}, {COLOR_TRANSPARENT, 0.5f}, {COLOR_BLUE, 1.f}}));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 5), kHalfRedOverWhite, 6));
  EXPECT_TRUE(ColorNear(p.GetPixel(75, 5), IColor(255, 128, 128, 255), 6));
}

TEST(CairoGradientAlpha, PartlyTransparentStopsBlendByTheirWeight) {
  // Opaque red to quarter-opaque blue: halfway, the coverage is 5/8 and red outweighs blue four
  // to one.
  CairoPainter p(100, 10);
  p.BeginFrame();
  p.Clear(COLOR_TRANSPARENT);
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(IPattern::CreateLinearGradient(0, 0, 100, 0,
                                            {{COLOR_RED, 0.f}, {IColor(64, 0, 0, 255), 1.f}}));
  // Read back unpremultiplied: alpha 0.625 x 255, red 0.8 x 255, blue 0.2 x 255.
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 5), IColor(159, 204, 0, 51), 6));
  // Nearer the red end: alpha 0.77, red 0.9, blue 0.1.
  EXPECT_TRUE(ColorNear(p.GetPixel(30, 5), IColor(197, 230, 0, 25), 6));
}

}  // namespace
