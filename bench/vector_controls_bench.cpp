// An 800 x 600 editor of 50 vector knobs and 50 vector sliders with labels and values, drawn
// through IGraphicsNanoVG, where each frame changes one control's value (cycling through them)
// and draws it. The baseline draws the same control's shapes with plain Cairo calls (same font
// face, clipped to its rectangle), after checking once that both give the same pixels. Prints
// both times and the ratio (goal: at most 1.3).

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "controls/Controls.h"
#include "framework/IPlugAPIBase.h"
#include "graphics/FontCache.h"
#include "graphics/Graphics.h"

namespace {

using namespace iplug::igraphics;

constexpr int kWidth = 800, kHeight = 600;
constexpr int kColumns = 10, kRows = 10;  // knobs in the upper five rows, sliders below
constexpr int kControls = kColumns * kRows;
constexpr double kRatioGoal = 1.3;
// Pixels may differ by antialiasing only: at most this much per channel, on at most this share
// of the control's pixels.
constexpr int kChannelTolerance = 24;
constexpr double kMismatchShare = 0.01;
constexpr int kValueSteps = 37;  // values cycle through this many positions

const IVStyle kStyle = DEFAULT_STYLE.WithDrawShadows(false);

double ValueOf(int frame) {
  return static_cast<double>(frame % kValueSteps) / (kValueSteps - 1);
}

// Sets a control's value and its value text as a bound control would show it.
void SetControlValue(IControl* c, double v) {
  char text[16];
  std::snprintf(text, sizeof(text), "%.2f", v);
  c->SetValue(v);
  dynamic_cast<IVectorBase*>(c)->SetValueStr(text);
  c->SetDirty(false);
}

struct Editor {
  Editor() : delegate(0), graphics(delegate, kWidth, kHeight) {
    const float cw = static_cast<float>(kWidth) / kColumns;
    const float ch = static_cast<float>(kHeight) / kRows;
    for (int i = 0; i < kControls; ++i) {
      const IRECT cell =
          IRECT::MakeXYWH((i % kColumns) * cw, (i / kColumns) * ch, cw, ch).GetPadded(-2.f);
      IControl* c = nullptr;
      if (i < kControls / 2)
        c = new IVKnobControl(cell, IActionFunction(), "Knob", kStyle);
      else
        c = new IVSliderControl(cell, IActionFunction(), "Slider", kStyle, false,
                                EDirection::Horizontal);
      controls.push_back(graphics.AttachControl(c));
      SetControlValue(c, ValueOf(i));
    }
    DrawFrame();
  }
  void DrawFrame() {
    IRECTList dirty;
    if (graphics.IsDirty(dirty)) graphics.Draw(dirty);
  }

  iplug::IPlugAPIBase delegate;
  IGraphicsNanoVG graphics;
  std::vector<IControl*> controls;
};

// The knob's and slider's shapes written directly against Cairo.
class PlainCairo {
 public:
  PlainCairo() {
    mSurface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    mCr = cairo_create(mSurface);
    // Text as the painter renders it: unhinted, greyscale antialiasing.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(mCr, options);
    cairo_font_options_destroy(options);
  }
  ~PlainCairo() {
    for (auto& [name, face] : mFaces)
      cairo_font_face_destroy(face);
    cairo_destroy(mCr);
    cairo_surface_destroy(mSurface);
  }
  PlainCairo(const PlainCairo&) = delete;
  PlainCairo& operator=(const PlainCairo&) = delete;

  void Draw(IControl* c) {
    const IRECT r = c->GetRECT().GetPixelAligned();
    cairo_reset_clip(mCr);
    cairo_save(mCr);
    cairo_set_operator(mCr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
    cairo_fill(mCr);
    cairo_restore(mCr);
    cairo_rectangle(mCr, r.L, r.T, r.W(), r.H());
    cairo_clip(mCr);
    if (auto* knob = dynamic_cast<IVKnobControl*>(c))
      Knob(*knob);
    else if (auto* slider = dynamic_cast<IVSliderControl*>(c))
      Slider(*slider);
    cairo_surface_flush(mSurface);
  }

  // Premultiplied ARGB at (x, y).
  uint32_t Pixel(int x, int y) const {
    const unsigned char* data = cairo_image_surface_get_data(mSurface);
    const int stride = cairo_image_surface_get_stride(mSurface);
    return *reinterpret_cast<const uint32_t*>(data + y * stride + x * 4);
  }

 private:
  void Source(const IColor& c) {
    cairo_set_source_rgba(mCr, c.R / 255.0, c.G / 255.0, c.B / 255.0, c.A / 255.0);
  }
  void Ellipse(const IRECT& r) {
    cairo_save(mCr);
    cairo_translate(mCr, r.MW(), r.MH());
    cairo_scale(mCr, 0.5 * r.W(), 0.5 * r.H());
    cairo_new_sub_path(mCr);
    cairo_arc(mCr, 0, 0, 1, 0, 2 * M_PI);
    cairo_close_path(mCr);
    cairo_restore(mCr);
  }
  void Stroke(const IColor& c, double width) {
    Source(c);
    cairo_set_line_width(mCr, width);
    cairo_stroke(mCr);
  }
  void Fill(const IColor& c) {
    Source(c);
    cairo_fill(mCr);
  }
  void Text(const IText& text, const char* str, const IRECT& bounds) {
    if (!*str) return;
    auto it = mFaces.find(text.mFont);
    if (it == mFaces.end()) it = mFaces.emplace(text.mFont, FontCache::Get(text.mFont)).first;
    cairo_set_font_face(mCr, it->second);
    cairo_set_font_size(mCr, text.mSize);
    cairo_font_extents_t fe;
    cairo_text_extents_t te;
    cairo_font_extents(mCr, &fe);
    cairo_text_extents(mCr, str, &te);
    const double h = fe.ascent + fe.descent;
    const double top = text.mVAlign == EVAlign::Top      ? bounds.T
                       : text.mVAlign == EVAlign::Middle ? bounds.MH() - 0.5 * h
                                                         : bounds.B - h;
    Source(text.mFGColor);
    cairo_move_to(mCr, static_cast<float>(bounds.MW() - 0.5 * te.x_advance),
                  static_cast<float>(top) + fe.ascent);
    cairo_show_text(mCr, str);
    cairo_new_path(mCr);
  }
  void Knob(IVKnobControl& k) {
    const IVStyle& s = k.GetStyle();
    Text(s.labelText, k.GetLabelStr(), k.GetLabelBounds());
    const IRECT& w = k.GetWidgetBounds();
    const float cx = w.MW(), cy = w.MH(), track = k.GetTrackSize();
    const float radius = std::max(0.f, 0.5f * std::min(w.W(), w.H()) - 0.5f * track);
    const float d = std::max(1.f, 2.f * (radius - IVKnobControl::kDefaultTrackToHandleDistance));
    const float angle = k.GetStartAngle() +
                        (k.GetEndAngle() - k.GetStartAngle()) * static_cast<float>(k.GetValue());
    const float a1 = std::min(angle, k.GetAnchorAngle()), a2 = std::max(angle, k.GetAnchorAngle());
    cairo_new_path(mCr);
    cairo_arc(mCr, cx, cy, radius, (a1 - 90.0) * M_PI / 180.0, (a2 - 90.0) * M_PI / 180.0);
    Stroke(s.GetColor(kX1), track);
    const IRECT body(cx - 0.5f * d, cy - 0.5f * d, cx + 0.5f * d, cy + 0.5f * d);
    Ellipse(body);
    Fill(s.GetColor(kFG));
    Ellipse(body);
    Stroke(s.GetColor(kFR), s.frameThickness);
    const double t = (angle - 90.0) / 180.0 * M_PI;
    const float r1 = IVKnobControl::kDefaultInnerPointerFrac * 0.5f * d;
    const float r2 = IVKnobControl::kDefaultOuterPointerFrac * 0.5f * d;
    const float c = static_cast<float>(std::cos(t)), sn = static_cast<float>(std::sin(t));
    cairo_move_to(mCr, cx + c * r1, cy + sn * r1);
    cairo_line_to(mCr, cx + c * r2, cy + sn * r2);
    Stroke(s.GetColor(kFR), IVKnobControl::kDefaultPointerThickness);
    Text(s.valueText, k.GetValueStr(), k.GetValueBounds());
  }
  void Slider(IVSliderControl& sl) {
    const IVStyle& s = sl.GetStyle();
    Text(s.labelText, sl.GetLabelStr(), sl.GetLabelBounds());
    const IRECT& t = sl.GetTrack();
    const IRECT filled = sl.GetFilledArea();
    cairo_rectangle(mCr, t.L, t.T, t.W(), t.H());
    Fill(s.GetColor(kSH));
    if (filled.W() > 0.f) {
      cairo_rectangle(mCr, filled.L, filled.T, filled.W(), filled.H());
      Fill(s.GetColor(kX1));
    }
    cairo_rectangle(mCr, t.L, t.T, t.W(), t.H());
    Stroke(s.GetColor(kFR), s.frameThickness);
    const IRECT handle = sl.GetHandleBounds();
    Ellipse(handle);
    Fill(s.GetColor(kFG));
    Ellipse(handle);
    Stroke(s.GetColor(kFR), s.frameThickness);
    Text(s.valueText, sl.GetValueStr(), sl.GetValueBounds());
  }

  cairo_surface_t* mSurface;
  cairo_t* mCr;
  std::map<std::string, cairo_font_face_t*> mFaces;
};

// The share of a control's pixels where the two drawings differ beyond antialiasing.
double MismatchShare(IGraphicsNanoVG& g, const PlainCairo& plain, const IRECT& r) {
  int bad = 0, total = 0;
  for (int y = static_cast<int>(r.T); y < static_cast<int>(r.B); ++y) {
    for (int x = static_cast<int>(r.L); x < static_cast<int>(r.R); ++x) {
      const IColor a = g.GetPixel(x, y);
      const uint32_t p = plain.Pixel(x, y);
      const int alpha = static_cast<int>(p >> 24);
      auto un = [alpha](uint32_t v) { return alpha ? static_cast<int>(v * 255 / alpha) : 0; };
      const int b[4] = {alpha, un((p >> 16) & 0xFF), un((p >> 8) & 0xFF), un(p & 0xFF)};
      const int diff = std::max(
          {std::abs(a.A - b[0]), std::abs(a.R - b[1]), std::abs(a.G - b[2]), std::abs(a.B - b[3])});
      // Colour channels of nearly transparent pixels carry no information.
      if (diff > kChannelTolerance && (a.A > kChannelTolerance || b[0] > kChannelTolerance)) ++bad;
      ++total;
    }
  }
  return total ? static_cast<double>(bad) / total : 1.0;
}

bool CheckPixelsOnce() {
  Editor editor;
  PlainCairo plain;
  bool ok = true;
  for (int idx : {3, kControls / 2 + 7}) {
    IControl* c = editor.controls[static_cast<size_t>(idx)];
    SetControlValue(c, 0.3);
    editor.DrawFrame();
    plain.Draw(c);
    const double share = MismatchShare(editor.graphics, plain, c->GetRECT().GetPixelAligned());
    std::printf("pixel check, control %d: %.2f%% of pixels differ\n", idx, 100.0 * share);
    ok = ok && share <= kMismatchShare;
  }
  return ok;
}

void BM_ControlFrame(benchmark::State& state) {
  Editor editor;
  int frame = 0;
  for (auto _ : state) {
    IControl* c = editor.controls[static_cast<size_t>(frame % kControls)];
    SetControlValue(c, ValueOf(frame + 1));
    editor.DrawFrame();
    ++frame;
  }
}
BENCHMARK(BM_ControlFrame)->Unit(benchmark::kMicrosecond);

void BM_PlainCairo(benchmark::State& state) {
  Editor editor;
  PlainCairo plain;
  int frame = 0;
  for (auto _ : state) {
    IControl* c = editor.controls[static_cast<size_t>(frame % kControls)];
    // The value and its text change as in the frame above, without the frame cycle.
    char text[16];
    std::snprintf(text, sizeof(text), "%.2f", ValueOf(frame + 1));
    c->SetValue(ValueOf(frame + 1));
    dynamic_cast<IVectorBase*>(c)->SetValueStr(text);
    c->SetClean();
    plain.Draw(c);
    ++frame;
  }
}
BENCHMARK(BM_PlainCairo)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!CheckPixelsOnce()) {
    std::fprintf(stderr, "the plain Cairo drawing does not match the controls' pixels\n");
    return 1;
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Processor);
  reporter.Goal("one vector control per frame / plain Cairo", {"BM_ControlFrame"},
                {"BM_PlainCairo"}, kRatioGoal);
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
