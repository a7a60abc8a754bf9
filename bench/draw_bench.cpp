// A frame of an editor of N controls of five kinds (label, button, knob, slider, number box),
// all dirty, at 100, 300, 1,000 and 3,000 controls on an 800 x 600 and a 1,920 x 1,080
// surface: through the graphics core's frame cycle (each cell an attached control, so the
// per-control cost of collecting, merging, clipping and drawing is measured), through its
// CairoPainter alone, and, as the baseline, with plain Cairo calls drawing the same shapes in
// the same run. Prints the ratios at every size (goals: at most 1.3 for the frame cycle, 1.2
// for the painter alone).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "framework/IPlugAPIBase.h"
#include "graphics/CairoPainter.h"
#include "graphics/FontCache.h"
#include "graphics/Graphics.h"

namespace {

using namespace iplug::igraphics;

constexpr int kControlCounts[] = {100, 300, 1000, 3000};
struct Surface {
  int width, height;
};
constexpr Surface kSurfaces[] = {{800, 600}, {1920, 1080}};
constexpr double kFrameRatioGoal = 1.3;
// The painter alone leaves the frame cycle room within the frame's goal.
constexpr double kPainterRatioGoal = 1.2;
constexpr int kKinds = 5;

// The cells of a frame: N of them in a grid filling the surface, about square, on whole pixels
// as editors lay controls out. (A control whose edges fall between pixels is clipped with
// antialiased edges, which costs Cairo about a quarter more at 3,000 small controls.)
std::vector<IRECT> Cells(int count, const Surface& surface) {
  const int columns = static_cast<int>(
      std::ceil(std::sqrt(static_cast<double>(count) * surface.width / surface.height)));
  const int rows = (count + columns - 1) / columns;
  const float cw = static_cast<float>(surface.width) / columns;
  const float ch = static_cast<float>(surface.height) / rows;
  std::vector<IRECT> cells;
  for (int i = 0; i < count; ++i)
    cells.push_back(IRECT::MakeXYWH((i % columns) * cw, (i / columns) * ch, cw, ch)
                        .GetPadded(-1.f)
                        .GetPixelAligned());
  return cells;
}

// One cell's shapes, for anything with the graphics core's drawing calls: kind i % 5 draws a
// label, a button, a knob, a slider or a number box.
template <typename Graphics>
void DrawCell(Graphics& g, const IRECT& cell, int i) {
  static const IText kText(11.f, COLOR_BLACK);
  static const char* const kLabels[] = {"Gain", "Pan", "CC 64", "Ch 1", "Bend", "Latch"};
  const IColor fill(255, 40 + (i * 37) % 200, 60 + (i * 53) % 180, 90 + (i * 29) % 160);
  const float value = static_cast<float>(i % 11) / 10.f;
  switch (i % kKinds) {
    case 0:
      g.DrawText(kText, kLabels[i % 6], cell, nullptr);
      break;
    case 1:
      g.FillRoundRect(fill, cell, 3.f, nullptr);
      g.DrawRoundRect(COLOR_DARK_GRAY, cell, 3.f, nullptr, 1.f);
      g.DrawText(kText, "B", cell, nullptr);
      break;
    case 2: {
      const float r = 0.4f * std::min(cell.W(), cell.H());
      g.DrawArc(COLOR_DARK_GRAY, cell.MW(), cell.MH(), r, -135.f, -135.f + 270.f * value, nullptr,
                2.f);
      g.FillCircle(fill, cell.MW(), cell.MH(), 0.7f * r, nullptr);
      const float a = static_cast<float>((-135.0 + 270.0 * value - 90.0) * M_PI / 180.0);
      g.DrawLine(COLOR_BLACK, cell.MW(), cell.MH(), cell.MW() + 0.7f * r * std::cos(a),
                 cell.MH() + 0.7f * r * std::sin(a), nullptr, 1.5f);
      break;
    }
    case 3: {
      const IRECT track = cell.GetMidVPadded(0.15f * cell.H());
      g.FillRect(COLOR_LIGHT_GRAY, track, nullptr);
      g.FillRect(fill, IRECT(track.L, track.T, track.L + value * track.W(), track.B), nullptr);
      g.DrawRect(COLOR_DARK_GRAY, track, nullptr, 1.f);
      g.FillCircle(COLOR_WHITE, track.L + value * track.W(), track.MH(), 0.3f * cell.H(), nullptr);
      break;
    }
    default:
      g.DrawRect(COLOR_DARK_GRAY, cell, nullptr, 1.f);
      g.DrawText(kText, "0.50", cell, nullptr);
      break;
  }
}

// The same calls made directly on a Cairo context, as a hand-written back end would.
class PlainCairo {
 public:
  explicit PlainCairo(const Surface& s) {
    mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, s.width, s.height);
    mCr = cairo_create(mSurface);
    mFace = FontCache::Get(IText().mFont);
  }
  ~PlainCairo() {
    if (mFace) cairo_font_face_destroy(mFace);
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
  }
  PlainCairo(const PlainCairo&) = delete;
  PlainCairo& operator=(const PlainCairo&) = delete;

  void Begin() {
    cairo_set_source_rgb(mCr, 1, 1, 1);
    cairo_paint(mCr);
  }
  void End() { cairo_surface_flush(mSurface); }

  void FillRect(const IColor& c, const IRECT& r, const IBlend* blend) {
    cairo_new_path(mCr);
    cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
    Source(c, blend);
    cairo_fill(mCr);
  }
  void DrawRect(const IColor& c, const IRECT& r, const IBlend* blend, float t) {
    cairo_new_path(mCr);
    cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
    Stroke(c, blend, t);
  }
  void FillRoundRect(const IColor& c, const IRECT& r, float cr, const IBlend* blend) {
    RoundRect(r, cr);
    Source(c, blend);
    cairo_fill(mCr);
  }
  void DrawRoundRect(const IColor& c, const IRECT& r, float cr, const IBlend* blend, float t) {
    RoundRect(r, cr);
    Stroke(c, blend, t);
  }
  void FillCircle(const IColor& c, float cx, float cy, float r, const IBlend* blend) {
    cairo_new_path(mCr);
    cairo_arc(mCr, cx, cy, r, 0, 2 * M_PI);
    Source(c, blend);
    cairo_fill(mCr);
  }
  void DrawLine(const IColor& c, float x1, float y1, float x2, float y2, const IBlend* blend,
                float t) {
    cairo_new_path(mCr);
    cairo_move_to(mCr, x1, y1);
    cairo_line_to(mCr, x2, y2);
    Stroke(c, blend, t);
  }
  void DrawArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
               const IBlend* blend, float t) {
    cairo_new_path(mCr);
    cairo_arc(mCr, cx, cy, r, (a1 - 90.0) * M_PI / 180.0, (a2 - 90.0) * M_PI / 180.0);
    Stroke(c, blend, t);
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
  void Stroke(const IColor& c, const IBlend* blend, float t) {
    Source(c, blend);
    cairo_set_line_width(mCr, t);
    cairo_stroke(mCr);
  }

  cairo_surface_t* mSurface;
  cairo_t* mCr;
  cairo_font_face_t* mFace;
};

// A control per cell, so the frame cycle handles every one.
class CellControl : public IControl {
 public:
  CellControl(const IRECT& cell, int index) : IControl(cell), mIndex(index) {}
  void Draw(IGraphics& g) override { DrawCell(g, mRECT, mIndex); }

 private:
  int mIndex;
};

std::string SizeName(int count, const Surface& s) {
  return std::to_string(s.width) + "x" + std::to_string(s.height) + "/" + std::to_string(count);
}

void RegisterAt(int count, const Surface& surface) {
  const std::string size = SizeName(count, surface);
  benchmark::RegisterBenchmark(("PlainCairo/" + size).c_str(), [count,
                                                                surface](benchmark::State& state) {
    const std::vector<IRECT> cells = Cells(count, surface);
    PlainCairo g(surface);
    for (auto _ : state) {
      g.Begin();
      for (int i = 0; i < count; ++i)
        DrawCell(g, cells[static_cast<size_t>(i)], i);
      g.End();
    }
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("CairoPainter/" + size).c_str(), [count, surface](
                                                                     benchmark::State& state) {
    const std::vector<IRECT> cells = Cells(count, surface);
    CairoPainter g(surface.width, surface.height);
    for (auto _ : state) {
      g.BeginFrame();
      g.Clear(COLOR_WHITE);
      for (int i = 0; i < count; ++i)
        DrawCell(g, cells[static_cast<size_t>(i)], i);
      g.EndFrame();
    }
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(("IGraphics/" + size).c_str(), [count,
                                                               surface](benchmark::State& state) {
    iplug::IPlugAPIBase delegate(0);
    IGraphicsNanoVG graphics(delegate, surface.width, surface.height);
    const std::vector<IRECT> cells = Cells(count, surface);
    for (int i = 0; i < count; ++i)
      graphics.AttachControl(new CellControl(cells[static_cast<size_t>(i)], i));
    IRECTList dirty;
    for (auto _ : state) {
      graphics.SetAllControlsDirty();
      dirty.Clear();
      graphics.IsDirty(dirty);
      graphics.Draw(dirty);
    }
  })->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (const Surface& surface : kSurfaces)
    for (int count : kControlCounts)
      RegisterAt(count, surface);
  RatioReporter reporter(RatioReporter::Clock::Processor);
  for (const Surface& surface : kSurfaces) {
    for (int count : kControlCounts) {
      const std::string size = SizeName(count, surface);
      reporter.Goal("CairoPainter / plain Cairo, " + size + " controls", {"CairoPainter/" + size},
                    {"PlainCairo/" + size}, kPainterRatioGoal);
      reporter.Goal("frame of all-dirty controls / plain Cairo, " + size, {"IGraphics/" + size},
                    {"PlainCairo/" + size}, kFrameRatioGoal);
    }
  }
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
