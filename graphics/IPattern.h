#pragma once

// A solid colour or a gradient, with the transform that maps it onto the drawing.

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "graphics/IColor.h"

namespace iplug {
namespace igraphics {

enum class EPatternType : int32_t { Solid = 0, Linear = 1, Radial = 2, Sweep = 3 };
enum class EPatternExtend : int32_t { None = 0, Pad = 1, Reflect = 2, Repeat = 3 };

// A 2D affine transform: x' = xx*x + xy*y + tx, y' = yx*x + yy*y + ty.
struct IMatrix {
  double mXX = 1.0, mYX = 0.0, mXY = 0.0, mYY = 1.0, mTX = 0.0, mTY = 0.0;

  IMatrix() = default;
  IMatrix(double xx, double yx, double xy, double yy, double tx, double ty)
      : mXX(xx), mYX(yx), mXY(xy), mYY(yy), mTX(tx), mTY(ty) {}
};

struct IColorStop {
  IColor mColor;
  float mOffset = 0.f;
};

// A solid colour or a gradient of up to 16 stops, in pattern space mapped by mTransform.
struct IPattern {
  static constexpr int kMaxStops = 16;

  EPatternType mType = EPatternType::Solid;
  EPatternExtend mExtend = EPatternExtend::Pad;
  IColorStop mStops[kMaxStops];
  int mNStops = 0;
  IMatrix mTransform;

  IPattern() = default;
  IPattern(const IColor& color) : mType(EPatternType::Solid) { AddStop(color, 0.f); }
  explicit IPattern(EPatternType type) : mType(type) {}

  // Adds a stop; beyond 16 stops the extra ones are ignored.
  void AddStop(const IColor& color, float offset) {
    if (mNStops >= kMaxStops) return;
    mStops[mNStops++] = {color, offset};
  }
  int NStops() const { return mNStops; }

  // mTransform maps drawing space to pattern space. In pattern space a linear gradient runs
  // along x from offset 0 at x = 0 to offset 1 at x = 1, and a radial gradient from offset 0 at
  // the origin to offset 1 on the unit circle. A line of zero length or a radius of 0 gives a
  // transform that cannot be inverted; such a pattern draws nothing.
  static IPattern CreateLinearGradient(float x1, float y1, float x2, float y2,
                                       std::initializer_list<IColorStop> stops = {}) {
    IPattern p(EPatternType::Linear);
    const double dx = static_cast<double>(x2) - x1, dy = static_cast<double>(y2) - y1;
    const double len2 = dx * dx + dy * dy;
    if (len2 > 0.0) {
      // Projection onto the line (x) and onto its normal (y), both in units of its length.
      const double xx = dx / len2, xy = dy / len2;
      p.mTransform = IMatrix(xx, -xy, xy, xx, -(xx * x1 + xy * y1), xy * x1 - xx * y1);
    } else {
      p.mTransform = IMatrix(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    }
    for (const IColorStop& s : stops)
      p.AddStop(s.mColor, s.mOffset);
    return p;
  }
  static IPattern CreateRadialGradient(float cx, float cy, float r,
                                       std::initializer_list<IColorStop> stops = {}) {
    IPattern p(EPatternType::Radial);
    if (r > 0.f) {
      const double k = 1.0 / r;
      p.mTransform = IMatrix(k, 0.0, 0.0, k, -cx * k, -cy * k);
    } else {
      p.mTransform = IMatrix(0.0, 0.0, 0.0, 0.0, 0.0, 0.0);
    }
    for (const IColorStop& s : stops)
      p.AddStop(s.mColor, s.mOffset);
    return p;
  }
  const IColorStop& GetStop(int i) const { return mStops[std::clamp(i, 0, kMaxStops - 1)]; }
  IColor GetColor() const { return mNStops > 0 ? mStops[0].mColor : IColor(); }
};

}  // namespace igraphics
}  // namespace iplug
