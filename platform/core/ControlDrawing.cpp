#include "platform/core/ControlDrawing.h"

#include <cmath>

#include "base/Utf8.h"
#include "platform/drawing/CoreText.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform::controldrawing {

namespace {
constexpr double kTextInset = 3;
}  // namespace

bool topDown(const NSView* view, const std::function<void(CGContext*)>& draw) {
  CGContext* cg = NSGraphicsContext::currentContext();
  if (!cg) return false;
  cg->saveGState();
  if (!view->isFlipped()) {
    NSRect b = view->bounds();
    cg->translate(0, b.origin.y * 2 + b.size.height);
    cg->scale(1, -1);
  }
  draw(cg);
  cg->restoreGState();
  return true;
}

std::string concealedText(const std::string& text) {
  std::string bullets;
  for (std::size_t i = 0; i < text.size(); i += base::decodeUtf8(text, i).length)
    bullets += "\u2022";
  return bullets;
}

void fillRect(CGContext* cg, const NSRect& r, NSColor c) {
  cg->setFillColor(c.red, c.green, c.blue, c.alpha);
  cg->fillRect(r);
}

void strokeRect(CGContext* cg, const NSRect& r, NSColor c) {
  cg->setStrokeColor(c.red, c.green, c.blue, c.alpha);
  cg->setLineWidth(1);
  cg->strokeRect(
      NSMakeRect(r.origin.x + 0.5, r.origin.y + 0.5, r.size.width - 1, r.size.height - 1));
}

void drawText(CGContext* cg, const std::string& text, const NSRect& r, const NSFont& font,
              NSColor color, NSTextAlignment alignment) {
  if (text.empty()) return;
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  if (!face) return;
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(text, face.get(), color));
  double width = std::ceil(line->width());
  double x = r.origin.x + kTextInset;
  if (alignment == NSTextAlignmentCenter)
    x = r.origin.x + (r.size.width - width) / 2;
  else if (alignment == NSTextAlignmentRight)
    x = r.origin.x + r.size.width - kTextInset - width;
  double baseline =
      r.origin.y + (r.size.height - (face->ascent() + face->descent())) / 2 + face->ascent();
  cg->saveGState();
  cg->clipToRect(r);
  // The looks draw top down: glyphs stand upright when the text matrix flips y.
  CGAffineTransform saved = cg->textMatrix();
  cg->setTextMatrix({1, 0, 0, -1, 0, 0});
  cg->setTextPosition(x, baseline);
  line->draw(cg);
  cg->setTextMatrix(saved);
  cg->restoreGState();
}

double textFittingWidth(const std::string& text, const NSFont& font) {
  return font.sizeOfString(text).width + 2 * kTextInset;
}

}  // namespace platform::controldrawing
