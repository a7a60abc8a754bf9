// The shapes of CairoPainter: each builds its path and fills or strokes it.

#include <algorithm>
#include <cmath>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/CairoPainter.h"

namespace iplug {
namespace igraphics {

void CairoPainter::FillRect(const IColor& c, const IRECT& r, const IBlend* blend) {
  PathClear();
  PathRect(r);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::DrawRect(const IColor& c, const IRECT& r, const IBlend* blend, float thickness) {
  PathClear();
  PathRect(r);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::FillRoundRect(const IColor& c, const IRECT& r, float cornerRadius,
                                 const IBlend* blend) {
  PathClear();
  PathRoundRect(r, cornerRadius);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::DrawRoundRect(const IColor& c, const IRECT& r, float cornerRadius,
                                 const IBlend* blend, float thickness) {
  PathClear();
  PathRoundRect(r, cornerRadius);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::FillRoundRect(const IColor& c, const IRECT& r, float tl, float tr, float br,
                                 float bl, const IBlend* blend) {
  PathClear();
  PathRoundRect(r, tl, tr, br, bl);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::DrawRoundRect(const IColor& c, const IRECT& r, float tl, float tr, float br,
                                 float bl, const IBlend* blend, float thickness) {
  PathClear();
  PathRoundRect(r, tl, tr, br, bl);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::DrawCircle(const IColor& c, float cx, float cy, float r, const IBlend* blend,
                              float thickness) {
  PathClear();
  PathCircle(cx, cy, r);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::FillCircle(const IColor& c, float cx, float cy, float r, const IBlend* blend) {
  PathClear();
  PathCircle(cx, cy, r);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::FillEllipse(const IColor& c, const IRECT& r, const IBlend* blend) {
  PathClear();
  PathEllipse(r);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::DrawEllipse(const IColor& c, const IRECT& r, const IBlend* blend,
                               float thickness) {
  PathClear();
  PathEllipse(r);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::FillTriangle(const IColor& c, float x1, float y1, float x2, float y2, float x3,
                                float y3, const IBlend* blend) {
  PathClear();
  PathTriangle(x1, y1, x2, y2, x3, y3);
  PathFill(c, IFillOptions(), blend);
}

void CairoPainter::DrawTriangle(const IColor& c, float x1, float y1, float x2, float y2, float x3,
                                float y3, const IBlend* blend, float thickness) {
  PathClear();
  PathTriangle(x1, y1, x2, y2, x3, y3);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::DrawLine(const IColor& c, float x1, float y1, float x2, float y2,
                            const IBlend* blend, float thickness) {
  PathClear();
  PathMoveTo(x1, y1);
  PathLineTo(x2, y2);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::DrawArc(const IColor& c, float cx, float cy, float r, float a1, float a2,
                           const IBlend* blend, float thickness) {
  PathClear();
  PathArc(cx, cy, r, a1, a2);
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::DrawVerticalLine(const IColor& c, const IRECT& r, float x, const IBlend* blend,
                                    float thickness) {
  if (!std::isfinite(x)) {
    base::warn("graphics", "non-finite line position");
    return;
  }
  const float px = r.L + r.W() * std::clamp(x, 0.f, 1.f);
  DrawLine(c, px, r.T, px, r.B, blend, thickness);
}

void CairoPainter::DrawHorizontalLine(const IColor& c, const IRECT& r, float y, const IBlend* blend,
                                      float thickness) {
  if (!std::isfinite(y)) {
    base::warn("graphics", "non-finite line position");
    return;
  }
  const float py = r.B - r.H() * std::clamp(y, 0.f, 1.f);
  DrawLine(c, r.L, py, r.R, py, blend, thickness);
}

void CairoPainter::DrawGrid(const IColor& c, const IRECT& r, float gridSizeH, float gridSizeV,
                            const IBlend* blend, float thickness) {
  // Beyond this many lines a grid is a solid fill; the cap keeps a tiny step from stalling.
  constexpr int kMaxGridLines = 4096;
  PathClear();
  if (std::isfinite(gridSizeH) && gridSizeH > 0.f) {
    for (int i = 1; i <= kMaxGridLines; ++i) {
      const float x = r.L + gridSizeH * i;
      if (!(x < r.R)) break;
      PathMoveTo(x, r.T);
      PathLineTo(x, r.B);
    }
  }
  if (std::isfinite(gridSizeV) && gridSizeV > 0.f) {
    for (int i = 1; i <= kMaxGridLines; ++i) {
      const float y = r.T + gridSizeV * i;
      if (!(y < r.B)) break;
      PathMoveTo(r.L, y);
      PathLineTo(r.R, y);
    }
  }
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

void CairoPainter::DrawData(const IColor& c, const IRECT& r, const float* normY, int nPoints,
                            const float* normX, const IBlend* blend, float thickness) {
  if (!mCr || !normY || nPoints < 2) return;
  PathClear();
  bool penDown = false;
  for (int i = 0; i < nPoints; ++i) {
    const float nx = normX ? normX[i] : static_cast<float>(i) / static_cast<float>(nPoints - 1);
    const float x = r.L + r.W() * nx;
    const float y = r.B - r.H() * normY[i];
    if (!base::isFinite(x, y)) {
      penDown = false;
      continue;
    }
    if (penDown) {
      cairo_line_to(mCr, x, y);
    } else {
      cairo_move_to(mCr, x, y);
      penDown = true;
    }
  }
  PathStroke(c, thickness, IStrokeOptions(), blend);
}

}  // namespace igraphics
}  // namespace iplug
