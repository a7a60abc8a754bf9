#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A cursor picture: premultiplied ARGB pixels, rows from the top, and the hot spot in
// pixels from the top left.
struct NSCursorImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  int hotSpotX = 0;
  int hotSpotY = 0;
};

// The largest cursor or icon picture taken from a file, each way.
inline constexpr int kMaxCursorImageSide = 256;

// Decodes a cursor (".cur") or icon (".ico") file held in memory. The picture is a
// device-independent bitmap of 1, 4, 8, 24 or 32 bits per pixel with its AND mask, or
// a PNG. A cursor file has one picture and gives its hot spot; from an icon file the
// largest picture is taken, hot spot (0, 0). Files over 1 MiB are refused (no cursor
// comes near), and every offset and size is checked against
// the data, and pictures over kMaxCursorImageSide are refused. Null when the data is
// not such a file.
std::optional<NSCursorImage> decodeCursorFile(const std::uint8_t* data, std::size_t size);
// A picture for a cursor from any file a cursor may be made of: a cursor or icon file,
// or a PNG image (hot spot (0, 0)), under the same checks and cap.
std::optional<NSCursorImage> decodeCursorPicture(const std::uint8_t* data, std::size_t size);

}  // namespace platform
