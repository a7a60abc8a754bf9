#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/DrawingRecords.h"

using platform::CGPathDrawingMode;
using platform::NSMakeRect;

namespace {

HGDIOBJ drawingPen(HDC hdc) {
  return swell::drawingObject(hdc, swell::kPenObject);
}

HGDIOBJ drawingBrush(HDC hdc) {
  return swell::drawingObject(hdc, swell::kBrushObject);
}

void useFill(platform::CGContext* cg, HGDIOBJ brush) {
  const platform::NSColor& c = *brush->color;
  cg->setFillColor(c.red, c.green, c.blue, c.alpha);
}

void useStroke(platform::CGContext* cg, HGDIOBJ pen, double width) {
  const platform::NSColor& c = *pen->color;
  cg->setStrokeColor(c.red, c.green, c.blue, c.alpha);
  if (width > 0) cg->setLineWidth(width);
}

// A pen's line width: its width, 1 below 1.
double lineWidth(HGDIOBJ pen) {
  return pen->wid < 1 ? 1 : pen->wid;
}

// A length for the Metal fills, taken in 64 bits and kept in int range (UB-free for any
// edges the caller gives; the fill cuts it to the surface).
int span(std::int64_t length) {
  return static_cast<int>(std::clamp<std::int64_t>(length, -0x7FFFFFFF, 0x7FFFFFFF));
}

platform::NSRect rectOf(double l, double t, double r, double b) {
  return NSMakeRect(l, t, r - l, b - t);
}

}  // namespace

void SWELL_FillRect(HDC hdc, const RECT* r, HBRUSH brush) {
  if (!r || !swell::isLiveDC(hdc) || !swell::isObjectOfType(brush, swell::kBrushObject) ||
      brush->wid < 0)
    return;
  if (hdc->metal_view) {
    SWELL_Metal_FillRect(hdc->metal_view, r->left, r->top, span(std::int64_t{r->right} - r->left),
                         span(std::int64_t{r->bottom} - r->top), brush->color_value);
    return;
  }
  if (!hdc->ctx) return;
  useFill(hdc->ctx, brush);
  hdc->ctx->fillRect(rectOf(r->left, r->top, r->right, r->bottom));
}

void Rectangle(HDC hdc, int l, int t, int r, int b) {
  if (!swell::isLiveDC(hdc)) return;
  HGDIOBJ brush = drawingBrush(hdc), pen = drawingPen(hdc);
  if (hdc->metal_view) {
    HWND view = hdc->metal_view;
    const std::int64_t w = std::int64_t{r} - l, h = std::int64_t{b} - t;
    if (brush) SWELL_Metal_FillRect(view, l, t, span(w), span(h), brush->color_value);
    if (pen) {
      const int p = pen->wid ? pen->wid : 1;
      const std::uint32_t c = pen->color_value;
      SWELL_Metal_FillRect(view, l, t, span(w), p, c);
      SWELL_Metal_FillRect(view, l, span(std::int64_t{b} - p), span(w), p, c);
      SWELL_Metal_FillRect(view, l, span(std::int64_t{t} + p), p, span(h - 2 * p), c);
      SWELL_Metal_FillRect(view, span(std::int64_t{r} - p), span(std::int64_t{t} + p), p,
                           span(h - 2 * p), c);
    }
    return;
  }
  if (!hdc->ctx) return;
  if (brush) {
    useFill(hdc->ctx, brush);
    hdc->ctx->fillRect(rectOf(l, t, r, b));
  }
  if (pen) {
    useStroke(hdc->ctx, pen, pen->wid < 2 ? 1 : pen->wid);
    hdc->ctx->strokeRect(rectOf(l, t, r, b));
  }
}

void SWELL_FillDialogBackground(HDC hdc, const RECT* r, int) {
  if (!r || !swell::isLiveDC(hdc) || !hdc->ctx) return;
  platform::NSColor face = platform::NSColor::windowBackgroundColor();
  hdc->ctx->setFillColor(face.red, face.green, face.blue, face.alpha);
  hdc->ctx->fillRect(rectOf(r->left, r->top, r->right, r->bottom));
}

void SWELL_Polygon(HDC hdc, const POINT* pts, int n) {
  if (!swell::isLiveDC(hdc) || !hdc->ctx || !pts || n < 2) return;
  HGDIOBJ brush = drawingBrush(hdc), pen = drawingPen(hdc);
  if (!brush && !pen) return;
  platform::CGContext* cg = hdc->ctx;
  cg->beginPath();
  cg->moveToPoint(pts[0].x, pts[0].y);
  for (int i = 1; i < n; ++i)
    cg->addLineToPoint(pts[i].x, pts[i].y);
  // The outline is closed, so the last edge is drawn and the corner joined.
  cg->closePath();
  if (brush) useFill(cg, brush);
  if (pen) useStroke(cg, pen, lineWidth(pen));
  cg->drawPath(brush && pen ? CGPathDrawingMode::fillStroke
               : pen        ? CGPathDrawingMode::stroke
                            : CGPathDrawingMode::fill);
}

void RoundRect(HDC hdc, int l, int t, int r, int b, int cw, int ch) {
  const int dx = cw / 3, dy = ch / 3;
  const POINT pts[10] = {{l, t + dy}, {l + dx, t}, {r - dx, t}, {r, t + dy}, {r, b - dy},
                         {r - dx, b}, {l + dx, b}, {l, b - dy}, {l, t + dy}, {l + dx, t}};
  SWELL_Polygon(hdc, pts, 10);
}

void Ellipse(HDC hdc, int l, int t, int r, int b) {
  if (!swell::isLiveDC(hdc) || !hdc->ctx) return;
  HGDIOBJ brush = drawingBrush(hdc), pen = drawingPen(hdc);
  if (brush) {
    useFill(hdc->ctx, brush);
    hdc->ctx->fillEllipseInRect(rectOf(l, t, r, b));
  }
  if (pen) {
    // The outline takes the pen's width, as every other outline does.
    useStroke(hdc->ctx, pen, lineWidth(pen));
    hdc->ctx->strokeEllipseInRect(rectOf(l, t, r, b));
  }
}

void MoveToEx(HDC hdc, int x, int y, POINT* old) {
  if (!swell::isLiveDC(hdc)) return;
  if (old) {
    old->x = static_cast<LONG>(hdc->lastpos_x);
    old->y = static_cast<LONG>(hdc->lastpos_y);
  }
  hdc->lastpos_x = static_cast<float>(x);
  hdc->lastpos_y = static_cast<float>(y);
}

void LineTo(HDC hdc, int x, int y) {
  if (!swell::isLiveDC(hdc)) return;
  HGDIOBJ pen = drawingPen(hdc);
  if (!pen) return;
  const float fromX = hdc->lastpos_x, fromY = hdc->lastpos_y;
  if (hdc->ctx) {
    double w = lineWidth(pen);
    useStroke(hdc->ctx, pen, w);
    hdc->ctx->beginPath();
    hdc->ctx->moveToPoint(fromX + w / 2, fromY + w / 2);
    hdc->ctx->addLineToPoint(x + w / 2, y + w / 2);
    hdc->ctx->drawPath(CGPathDrawingMode::stroke);
  } else if (hdc->metal_view) {
    // Only straight lines reach a Metal surface, as one-pixel-wide fills.
    const int x0 = static_cast<int>(fromX), y0 = static_cast<int>(fromY);
    if (x0 == x)
      SWELL_Metal_FillRect(hdc->metal_view, x, std::min(y0, y), 1,
                           span(std::llabs(std::int64_t{y} - y0) + 1), pen->color_value);
    else if (y0 == y)
      SWELL_Metal_FillRect(hdc->metal_view, std::min(x0, x), y,
                           span(std::llabs(std::int64_t{x} - x0) + 1), 1, pen->color_value);
  } else {
    return;
  }
  hdc->lastpos_x = static_cast<float>(x);
  hdc->lastpos_y = static_cast<float>(y);
}

void PolyBezierTo(HDC hdc, const POINT* pts, int n) {
  if (!swell::isLiveDC(hdc) || !hdc->ctx || !pts || n < 3) return;
  HGDIOBJ pen = drawingPen(hdc);
  if (!pen) return;
  platform::CGContext* cg = hdc->ctx;
  useStroke(cg, pen, lineWidth(pen));
  cg->beginPath();
  cg->moveToPoint(hdc->lastpos_x, hdc->lastpos_y);
  for (int i = 0; i < n - 2; i += 3) {
    cg->addCurveToPoint(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, pts[i + 2].x, pts[i + 2].y);
    hdc->lastpos_x = static_cast<float>(pts[i + 2].x);
    hdc->lastpos_y = static_cast<float>(pts[i + 2].y);
  }
  cg->drawPath(CGPathDrawingMode::stroke);
}

void PolyPolyline(HDC hdc, const POINT* pts, const DWORD* counts, int k) {
  if (!swell::isLiveDC(hdc) || !hdc->ctx || !pts || !counts || k < 1) return;
  HGDIOBJ pen = drawingPen(hdc);
  if (!pen) return;
  platform::CGContext* cg = hdc->ctx;
  double w = lineWidth(pen);
  useStroke(cg, pen, w);
  cg->beginPath();
  for (int i = 0; i < k; ++i) {
    DWORD c = counts[i];
    if (c >= 2) {
      cg->moveToPoint(pts[0].x + w / 2, pts[0].y + w / 2);
      for (DWORD j = 1; j < c; ++j)
        cg->addLineToPoint(pts[j].x + w / 2, pts[j].y + w / 2);
    }
    pts += c;
  }
  cg->drawPath(CGPathDrawingMode::stroke);
}

void SetPixel(HDC hdc, int x, int y, COLORREF c) {
  if (!swell::isLiveDC(hdc)) return;
  if (hdc->metal_view) {
    SWELL_Metal_FillRect(hdc->metal_view, x, y, 1, 1, c);
    return;
  }
  if (!hdc->ctx) return;
  // The pixel (x, y, 1, 1) filled, so it covers exactly that pixel.
  platform::NSColor colour = swell::colorFromRef(c);
  hdc->ctx->saveGState();
  hdc->ctx->setFillColor(colour.red, colour.green, colour.blue, 1);
  hdc->ctx->fillRect(NSMakeRect(x, y, 1, 1));
  hdc->ctx->restoreGState();
}
