#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "drawing_support.h"
#include "platform/drawing/Image.h"

namespace {

int paintedPixels(const MemoryContext& mem, int w, int h) {
  int painted = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      painted += !mem.isBlank(x, y);
  return painted;
}

struct Shapes : ::testing::Test {
  ~Shapes() override {
    for (HGDIOBJ o : objects)
      DeleteObject(o);
  }
  void use(HGDIOBJ o) {
    objects.push_back(o);
    SelectObject(mem.hdc, o);
  }
  MemoryContext mem{12, 12};
  std::vector<HGDIOBJ> objects;
};

TEST_F(Shapes, RectanglesFillWithTheBrushAndFrameWithThePen) {
  use(CreateSolidBrush(0x112233));
  use(GetStockObject(NULL_PEN));
  Rectangle(mem.hdc, 1, 1, 5, 5);
  EXPECT_EQ(mem.pixel(1, 1), kBgrOf0x112233);
  EXPECT_EQ(mem.pixel(4, 4), kBgrOf0x112233);
  EXPECT_TRUE(mem.isBlank(5, 5));

  MemoryContext framed(12, 12);
  HPEN pen = CreatePen(PS_SOLID, 1, 0xFFFFFF);
  SelectObject(framed.hdc, pen);
  SelectObject(framed.hdc, GetStockObject(NULL_BRUSH));
  Rectangle(framed.hdc, 2, 2, 9, 9);
  EXPECT_TRUE(framed.isBlank(5, 5));
  EXPECT_GT(paintedPixels(framed, 12, 12), 0);
  DeleteObject(pen);
}

TEST_F(Shapes, SetPixelFillsExactlyOnePixel) {
  SetPixel(mem.hdc, 3, 4, 0x112233);
  EXPECT_EQ(mem.pixel(3, 4), kBgrOf0x112233);
  EXPECT_EQ(paintedPixels(mem, 12, 12), 1);
}

TEST_F(Shapes, PolygonsCloseTheirOutline) {
  use(CreatePen(PS_SOLID, 1, 0xFFFFFF));
  use(GetStockObject(NULL_BRUSH));
  const POINT triangle[] = {{1, 1}, {10, 1}, {10, 10}};
  SWELL_Polygon(mem.hdc, triangle, 3);
  // The closing edge runs back along the diagonal.
  EXPECT_FALSE(mem.isBlank(5, 5) && mem.isBlank(5, 6) && mem.isBlank(6, 5));
  SWELL_Polygon(mem.hdc, nullptr, 3);
}

TEST_F(Shapes, EllipseOutlinesTakeThePenWidth) {
  auto outline = [](int width) {
    MemoryContext mem(20, 20);
    HPEN pen = CreatePen(PS_SOLID, width, 0xFFFFFF);
    SelectObject(mem.hdc, pen);
    Ellipse(mem.hdc, 3, 3, 17, 17);
    DeleteObject(pen);
    return paintedPixels(mem, 20, 20);
  };
  EXPECT_GT(outline(4), outline(1) * 2);
}

TEST_F(Shapes, LinesMoveThePenPosition) {
  POINT old{-1, -1};
  MoveToEx(mem.hdc, 2, 3, &old);
  EXPECT_EQ(old.x, 0);
  LineTo(mem.hdc, 8, 3);  // no pen: nothing, and the position stays
  MoveToEx(mem.hdc, 0, 0, &old);
  EXPECT_EQ(old.x, 2);
  use(CreatePen(PS_SOLID, 1, 0x112233));
  LineTo(mem.hdc, 6, 0);
  EXPECT_EQ(mem.pixel(3, 0), kBgrOf0x112233);
  MoveToEx(mem.hdc, 0, 0, &old);
  EXPECT_EQ(old.x, 6);
}

// A source of one row: column c has blue byte c + 1.
struct BlitSource {
  explicit BlitSource(int width) : mem(width, 1) {
    for (int c = 0; c < width; ++c)
      mem.fill({c, 0, c + 1, 1}, static_cast<COLORREF>(c + 1));
  }
  MemoryContext mem;
};

TEST(Blits, StretchBltClipsToTheSourceAndScales) {
  BlitSource source(20);
  MemoryContext dest(60, 1);
  StretchBlt(dest.hdc, 0, 0, 40, 1, source.mem.hdc, -10, 0, 20, 1, SRCCOPY);
  EXPECT_TRUE(dest.isBlank(19, 0));
  EXPECT_EQ(dest.pixel(20, 0)[0], 1);
  EXPECT_EQ(dest.pixel(21, 0)[0], 1);
  EXPECT_EQ(dest.pixel(39, 0)[0], 10);
  EXPECT_TRUE(dest.isBlank(40, 0));
  // Refused: an empty source size, a destination that is not a context.
  StretchBlt(dest.hdc, 0, 0, 40, 1, source.mem.hdc, 0, 0, 0, 1, SRCCOPY);
  StretchBlt(nullptr, 0, 0, 40, 1, source.mem.hdc, 0, 0, 20, 1, SRCCOPY);
  StretchBlt(dest.hdc, 0, 0, 40, 1, dest.hdc, 500, 0, 20, 1, SRCCOPY);
  EXPECT_TRUE(dest.isBlank(0, 0));
}

TEST(Blits, AContextBlittedOntoItselfCopiesItsSourceFirst) {
  BlitSource row(4);
  BitBlt(row.mem.hdc, 1, 0, 3, 1, row.mem.hdc, 0, 0, SRCCOPY);
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(row.mem.pixel(c, 0)[0], c == 0 ? 1 : c) << c;
}

TEST(Bitmaps, OnlyThirtyTwoBitBitmapsAndGuardedObjectReads) {
  EXPECT_EQ(CreateBitmap(2, 3, 1, 24, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(0, 3, 1, 32, nullptr), nullptr);
  HBITMAP bitmap = CreateBitmap(2, 3, 1, 32, nullptr);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info;
  info.bmWidthBytes = 99;
  EXPECT_EQ(GetObject(bitmap, 16, &info), 1);
  EXPECT_EQ(info.bmWidth, 2);
  EXPECT_EQ(info.bmHeight, 3);
  EXPECT_EQ(info.bmWidthBytes, 0);
  EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 1);
  EXPECT_EQ(info.bmWidthBytes, 8);
  EXPECT_EQ(info.bmBitsPixel, 32);
  EXPECT_EQ(GetObject(bitmap, sizeof info, nullptr), 0);
  EXPECT_EQ(GetObject(bitmap, 0, &info), 0);
  EXPECT_EQ(GetObject(bitmap, -4, &info), 0);
  EXPECT_EQ(info.bmWidth, 2);
  HBRUSH brush = CreateSolidBrush(0);
  EXPECT_EQ(GetObject(brush, sizeof info, &info), 0);
  EXPECT_EQ(GetNSImageFromHICON(brush), nullptr);
  DeleteObject(brush);
  DeleteObject(bitmap);
  EXPECT_EQ(GetObject(bitmap, sizeof info, &info), 0);
}

TEST(Bitmaps, ImagesDrawUprightAndKeepTheirFlippedState) {
  // Top row blue, bottom row red (bytes B, G, R, A).
  const std::uint8_t pixels[] = {0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF};
  HBITMAP bitmap = CreateBitmap(1, 2, 1, 32, pixels);
  ASSERT_NE(GetNSImageFromHICON(bitmap), nullptr);
  EXPECT_FALSE(GetNSImageFromHICON(bitmap)->isFlipped());
  MemoryContext mem(1, 2);
  const RECT r{0, 0, 1, 2};
  DrawImageInRect(mem.hdc, bitmap, &r);
  EXPECT_EQ(mem.pixel(0, 0), (std::array<std::uint8_t, 3>{0xFF, 0, 0}));
  EXPECT_EQ(mem.pixel(0, 1), (std::array<std::uint8_t, 3>{0, 0, 0xFF}));
  EXPECT_FALSE(GetNSImageFromHICON(bitmap)->isFlipped());

  ICONINFO info;
  info.fIcon = 1;
  info.hbmColor = bitmap;
  HICON icon = CreateIconIndirect(&info);
  EXPECT_EQ(GetNSImageFromHICON(icon), GetNSImageFromHICON(bitmap));
  info.fIcon = 0;
  EXPECT_EQ(CreateIconIndirect(&info), nullptr);
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
  EXPECT_EQ(LoadNamedImage(nullptr, false), nullptr);
  EXPECT_EQ(LoadNamedImage("/nonexistent/picture.png", true), nullptr);
  DeleteObject(icon);
  DeleteObject(bitmap);
}

TEST(ImageLists, CountsIndicesAndRemovals) {
  HBITMAP bitmap = CreateBitmap(1, 1, 1, 32, nullptr);
  HIMAGELIST list = ImageList_CreateEx();
  EXPECT_EQ(ImageList_ReplaceIcon(list, -1, bitmap), 0);
  EXPECT_EQ(ImageList_Add(list, bitmap, nullptr), 2);
  EXPECT_EQ(ImageList_Add(list, bitmap, nullptr), 3);
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  EXPECT_EQ(ImageList_Add(nullptr, bitmap, nullptr), -1);
  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_FALSE(ImageList_Remove(list, 3));
  // The count stays 3: index 2 is still replaced in place.
  EXPECT_EQ(ImageList_ReplaceIcon(list, 2, bitmap), 2);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 0, bitmap), 0);
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_ReplaceIcon(list, 5, bitmap), 0);
  ImageList_Destroy(list);
  ImageList_Destroy(nullptr);
  DeleteObject(bitmap);
}

TEST(SystemColors, TableAndUnlistedIndices) {
  const std::pair<int, COLORREF> cases[] = {{0, 0x606060}, {2, 0xC0C0C0}, {3, 0},
                                            {8, 0xFFF0C8}, {9, 0},        {-1, 0}};
  for (auto [index, colour] : cases)
    EXPECT_EQ(GetSysColor(index), colour) << index;
  EXPECT_FALSE(SWELL_osx_is_dark_mode(1));
}

}  // namespace
