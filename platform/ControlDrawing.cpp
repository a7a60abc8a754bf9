#include "platform/ControlDrawing.h"

#include <cairo.h>

#include "base/Utf8.h"
#include "platform/GraphicsContext.h"

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
  cairo_t* cr = cg->cairo();
  std::string valid = base::sanitizeUtf8(text);
  NSSize size = font.sizeOfString(valid);
  double x = r.origin.x + kTextInset;
  if (alignment == NSTextAlignmentCenter)
    x = r.origin.x + (r.size.width - size.width) / 2;
  else if (alignment == NSTextAlignmentRight)
    x = r.origin.x + r.size.width - kTextInset - size.width;
  cairo_save(cr);
  cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(cr);
  cairo_select_font_face(cr, font.fontName().c_str(), CAIRO_FONT_SLANT_NORMAL,
                         font.isBold() ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, font.pointSize());
  cairo_font_extents_t fe{};
  cairo_font_extents(cr, &fe);
  double baseline = r.origin.y + (r.size.height - (fe.ascent + fe.descent)) / 2 + fe.ascent;
  cairo_set_source_rgba(cr, color.red, color.green, color.blue, color.alpha);
  cairo_move_to(cr, x, baseline);
  cairo_show_text(cr, valid.c_str());
  cairo_restore(cr);
}

}  // namespace platform::controldrawing
