#include "platform/core/Cell.h"

#include <cmath>

#include "platform/core/View.h"
#include "platform/drawing/CoreText.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

namespace {
// Room between a cell's edges and its text, as the platform's text cells leave it.
constexpr double kTextInsetX = 2;
constexpr double kTextInsetY = 1;
// Disabled cells draw their text at this opacity.
constexpr double kDisabledTextAlpha = 0.5;
}  // namespace

NSSize NSCell::cellSize() const {
  NSSize text = mFont.sizeOfString(mString);
  return {text.width + 2 * kTextInsetX, text.height + 2 * kTextInsetY};
}

double NSCell::textCellHeight() const {
  return mFont.lineHeight() + 2 * kTextInsetY;
}

NSRect NSCell::drawingRectForBounds(const NSRect& bounds) const {
  NSRect r = bounds;
  r.origin.x += kTextInsetX;
  r.size.width = std::max(0.0, r.size.width - 2 * kTextInsetX);
  return r;
}

std::optional<NSColor> NSCell::highlightColorWithFrame(const NSRect&, const NSView*) const {
  return std::nullopt;
}

void NSCell::drawWithFrame(const NSRect& frame, NSView* view) {
  if (mHighlighted) {
    if (std::optional<NSColor> color = highlightColorWithFrame(frame, view)) {
      drawTopDown(frame, view, [&](CGContext* cg, const NSRect& r) {
        cg->setFillColor(color->red, color->green, color->blue, color->alpha);
        cg->fillRect(r);
      });
    }
  }
  drawInteriorWithFrame(frame, view);
}

void NSCell::drawInteriorWithFrame(const NSRect& frame, NSView* view) {
  drawTopDown(frame, view,
              [&](CGContext* cg, const NSRect& r) { drawText(cg, r, NSColor::textColor()); });
}

void NSCell::drawText(CGContext* cg, const NSRect& r, NSColor color) const {
  if (mString.empty()) return;
  NSRect text = drawingRectForBounds(r);
  if (text.isEmpty()) return;
  Ref<CTFont> face = Ref<CTFont>::adopt(mFont.createCTFont());
  if (!face) return;
  if (!mEnabled) color.alpha *= kDisabledTextAlpha;
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(mString, face.get(), color));
  double width = std::ceil(line->width());
  double x = text.origin.x;
  if (mAlignment == NSTextAlignmentCenter)
    x += (text.size.width - width) / 2;
  else if (mAlignment == NSTextAlignmentRight)
    x += text.size.width - width;
  cg->saveGState();
  cg->clipToRect(r);
  // The text runs top down: glyphs stand upright when the text matrix flips y.
  CGAffineTransform saved = cg->textMatrix();
  cg->setTextMatrix({1, 0, 0, -1, 0, 0});
  cg->setTextPosition(x, text.origin.y + kTextInsetY + face->ascent());
  line->draw(cg);
  cg->setTextMatrix(saved);
  cg->restoreGState();
}

bool NSCell::topDownFrame(const NSRect& frame, const NSView* view, CGContext** context,
                          NSRect* topDown) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg || !view) return false;
  cg->saveGState();
  *topDown = frame;
  if (!view->isFlipped()) {
    // Mirror the y axis about the view's bounds, so the frame's top edge is its origin.
    NSRect b = view->bounds();
    double mirror = b.origin.y * 2 + b.size.height;
    cg->translate(0, mirror);
    cg->scale(1, -1);
    topDown->origin.y = mirror - frame.maxY();
  }
  *context = cg;
  return true;
}

void NSCell::endTopDown(CGContext* context) {
  context->restoreGState();
}

std::optional<NSColor> NSTextFieldCell::highlightColorWithFrame(const NSRect&,
                                                                const NSView*) const {
  return NSColor::selectedTextBackgroundColor();
}

void NSTextFieldCell::drawInteriorWithFrame(const NSRect& frame, NSView* view) {
  drawTopDown(frame, view, [&](CGContext* cg, const NSRect& r) {
    if (mDrawsBackground) {
      cg->setFillColor(mBackgroundColor.red, mBackgroundColor.green, mBackgroundColor.blue,
                       mBackgroundColor.alpha);
      cg->fillRect(r);
    }
    drawText(cg, r, mTextColor);
  });
}

}  // namespace platform
