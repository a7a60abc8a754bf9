#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/core/ControlDrawing.h"
#include "platform/drawing/CoreText.h"
#include "platform/drawing/Font.h"
#include "platform/drawing/FontCollection.h"
#include "platform/drawing/GraphicsContext.h"

using namespace platform;

namespace {

constexpr const char* kMono = "DejaVu Sans Mono";

Ref<CTFont> font(const std::string& name, double size) {
  return Ref<CTFont>::adopt(CTFont::createWithName(name, size));
}

TEST(CTFont, ResolvesOnlyExactFamilyFullAndPostScriptNames) {
  struct Case {
    const char* request;
    const char* family;  // null: not found
  } cases[] = {
      {kMono, kMono},
      {"dejavu sans mono", kMono},       // names compare without case
      {"DejaVu Sans Mono Bold", kMono},  // a full name
      {"DejaVuSansMono-Bold", kMono},    // a PostScript name
      {"Sans", nullptr},                 // an alias fontconfig substitutes
      {"No Such Face 7", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    Ref<CTFont> f = font(c.request, 12);
    if (!c.family) {
      EXPECT_FALSE(f) << c.request;
      continue;
    }
    ASSERT_TRUE(f) << c.request;
    EXPECT_EQ(f->familyName(), c.family) << c.request;
  }
  EXPECT_EQ(font("DejaVuSansMono-Bold", 12)->displayName(), "DejaVu Sans Mono Bold");
  EXPECT_EQ(font(kMono, 12)->postScriptName(), "DejaVuSansMono");
  for (double bad : {0.0, -3.0, std::nan("")})
    EXPECT_FALSE(font(kMono, bad)) << bad;
  Ref<CTFont> ui = Ref<CTFont>::adopt(CTFont::createUIFont(10));
  ASSERT_TRUE(ui);
  EXPECT_EQ(ui->familyName(), CTFont::kSystemFamily);
}

TEST(CTFont, MetricsAreUnhintedDesignMetricsAtTheSize) {
  Ref<CTFont> mono = font(kMono, 12);
  // hhea: ascender 1901, descender -483, no line gap, 2048 units per em.
  EXPECT_NEAR(mono->ascent(), 1901 * 12 / 2048.0, 1e-9);
  EXPECT_NEAR(mono->descent(), 483 * 12 / 2048.0, 1e-9);
  EXPECT_EQ(mono->leading(), 0);
  Ref<CTLine> hello = Ref<CTLine>::adopt(CTLine::create("Hello", mono.get()));
  EXPECT_NEAR(hello->width(), 5 * 1233 * 12 / 2048.0, 1e-9);
  EXPECT_EQ(hello->glyphs().size(), 5u);
  // Invalid UTF-8 is one replacement character per bad byte, never a failure.
  Ref<CTLine> bad = Ref<CTLine>::adopt(CTLine::create("a\xFF", mono.get()));
  EXPECT_EQ(bad->glyphs().size(), 2u);
  EXPECT_EQ(CTLine::create("x", nullptr), nullptr);
}

// Lines share one shaping buffer per thread: a line must come out the same whatever was
// shaped before it (a right-to-left line, a cut of a longer text, invalid bytes).
TEST(CTLine, ShapesEachLineAfreshWhateverCameBefore) {
  Ref<CTFont> sans = font("DejaVu Sans", 10);
  ASSERT_TRUE(sans);
  auto glyphsOf = [&](std::string_view text) {
    Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(text, sans.get()));
    std::vector<std::pair<std::uint32_t, double>> out;
    for (const CTLine::Glyph& g : line->glyphs())
      out.emplace_back(g.index, g.x);
    return out;
  };
  const auto first = glyphsOf("Tap tempo");
  ASSERT_EQ(first.size(), 9u);
  const auto hebrew = glyphsOf("\u05E9\u05DC\u05D5\u05DD");
  EXPECT_EQ(hebrew.size(), 4u);
  EXPECT_EQ(glyphsOf("\xC3\xA9\xC3").size(), 2u);  // a cut sequence: one replacement
  EXPECT_EQ(glyphsOf(std::string_view("Tap tempo and more").substr(0, 9)), first);
  EXPECT_EQ(glyphsOf("Tap tempo"), first);
}

TEST(CTFont, MapsCharactersAndMarksOnlyTheUnmappedOnes) {
  Ref<CTFont> mono = font(kMono, 12);
  const char16_t text[] = u"A\u4E00b";
  std::uint16_t glyphs[3] = {7, 7, 7};
  EXPECT_FALSE(mono->glyphsForCharacters(text, glyphs, 3));
  EXPECT_NE(glyphs[0], 0);
  EXPECT_EQ(glyphs[1], 0);
  EXPECT_NE(glyphs[2], 0);
  EXPECT_TRUE(mono->glyphsForCharacters(u"ok", glyphs, 2));
  EXPECT_FALSE(mono->glyphsForCharacters(nullptr, glyphs, 2));
}

// Renders one line into a 40 x 20 memory bitmap, either y up with the identity text
// matrix or top down with the text matrix flipped: both must give the same pixels.
std::vector<std::uint32_t> render(bool topDown) {
  std::vector<std::uint32_t> pixels(40 * 20);
  std::unique_ptr<CGContext> cg(CGContext::createBitmapOverMemory(pixels.data(), 40, 20, 160));
  Ref<CTFont> mono = font(kMono, 12);
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create("Lg", mono.get()));
  cg->setFillColor(1, 1, 1, 1);
  if (topDown) {
    cg->translate(0, 20);
    cg->scale(1, -1);
    cg->setTextMatrix({1, 0, 0, -1, 0, 0});
    cg->setTextPosition(2, 14);
  } else {
    cg->setTextPosition(2, 6);
  }
  line->draw(cg.get());
  cairo_surface_flush(cg->bitmapSurface());
  return pixels;
}

TEST(CTLine, GlyphsStandUprightWhenTheTextMatrixCancelsAFlip) {
  std::vector<std::uint32_t> up = render(false), down = render(true);
  EXPECT_EQ(up, down);
  // Upright: the foot of the "L" lies on the baseline (row 13 from the top), its stem
  // reaches above, and the "g" descends below.
  auto ink = [&](int x0, int x1, int y) {
    for (int x = x0; x < x1; ++x)
      if ((up[y * 40 + x] & 0xFF) > 128) return true;
    return false;
  };
  EXPECT_TRUE(ink(3, 9, 13));
  EXPECT_TRUE(ink(2, 5, 5));
  EXPECT_FALSE(ink(6, 9, 5));
  EXPECT_TRUE(ink(9, 16, 16));
}

// Cairo takes a font matrix it cannot invert as an error that ends all later drawing
// through the context: a line under such a text matrix shows nothing, and what follows
// draws.
TEST(CTLine, ATextMatrixThatCollapsesOrIsNoNumberSpoilsNothingAfterIt) {
  Ref<CTFont> mono = font(kMono, 12);
  Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create("Lg", mono.get()));
  const double nan = std::nan("");
  for (const CGAffineTransform& matrix :
       {CGAffineTransform{0, 0, 0, 0, 0, 0}, CGAffineTransform{nan, 0, 0, 1, 0, 0},
        CGAffineTransform{1, 0, 0, 1, nan, 0}}) {
    std::vector<std::uint32_t> pixels(4 * 4);
    std::unique_ptr<CGContext> cg(CGContext::createBitmapOverMemory(pixels.data(), 4, 4, 16));
    cg->setTextMatrix(matrix);
    cg->setTextPosition(0, 0);
    line->draw(cg.get());
    cg->setFillColor(0, 1, 0, 1);
    cg->fillRect(NSMakeRect(0, 0, 4, 4));
    cairo_surface_flush(cg->bitmapSurface());
    EXPECT_EQ(cairo_status(cg->cairo()), CAIRO_STATUS_SUCCESS) << matrix.a << " " << matrix.tx;
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0x00FF00u) << matrix.a << " " << matrix.tx;
  }
}

TEST(NSFont, MeasuresThroughTheSameFacesAndStandsInForUnknownFamilies) {
  NSFont mono(kMono, 12);
  EXPECT_EQ(mono.sizeOfString("Hello").width, 37);  // 36.12 rounded up
  EXPECT_EQ(mono.lineHeight(), 14);
  NSFont unknown("No Such Face 7", 12);
  EXPECT_EQ(unknown.sizeOfString("Hello"), NSFont::systemFontOfSize(12).sizeOfString("Hello"));
  EXPECT_GT(NSFont::boldSystemFontOfSize(12).sizeOfString("Hello").width,
            NSFont::systemFontOfSize(12).sizeOfString("Hello").width);
  EXPECT_TRUE(CTFont::registerFontFile("/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"));
  EXPECT_FALSE(CTFont::registerFontFile("/nonexistent.ttf"));
  EXPECT_FALSE(CTFont::registerFontFile(""));
}

// What a program asking for a family, a weight and a slant gets, as a font dialog asks.
TEST(FontCollection, WeightAndSlantFindTheNearestFaceOfTheFamily) {
  struct Case {
    const char* family;
    bool bold, italic;
    std::optional<std::string> face;
  } cases[] = {
      {"DejaVu Sans", false, false, "DejaVu Sans"},
      {"DejaVu Sans", true, false, "DejaVu Sans Bold"},
      {"DejaVu Sans", false, true, "DejaVu Sans Oblique"},
      {"DejaVu Sans", true, true, "DejaVu Sans Bold Oblique"},
      {"DejaVu Serif", false, true, "DejaVu Serif Italic"},
      {"dejavu serif", true, false, "DejaVu Serif Bold"},
      {"DejaVu Sans Mono", true, true, "DejaVu Sans Mono Bold Oblique"},
      {"No Such Family", true, false, std::nullopt},
      {"", false, false, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fontcollection::faceName(c.family, c.bold, c.italic), c.face)
        << c.family << (c.bold ? " bold" : "") << (c.italic ? " italic" : "");
  EXPECT_EQ(fontcollection::faceName("DejaVu Serif", "Italic"), "DejaVu Serif Italic");
  EXPECT_EQ(fontcollection::faceName("DejaVu Serif", "Wavy"), std::nullopt);
  EXPECT_TRUE(fontcollection::styleNames("No Such Family").empty());
  EXPECT_EQ(fontcollection::fontWithName("", 12), std::nullopt);
  // A size that is no number stands in as a number.
  auto sizeless = fontcollection::fontWithName("DejaVu Sans", std::nan(""));
  ASSERT_TRUE(sizeless);
  EXPECT_TRUE(std::isfinite(sizeless->pointSize()));
}

// Lines of no text, of marks alone, of text far wider than any window, and of text that is
// no UTF-8: each shaped to a width that is a number, and drawn without spoiling the context.
TEST(CTLine, EmptyCombiningHugeAndBrokenTextShapeToFiniteWidths) {
  Ref<CTFont> font = Ref<CTFont>::adopt(CTFont::createUIFont(12));
  ASSERT_TRUE(font);
  std::string huge;
  for (int i = 0; i < 20000; ++i)
    huge += "W\xC3\xA9 ";
  struct Case {
    const char* what;
    std::string text;
    bool empty;
  } cases[] = {
      {"nothing", "", true},
      {"a combining mark alone", "\xCC\x81", false},
      {"e and a combining acute", "e\xCC\x81", false},
      {"a hundred marks on one letter",
       "a" +
           [] {
             std::string marks;
             for (int i = 0; i < 100; ++i)
               marks += "\xCC\x81";
             return marks;
           }(),
       false},
      {"sixty thousand characters", huge, false},
      {"bytes that are no UTF-8", "\xFF\xFE\xC3", false},
      {"a NUL", std::string("a\0b", 3), false},
  };
  auto cg = std::unique_ptr<CGContext>(CGContext::createBitmap(8, 8));
  for (const auto& c : cases) {
    Ref<CTLine> line = Ref<CTLine>::adopt(CTLine::create(c.text, font.get()));
    ASSERT_TRUE(line) << c.what;
    EXPECT_TRUE(std::isfinite(line->width())) << c.what;
    EXPECT_GE(line->width(), 0) << c.what;
    EXPECT_EQ(line->glyphs().empty(), c.empty) << c.what;
    cg->setTextPosition(0, 2);
    line->draw(cg.get());
    EXPECT_EQ(cairo_status(cg->cairo()), CAIRO_STATUS_SUCCESS) << c.what;
  }
  // The combined letter is one letter wide, however many marks sit on it.
  Ref<CTLine> e = Ref<CTLine>::adopt(CTLine::create("e", font.get()));
  Ref<CTLine> accented = Ref<CTLine>::adopt(CTLine::create("e\xCC\x81", font.get()));
  EXPECT_DOUBLE_EQ(accented->width(), e->width());
  EXPECT_EQ(CTLine::create("x", nullptr), nullptr);
}

}  // namespace
