#include <algorithm>
#include <array>

#include "graphics/CairoPainterDetail.h"

namespace iplug {
namespace igraphics {
namespace cairo_detail {

namespace {

// A stop in Cairo's terms: offset and straight-alpha channels, each 0..1.
struct Stop {
  double offset = 0.0;
  double r = 0.0, g = 0.0, b = 0.0, a = 0.0;
};

// Between two stops whose colours differ as well as their alpha, the colour of a blend by
// alpha does not change linearly: Cairo draws straight lines between this many pieces of it.
constexpr int kPiecesPerFade = 8;

// The colour at fraction t from s0 to s1, blended by alpha. Where the alpha is 0 the colour
// is that of the stop that has some, so a transparent end takes its neighbour's colour.
Stop BlendByAlpha(const Stop& s0, const Stop& s1, double t) {
  Stop out;
  out.offset = s0.offset + (s1.offset - s0.offset) * t;
  out.a = s0.a + (s1.a - s0.a) * t;
  const double w0 = s0.a * (1.0 - t), w1 = s1.a * t;
  if (w0 + w1 > 0.0) {
    out.r = (s0.r * w0 + s1.r * w1) / (w0 + w1);
    out.g = (s0.g * w0 + s1.g * w1) / (w0 + w1);
    out.b = (s0.b * w0 + s1.b * w1) / (w0 + w1);
  } else {
    const Stop& lit = s0.a > 0.0 ? s0 : s1;
    out.r = lit.r;
    out.g = lit.g;
    out.b = lit.b;
  }
  return out;
}

void Add(cairo_pattern_t* p, const Stop& s) {
  cairo_pattern_add_color_stop_rgba(p, s.offset, s.r, s.g, s.b, s.a);
}

}  // namespace

void AddGradientStops(cairo_pattern_t* p, const IPattern& pattern, float weight) {
  std::array<Stop, IPattern::kMaxStops> stops;
  int n = 0;
  const int count = std::clamp(pattern.mNStops, 0, IPattern::kMaxStops);
  for (int i = 0; i < count; ++i) {
    const IColorStop& stop = pattern.mStops[i];
    if (!std::isfinite(stop.mOffset)) continue;
    const IColor& c = stop.mColor;
    stops[n++] = {std::clamp(static_cast<double>(stop.mOffset), 0.0, 1.0), Channel(c.R),
                  Channel(c.G), Channel(c.B), Channel(c.A) * weight};
  }
  // Cairo orders stops by offset, keeping equal offsets in the order given; so do we, to pair
  // each stop with the neighbours Cairo will blend it with.
  std::stable_sort(stops.begin(), stops.begin() + n,
                   [](const Stop& x, const Stop& y) { return x.offset < y.offset; });
  if (n == 1) Add(p, stops[0]);
  // Each pair is written whole, its ends included: a transparent stop between two colours
  // becomes two stops at its offset, one in the colour of each side.
  for (int i = 0; i + 1 < n; ++i) {
    const Stop& s0 = stops[i];
    const Stop& s1 = stops[i + 1];
    const bool sameColour = s0.r == s1.r && s0.g == s1.g && s0.b == s1.b;
    const bool linear = s0.a == s1.a || sameColour || s0.a == 0.0 || s1.a == 0.0;
    const int pieces = linear ? 1 : kPiecesPerFade;
    for (int k = 0; k <= pieces; ++k)
      Add(p, BlendByAlpha(s0, s1, static_cast<double>(k) / pieces));
  }
}

}  // namespace cairo_detail
}  // namespace igraphics
}  // namespace iplug
