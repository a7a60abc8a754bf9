// Decodes arbitrary bytes as a PNG or JPEG held in memory, as loading a picture another
// program made does. Every read and write stays within the data and the decoder's buffers; a
// decoded image is a premultiplied ARGB32 surface within the side cap and the pixel cap, with
// rows as long as its width; a refusal gives no surface and says why.

#include <cairo.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/drawing/ImageDecoder.h"

namespace {
// Small enough that an image claiming the largest allowed size still decodes quickly.
constexpr int kFuzzMaxSide = 1024;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string failure;
  cairo_surface_t* surface = platform::decodeImageData(data, size, kFuzzMaxSide, &failure);
  if (!surface) {
    if (failure.empty()) std::abort();
    return 0;
  }
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const bool sound = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS &&
                     cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32 && width > 0 &&
                     height > 0 && width <= kFuzzMaxSide && height <= kFuzzMaxSide &&
                     cairo_image_surface_get_data(surface) &&
                     cairo_image_surface_get_stride(surface) >= width * 4;
  cairo_surface_destroy(surface);
  if (!sound) std::abort();
  return 0;
}
