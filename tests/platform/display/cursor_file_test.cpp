#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/display/CursorFile.h"

using namespace platform;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, unsigned v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void put32(Bytes& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back((v >> (8 * i)) & 0xFF);
}

// A bitmap picture (header, palette, colour rows, AND mask rows, bottom-up) of a
// 2 x 2 image: the top row black, white; the bottom row white, black; mask on the top
// right pixel.
Bytes bitmap(int bits, std::int32_t storedHeight = 4, std::uint32_t compression = 0) {
  Bytes b;
  put32(b, 40);
  put32(b, 2);
  put32(b, static_cast<std::uint32_t>(storedHeight));
  put16(b, 1);
  put16(b, bits);
  put32(b, compression);
  for (int i = 0; i < 5; ++i)
    put32(b, 0);
  if (bits <= 8) {
    put32(b, 0x000000);  // index 0 black
    put32(b, 0xFFFFFF);  // index 1 white
    for (int i = 2; i < (1 << bits); ++i)
      put32(b, 0x808080);
  }
  auto row = [&](int left, int right) {  // palette indices 0/1, or black/white pixels
    Bytes r;
    if (bits == 1) r.push_back(static_cast<std::uint8_t>((left << 7) | (right << 6)));
    if (bits == 4) r.push_back(static_cast<std::uint8_t>((left << 4) | right));
    if (bits == 8)
      r.insert(r.end(), {static_cast<std::uint8_t>(left), static_cast<std::uint8_t>(right)});
    if (bits >= 24)
      for (int v : {left, right})
        for (int c = 0; c < bits / 8; ++c)
          r.push_back(v ? 0xFF : (c == 3 ? 0xFF : 0));
    while (r.size() % 4)
      r.push_back(0);
    b.insert(b.end(), r.begin(), r.end());
  };
  row(1, 0);                             // bottom
  row(0, 1);                             // top
  for (std::uint8_t m : {0x00, 0x40}) {  // bottom row clear; top right masked
    b.push_back(m);
    b.insert(b.end(), 3, 0);
  }
  return b;
}

// A file of pictures: type 1 icon or 2 cursor, entries with the hot spot fields.
Bytes file(unsigned type, const std::vector<Bytes>& pictures, unsigned hotX = 1, unsigned hotY = 0,
           std::uint8_t reserved = 0) {
  Bytes b;
  put16(b, 0);
  put16(b, type);
  put16(b, static_cast<unsigned>(pictures.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(pictures.size());
  for (const auto& p : pictures) {
    b.insert(b.end(), {2, 2, 0, reserved});
    put16(b, hotX);
    put16(b, hotY);
    put32(b, static_cast<std::uint32_t>(p.size()));
    put32(b, offset);
    offset += static_cast<std::uint32_t>(p.size());
  }
  for (const auto& p : pictures)
    b.insert(b.end(), p.begin(), p.end());
  return b;
}

Bytes png(int side) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, side, side);
  cairo_t* cr = cairo_create(s);
  cairo_set_source_rgba(cr, 1, 0, 0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  Bytes out;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        static_cast<Bytes*>(closure)->insert(static_cast<Bytes*>(closure)->end(), data,
                                             data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &out);
  cairo_surface_destroy(s);
  return out;
}

std::optional<NSCursorImage> decode(const Bytes& b) {
  return decodeCursorFile(b.data(), b.size());
}

constexpr std::uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF;

TEST(CursorFile, DecodesBitmapsOfEveryDepthWithTheirMaskAndHotSpot) {
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    auto image = decode(file(2, {bitmap(bits)}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->height, 2);
    // Rows from the top; the masked pixel is transparent (a 32-bit picture's own
    // alpha wins over the mask).
    std::uint32_t topRight = bits == 32 ? kWhite : 0;
    EXPECT_EQ(image->pixels, (std::vector<std::uint32_t>{kBlack, topRight, kWhite, kBlack}));
    EXPECT_EQ(image->hotSpotX, 1);
    EXPECT_EQ(image->hotSpotY, 0);
  }
}

TEST(CursorFile, PngPicturesAndTheLargestIconPicture) {
  auto image = decode(file(1, {bitmap(1), png(16), png(4)}));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->pixels[0], 0xFFFF0000u);
  EXPECT_EQ(image->hotSpotX, 0);  // icons have no hot spot
  // A bare PNG makes a picture too, not a cursor file.
  Bytes bare = png(8);
  EXPECT_FALSE(decode(bare));
  auto picture = decodeCursorPicture(bare.data(), bare.size());
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 8);
  // A hot spot outside the picture is kept inside it.
  image = decode(file(2, {bitmap(8)}, 900, 7));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->hotSpotX, 1);
  EXPECT_EQ(image->hotSpotY, 1);
}

TEST(CursorFile, RefusesMalformedAndOversizedFiles) {
  Bytes wrongOffset = file(2, {bitmap(8)});
  wrongOffset[6 + 12] = 0xF0;  // the picture's offset beyond the data
  Bytes wrapping = file(2, {bitmap(8)});
  wrapping[6 + 8] = wrapping[6 + 9] = wrapping[6 + 10] = wrapping[6 + 11] = 0xFF;
  Bytes wide = bitmap(32);
  wide[4] = 1;
  wide[5] = 1;  // 257 pixels wide
  struct Case {
    const char* what;
    Bytes data;
  } cases[] = {
      {"empty", {}},
      {"icon type 3", file(3, {bitmap(8)})},
      {"cursor of two pictures", file(2, {bitmap(8), bitmap(8)})},
      {"reserved byte set", file(2, {bitmap(8)}, 0, 0, 1)},
      {"offset beyond the data", wrongOffset},
      {"length that wraps", wrapping},
      {"257 pixels wide", file(2, {wide})},
      {"odd stored height", file(2, {bitmap(8, 3)})},
      {"compressed", file(2, {bitmap(8, 4, 1)})},
      {"png over 256", file(1, {png(300)})},
      {"not a picture", file(2, {Bytes(64, 0x11)})},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(decode(c.data)) << c.what;
  // Every cut of a good file is refused without reading past it.
  Bytes good = file(2, {bitmap(4)});
  for (std::size_t n = 0; n < good.size(); ++n)
    EXPECT_FALSE(decodeCursorFile(good.data(), n)) << n;
}

}  // namespace
