// Pixel tests of CairoPainter's text: measuring, placement by alignment, rotation, fonts and
// bad input.

#include <fontconfig/fontconfig.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/detail/TestHooks.h"
#include "cairo_test_util.h"
#include "graphics/FontCache.h"

// The leak checker's switches, present only in builds with it.
extern "C" void __lsan_disable() __attribute__((weak));
extern "C" void __lsan_enable() __attribute__((weak));

namespace {

using namespace cairo_test;

// The file of an installed font family, found through fontconfig; empty when there is none.
std::string InstalledFontFile(const char* family) {
  std::string path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
      path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return path;
}

TEST(CairoText, EmptyOrNullStringsMeasureAsNothingAndDrawNothing) {
  CairoPainter p(100, 40);
  StartWhite(p);
  IRECT r(0, 0, 100, 40);
  EXPECT_EQ(p.MeasureText(IText(), "", r), 0.f);
  EXPECT_TRUE(r.Empty());
  r = IRECT(0, 0, 100, 40);
  EXPECT_EQ(p.MeasureText(IText(), nullptr, r), 0.f);
  EXPECT_TRUE(r.Empty());
  p.DrawText(IText(), "", IRECT(0, 0, 100, 40));
  p.DrawText(IText(), nullptr, IRECT(0, 0, 100, 40));
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
}

TEST(CairoText, MeasureGrowsWithTextAndSizeAndPlacesTheBoxByAlignment) {
  CairoPainter p(200, 100);
  const IRECT area(10, 10, 190, 90);
  IRECT shortBox = area, longBox = area, bigBox = area;
  const float shortW = p.MeasureText(IText(14.f), "Hi", shortBox);
  const float longW = p.MeasureText(IText(14.f), "Hi there", longBox);
  const float bigW = p.MeasureText(IText(28.f), "Hi", bigBox);
  EXPECT_GT(shortW, 5.f);
  EXPECT_GT(longW, shortW);
  EXPECT_NEAR(bigW, 2.f * shortW, 0.5f);
  EXPECT_NEAR(shortBox.W(), shortW, 0.01f);
  EXPECT_GT(shortBox.H(), 14.f);  // a line is taller than the em size
  EXPECT_NEAR(shortBox.MW(), area.MW(), 0.01f);
  EXPECT_NEAR(shortBox.MH(), area.MH(), 0.01f);

  IRECT nearTop = area, farBottom = area;
  p.MeasureText(IText(14.f, COLOR_BLACK, nullptr, EAlign::Near, EVAlign::Top), "Hi", nearTop);
  p.MeasureText(IText(14.f, COLOR_BLACK, nullptr, EAlign::Far, EVAlign::Bottom), "Hi", farBottom);
  EXPECT_FLOAT_EQ(nearTop.L, area.L);
  EXPECT_FLOAT_EQ(nearTop.T, area.T);
  EXPECT_FLOAT_EQ(farBottom.R, area.R);
  EXPECT_FLOAT_EQ(farBottom.B, area.B);
}

TEST(CairoText, InkFollowsHorizontalAndVerticalAlignment) {
  CairoPainter p(200, 100);
  const IRECT area(0, 0, 200, 100);

  StartWhite(p);
  p.DrawText(IText(20.f, COLOR_BLACK, nullptr, EAlign::Near, EVAlign::Top), "Left", area);
  InkBox ink = FindInk(p, COLOR_WHITE);
  ASSERT_FALSE(ink.Empty());
  EXPECT_LT(ink.left, 5);
  EXPECT_LT(ink.right, 100);
  EXPECT_LT(ink.bottom, 30);

  StartWhite(p);
  p.DrawText(IText(20.f, COLOR_BLACK, nullptr, EAlign::Far, EVAlign::Bottom), "Right", area);
  ink = FindInk(p, COLOR_WHITE);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GT(ink.right, 190);
  EXPECT_GT(ink.left, 100);
  EXPECT_GT(ink.top, 70);

  StartWhite(p);
  p.DrawText(IText(20.f), "Mid", area);
  ink = FindInk(p, COLOR_WHITE);
  ASSERT_FALSE(ink.Empty());
  EXPECT_NEAR(0.5 * (ink.left + ink.right), 100.0, 4.0);
  EXPECT_NEAR(0.5 * (ink.top + ink.bottom), 50.0, 6.0);
}

// The most strongly inked pixel: inside a thick stem it is fully covered.
IColor DeepestInk(const CairoPainter& p) {
  IColor best = COLOR_WHITE;
  for (int y = 0; y < p.PixelHeight(); ++y)
    for (int x = 0; x < p.PixelWidth(); ++x)
      if (p.GetPixel(x, y).G < best.G) best = p.GetPixel(x, y);
  return best;
}

TEST(CairoText, DrawnInTheStyleColourWithTheBlendWeight) {
  CairoPainter p(100, 100);
  StartWhite(p);
  p.DrawText(IText(80.f, COLOR_RED), "I", IRECT(0, 0, 100, 100));
  EXPECT_TRUE(ColorNear(DeepestInk(p), COLOR_RED));

  StartWhite(p);
  const IBlend half(EBlend::Default, 0.5f);
  p.DrawText(IText(80.f, COLOR_RED), "I", IRECT(0, 0, 100, 100), &half);
  EXPECT_TRUE(ColorNear(DeepestInk(p), IColor(255, 255, 128, 128), 3));
}

TEST(CairoText, AngleTurnsTheTextClockwiseAboutItsBox) {
  CairoPainter p(200, 200);
  StartWhite(p);
  const IText flat(20.f);
  const IText turned = flat.WithAngle(90.f);
  const IRECT area(0, 0, 200, 200);
  p.DrawText(turned, "Rotated text", area);
  const InkBox ink = FindInk(p, COLOR_WHITE);
  ASSERT_FALSE(ink.Empty());
  EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
  EXPECT_NEAR(0.5 * (ink.top + ink.bottom), 100.0, 6.0);

  IRECT flatBox = area, turnedBox = area;
  const float w = p.MeasureText(flat, "Rotated text", flatBox);
  EXPECT_FLOAT_EQ(p.MeasureText(turned, "Rotated text", turnedBox), w);
  EXPECT_NEAR(turnedBox.W(), flatBox.H(), 0.01f);
  EXPECT_NEAR(turnedBox.H(), flatBox.W(), 0.01f);
  // The ink stays within the measured box.
  EXPECT_GE(ink.top, turnedBox.T - 1);
  EXPECT_LE(ink.bottom, turnedBox.B + 1);
}

TEST(CairoText, InvalidUtf8IsDrawnWithReplacementsAndBreaksNothing) {
  CairoPainter p(200, 60);
  StartWhite(p);
  const char bad[] = "ab\xFF\xC3(cd\xED\xA0\x80\xF0\x9F";  // stray, cut, surrogate, truncated
  IRECT r(0, 0, 200, 60);
  EXPECT_GT(p.MeasureText(IText(20.f), bad, r), 0.f);
  p.DrawText(IText(20.f), bad, IRECT(0, 0, 200, 60));
  EXPECT_FALSE(FindInk(p, COLOR_WHITE).Empty());
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  p.FillRect(COLOR_RED, IRECT(0, 0, 10, 10));
  EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_RED));
}

TEST(CairoText, UnusableSizesAndBoundsDrawNothing) {
  CairoPainter p(100, 40);
  StartWhite(p);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  IRECT r(0, 0, 100, 40);
  EXPECT_EQ(p.MeasureText(IText(nan), "x", r), 0.f);
  EXPECT_TRUE(r.Empty());
  p.DrawText(IText(0.f), "x", IRECT(0, 0, 100, 40));
  p.DrawText(IText(-5.f), "x", IRECT(0, 0, 100, 40));
  p.DrawText(IText(14.f), "x", IRECT(nan, 0, 100, 40));
  p.DrawText(IText(14.f).WithAngle(nan), "x", IRECT(0, 0, 100, 40));
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
}

// FreeType cannot scale a face to 65536 pixels; asking it to once used to break the shared
// face, and with it every later text in that font, in every painter.
TEST(CairoText, TextTooLargeForTheFontEngineIsRefusedAndLaterTextStillDraws) {
  CairoPainter p(100, 40, 2.f);
  StartWhite(p);
  base::LogCapture logs;
  IRECT r(0, 0, 100, 40);
  EXPECT_EQ(p.MeasureText(IText(40000.f), "x", r), 0.f);  // 80000 pixels at scale 2
  p.DrawText(IText(1e5f), "x", IRECT(0, 0, 100, 40));
  p.PathTransformScale(1e4f);
  p.DrawText(IText(14.f), "x", IRECT(0, 0, 100, 40));
  p.PathTransformReset();
  EXPECT_GE(logs.count(), 3u);
  EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
  EXPECT_TRUE(FindInk(p, COLOR_WHITE).Empty());

  CairoPainter other(100, 40);
  StartWhite(other);
  other.DrawText(IText(20.f), "text", IRECT(0, 0, 100, 40));
  EXPECT_FALSE(FindInk(other, COLOR_WHITE).Empty());
}

// A face that has failed (here through the raw context) is made anew on the next lookup.
TEST(CairoFonts, AFailedFaceIsReplaced) {
  CairoPainter p(100, 40);
  cairo_t* cr = p.GetContext();
  // Cairo never frees a scaled font that failed, nor the face it holds: not ours to free.
  if (__lsan_disable) __lsan_disable();
  cairo_font_face_t* face = FontCache::Get("DejaVu Sans");
  ASSERT_NE(face, nullptr);
  cairo_set_font_face(cr, face);
  cairo_set_font_size(cr, 1e5);
  cairo_move_to(cr, 0, 20);
  cairo_show_text(cr, "x");
  if (__lsan_enable) __lsan_enable();
  ASSERT_NE(cairo_font_face_status(face), CAIRO_STATUS_SUCCESS);
  cairo_font_face_destroy(face);

  StartWhite(p);
  p.DrawText(IText(20.f, COLOR_BLACK, "DejaVu Sans"), "text", IRECT(0, 0, 100, 40));
  EXPECT_FALSE(FindInk(p, COLOR_WHITE).Empty());
}

TEST(CairoFonts, UnknownNamesFallBackToTheDefaultFace) {
  CairoPainter p(200, 60);
  IRECT defaultBox(0, 0, 200, 60), unknownBox(0, 0, 200, 60);
  const float dw = p.MeasureText(IText(20.f), "Fallback", defaultBox);
  const float uw =
      p.MeasureText(IText(20.f, COLOR_BLACK, "NoSuchFamily-Bold"), "Fallback", unknownBox);
  EXPECT_FLOAT_EQ(uw, dw);
  StartWhite(p);
  p.DrawText(IText(20.f, COLOR_BLACK, "NoSuchFamily-Bold"), "Fallback", IRECT(0, 0, 200, 60));
  EXPECT_FALSE(FindInk(p, COLOR_WHITE).Empty());
}

TEST(CairoFonts, StyleInTheNameSelectsTheFace) {
  CairoPainter p(300, 60);
  IRECT regular(0, 0, 300, 60), bold(0, 0, 300, 60);
  const float rw = p.MeasureText(IText(20.f, COLOR_BLACK, "Roboto-Regular"), "Wide words", regular);
  const float bw = p.MeasureText(IText(20.f, COLOR_BLACK, "Roboto-Bold"), "Wide words", bold);
  EXPECT_GT(bw, rw);
}

TEST(CairoFonts, FontFilesRegisterUnderANameAndOtherFilesAreRefused) {
  const std::string file = InstalledFontFile("DejaVu Sans Mono");
  ASSERT_FALSE(file.empty());
  EXPECT_TRUE(CairoPainter::LoadFont("TestMono", file.c_str()));
  CairoPainter p(300, 60);
  IRECT a(0, 0, 300, 60), b(0, 0, 300, 60);
  // In a monospaced face narrow and wide letters take the same room.
  const float narrow = p.MeasureText(IText(20.f, COLOR_BLACK, "TestMono"), "iiii", a);
  const float wide = p.MeasureText(IText(20.f, COLOR_BLACK, "TestMono"), "MMMM", b);
  EXPECT_FLOAT_EQ(narrow, wide);

  base::LogCapture logs;
  EXPECT_FALSE(CairoPainter::LoadFont("Broken", TEST_RESOURCES_DIR "/strip_v.png"));
  EXPECT_FALSE(CairoPainter::LoadFont("Missing", TEST_RESOURCES_DIR "/no_such_font.ttf"));
  EXPECT_FALSE(CairoPainter::LoadFont(nullptr, file.c_str()));
  EXPECT_GE(logs.count(), 3u);
}

}  // namespace
