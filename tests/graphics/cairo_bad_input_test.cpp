// Every painter call handed a transform, rectangle or size that is not a usable number: each
// draws nothing, logs at most once, and leaves the context able to draw what follows.

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "base/detail/TestHooks.h"
#include "cairo_test_util.h"

using namespace cairo_test;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const IRECT kNaNRect(kNaN, 0, 10, 10);
const IRECT kInfRect(0, 0, kInf, 10);
const IRECT kFlat(5, 5, 5, 15);

TEST(CairoBadInput, NoCallSpoilsTheContextForWhatIsDrawnAfterIt) {
  CairoPainter::AddResourcePath(TEST_RESOURCES_DIR);
  CairoPainter p(20, 20);
  const IBitmap dot = p.LoadBitmap("dot.png");
  const ISVG svg = CairoPainter::LoadSVG("halves.svg");
  ASSERT_TRUE(dot.IsValid());
  ASSERT_TRUE(svg.IsValid());
  IText nanAngle;
  nanAngle.mAngle = kNaN;
  IText infSize;
  infSize.mSize = kInf;
  IPattern nanGradient = IPattern::CreateLinearGradient(0, 0, kNaN, 10);
  nanGradient.AddStop(COLOR_RED, 0.f);
  nanGradient.AddStop(COLOR_GREEN, 1.f);
  const IBlend nanBlend(EBlend::Default, kNaN);

  struct Row {
    const char* call;
    std::function<void(CairoPainter&)> draw;
  };
  const Row rows[] = {
      {"translate by NaN", [](CairoPainter& c) { c.PathTransformTranslate(kNaN, 0); }},
      {"translate by infinity", [](CairoPainter& c) { c.PathTransformTranslate(0, kInf); }},
      {"scale by zero", [](CairoPainter& c) { c.PathTransformScale(0.f); }},
      {"scale by NaN", [](CairoPainter& c) { c.PathTransformScale(kNaN, 1.f); }},
      {"scale by infinity", [](CairoPainter& c) { c.PathTransformScale(kInf); }},
      {"rotate by NaN", [](CairoPainter& c) { c.PathTransformRotate(kNaN); }},
      {"singular matrix",
       [](CairoPainter& c) { c.PathTransformMatrix(IMatrix(1, 2, 2, 4, 0, 0)); }},
      {"NaN matrix", [](CairoPainter& c) { c.PathTransformMatrix(IMatrix(kNaN, 0, 0, 1, 0, 0)); }},
      {"scale that overflows when combined",
       [](CairoPainter& c) {
         c.PathTransformScale(3e38f);
         c.PathTransformScale(3e38f);
       }},
      {"text under a vanishing scale",
       [](CairoPainter& c) {
         c.PathTransformScale(1e-30f);
         c.DrawText(IText(), "Ab", IRECT(0, 0, 20, 20));
       }},
      {"text under a huge scale",
       [](CairoPainter& c) {
         c.PathTransformTranslate(-1e30f, -1e30f);
         c.PathTransformScale(1e30f);
         c.DrawText(IText(), "Ab", IRECT(0, 0, 20, 20));
       }},
      {"text of a vanishing size",
       [](CairoPainter& c) { c.DrawText(IText(1e-30f), "Ab", IRECT(0, 0, 20, 20)); }},
      {"shapes under a vanishing scale",
       [&](CairoPainter& c) {
         c.PathTransformScale(1e-30f);
         c.DrawArc(COLOR_RED, 5, 5, 5, 0, 270);
         c.DrawRoundRect(COLOR_RED, IRECT(0, 0, 10, 10), 3);
         c.DrawBitmap(dot, IRECT(0, 0, 10, 10));
         c.DrawSVG(svg, IRECT(0, 0, 10, 10));
         c.DrawBoxShadow(IRECT(2, 2, 8, 8), IRECT(0, 0, 10, 10), nullptr, 1, 1, 2, 2);
       }},
      {"a far translation",
       [](CairoPainter& c) {
         c.PathTransformTranslate(1e30f, 1e30f);
         c.FillRect(COLOR_RED, IRECT(0, 0, 10, 10));
       }},
      {"NaN clip", [](CairoPainter& c) { c.PathClipRegion(kNaNRect); }},
      {"NaN rectangle path",
       [](CairoPainter& c) {
         c.PathRect(kNaNRect);
         c.PathFill(IPattern(COLOR_RED));
       }},
      {"fill NaN rectangle", [](CairoPainter& c) { c.FillRect(COLOR_RED, kNaNRect); }},
      {"stroke infinite rectangle", [](CairoPainter& c) { c.DrawRect(COLOR_RED, kInfRect); }},
      {"round rectangle with NaN radius",
       [](CairoPainter& c) { c.FillRoundRect(COLOR_RED, IRECT(0, 0, 10, 10), kNaN); }},
      {"round rectangle with infinite radius",
       [](CairoPainter& c) { c.FillRoundRect(COLOR_RED, IRECT(0, 0, 10, 10), kInf); }},
      {"flat ellipse", [](CairoPainter& c) { c.FillEllipse(COLOR_RED, kFlat); }},
      {"NaN ellipse", [](CairoPainter& c) { c.DrawEllipse(COLOR_RED, kNaNRect); }},
      {"circle of infinite radius", [](CairoPainter& c) { c.FillCircle(COLOR_RED, 5, 5, kInf); }},
      {"arc of NaN radius", [](CairoPainter& c) { c.DrawArc(COLOR_RED, 5, 5, kNaN, 0, 90); }},
      {"line of infinite thickness",
       [](CairoPainter& c) { c.DrawLine(COLOR_RED, 0, 0, 10, 10, nullptr, kInf); }},
      {"NaN grid", [](CairoPainter& c) { c.DrawGrid(COLOR_RED, kNaNRect, 2, 2); }},
      {"infinite grid step",
       [](CairoPainter& c) { c.DrawGrid(COLOR_RED, IRECT(0, 0, 10, 10), kInf, kNaN); }},
      {"vertical line at NaN",
       [](CairoPainter& c) { c.DrawVerticalLine(COLOR_RED, kInfRect, kNaN); }},
      {"NaN gradient",
       [&](CairoPainter& c) {
         c.PathRect(IRECT(0, 0, 10, 10));
         c.PathFill(nanGradient);
       }},
      {"NaN blend",
       [&](CairoPainter& c) { c.FillRect(COLOR_RED, IRECT(0, 0, 10, 10), &nanBlend); }},
      {"bitmap into NaN rectangle", [&](CairoPainter& c) { c.DrawBitmap(dot, kNaNRect); }},
      {"bitmap into flat rectangle", [&](CairoPainter& c) { c.DrawBitmap(dot, kFlat); }},
      {"bitmap turned by NaN", [&](CairoPainter& c) { c.DrawRotatedBitmap(dot, 5, 5, kNaN); }},
      {"bitmap centred at infinity",
       [&](CairoPainter& c) { c.DrawRotatedBitmap(dot, kInf, 5, 0); }},
      {"image into NaN rectangle", [&](CairoPainter& c) { c.DrawSVG(svg, kNaNRect); }},
      {"image into flat rectangle", [&](CairoPainter& c) { c.DrawSVG(svg, kFlat); }},
      {"image of zero size", [&](CairoPainter& c) { c.DrawRotatedSVG(svg, 5, 5, 0, 0, 0); }},
      {"image of NaN size", [&](CairoPainter& c) { c.DrawRotatedSVG(svg, 5, 5, kNaN, 10, 0); }},
      {"image turned by infinity",
       [&](CairoPainter& c) { c.DrawRotatedSVG(svg, 5, 5, 10, 10, kInf); }},
      {"text turned by NaN",
       [&](CairoPainter& c) { c.DrawText(nanAngle, "Ab", IRECT(0, 0, 20, 20)); }},
      {"text of infinite size",
       [&](CairoPainter& c) { c.DrawText(infSize, "Ab", IRECT(0, 0, 20, 20)); }},
      {"text in NaN bounds", [](CairoPainter& c) { c.DrawText(IText(), "Ab", kNaNRect); }},
      {"shadow with NaN offset",
       [](CairoPainter& c) {
         c.DrawBoxShadow(IRECT(2, 2, 8, 8), IRECT(0, 0, 10, 10), nullptr, kNaN, 0, 2, 2);
       }},
      {"shadow with infinite blur",
       [](CairoPainter& c) {
         c.DrawBoxShadow(IRECT(2, 2, 8, 8), IRECT(0, 0, 10, 10), nullptr, 1, 1, 2, kInf);
       }},
      {"shadow in NaN box",
       [](CairoPainter& c) {
         c.DrawBoxShadow(kNaNRect, IRECT(0, 0, 10, 10), nullptr, 1, 1, 2, 2);
       }},
      {"layer over NaN bounds",
       [](CairoPainter& c) {
         if (c.StartLayer(kNaNRect)) c.EndLayer();
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.call);
    StartWhite(p);
    {
      base::LogCapture log;
      row.draw(p);
      EXPECT_LE(log.count(), 1u);
      EXPECT_EQ(cairo_status(p.GetContext()), CAIRO_STATUS_SUCCESS);
      // Nothing of the refused call reached the pixels.
      EXPECT_TRUE(ColorNear(p.GetPixel(5, 5), COLOR_WHITE));
    }
    // What follows in the same frame is drawn where it belongs.
    p.PathTransformReset(true);
    p.FillRect(COLOR_BLUE, IRECT(10, 10, 20, 20));
    EXPECT_TRUE(ColorNear(p.GetPixel(15, 15), COLOR_BLUE));
    EXPECT_TRUE(ColorNear(p.GetPixel(5, 15), COLOR_WHITE));
    p.EndFrame();
  }
}

}  // namespace
