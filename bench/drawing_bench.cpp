// Drawing-context costs against the same drawing in plain Cairo, on a 1024 x 768 memory
// context:
// - SWELL_FillRect of varied rectangles against cairo_rectangle and cairo_fill;
// - SWELL_DrawText of short 10-point lines in mixed alignments against shaping the same
//   text with the same face through HarfBuzz and cairo_show_glyphs, unhinted, with the
//   glyphs placed where DrawText places them (a different placement changes Cairo's own
//   cost: glyphs whose boxes overlap are composited through a mask);
// - StretchBlt of a 512 x 512 region to 640 x 640 against a nearest-filter Cairo paint.
// Each at several counts per iteration; target for every ratio: within 1.3x. Prints the
// ratios after the runs.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <hb.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/drawing/CoreText.h"
#include "windowing/Win32.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kBlitSource = 512;
constexpr int kBlitTarget = 640;
constexpr int kFontPoints = 10;
constexpr int kTextBoxWidth = 120;
constexpr int kTextBoxHeight = 20;
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
      r.right = r.left + kTextBoxWidth;
      r.bottom = r.top + kTextBoxHeight;
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
  // Unhinted, as the layer draws text.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
  hb_buffer_t* buffer = hb_buffer_create();
  std::vector<cairo_glyph_t> glyphs;
  // HarfBuzz positions come in font units (the font's scale is its em square), as the
  // layer shapes them; the line box is placed as DrawText places one line.
  const double unit =
      kFontPoints / double(hb_face_get_upem(hb_font_get_face(font->harfBuzzFont())));
  const double ascent = font->ascent();
  const int lineHeight =
      static_cast<int>(std::floor(ascent + font->descent() + font->leading() + 1.5)) + 1;
  for (auto _ : state)
    for (int i = 0; i < state.range(0); ++i) {
      const RECT r = rectangleNumber(i);
      const int flags = kAlignments[i % 5];
      hb_buffer_reset(buffer);
      hb_buffer_add_utf8(buffer, kLines[i % 5], -1, 0, -1);
      hb_buffer_guess_segment_properties(buffer);
      hb_shape(font->harfBuzzFont(), buffer, nullptr, 0);
      unsigned count = 0;
      const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
      const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
      glyphs.resize(count);
      double advance = 0;
      for (unsigned g = 0; g < count; ++g)
        advance += pos[g].x_advance;
      const int width = static_cast<int>(std::floor(advance * unit + 0.5));
      int x = r.left, y = r.top;
      if (flags & DT_RIGHT)
        x = r.left + kTextBoxWidth - width;
      else if (flags & DT_CENTER)
        x = r.left + (kTextBoxWidth / 2 - width / 2);
      if (flags & DT_VCENTER) y = r.top + (kTextBoxHeight / 2 - lineHeight / 2);
      double pen = 0;
      for (unsigned g = 0; g < count; ++g) {
        glyphs[g] = {info[g].codepoint, x + (pen + pos[g].x_offset) * unit, y + ascent};
        pen += pos[g].x_advance;
      }
      cairo_save(cr);
      cairo_rectangle(cr, r.left, r.top, kTextBoxWidth, kTextBoxHeight);
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

// Each measured benchmark, its baseline and the sizes both run at.
struct Pair {
  const char* measured;
  const char* baseline;
  std::vector<const char*> sizes;
};
const Pair kPairs[] = {{"SwellFillRect", "CairoFillRect", {"/100", "/1000"}},
                       {"SwellDrawText", "CairoShowGlyphs", {"/100", "/1000"}},
                       {"SwellStretchBlt", "CairoNearestPaint", {"/1", "/4"}}};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  for (const auto& [measured, baseline, sizes] : kPairs)
    for (const char* size : sizes) {
      const std::string m = std::string(measured) + size, b = std::string(baseline) + size;
      reporter.Goal(m + " / " + b, {m}, {b}, kTarget);
    }
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
