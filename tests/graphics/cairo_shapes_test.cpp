// Pixel tests of CairoPainter's shapes, clip, transforms, blends and gradients.

#include <cmath>
#include <limits>

#include "base/detail/TestHooks.h"
#include "cairo_test_util.h"

namespace {

using namespace cairo_test;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

TEST(CairoSurface, SizeInPixelsFollowsScaleAndBadSizesAreRefused) {
  CairoPainter p(50, 30, 2.f);
  EXPECT_EQ(p.PixelWidth(), 100);
  EXPECT_EQ(p.PixelHeight(), 60);
  StartWhite(p);
  p.FillRect(COLOR_RED, IRECT(10, 10, 20, 20));
  // Point (10, 10) is pixel (20, 20) at scale 2.
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(19, 19), COLOR_WHITE));

  EXPECT_FALSE(p.Resize(-1, 10, 1.f));
  EXPECT_FALSE(p.Resize(10, 10, kNaN));
  EXPECT_FALSE(p.Resize(10, 10, 0.f));
  EXPECT_FALSE(p.Resize(100000, 10, 1.f));
  EXPECT_EQ(p.PixelWidth(), 100);  // unchanged after a refusal
  EXPECT_TRUE(p.Resize(20, 10, 1.f));
  EXPECT_EQ(p.PixelWidth(), 20);
  EXPECT_TRUE(ColorNear(p.GetPixel(-1, 0), COLOR_TRANSPARENT));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 0), COLOR_TRANSPARENT));
}

TEST(CairoClip, ClipLimitsDrawingAndAnEmptyRectRemovesIt) {
  CairoPainter p(40, 40);
  StartWhite(p);
  p.PathClipRegion(IRECT(10, 10, 20, 20));
  p.FillRect(COLOR_RED, IRECT(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(15, 15), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 25), COLOR_WHITE));

  p.PathClipRegion(IRECT());
  p.FillRect(COLOR_BLUE, IRECT(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_BLUE));

  // A rectangle without area hides everything rather than being taken as its mirror image.
  p.PathClipRegion(IRECT(30, 30, 10, 10));
  p.FillRect(COLOR_GREEN, IRECT(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_BLUE));
  // SetClipRect takes even the all-zero rectangle as one without area.
  p.ResetClip();
  p.SetClipRect(IRECT());
  p.FillRect(COLOR_GREEN, IRECT(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_BLUE));
  p.ResetClip();
  p.FillRect(COLOR_GREEN, IRECT(0, 0, 40, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_GREEN));
}

TEST(CairoClip, ClipKeepsThePathBeingBuilt) {
  CairoPainter p(40, 40);
  StartWhite(p);
  p.PathRect(IRECT(0, 0, 40, 40));
  p.PathClipRegion(IRECT(0, 0, 20, 40));
  p.PathFill(COLOR_RED);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 10), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(30, 10), COLOR_WHITE));
}

TEST(CairoTransform, SaveRestoreCoversTransformAndClipAndIgnoresExtraRestores) {
  CairoPainter p(40, 40);
  StartWhite(p);
  p.PathTransformSave();
  p.PathTransformTranslate(20, 20);
  p.PathClipRegion(IRECT(0, 0, 10, 10));
  p.FillRect(COLOR_RED, IRECT(0, 0, 40, 40));
  p.PathTransformRestore();
  p.PathTransformRestore();  // unbalanced: ignored
  p.PathTransformRestore();
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 25), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(35, 35), COLOR_WHITE));

  p.FillRect(COLOR_BLUE, IRECT(0, 0, 5, 5));  // back at the origin, unclipped
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), COLOR_BLUE));
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
}

TEST(CairoTransform, PositiveRotationTurnsClockwise) {
  CairoPainter p(40, 40);
  StartWhite(p);
  // A bar pointing right from the centre, turned 90 degrees, points down.
  p.PathTransformTranslate(20, 20);
  p.PathTransformRotate(90.f);
  p.FillRect(COLOR_RED, IRECT(0, -2, 15, 2));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 30), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(30, 20), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 10), COLOR_WHITE));
}

TEST(CairoTransform, TransformsThatCannotBeInvertedAreRefused) {
  CairoPainter p(20, 20);
  StartWhite(p);
  base::LogCapture logs;
  p.PathTransformScale(0.f);
  p.PathTransformScale(kNaN, 1.f);
  p.PathTransformRotate(std::numeric_limits<float>::infinity());
  p.PathTransformMatrix(IMatrix(1, 2, 2, 4, 0, 0));
  EXPECT_GT(logs.count(), 0u);
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  p.FillRect(COLOR_RED, IRECT(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_RED));
}

TEST(CairoSurface, APainterWithoutASurfaceDrawsNothingAndSaysSo) {
  CairoPainter p(-5, 10);
  EXPECT_FALSE(p.IsValid());
  p.BeginFrame();
  p.FillRect(COLOR_RED, IRECT(0, 0, 10, 10));
  p.DrawText(IText(), "text", IRECT(0, 0, 10, 10));
  EXPECT_FALSE(p.StartLayer(IRECT(0, 0, 10, 10)));
  p.EndFrame();
  EXPECT_FALSE(p.WritePNG("/tmp/never_written.png"));
  EXPECT_TRUE(p.Resize(10, 10, 1.f));
  EXPECT_TRUE(p.IsValid());
}

TEST(CairoSurface, AContextCairoHasFailedIsReplacedAtTheNextFrame) {
  CairoPainter p(20, 20);
  StartWhite(p);
  cairo_scale(p.GetContext(), 0.0, 0.0);  // a caller of the raw context breaks it
  ASSERT_NE(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  StartWhite(p);
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  p.FillRect(COLOR_RED, IRECT(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_RED));
}

TEST(CairoPath, NonFiniteCoordinatesDropThePathButNotTheContext) {
  CairoPainter p(20, 20);
  StartWhite(p);
  p.PathMoveTo(0, 0);
  p.PathLineTo(kNaN, 10);
  p.PathLineTo(20, 20);
  p.PathLineTo(0, 20);
  p.PathFill(COLOR_RED);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 15), COLOR_WHITE));
  p.FillRect(COLOR_BLUE, IRECT(0, 0, 20, 20));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 15), COLOR_BLUE));

  p.FillCircle(COLOR_RED, kNaN, 5, 5);
  p.DrawLine(COLOR_RED, 0, 0, 20, 20, nullptr, kNaN);
  p.DrawArc(COLOR_RED, 10, 10, 5, kNaN, 90);
  const IBlend nanWeight(EBlend::Default, kNaN);
  p.FillRect(COLOR_RED, IRECT(0, 0, 20, 20), &nanWeight);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 10), COLOR_BLUE));
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
}

TEST(CairoPath, UnusableDashStrokesSolidWithoutBreakingTheContext) {
  CairoPainter p(20, 20);
  StartWhite(p);
  IStrokeOptions options;
  options.mDashCount = 2;
  options.mDashArray[0] = -1.f;
  options.mDashArray[1] = 2.f;
  p.PathMoveTo(0, 10);
  p.PathLineTo(20, 10);
  p.PathStroke(COLOR_RED, 2.f, options);
  options.mDashArray[0] = 0.f;
  options.mDashArray[1] = 0.f;
  p.PathMoveTo(0, 5);
  p.PathLineTo(20, 5);
  p.PathStroke(COLOR_RED, 2.f, options);
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 10), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 5), COLOR_RED));
}

TEST(CairoPath, PreserveKeepsThePathForAStroke) {
  CairoPainter p(40, 40);
  StartWhite(p);
  IFillOptions keep;
  keep.mPreserve = true;
  p.PathRect(IRECT(10, 10, 30, 30));
  p.PathFill(COLOR_BLUE, keep);
  p.PathStroke(COLOR_RED, 4.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 20), COLOR_RED));
  // The stroke consumed the path: a further fill draws nothing.
  p.PathFill(COLOR_GREEN);
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_BLUE));
}

TEST(CairoPath, EvenOddLeavesTheInnerRectangleOpen) {
  CairoPainter p(40, 40);
  StartWhite(p);
  IFillOptions evenOdd;
  evenOdd.mFillRule = EFillRule::EvenOdd;
  p.PathRect(IRECT(0, 0, 40, 40));
  p.PathRect(IRECT(10, 10, 30, 30));
  p.PathFill(COLOR_RED, evenOdd);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 20), COLOR_WHITE));
}

TEST(CairoArc, AnglesStartAtTwelveOClockAndRunClockwise) {
  CairoPainter p(100, 100);
  StartWhite(p);
  // A quarter from 0 to 90 degrees covers the top-right quadrant of the circle only.
  p.DrawArc(COLOR_RED, 50, 50, 40, 0.f, 90.f, nullptr, 6.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(50 + 28, 50 - 28), COLOR_RED, 40));  // at 45 degrees
  EXPECT_TRUE(ColorNear(p.GetPixel(52, 10), COLOR_RED, 40));            // just after 12
  EXPECT_TRUE(ColorNear(p.GetPixel(50 - 28, 50 - 28), COLOR_WHITE));    // top left
  EXPECT_TRUE(ColorNear(p.GetPixel(50 + 28, 50 + 28), COLOR_WHITE));    // bottom right

  // Counter-clockwise from 0 to 270 is the top-left quarter.
  StartWhite(p);
  p.PathArc(50, 50, 40, 0.f, 270.f, EWinding::CCW);
  p.PathStroke(COLOR_BLUE, 6.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(50 - 28, 50 - 28), COLOR_BLUE, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(50 + 28, 50 - 28), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(50 - 28, 50 + 28), COLOR_WHITE));
}

TEST(CairoArc, HugeSpansTraceOneCircle) {
  CairoPainter p(100, 100);
  StartWhite(p);
  p.DrawArc(COLOR_RED, 50, 50, 40, 0.f, 1e9f, nullptr, 4.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 50), COLOR_RED, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(90, 50), COLOR_RED, 40));
}

TEST(CairoLines, NormalisedPositionsCountXFromTheLeftAndYFromTheBottom) {
  CairoPainter p(100, 100);
  StartWhite(p);
  const IRECT r(0, 0, 100, 100);
  p.DrawVerticalLine(COLOR_RED, r, 0.25f, nullptr, 2.f);
  p.DrawHorizontalLine(COLOR_BLUE, r, 0.25f, nullptr, 2.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 10), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(60, 75), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(60, 25), COLOR_WHITE));
  // Positions outside 0..1 stay on the rectangle's edge.
  StartWhite(p);
  p.DrawVerticalLine(COLOR_RED, IRECT(10, 10, 90, 90), 7.f, nullptr, 2.f);
  EXPECT_EQ(FindInk(p, COLOR_WHITE).right, 90);
}

TEST(CairoLines, GridDrawsInnerLinesAndDataBreaksAtMissingPoints) {
  CairoPainter p(100, 100);
  StartWhite(p);
  p.DrawGrid(COLOR_RED, IRECT(0, 0, 100, 100), 25.f, 50.f, nullptr, 2.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 10), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(75, 10), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 50), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 25), COLOR_WHITE));
  // A step of nothing draws nothing and does not spin.
  StartWhite(p);
  p.DrawGrid(COLOR_RED, IRECT(0, 0, 100, 100), 0.f, kNaN);
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());

  StartWhite(p);
  const float ys[] = {0.5f, 0.5f, kNaN, 0.5f, 0.5f};
  p.DrawData(COLOR_BLUE, IRECT(0, 0, 100, 100), ys, 5, nullptr, nullptr, 2.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(12, 50), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(88, 50), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), COLOR_WHITE));  // the gap around the NaN
}

TEST(CairoShapes, RoundRectCornersAreCutAndRadiiAreLimited) {
  CairoPainter p(100, 100);
  StartWhite(p);
  p.FillRoundRect(COLOR_RED, IRECT(0, 0, 100, 100), 30.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 1), COLOR_RED));
  // A radius beyond half the side makes a circle, not a bow-tie.
  StartWhite(p);
  p.FillRoundRect(COLOR_RED, IRECT(0, 0, 100, 100), 500.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 10), COLOR_WHITE));
  // Per-corner radii: only the top left is round.
  StartWhite(p);
  p.PathRoundRect(IRECT(0, 0, 100, 100), 40.f, 0.f, 0.f, 0.f);
  p.PathFill(COLOR_RED);
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(98, 1), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(1, 98), COLOR_RED));
}

TEST(CairoShapes, OutlinesStrokeTheEdgeOnly) {
  CairoPainter p(100, 100);
  StartWhite(p);
  p.DrawCircle(COLOR_RED, 50, 50, 40, nullptr, 4.f);
  p.DrawTriangle(COLOR_BLUE, 30, 60, 70, 60, 50, 30, nullptr, 2.f);
  p.DrawRoundRect(COLOR_GREEN, IRECT(5, 5, 95, 95), 0.f, 0.f, 20.f, 0.f, nullptr, 2.f);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 50), COLOR_RED, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 60), COLOR_BLUE, 40));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 95), COLOR_GREEN, 40));   // square corner
  EXPECT_TRUE(ColorNear(p.GetPixel(94, 94), COLOR_WHITE, 40));  // cut corner
}

TEST(CairoShapes, EllipseAndTriangleFillTheirShapes) {
  CairoPainter p(100, 50);
  StartWhite(p);
  p.FillEllipse(COLOR_RED, IRECT(0, 0, 100, 50));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 25), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(3, 3), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(3, 25), COLOR_RED, 60));
  p.FillEllipse(COLOR_BLUE, IRECT(10, 10, 10, 40));  // no width: nothing, and no failure
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);

  StartWhite(p);
  p.FillTriangle(COLOR_BLUE, 0, 0, 100, 0, 0, 50);
  EXPECT_TRUE(ColorNear(p.GetPixel(10, 10), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(90, 40), COLOR_WHITE));
}

TEST(CairoBlend, WeightIsOpacityAndNullDrawsPlainly) {
  CairoPainter p(20, 20);
  StartWhite(p);
  const IBlend half(EBlend::Default, 0.5f);
  p.FillRect(COLOR_RED, IRECT(0, 0, 10, 20), &half);
  p.FillRect(COLOR_RED, IRECT(10, 0, 20, 20), nullptr);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), IColor(255, 255, 128, 128), 2));
  EXPECT_TRUE(ColorNear(p.GetPixel(15, 5), COLOR_RED));
  // Weights beyond 0..1 are held to it.
  const IBlend over(EBlend::Default, 3.f);
  p.FillRect(COLOR_BLUE, IRECT(0, 0, 10, 10), &over);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_BLUE));
}

TEST(CairoBlend, MethodsMapToTheirCompositingOperators) {
  CairoPainter p(30, 10);
  p.BeginFrame();
  p.Clear(COLOR_RED);
  const IBlend destOut(EBlend::DestOut);
  const IBlend clobber(EBlend::Clobber, 0.5f);
  const IBlend add(EBlend::Add);
  p.FillRect(COLOR_BLUE, IRECT(0, 0, 10, 10), &destOut);
  p.FillRect(COLOR_BLUE, IRECT(10, 0, 20, 10), &clobber);
  p.FillRect(COLOR_BLUE, IRECT(20, 0, 30, 10), &add);
  EXPECT_EQ(p.GetPixel(5, 5).A, 0);                                      // cut out
  EXPECT_TRUE(ColorNear(p.GetPixel(15, 5), IColor(128, 0, 0, 255), 2));  // replaced
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 5), IColor(255, 255, 0, 255)));   // summed
}

TEST(CairoGradient, LinearRunsAlongItsLineAndHonoursExtend) {
  CairoPainter p(100, 10);
  StartWhite(p);
  IPattern g = IPattern::CreateLinearGradient(20, 0, 80, 0, {{COLOR_RED, 0.f}, {COLOR_BLUE, 1.f}});
  g.mExtend = EPatternExtend::Pad;
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(g);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(95, 5), COLOR_BLUE));
  const IColor mid = p.GetPixel(50, 5);
  EXPECT_NEAR(mid.R, 128, 8);
  EXPECT_NEAR(mid.B, 128, 8);

  StartWhite(p);
  g.mExtend = EPatternExtend::None;
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(g);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(95, 5), COLOR_WHITE));

  // A vertical line: the colour changes down the rectangle, not across it.
  StartWhite(p);
  g = IPattern::CreateLinearGradient(0, 0, 0, 10, {{COLOR_RED, 0.f}, {COLOR_BLUE, 1.f}});
  p.PathRect(IRECT(0, 0, 100, 10));
  p.PathFill(g);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 0), p.GetPixel(95, 0), 2));
  EXPECT_GT(p.GetPixel(50, 1).R, p.GetPixel(50, 8).R);
}

TEST(CairoGradient, RadialRunsFromTheCentreAndDegenerateOnesDrawNothing) {
  CairoPainter p(100, 100);
  StartWhite(p);
  IPattern g = IPattern::CreateRadialGradient(50, 50, 40, {{COLOR_RED, 0.f}, {COLOR_BLUE, 1.f}});
  p.PathRect(IRECT(0, 0, 100, 100));
  p.PathFill(g);
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), COLOR_RED, 8));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 95), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(70, 50), p.GetPixel(50, 70), 2));

  StartWhite(p);
  p.PathRect(IRECT(0, 0, 100, 100));
  p.PathFill(IPattern::CreateRadialGradient(50, 50, 0, {{COLOR_RED, 0.f}}));
  p.PathRect(IRECT(0, 0, 100, 100));
  p.PathFill(IPattern::CreateLinearGradient(5, 5, 5, 5, {{COLOR_RED, 0.f}}));
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
}

TEST(CairoGradient, StopsBeyondSixteenAreIgnoredAndBlendWeightScalesAlpha) {
  IPattern g(EPatternType::Linear);
  for (int i = 0; i < 20; ++i)
    g.AddStop(COLOR_RED, i / 19.f);
  EXPECT_EQ(g.NStops(), IPattern::kMaxStops);

  CairoPainter p(10, 10);
  StartWhite(p);
  const IBlend half(EBlend::Default, 0.5f);
  p.PathRect(IRECT(0, 0, 10, 10));
  p.PathFill(IPattern::CreateLinearGradient(0, 0, 10, 0, {{COLOR_RED, 0.f}, {COLOR_RED, 1.f}}),
             IFillOptions(), &half);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), IColor(255, 255, 128, 128), 2));
}

}  // namespace
