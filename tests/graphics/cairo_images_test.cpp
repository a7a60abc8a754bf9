// Pixel tests of CairoPainter's bitmaps, SVG images, layers, box shadow and PNG output.

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "base/detail/TestHooks.h"
#include "cairo_test_util.h"

namespace {

using namespace cairo_test;

class CairoImages : public ::testing::Test {
 protected:
  void SetUp() override { CairoPainter::AddResourcePath(TEST_RESOURCES_DIR); }
};

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

TEST_F(CairoImages, BitmapSizeIsInPointsAndFramesAreReachedBySourceOffset) {
  CairoPainter p(40, 40);
  const IBitmap strip = p.LoadBitmap("strip_v.png", 3);
  ASSERT_TRUE(strip.IsValid());
  EXPECT_EQ(strip.W, 10);
  EXPECT_EQ(strip.H, 30);
  EXPECT_EQ(strip.N, 3);
  EXPECT_STREQ(strip.GetResourceName(), "strip_v.png");
  EXPECT_EQ(p.LoadBitmap("strip_v.png").GetAPIBitmap(), strip.GetAPIBitmap());  // cached

  StartWhite(p);
  // Frame 2 of a vertical strip starts H x 1 / 3 = 10 points down.
  p.DrawBitmap(strip, IRECT(0, 0, 10, 10), 0, 10);
  p.DrawBitmap(strip, IRECT(20, 0, 30, 10), 0, 20);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_GREEN));
  EXPECT_TRUE(ColorNear(p.GetPixel(0, 0), COLOR_GREEN));
  EXPECT_TRUE(ColorNear(p.GetPixel(9, 9), COLOR_GREEN));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 5), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(15, 5), COLOR_WHITE));  // only the destination is covered
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 15), COLOR_WHITE));

  const IBitmap across = p.LoadBitmap("strip_h.png", 3, true);
  ASSERT_TRUE(across.IsValid());
  StartWhite(p);
  p.DrawBitmap(across, IRECT(0, 0, 10, 10), 20, 0);
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_BLUE));
}

TEST_F(CairoImages, ScaleTwoPrefersTheDoubleSizeFile) {
  CairoPainter p(8, 8, 2.f);
  const IBitmap hi = p.LoadBitmap("dot.png");  // target scale from the painter: 2
  const IBitmap lo = p.LoadBitmap("dot.png", 1, false, 1);
  ASSERT_TRUE(hi.IsValid());
  ASSERT_TRUE(lo.IsValid());
  EXPECT_EQ(hi.W, 4);  // 8 pixels at scale 2
  EXPECT_EQ(lo.W, 4);
  EXPECT_EQ(hi.GetAPIBitmap()->GetScale(), 2.f);
  EXPECT_EQ(lo.GetAPIBitmap()->GetScale(), 1.f);

  StartWhite(p);
  p.DrawBitmap(hi, IRECT(0, 0, 4, 4));
  p.DrawBitmap(lo, IRECT(4, 4, 8, 8));
  EXPECT_TRUE(ColorNear(p.GetPixel(0, 0), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(7, 7), COLOR_BLUE));  // covers 4 points = 8 pixels
  EXPECT_TRUE(ColorNear(p.GetPixel(12, 12), COLOR_RED));
}

TEST_F(CairoImages, TranslucentImagesArePremultipliedAndBlendWeightApplies) {
  CairoPainter p(4, 4);
  const IBitmap alpha = p.LoadBitmap("alpha.png");
  ASSERT_TRUE(alpha.IsValid());
  p.BeginFrame();
  p.Clear(COLOR_TRANSPARENT);
  p.DrawBitmap(alpha, IRECT(0, 0, 2, 2));
  EXPECT_TRUE(ColorNear(p.GetPixel(1, 1), IColor(128, 255, 0, 0), 2));

  StartWhite(p);
  const IBitmap dot = p.LoadBitmap("dot.png");
  const IBlend half(EBlend::Default, 0.5f);
  p.DrawBitmap(dot, IRECT(0, 0, 4, 4), 0, 0, &half);
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), IColor(255, 255, 128, 128), 2));
  EXPECT_TRUE(ColorNear(p.GetPixel(3, 3), IColor(255, 255, 128, 128), 2));
}

TEST_F(CairoImages, JPEGFilesLoadToo) {
  CairoPainter p(8, 8);
  const IBitmap grey = p.LoadBitmap("grey.jpg");
  ASSERT_TRUE(grey.IsValid());
  EXPECT_EQ(grey.W, 8);
  StartWhite(p);
  p.DrawBitmap(grey, IRECT(0, 0, 8, 8));
  EXPECT_TRUE(ColorNear(p.GetPixel(4, 4), IColor(255, 200, 200, 200), 2));
}

TEST_F(CairoImages, MissingOrUndecodableBitmapsAreInvalidAndDrawNothing) {
  CairoPainter p(10, 10);
  base::LogCapture logs;
  const IBitmap missing = p.LoadBitmap("no_such_image.png");
  const IBitmap garbage = p.LoadBitmap("not_an_image.png");
  const IBitmap unnamed = p.LoadBitmap(nullptr);
  EXPECT_FALSE(p.LoadBitmap("too_wide.png").IsValid());
  // A file of a few kilobytes whose pixels would take hundreds of megabytes.
  EXPECT_FALSE(p.LoadBitmap("huge_area.png").IsValid());
  EXPECT_FALSE(missing.IsValid());
  EXPECT_FALSE(garbage.IsValid());
  EXPECT_FALSE(unnamed.IsValid());
  EXPECT_GE(logs.count(), 3u);

  StartWhite(p);
  p.DrawBitmap(missing, IRECT(0, 0, 10, 10));
  p.DrawRotatedBitmap(garbage, 5, 5, 45.0);
  p.DrawBitmap(p.LoadBitmap("dot.png"), IRECT(0, 0, 10, 10), std::numeric_limits<int>::max(), 0);
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
}

TEST_F(CairoImages, RotatedBitmapTurnsClockwiseAboutItsCentre) {
  CairoPainter p(40, 40);
  const IBitmap halves = p.LoadBitmap("halves.png");  // 20 x 10: red left, blue right
  ASSERT_TRUE(halves.IsValid());
  StartWhite(p);
  p.DrawRotatedBitmap(halves, 20, 20, 90.0);
  // Turned clockwise, the left half ends on top.
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 13), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 26), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(12, 20), COLOR_WHITE));

  StartWhite(p);
  p.DrawRotatedBitmap(halves, 20, 20, 0.0);
  EXPECT_TRUE(ColorNear(p.GetPixel(13, 20), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(26, 20), COLOR_BLUE));
}

TEST_F(CairoImages, SVGHasItsNaturalSizeAndIsScaledIntoTheRectangle) {
  CairoPainter p(200, 100);
  const ISVG svg = CairoPainter::LoadSVG("halves.svg");  // 100 x 50: red left, blue right
  ASSERT_TRUE(svg.IsValid());
  EXPECT_FLOAT_EQ(svg.W(), 100.f);
  EXPECT_FLOAT_EQ(svg.H(), 50.f);
  EXPECT_EQ(CairoPainter::LoadSVG("halves.svg").mImage, svg.mImage);  // cached

  StartWhite(p);
  p.DrawSVG(svg, IRECT(0, 0, 200, 100));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 95), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(95, 5), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(105, 5), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(195, 95), COLOR_BLUE));

  // Into a square: kept in proportion and centred, leaving bands above and below.
  StartWhite(p);
  p.DrawSVG(svg, IRECT(0, 0, 100, 100));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 10), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 50), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(75, 50), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 90), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(150, 50), COLOR_WHITE));

  StartWhite(p);
  const IBlend half(EBlend::Default, 0.5f);
  p.DrawSVG(svg, IRECT(0, 0, 200, 100), &half);
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), IColor(255, 255, 128, 128), 2));
}

TEST_F(CairoImages, RotatedSVGTurnsClockwise) {
  CairoPainter p(100, 100);
  const ISVG svg = CairoPainter::LoadSVG("halves.svg");
  ASSERT_TRUE(svg.IsValid());
  StartWhite(p);
  p.DrawRotatedSVG(svg, 50, 50, 80, 40, 90.0);
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 25), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 75), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(20, 50), COLOR_WHITE));
}

TEST_F(CairoImages, UnusableSVGFilesGiveInvalidImages) {
  base::LogCapture logs;
  EXPECT_FALSE(CairoPainter::LoadSVG("no_such.svg").IsValid());
  EXPECT_FALSE(CairoPainter::LoadSVG("broken.svg").IsValid());
  EXPECT_FALSE(CairoPainter::LoadSVG("no_size.svg").IsValid());
  EXPECT_FALSE(CairoPainter::LoadSVG("").IsValid());
  EXPECT_GE(logs.count(), 4u);
  CairoPainter p(10, 10);
  StartWhite(p);
  p.DrawSVG(ISVG(), IRECT(0, 0, 10, 10));
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
}

TEST_F(CairoImages, LayersCaptureDrawingAndCompositeItBackAtTheirBounds) {
  CairoPainter p(60, 60, 2.f);
  StartWhite(p);
  ASSERT_TRUE(p.StartLayer(IRECT(20, 20, 40, 40)));
  EXPECT_TRUE(p.IsDrawingLayer());
  p.FillRect(COLOR_RED, IRECT(20, 20, 30, 40));  // the left half of the layer
  ILayerPtr layer = p.EndLayer();
  ASSERT_TRUE(layer);
  EXPECT_FALSE(p.IsDrawingLayer());
  EXPECT_EQ(layer->Bounds(), IRECT(20, 20, 40, 40));
  EXPECT_EQ(layer->GetScale(), 2.f);
  EXPECT_EQ(layer->GetAPIBitmap()->GetWidth(), 40);  // pixels at scale 2
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());      // nothing reached the surface yet

  p.DrawLayer(layer.get());
  EXPECT_TRUE(ColorNear(p.GetPixel(50, 50), COLOR_RED));  // point (25, 25)
  EXPECT_TRUE(ColorNear(p.GetPixel(70, 50), COLOR_WHITE));
  EXPECT_TRUE(ColorNear(p.GetPixel(30, 30), COLOR_WHITE));

  EXPECT_TRUE(p.CheckLayer(layer.get(), IRECT(20, 20, 40, 40)));
  EXPECT_FALSE(p.CheckLayer(layer.get(), IRECT(20, 20, 41, 40)));
  layer->Invalidate();
  EXPECT_FALSE(p.CheckLayer(layer.get(), IRECT(20, 20, 40, 40)));
  ASSERT_TRUE(p.Resize(60, 60, 1.f));
  ILayerPtr fresh = std::make_unique<ILayer>(nullptr, IRECT(20, 20, 40, 40), 2.f);
  EXPECT_FALSE(p.CheckLayer(fresh.get(), IRECT(20, 20, 40, 40)));  // made at another scale
  EXPECT_FALSE(p.CheckLayer(nullptr, IRECT()));
}

TEST_F(CairoImages, LayersNestAndUnbalancedCallsAreHarmless) {
  CairoPainter p(40, 40);
  StartWhite(p);
  EXPECT_FALSE(p.EndLayer());
  EXPECT_FALSE(p.StartLayer(IRECT()));
  EXPECT_FALSE(p.StartLayer(IRECT(0, 0, std::numeric_limits<float>::quiet_NaN(), 10)));
  ASSERT_TRUE(p.StartLayer(IRECT(0, 0, 40, 40)));
  p.PathTransformSave();  // left unbalanced inside the layer
  ASSERT_TRUE(p.StartLayer(IRECT(10, 10, 20, 20)));
  p.FillRect(COLOR_BLUE, IRECT(0, 0, 40, 40));
  ILayerPtr inner = p.EndLayer();
  p.DrawLayer(inner.get());
  ILayerPtr outer = p.EndLayer();
  ASSERT_TRUE(outer);
  p.DrawLayer(outer.get());
  EXPECT_TRUE(ColorNear(p.GetPixel(15, 15), COLOR_BLUE));
  EXPECT_TRUE(ColorNear(p.GetPixel(25, 25), COLOR_WHITE));
  p.DrawLayer(nullptr);

  // A layer left open is dropped at the next frame, and drawing goes to the surface again.
  ASSERT_TRUE(p.StartLayer(IRECT(0, 0, 10, 10)));
  StartWhite(p);
  EXPECT_FALSE(p.IsDrawingLayer());
  p.FillRect(COLOR_RED, IRECT(0, 0, 5, 5));
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), COLOR_RED));
}

TEST_F(CairoImages, BoxShadowIsSoftOffsetAndClippedToTheOuterBox) {
  CairoPainter p(100, 100);
  StartWhite(p);
  const IRECT inner(30, 30, 60, 60);
  p.DrawBoxShadow(inner, IRECT(0, 0, 100, 100), nullptr, 5.f, 5.f, 4.f, 12.f);
  const int centre = p.GetPixel(50, 50).R;
  const int edge = p.GetPixel(65, 50).R;     // at the offset box's right edge
  const int outside = p.GetPixel(74, 50).R;  // beyond it, inside the blur
  const int far = p.GetPixel(95, 50).R;      // beyond the blur
  EXPECT_LT(centre, 40);
  EXPECT_GT(edge, centre + 40);
  EXPECT_LT(edge, 220);
  EXPECT_GT(outside, edge);
  EXPECT_LT(outside, 255);
  EXPECT_EQ(far, 255);
  // The offset moves it: more shadow below right than above left.
  EXPECT_LT(p.GetPixel(63, 63).R, p.GetPixel(27, 27).R);

  StartWhite(p);
  p.DrawBoxShadow(inner, IRECT(0, 0, 100, 45), nullptr, 0.f, 0.f, 0.f, 10.f);
  EXPECT_LT(p.GetPixel(45, 40).R, 100);
  EXPECT_EQ(p.GetPixel(45, 50).R, 255);  // below the outer box
  const IBlend faint(EBlend::Default, 0.25f);
  StartWhite(p);
  p.DrawBoxShadow(inner, IRECT(0, 0, 100, 100), &faint, 0.f, 0.f, 0.f, 10.f);
  EXPECT_NEAR(p.GetPixel(45, 45).R, 191, 4);

  StartWhite(p);
  p.DrawBoxShadow(inner, IRECT(0, 0, 100, 100), nullptr, std::nanf(""), 0.f, 0.f, 10.f);
  p.DrawBoxShadow(IRECT(), IRECT(0, 0, 100, 100), nullptr, 0.f, 0.f, 0.f, 10.f);
  // Far off the surface, or blurred beyond all measure: nothing to see, nothing overflows.
  p.DrawBoxShadow(IRECT(1e30f, 1e30f, 2e30f, 2e30f), IRECT(-3e38f, -3e38f, 3e38f, 3e38f), nullptr,
                  0.f, 0.f, 0.f, 10.f);
  p.DrawBoxShadow(IRECT(-2e30f, 10, -1e30f, 20), IRECT(-3e38f, -3e38f, 3e38f, 3e38f), nullptr, 0.f,
                  0.f, 0.f, 1e30f);
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
  p.DrawBoxShadow(inner, IRECT(0, 0, 100, 100), nullptr, 0.f, 0.f, 0.f, 3e38f);
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
}

TEST_F(CairoImages, PNGOutputIsAllOrNothing) {
  CairoPainter p(10, 10);
  StartWhite(p);
  p.FillRect(COLOR_RED, IRECT(0, 0, 5, 5));
  const std::string path = ::testing::TempDir() + "cairo_painter_out.png";
  std::remove(path.c_str());
  ASSERT_TRUE(p.WritePNG(path.c_str()));
  EXPECT_TRUE(FileExists(path));
  EXPECT_FALSE(FileExists(path + ".tmp"));

  // The written file reads back as the same picture.
  CairoPainter::AddResourcePath(::testing::TempDir().c_str());
  const IBitmap back = p.LoadBitmap(path.c_str());
  ASSERT_TRUE(back.IsValid());
  StartWhite(p);
  p.DrawBitmap(back, IRECT(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(p.GetPixel(2, 2), COLOR_RED));
  EXPECT_TRUE(ColorNear(p.GetPixel(7, 7), COLOR_WHITE));
  std::remove(path.c_str());

  const std::string bad = ::testing::TempDir() + "no_such_folder/out.png";
  EXPECT_FALSE(p.WritePNG(bad.c_str()));
  EXPECT_FALSE(FileExists(bad));
  EXPECT_FALSE(p.WritePNG(nullptr));
}

}  // namespace
