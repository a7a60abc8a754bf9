// Drawing-context costs against the same drawing in plain Cairo, on a 1024 x 768 memory
// context:
// - SWELL_FillRect of varied rectangles against cairo_rectangle and cairo_fill;
// - SWELL_DrawText of short 10-point lines in mixed alignments against shaping the same
//   text with the same face through HarfBuzz and cairo_show_glyphs;
// - StretchBlt of a 512 x 512 region to 640 x 640 against a nearest-filter Cairo paint.
// Each at several counts per iteration; target for every ratio: within 1.3x. Prints the
// ratios after the runs.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <hb.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/CoreText.h"
#include "windowing/Win32.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kBlitSource = 512;
constexpr int kBlitTarget = 640;
constexpr int kFontPoints = 10;
constexpr double kTarget = 1.3;
const char* const kFace = "DejaVu Sans";
const char* const kLines[] = {"Pedal 1", "Expression", "Bank 12 / Patch 3", "Tap tempo",
                              "MIDI channel 16"};
const int kAlignments[] = {0, DT_CENTER, DT_RIGHT, DT_VCENTER, DT_CENTER | DT_VCENTER};

RECT rectangleNumber(int i) {
  const int x = (i * 37) % (kWidth - 64), y = (i * 53) % (kHeight - 48);
  return {x, y, x + 16 + i % 48, y + 8 + i % 40};
}

void SwellFillRect(benchmark::State& state) {
  HDC hdc = SWELL_CreateMemContext(nullptr, kWidth, kHeight);
  HBRUSH brush = CreateSolidBrush(0x336699);
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      const RECT r = rectangleNumber(i);
      SWELL_FillRect(hdc, &r, brush);
    }
  DeleteObject(brush);
  SWELL_DeleteGfxContext(hdc);
}

void CairoFillRect(benchmark::State& state) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      const RECT r = rectangleNumber(i);
      cairo_set_source_rgba(cr, 0x33 / 255.0, 0x66 / 255.0, 0x99 / 255.0, 1);
      cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
      cairo_fill(cr);
    }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void SwellDrawText(benchmark::State& state) {
  HDC hdc = SWELL_CreateMemContext(nullptr, kWidth, kHeight);
  HFONT font = CreateFont(-kFontPoints, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, kFace);
  SelectObject(hdc, font);
  SetTextColor(hdc, 0xFFFFFF);
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      RECT r = rectangleNumber(i);
      r.right = r.left + 120;
      r.bottom = r.top + 20;
      SWELL_DrawText(hdc, kLines[i % 5], -1, &r, kAlignments[i % 5] | DT_SINGLELINE);
    }
  DeleteObject(font);
  SWELL_DeleteGfxContext(hdc);
}

void CairoShowGlyphs(benchmark::State& state) {
  platform::Ref<platform::CTFont> font =
      platform::Ref<platform::CTFont>::adopt(platform::CTFont::createWithName(kFace, kFontPoints));
  if (!font) {
    state.SkipWithError("no DejaVu Sans");
    return;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  cairo_set_font_face(cr, font->cairoFace());
  cairo_set_font_size(cr, kFontPoints);
  hb_buffer_t* buffer = hb_buffer_create();
  std::vector<cairo_glyph_t> glyphs;
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      const RECT r = rectangleNumber(i);
      hb_buffer_reset(buffer);
      hb_buffer_add_utf8(buffer, kLines[i % 5], -1, 0, -1);
      hb_buffer_guess_segment_properties(buffer);
      hb_shape(font->harfBuzzFont(), buffer, nullptr, 0);
      unsigned count = 0;
      const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
      const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
      glyphs.resize(count);
      double x = r.left, width = 0;
      for (unsigned g = 0; g < count; ++g)
        width += pos[g].x_advance / 64.0;
      if (kAlignments[i % 5] & DT_CENTER) x += (120 - width) / 2;
      for (unsigned g = 0; g < count; ++g) {
        glyphs[g] = {info[g].codepoint, x + pos[g].x_offset / 64.0, r.top + 12.0};
        x += pos[g].x_advance / 64.0;
      }
      cairo_save(cr);
      cairo_rectangle(cr, r.left, r.top, 120, 20);
      cairo_clip(cr);
      cairo_set_source_rgb(cr, 1, 1, 1);
      cairo_show_glyphs(cr, glyphs.data(), static_cast<int>(count));
      cairo_restore(cr);
    }
  hb_buffer_destroy(buffer);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

void SwellStretchBlt(benchmark::State& state) {
  HDC source = SWELL_CreateMemContext(nullptr, kBlitSource, kBlitSource);
  HDC dest = SWELL_CreateMemContext(nullptr, kWidth, kHeight);
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i)
      StretchBlt(dest, i % 64, 0, kBlitTarget, kBlitTarget, source, 0, 0, kBlitSource, kBlitSource,
                 SRCCOPY);
  SWELL_DeleteGfxContext(source);
  SWELL_DeleteGfxContext(dest);
}

void CairoNearestPaint(benchmark::State& state) {
  cairo_surface_t* source =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, kBlitSource, kBlitSource);
  cairo_surface_t* dest = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
  cairo_t* cr = cairo_create(dest);
  const double scale = static_cast<double>(kBlitTarget) / kBlitSource;
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      cairo_save(cr);
      cairo_translate(cr, i % 64, 0);
      cairo_scale(cr, scale, scale);
      cairo_set_source_surface(cr, source, 0, 0);
      cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
      cairo_paint(cr);
      cairo_restore(cr);
    }
  cairo_destroy(cr);
  cairo_surface_destroy(source);
  cairo_surface_destroy(dest);
}

BENCHMARK(SwellFillRect)->Arg(100)->Arg(1000);
BENCHMARK(CairoFillRect)->Arg(100)->Arg(1000);
BENCHMARK(SwellDrawText)->Arg(100)->Arg(1000);
BENCHMARK(CairoShowGlyphs)->Arg(100)->Arg(1000);
BENCHMARK(SwellStretchBlt)->Arg(1)->Arg(4);
BENCHMARK(CairoNearestPaint)->Arg(1)->Arg(4);

void printRatio(const RatioReporter& reporter, const std::string& measured,
                const std::string& baseline) {
  const double m = reporter.Time(measured), b = reporter.Time(baseline);
  if (m <= 0 || b <= 0) {
    std::printf("ratio %s: not measured\n", measured.c_str());
    return;
  }
  PrintRatio(measured + " / " + baseline, m / b, kTarget);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::pair<const char*, const char*> pairs[] = {{"SwellFillRect", "CairoFillRect"},
                                                       {"SwellDrawText", "CairoShowGlyphs"},
                                                       {"SwellStretchBlt", "CairoNearestPaint"}};
  double total = 0, baseTotal = 0;
  for (const auto& [measured, baseline] : pairs)
    for (const char* size : {"/1", "/4", "/100", "/1000"}) {
      const std::string m = std::string(measured) + size, b = std::string(baseline) + size;
      if (reporter.Time(m) <= 0) continue;
      printRatio(reporter, m, b);
      total += reporter.Time(m);
      baseTotal += reporter.Time(b);
    }
  if (baseTotal > 0) PrintRatio("drawing total", total / baseTotal, kTarget);
  benchmark::Shutdown();
  return 0;
}
