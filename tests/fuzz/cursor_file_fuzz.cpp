// Decodes arbitrary bytes as a cursor, icon or PNG file, as loading a cursor from a file
// another program made does. Every read stays within the data, and a decoded picture
// is within the size cap, its pixels match its size and its hot spot lies inside it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/display/CursorFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto image = platform::decodeCursorPicture(data, size);
  if (!image) return 0;
  bool sound = image->width > 0 && image->height > 0 &&
               image->width <= platform::kMaxCursorImageSide &&
               image->height <= platform::kMaxCursorImageSide &&
               image->pixels.size() == static_cast<std::size_t>(image->width) * image->height &&
               image->hotSpotX >= 0 && image->hotSpotX < image->width && image->hotSpotY >= 0 &&
               image->hotSpotY < image->height;
  if (!sound) std::abort();
  return 0;
}
