#include <array>
#include <cstdint>

#include "platform/core/Cursor.h"

namespace platform {

namespace {

// The pictures, one character per pixel: '#' black, 'o' white (the outline that keeps
// the shape visible on dark backgrounds), '.' transparent. Each becomes one byte:
// grey level in the high four bits, opacity in the low four.
using Picture = std::array<const char*, 16>;
constexpr int kPictureSide = 16;
constexpr double kPictureHotSpot = 8;

constexpr Picture kMovePicture = {
    "................", "......oooo......", ".....oo##oo.....", "....oo####oo....",
    "...oo######oo...", "..oo#oo##oo#oo..", ".oo##oo##oo##oo.", ".o############o.",
    ".o############o.", ".oo##oo##oo##oo.", "..oo#oo##oo#oo..", "...oo######oo...",
    "....oo####oo....", ".....oo##oo.....", "......oooo......", "................",
};

// Top left to bottom right; its mirror image is the other diagonal.
constexpr Picture kDiagonalPicture = {
    "................", ".oooooo.........", ".o####o.........", ".o###oo.........",
    ".o####oo........", ".o#o###oo.......", ".oooo###oo......", "....oo###oo.....",
    ".....oo###oo....", "......oo###oooo.", ".......oo###o#o.", "........oo####o.",
    ".........oo###o.", ".........o####o.", ".........oooooo.", "................",
};

constexpr Picture kNotAllowedPicture = {
    "................", "....oooooooo....", "..ooo######ooo..", "..o####oo####o..",
    ".oo###ooooo##oo.", ".o#####oo.oo##o.", ".o##o###oo.o##o.", ".o#ooo###oooo#o.",
    ".o#oooo###ooo#o.", ".o##o.oo###o##o.", ".o##oo.oo#####o.", ".oo##ooooo###oo.",
    "..o####oo####o..", "..ooo######ooo..", "....oooooooo....", "................",
};

std::uint8_t greyAlphaOf(char c) {
  switch (c) {
    case '#':
      return 0x0F;
    case 'o':
      return 0xFF;
    default:
      return 0x00;
  }
}

// Widens the four-bit grey and opacity to eight bits each (by repeating the four
// bits) and premultiplies.
std::uint32_t pixelOf(std::uint8_t greyAlpha) {
  std::uint32_t grey = (greyAlpha >> 4) * 0x11u, alpha = (greyAlpha & 0x0F) * 0x11u;
  std::uint32_t g = (grey * alpha + 127) / 255;
  return (alpha << 24) | (g << 16) | (g << 8) | g;
}

NSCursor* makeCursor(const Picture& picture, bool mirrored) {
  NSCursorImage image;
  image.width = image.height = kPictureSide;
  image.pixels.reserve(kPictureSide * kPictureSide);
  for (const char* row : picture)
    for (int x = 0; x < kPictureSide; ++x)
      image.pixels.push_back(pixelOf(greyAlphaOf(row[mirrored ? kPictureSide - 1 - x : x])));
  return new NSCursor(std::move(image), {kPictureHotSpot, kPictureHotSpot});
}

}  // namespace

NSCursor* NSCursor::drawnCursor(Drawn which) {
  // Made on first use and kept for the program, as the standard shapes are.
  static NSCursor* move = makeCursor(kMovePicture, false);
  static NSCursor* down = makeCursor(kDiagonalPicture, false);
  static NSCursor* up = makeCursor(kDiagonalPicture, true);
  static NSCursor* notAllowed = makeCursor(kNotAllowedPicture, false);
  switch (which) {
    case Drawn::Move:
      return move;
    case Drawn::ResizeDiagonalDown:
      return down;
    case Drawn::ResizeDiagonalUp:
      return up;
    case Drawn::NotAllowed:
      return notAllowed;
  }
  return move;
}

}  // namespace platform
