#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "drawing_support.h"
#include "windowing/drawing/detail/DrawingRecords.h"

namespace {

constexpr const char* kMonoFace = "DejaVu Sans Mono";
constexpr int kMonoHeight = -12;

struct MonoText : ::testing::Test {
  MonoText() {
    font = CreateFont(kMonoHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, kMonoFace);
    SelectObject(mem.hdc, font);
  }
  ~MonoText() override { DeleteObject(font); }

  // Width and height measured with DT_CALCRECT.
  std::pair<int, int> measure(const std::string& text, int flags = 0) {
    RECT r{5, 7, 5, 7};
    int h = SWELL_DrawText(mem.hdc, text.c_str(), static_cast<int>(text.size()), &r,
                           flags | DT_CALCRECT);
    EXPECT_EQ(h, r.bottom - r.top);
    return {r.right - r.left, h};
  }

  MemoryContext mem{100, 20};
  HFONT font = nullptr;
};

TEST(DrawingFonts, SizesComeFromHeightOrWidthWithinLimits) {
  struct Case {
    int height, width;
    double points;
  } const cases[] = {{0, 0, 10},       {9000, 0, 10}, {-12, 0, 12},   {0, 14, 14},
                     {INT_MIN, 0, 10}, {1, 0, 10},    {8192, 0, 8192}};
  for (const Case& c : cases) {
    HFONT font = CreateFont(c.height, c.width, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kMonoFace);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->fontptr->size(), c.points) << c.height << ", " << c.width;
    DeleteObject(font);
  }
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
  // A bold weight chooses the face of that name.
  HFONT bold = CreateFont(12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, kMonoFace);
  EXPECT_EQ(bold->fontptr->displayName(), "DejaVu Sans Mono Bold");
  DeleteObject(bold);
}

// Programs pass a null face name for "the default face": it is the empty name's font, at the
// asked size and weight, and draws the same glyphs.
TEST(DrawingFonts, NoFaceNameGivesTheDefaultFaceAtTheAskedSizeAndWeight) {
  struct Case {
    int height, weight;
    double points;
    const char* face;
  } const cases[] = {{-12, FW_NORMAL, 12, "DejaVu Sans"},
                     {-12, FW_BOLD, 12, "DejaVu Sans Bold"},
                     {20, FW_BOLD, 20, "DejaVu Sans Bold"},
                     {0, FW_NORMAL, 10, "DejaVu Sans"}};
  constexpr int kWidth = 80, kHeight = 30;
  for (const Case& c : cases) {
    std::vector<std::uint8_t> drawn[2];
    const char* const names[] = {nullptr, ""};
    for (int i = 0; i < 2; ++i) {
      HFONT font = CreateFont(c.height, 0, 0, 0, c.weight, 0, 0, 0, 0, 0, 0, 0, 0, names[i]);
      ASSERT_NE(font, nullptr) << c.face;
      EXPECT_EQ(font->fontptr->size(), c.points);
      EXPECT_EQ(font->fontptr->displayName(), c.face);
      MemoryContext mem(kWidth, kHeight);
      SelectObject(mem.hdc, font);
      SetTextColor(mem.hdc, 0xFFFFFF);
      RECT r{0, 0, kWidth, kHeight};
      SWELL_DrawText(mem.hdc, "Abg", -1, &r, DT_SINGLELINE);
      const auto* pixels = static_cast<const std::uint8_t*>(SWELL_GetCtxFrameBuffer(mem.hdc));
      drawn[i].assign(pixels, pixels + kWidth * kHeight * 4);
      DeleteObject(font);
    }
    EXPECT_EQ(drawn[0], drawn[1]) << c.face << " at " << c.points;
    EXPECT_NE(std::count(drawn[0].begin(), drawn[0].end(), 0), kWidth * kHeight * 4);
  }
}

TEST_F(MonoText, MeasuresLinesPrefixesAndLineFeeds) {
  struct Case {
    const char* text;
    int flags, width, height;
  } const cases[] = {
      {"Hello", 0, 36, 16},          {"a&&b", 0, 22, 16},
      {"a&&b", DT_NOPREFIX, 29, 16}, {"a\r\nb", DT_SINGLELINE, 22, 16},
      {"a\nbb", 0, 14, 31},          {"&a&", 0, 7, 16},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(measure(c.text, c.flags), std::make_pair(c.width, c.height)) << c.text;
  }
  RECT r{1, 2, 3, 4};
  EXPECT_EQ(SWELL_DrawText(mem.hdc, "", -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(SWELL_DrawText(mem.hdc, "&", -1, &r, DT_CALCRECT), 0);
  EXPECT_EQ(r.right, 3);
  EXPECT_EQ(SWELL_DrawText(nullptr, "a", -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(mem.hdc, nullptr, -1, &r, 0), 0);
  EXPECT_EQ(SWELL_DrawText(mem.hdc, "a", -1, nullptr, 0), 0);
}

TEST_F(MonoText, LongTextIsCutOnAWholeSequence) {
  const std::string as(4094, 'a');
  // The two-byte sequence straddles the 4095-byte limit: it goes, the rest stays.
  EXPECT_EQ(measure(as + "\xC3\xA9" + "zzz"), measure(as));
  EXPECT_GT(measure(as).first, 0);
  RECT r{};
  // A count ending inside a character leaves a lone lead byte, which is no character.
  SWELL_DrawText(mem.hdc, "ab\xC3\xA9", 3, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, measure("ab\xEF\xBF\xBD").first);
}

TEST_F(MonoText, CentredOpaqueTextFillsItsCell) {
  SetBkMode(mem.hdc, OPAQUE);
  SetBkColor(mem.hdc, 0x112233);
  SetTextColor(mem.hdc, 0xFFFFFF);
  RECT r{0, 0, 100, 20};
  EXPECT_EQ(SWELL_DrawText(mem.hdc, "Hello", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE), 16);
  EXPECT_EQ(mem.pixel(32, 2), kBgrOf0x112233);
  EXPECT_EQ(mem.pixel(67, 17), kBgrOf0x112233);
  EXPECT_TRUE(mem.isBlank(31, 2));
  EXPECT_TRUE(mem.isBlank(68, 17));
  EXPECT_TRUE(mem.isBlank(32, 18));
  EXPECT_EQ(GetTextColor(mem.hdc), 0xFFFFFFu);
}

TEST_F(MonoText, MetricsFaceAndGlyphs) {
  TEXTMETRIC tm;
  EXPECT_TRUE(GetTextMetrics(mem.hdc, &tm));
  EXPECT_EQ(tm.tmHeight, 14);
  EXPECT_EQ(tm.tmAveCharWidth, 8);
  EXPECT_FALSE(GetTextMetrics(nullptr, &tm));
  EXPECT_EQ(tm.tmHeight, 16);  // the defaults stand
  EXPECT_FALSE(GetTextMetrics(mem.hdc, nullptr));

  char face[64] = "unchanged";
  for (int size : {0, -1, INT_MIN})
    EXPECT_EQ(GetTextFace(mem.hdc, size, face), 0);
  EXPECT_STREQ(face, "unchanged");
  EXPECT_EQ(GetTextFace(mem.hdc, sizeof face, face), 16);
  EXPECT_STREQ(face, kMonoFace);
  EXPECT_EQ(GetTextFace(mem.hdc, 7, face), 6);
  EXPECT_STREQ(face, "DejaVu");

  // A character the face lacks is marked; the mapped one keeps its glyph.
  const wchar_t text[] = {L'A', 0x4E00};
  WORD glyphs[2] = {};
  EXPECT_EQ(GetGlyphIndicesW(mem.hdc, text, 2, glyphs, GGI_MARK_NONEXISTING_GLYPHS), 0);
  EXPECT_NE(glyphs[0], 0);
  EXPECT_NE(glyphs[0], 0xFFFF);
  EXPECT_EQ(glyphs[1], 0xFFFF);
  EXPECT_EQ(GetGlyphIndicesW(mem.hdc, text, 1, glyphs, 0), 1);
  EXPECT_EQ(GetGlyphIndicesW(mem.hdc, nullptr, 1, glyphs, 0), 0);
}

TEST(DrawingFonts, DefaultFontAndFontFiles) {
  MemoryContext mem(10, 10);
  char face[64] = {};
  EXPECT_GT(GetTextFace(mem.hdc, sizeof face, face), 0);
  EXPECT_EQ(std::string(face).rfind("DejaVu Sans", 0), 0u);
  EXPECT_EQ(AddFontResourceEx(nullptr, FR_PRIVATE, nullptr), 0);
  EXPECT_EQ(AddFontResourceEx("/nonexistent/font.ttf", FR_PRIVATE, nullptr), 0);
}

}  // namespace
