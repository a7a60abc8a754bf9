#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Control.h"
#include "platform/objects/Color.h"

namespace platform {

class CGContext;

// Plain looks of the control models, drawn with Cairo in the view's bounds. Text is
// laid out top down whatever the view's flipping.
namespace controldrawing {

// Runs the drawing with the current context's y axis pointing down from the view's
// top edge; returns false (and draws nothing) when there is no current context.
bool topDown(const NSView* view, const std::function<void(CGContext*)>& draw);

void fillRect(CGContext* cg, const NSRect& r, NSColor color);
void strokeRect(CGContext* cg, const NSRect& r, NSColor color);
// What concealed (password) text shows: one bullet per character of a UTF-8 text.
std::string concealedText(const std::string& text);

// One line of text in a rectangle (top-down coordinates), centred vertically and placed
// horizontally by the alignment.
void drawText(CGContext* cg, const std::string& text, const NSRect& r, const NSFont& font,
              NSColor color, NSTextAlignment alignment);
// What one line of text shows in a rectangle of that width, as drawText insets it: the
// text itself when it fits, else its start cut after whole characters with an ellipsis
// where it was cut. A text that ends in a kept ending (see keepEndingWhole) keeps it whole
// after the ellipsis and has the text before it cut instead, unless the ending would take
// more than two thirds of the room. Any other end, parentheses included, is part of the text
// and cut like the rest.
std::string fittedText(const std::string& text, const NSFont& font, double width);
// Adds an ending that a program puts after texts it shows as a mark of its own (" (absent)"),
// which fittedText keeps whole when it cuts such a text. Main thread; adding one twice is
// adding it once.
void keepEndingWhole(const std::string& ending);
// The arrows at the right end of a closed list, centred in the rectangle: up and down when
// the list opens over the box, down alone when it opens below.
void drawListArrows(CGContext* cg, const NSRect& r, NSColor color, bool opensOver);
// The width of a rectangle that drawText shows the whole text in: the text measured in
// the font plus the inset drawText keeps at its sides.
double textFittingWidth(const std::string& text, const NSFont& font);

// The space between lines of wrapped text.
inline constexpr double kWrappedLineGap = 2;
// The lines a text takes in a rectangle of that width, as drawText insets it: each paragraph
// (the text split at line feeds) is broken after the last whole word that fits, and a word
// wider than a line after its last whole character that fits.
std::vector<std::string> wrapText(const std::string& text, const NSFont& font, double width);
// Lines from the top of a rectangle (top-down coordinates), the font's line height and
// kWrappedLineGap apart, each placed horizontally by the alignment.
void drawTextLines(CGContext* cg, const std::vector<std::string>& lines, const NSRect& r,
                   const NSFont& font, NSColor color, NSTextAlignment alignment);

}  // namespace controldrawing
}  // namespace platform
