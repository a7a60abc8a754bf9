// Composite drawing built from the primitives: bitmap frames, bitmap text, grids, data plots
// and lines at normalised positions.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Finite.h"
#include "base/Log.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

namespace {
// The first character code with a frame of its own in a bitmap font: '!' is frame 2, and
// space and everything below it share frame 1.
constexpr int kFirstGlyphCode = 33;
constexpr int kGlyphCodeToFrame = 31;
// More grid lines than this cannot be told apart on any screen.
constexpr double kMaxGridLines = 10000.0;
}  // namespace

void IGraphics::DrawBitmapFrame(const IBitmap& bitmap, const IRECT& bounds, int frame,
                                const IBlend* blend) {
  const int n = std::max(bitmap.N, 1);
  frame = std::clamp(frame, 1, n);
  int srcX = 0, srcY = 0;
  if (n >= 2 && frame >= 2) {
    if (bitmap.GetFramesAreHorizontal()) {
      srcX = bitmap.W * (frame - 1) / n;
    } else {
      srcY = bitmap.H * (frame - 1) / n;
    }
  }
  DrawBitmap(bitmap, bounds, srcX, srcY, blend);
}

void IGraphics::DrawBitmapedText(const IBitmap& bitmap, const IRECT& bounds, const IText& text,
                                 const IBlend* blend, const char* str, bool vCentre, bool multiline,
                                 int charWidth, int charHeight, int charOffset) {
  if (!str || !*str) return;
  if (charWidth <= 0 || charHeight <= 0 || !(bounds.W() > 0.f)) {
    base::warn("graphics",
               "DrawBitmapedText: character size %d x %d or bounds width %g draws nothing",
               charWidth, charHeight, static_cast<double>(bounds.W()));
    return;
  }

  const int length = static_cast<int>(std::strlen(str));
  const int charsPerLine = static_cast<int>(bounds.W() / static_cast<float>(charWidth));
  if (charsPerLine < 1) return;
  // Multi-line text wraps onto as many lines as it needs; single-line text is cut at the edge.
  const int nLines = multiline ? (length + charsPerLine - 1) / charsPerLine : 1;
  const float top =
      vCentre ? bounds.T + (bounds.H() - static_cast<float>(charHeight)) * 0.5f : bounds.T;

  int i = 0;
  for (int line = 0; line < nLines && i < length; ++line) {
    const int lineChars = std::min(charsPerLine, length - i);
    // Each line is placed on its own width, so a short last line is aligned like the others.
    const float lineWidth = static_cast<float>(lineChars * charWidth);
    float x = 0.f;
    switch (text.mAlign) {
      case EAlign::Near:
        x = bounds.L;
        break;
      case EAlign::Center:
        x = bounds.L + (bounds.W() - lineWidth) * 0.5f;
        break;
      case EAlign::Far:
        x = bounds.R - lineWidth;
        break;
    }
    const float y = top + static_cast<float>(line * charHeight);
    for (int j = 0; j < lineChars; ++j, ++i) {
      const int code = static_cast<signed char>(str[i]);
      const int frame = code >= kFirstGlyphCode ? std::min(code - kGlyphCodeToFrame, bitmap.N) : 1;
      const float cx = x + static_cast<float>(j * (charWidth + charOffset));
      DrawBitmapFrame(bitmap, IRECT(cx, y, cx + charWidth, y + charHeight), frame, blend);
    }
  }
}

void IGraphics::DrawGrid(const IColor& color, const IRECT& bounds, float gridSizeH, float gridSizeV,
                         const IBlend* blend, float thickness) {
  // Lines are counted rather than stepped along in floats: a step too small for the coordinate
  // would never advance. A step that is not positive draws no lines in that direction.
  auto lineCount = [](float extent, float step) -> int {
    if (!base::isFinite(step, extent) || step <= 0.f || extent <= step) return 0;
    const double n = std::ceil(static_cast<double>(extent) / step) - 1.0;
    if (n > kMaxGridLines) {
      base::warn("graphics", "DrawGrid: step %g gives too many lines", static_cast<double>(step));
      return 0;
    }
    return static_cast<int>(n);
  };
  const int nH = lineCount(bounds.W(), gridSizeH);
  for (int k = 1; k <= nH; ++k) {
    const float x = bounds.L + gridSizeH * static_cast<float>(k);
    DrawLine(color, x, bounds.T, x, bounds.B, blend, thickness);
  }
  const int nV = lineCount(bounds.H(), gridSizeV);
  for (int k = 1; k <= nV; ++k) {
    const float y = bounds.T + gridSizeV * static_cast<float>(k);
    DrawLine(color, bounds.L, y, bounds.R, y, blend, thickness);
  }
}

void IGraphics::DrawData(const IColor& color, const IRECT& bounds, const float* normYPoints,
                         int nPoints, const float* normXPoints, const IBlend* blend,
                         float thickness) {
  if (!normYPoints || nPoints < 2) return;
  const float xStep = bounds.W() / static_cast<float>(nPoints - 1);
  auto pointX = [&](int i) {
    return normXPoints ? bounds.L + bounds.W() * normXPoints[i]
                       : bounds.L + xStep * static_cast<float>(i);
  };
  auto pointY = [&](int i) { return bounds.B - bounds.H() * normYPoints[i]; };

  PathClear();
  bool penDown = false;
  for (int i = 0; i < nPoints; ++i) {
    const float x = pointX(i), y = pointY(i);
    if (!base::isFinite(x, y)) {
      penDown = false;  // a missing point breaks the line
      continue;
    }
    if (penDown) {
      PathLineTo(x, y);
    } else {
      PathMoveTo(x, y);
      penDown = true;
    }
  }
  PathStroke(IPattern(color), thickness, IStrokeOptions(), blend);
}

void IGraphics::DrawVerticalLine(const IColor& color, const IRECT& bounds, float x,
                                 const IBlend* blend, float thickness) {
  x = std::isfinite(x) ? std::clamp(x, 0.f, 1.f) : 0.f;
  const float xi = bounds.L + bounds.W() * x;
  DrawLine(color, xi, bounds.T, xi, bounds.B, blend, thickness);
}

void IGraphics::DrawHorizontalLine(const IColor& color, const IRECT& bounds, float y,
                                   const IBlend* blend, float thickness) {
  y = std::isfinite(y) ? std::clamp(y, 0.f, 1.f) : 0.f;
  const float yi = bounds.B - bounds.H() * y;
  DrawLine(color, bounds.L, yi, bounds.R, yi, blend, thickness);
}

}  // namespace igraphics
}  // namespace iplug
