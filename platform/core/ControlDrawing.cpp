#include "platform/core/ControlDrawing.h"

#include <algorithm>
#include <cmath>

#include "base/Utf8.h"
#include "platform/drawing/CoreText.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform::controldrawing {

namespace {
constexpr double kTextInset = 3;
// What marks the place where a fitted text was cut.
constexpr const char* kEllipsis = "\u2026";
// The share of the room a kept ending may take at most: the rest shows the text's start.
constexpr double kEndingShare = 2.0 / 3;
// The arrows of a closed list: half of each one's base, its height and the gap between two.
constexpr double kArrowHalfBase = 3.5;
constexpr double kArrowHeight = 4;
constexpr double kArrowGap = 2;
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

namespace {

// Draws one line with its baseline at `baseline`, placed in r's width by the alignment.
void drawLine(CGContext* cg, CTFont* face, const std::string& text, const NSRect& r,
              double baseline, NSColor color, NSTextAlignment alignment) {
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(text, face, color));
  double width = std::ceil(line->width());
  double x = r.origin.x + kTextInset;
  if (alignment == NSTextAlignmentCenter)
    x = r.origin.x + (r.size.width - width) / 2;
  else if (alignment == NSTextAlignmentRight)
    x = r.origin.x + r.size.width - kTextInset - width;
  // The looks draw top down: glyphs stand upright when the text matrix flips y.
  CGAffineTransform saved = cg->textMatrix();
  cg->setTextMatrix({1, 0, 0, -1, 0, 0});
  cg->setTextPosition(x, baseline);
  line->draw(cg);
  cg->setTextMatrix(saved);
}

// Breaks one paragraph into lines of at most `width`, adding them to `lines`.
void wrapParagraph(const std::string& paragraph, const NSFont& font, double width,
                   std::vector<std::string>& lines) {
  const auto fits = [&](const std::string& text) { return font.sizeOfString(text).width <= width; };
  std::string line;
  std::size_t start = 0;
  while (start <= paragraph.size()) {
    std::size_t end = paragraph.find(' ', start);
    if (end == std::string::npos) end = paragraph.size();
    std::string word = paragraph.substr(start, end - start);
    start = end + 1;
    if (fits(line.empty() ? word : line + " " + word)) {
      line = line.empty() ? word : line + " " + word;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
    // A word longer than a line is cut after whole characters.
    while (!fits(word)) {
      std::size_t cut = 0;
      for (std::size_t next = base::decodeUtf8(word, 0).length;
           next < word.size() && fits(word.substr(0, next));
           next += base::decodeUtf8(word, next).length)
        cut = next;
      if (cut == 0) cut = base::decodeUtf8(word, 0).length;
      lines.push_back(word.substr(0, cut));
      word.erase(0, cut);
    }
    line = word;
  }
  lines.push_back(line);
}

}  // namespace

void drawText(CGContext* cg, const std::string& text, const NSRect& r, const NSFont& font,
              NSColor color, NSTextAlignment alignment) {
  if (text.empty()) return;
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  if (!face) return;
  double baseline =
      r.origin.y + (r.size.height - (face->ascent() + face->descent())) / 2 + face->ascent();
  cg->saveGState();
  cg->clipToRect(r);
  drawLine(cg, face.get(), text, r, baseline, color, alignment);
  cg->restoreGState();
}

std::vector<std::string> wrapText(const std::string& text, const NSFont& font, double width) {
  std::vector<std::string> lines;
  const double lineWidth = std::max(1.0, width - 2 * kTextInset);
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    wrapParagraph(text.substr(start, end == std::string::npos ? end : end - start), font, lineWidth,
                  lines);
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

void drawTextLines(CGContext* cg, const std::vector<std::string>& lines, const NSRect& r,
                   const NSFont& font, NSColor color, NSTextAlignment alignment) {
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  if (!face) return;
  cg->saveGState();
  cg->clipToRect(r);
  double baseline = r.origin.y + face->ascent();
  for (const std::string& line : lines) {
    if (!line.empty()) drawLine(cg, face.get(), line, r, baseline, color, alignment);
    baseline += font.lineHeight() + kWrappedLineGap;
  }
  cg->restoreGState();
}

namespace {

// The endings fittedText keeps whole, as programs added them.
std::vector<std::string>& keptEndings() {
  static std::vector<std::string> endings;
  return endings;
}

// Where the longest kept ending that ends the text starts; npos when none does, or when the
// text is nothing but one.
std::size_t keptEndingStart(const std::string& text) {
  std::size_t start = std::string::npos;
  for (const std::string& ending : keptEndings())
    if (!ending.empty() && ending.size() < text.size() && text.ends_with(ending) &&
        (start == std::string::npos || text.size() - ending.size() < start))
      start = text.size() - ending.size();
  return start;
}

}  // namespace

void keepEndingWhole(const std::string& ending) {
  std::vector<std::string>& endings = keptEndings();
  if (std::find(endings.begin(), endings.end(), ending) == endings.end()) endings.push_back(ending);
}

std::string fittedText(const std::string& text, const NSFont& font, double width) {
  if (text.empty()) return text;
  Ref<CTFont> face = Ref<CTFont>::adopt(font.createCTFont());
  if (!face) return text;
  // Measured as drawLine measures what it draws.
  const auto fits = [&, room = width - 2 * kTextInset](const std::string& line, double share) {
    return std::ceil(Ref<CTLine>::adopt(CTLine::create(line, face.get()))->width()) <= room * share;
  };
  if (fits(text, 1)) return text;
  std::size_t headEnd = text.size();
  std::string tail = kEllipsis;
  const std::size_t ending = keptEndingStart(text);
  if (ending != std::string::npos && fits(tail + text.substr(ending), kEndingShare)) {
    headEnd = ending;
    tail += text.substr(ending);
  }
  // The ends of the head's whole characters: the places it may be cut.
  std::vector<std::size_t> cuts;
  for (std::size_t i = 0; i < headEnd;) {
    i = std::min(headEnd, i + std::max<std::size_t>(1, base::decodeUtf8(text, i).length));
    cuts.push_back(i);
  }
  // The head cut after so many characters, without the spaces before the ellipsis.
  const auto cutAfter = [&](std::size_t count) {
    std::size_t end = count ? cuts[count - 1] : 0;
    while (end > 0 && text[end - 1] == ' ')
      --end;
    return text.substr(0, end) + tail;
  };
  // The longest start that fits: a longer start is never narrower.
  std::size_t fitting = 0, tooLong = cuts.size();
  while (tooLong - fitting > 1) {
    const std::size_t middle = fitting + (tooLong - fitting) / 2;
    if (fits(cutAfter(middle), 1))
      fitting = middle;
    else
      tooLong = middle;
  }
  return cutAfter(fitting);
}

void drawListArrows(CGContext* cg, const NSRect& r, NSColor c, bool opensOver) {
  const double middleX = r.origin.x + r.size.width / 2;
  const double middleY = r.origin.y + r.size.height / 2;
  cg->setFillColor(c.red, c.green, c.blue, c.alpha);
  const auto arrow = [&](double baseY, double tipY) {
    cg->beginPath();
    cg->moveToPoint(middleX - kArrowHalfBase, baseY);
    cg->addLineToPoint(middleX + kArrowHalfBase, baseY);
    cg->addLineToPoint(middleX, tipY);
    cg->closePath();
    cg->drawPath(CGPathDrawingMode::fill);
  };
  if (!opensOver) {
    arrow(middleY - kArrowHeight / 2, middleY + kArrowHeight / 2);
    return;
  }
  arrow(middleY - kArrowGap / 2, middleY - kArrowGap / 2 - kArrowHeight);
  arrow(middleY + kArrowGap / 2, middleY + kArrowGap / 2 + kArrowHeight);
}

double textFittingWidth(const std::string& text, const NSFont& font) {
  return font.sizeOfString(text).width + 2 * kTextInset;
}

}  // namespace platform::controldrawing
