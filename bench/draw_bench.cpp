// One editor-like frame of filled and stroked rounded rectangles, arcs and short labels, drawn
// through the graphics core (IGraphics calls on an IGraphicsNanoVG), through its CairoPainter
// alone and, as the baseline, with plain Cairo calls in the same run. Prints the ratios.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>

#include "bench/RatioReporter.h"
#include "framework/IPlugEditorDelegate.h"
#include "graphics/CairoPainter.h"
#include "graphics/IControl.h"
#include "graphics/IGraphicsNanoVG.h"

namespace {

using namespace iplug::igraphics;

constexpr int kWidth = 800, kHeight = 600;
constexpr int kColumns = 12, kRows = 10;  // 120 cells of four primitives each

// The frame's shapes, for anything with the graphics core's drawing calls. Kept in one place
// so other drawing back ends can be measured on the same frame.
template <typename Graphics>
void DrawShapes(Graphics& g) {
  static const char* const kLabels[] = {"Gain", "Pan", "CC 64", "Ch 1", "Bend", "Latch"};
  static const IText kLabel(11.f, COLOR_BLACK);
  static const IBlend kHalf(EBlend::Default, 0.5f);
  const float cw = static_cast<float>(kWidth) / kColumns, ch = static_cast<float>(kHeight) / kRows;
  for (int row = 0; row < kRows; ++row) {
    for (int col = 0; col < kColumns; ++col) {
      const int i = row * kColumns + col;
      const IRECT cell = IRECT::MakeXYWH(col * cw, row * ch, cw, ch).GetPadded(-3.f);
      const IColor fill(255, 40 + (i * 37) % 200, 60 + (i * 53) % 180, 90 + (i * 29) % 160);
      g.FillRoundRect(fill, cell, 6.f, nullptr);
      g.DrawRoundRect(COLOR_DARK_GRAY, cell, 6.f, nullptr, 1.5f);
      const float r = 0.3f * std::min(cell.W(), cell.H());
      g.DrawArc(COLOR_WHITE, cell.MW(), cell.MH() - 6.f, r, -135.f, -135.f + 27.f * (i % 11),
                &kHalf, 3.f);
      g.DrawText(kLabel, kLabels[i % 6], cell.GetFromBottom(14.f), nullptr);
    }
  }
}

// The same calls made directly on a Cairo context, as a hand-written back end would.
class PlainCairo {
 public:
  PlainCairo() {
    mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    mCr = cairo_create(mSurface);
    mFace = cairo_toy_font_face_create("Roboto", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  }
  ~PlainCairo() {
    cairo_font_face_destroy(mFace);
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
  }

  void Begin() {
    cairo_set_source_rgb(mCr, 1, 1, 1);
    cairo_paint(mCr);
  }
  void End() { cairo_surface_flush(mSurface); }

  void FillRoundRect(const IColor& c, const IRECT& r, float cr, const IBlend* blend) {
    RoundRect(r, cr);
    Source(c, blend);
    cairo_fill(mCr);
  }
  void DrawRoundRect(const IColor& c, const IRECT& r, float cr, const IBlend* blend, float t) {
    RoundRect(r, cr);
    Source(c, blend);
    cairo_set_line_width(mCr, t);
    cairo_stroke(mCr);
  }
  void DrawArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
               const IBlend* blend, float t) {
    cairo_new_path(mCr);
    cairo_arc(mCr, cx, cy, r, (a1 - 90.0) * M_PI / 180.0, (a2 - 90.0) * M_PI / 180.0);
    Source(c, blend);
    cairo_set_line_width(mCr, t);
    cairo_stroke(mCr);
  }
  void DrawText(const IText& text, const char* str, const IRECT& r, const IBlend* blend) {
    cairo_set_font_face(mCr, mFace);
    cairo_set_font_size(mCr, text.mSize);
    cairo_font_extents_t fe;
    cairo_text_extents_t te;
    cairo_font_extents(mCr, &fe);
    cairo_text_extents(mCr, str, &te);
    Source(text.mFGColor, blend);
    cairo_move_to(mCr, r.MW() - 0.5 * te.x_advance,
                  r.MH() - 0.5 * (fe.ascent + fe.descent) + fe.ascent);
    cairo_show_text(mCr, str);
    cairo_new_path(mCr);
  }

 private:
  void RoundRect(const IRECT& r, double cr) {
    cairo_new_path(mCr);
    cairo_new_sub_path(mCr);
    cairo_arc(mCr, r.R - cr, r.T + cr, cr, -0.5 * M_PI, 0);
    cairo_arc(mCr, r.R - cr, r.B - cr, cr, 0, 0.5 * M_PI);
    cairo_arc(mCr, r.L + cr, r.B - cr, cr, 0.5 * M_PI, M_PI);
    cairo_arc(mCr, r.L + cr, r.T + cr, cr, M_PI, 1.5 * M_PI);
    cairo_close_path(mCr);
  }
  void Source(const IColor& c, const IBlend* blend) {
    const double w = blend ? blend->mWeight : 1.0;
    cairo_set_operator(mCr, CAIRO_OPERATOR_OVER);
    cairo_set_source_rgba(mCr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0 * w);
  }

  cairo_surface_t* mSurface;
  cairo_t* mCr;
  cairo_font_face_t* mFace;
};

void BM_PlainCairoFrame(benchmark::State& state) {
  PlainCairo g;
  for (auto _ : state) {
    g.Begin();
    DrawShapes(g);
    g.End();
  }
}
BENCHMARK(BM_PlainCairoFrame)->Unit(benchmark::kMillisecond);

void BM_CairoPainterFrame(benchmark::State& state) {
  CairoPainter g(kWidth, kHeight);
  for (auto _ : state) {
    g.BeginFrame();
    g.Clear(COLOR_WHITE);
    DrawShapes(g);
    g.EndFrame();
  }
}
BENCHMARK(BM_CairoPainterFrame)->Unit(benchmark::kMillisecond);

// A control that draws the whole frame, so the graphics core's own frame cycle (dirty check,
// clip, draw) is measured along with its drawing calls.
class FrameControl : public IControl {
 public:
  FrameControl() : IControl(IRECT(0.f, 0.f, kWidth, kHeight)) {}
  void Draw(IGraphics& g) override {
    g.FillRect(COLOR_WHITE, mRECT);
    DrawShapes(g);
  }
};

void BM_IGraphicsFrame(benchmark::State& state) {
  iplug::IEditorDelegate delegate(0);
  IGraphicsNanoVG graphics(delegate, kWidth, kHeight);
  graphics.AttachControl(new FrameControl);
  IRECTList dirty;
  for (auto _ : state) {
    graphics.SetAllControlsDirty();
    dirty.Clear();
    graphics.IsDirty(dirty);
    graphics.Draw(dirty);
  }
}
BENCHMARK(BM_IGraphicsFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double base = reporter.Time("BM_PlainCairoFrame");
  const double painter = reporter.Time("BM_CairoPainterFrame");
  const double graphics = reporter.Time("BM_IGraphicsFrame");
  if (base > 0.0 && painter > 0.0)
    std::printf("ratio CairoPainter / plain Cairo: %.2f\n", painter / base);
  if (base > 0.0 && graphics > 0.0)
    std::printf("ratio IGraphics / plain Cairo: %.2f (target 1.20 or less)\n", graphics / base);
  benchmark::Shutdown();
  return 0;
}
