// The image decoder fed what a user's disk can hold besides images: files cut short at every
// byte, files that never end, folders, pipes and devices. Each is refused with a reason, at
// once, and nothing is read outside the data.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/drawing/Image.h"
#include "platform/drawing/ImageDecoder.h"
#include "support/TempFiles.h"

using namespace platform;

namespace {

std::vector<std::uint8_t> resource(const char* name) {
  std::string bytes = testsupport::readFile(std::string(TEST_RESOURCES_DIR) + "/" + name);
  return {bytes.begin(), bytes.end()};
}

TEST(ImageDecoder, EveryFileCutShortIsRefusedOrDecodedWhole) {
  for (const char* name : {"alpha.png", "knob.png", "grey.jpg", "progressive.jpg"}) {
    const std::vector<std::uint8_t> whole = resource(name);
    ASSERT_FALSE(whole.empty()) << name;
    for (std::size_t size = 1; size < whole.size(); ++size) {
      // A copy of just that many bytes, so a read past them is a read past the memory.
      std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
      std::string why;
      cairo_surface_t* surface = decodeImageData(cut.data(), cut.size(), kMaxImageSide, &why);
      if (!surface) {
        EXPECT_FALSE(why.empty()) << name << " cut at " << size;
        continue;
      }
      EXPECT_GT(cairo_image_surface_get_width(surface), 0);
      cairo_surface_destroy(surface);
    }
  }
}

TEST(ImageDecoder, HostileHeadersAreRefusedBeforeAnyPixelIsDecoded) {
  const std::vector<std::uint8_t> png = resource("alpha.png");
  ASSERT_GT(png.size(), 24u);
  // The header chunk's width and height, big-endian at bytes 16 and 20.
  auto withSize = [&](std::uint32_t w, std::uint32_t h) {
    std::vector<std::uint8_t> copy = png;
    for (int i = 0; i < 4; ++i) {
      copy[16 + i] = static_cast<std::uint8_t>(w >> (24 - 8 * i));
      copy[20 + i] = static_cast<std::uint8_t>(h >> (24 - 8 * i));
    }
    return copy;
  };
  struct Case {
    const char* what;
    std::vector<std::uint8_t> data;
    int maxSide;
  } cases[] = {
      {"a side above what Cairo holds", withSize(40000, 1), kMaxImageSide},
      {"an area of gigabytes", withSize(30000, 30000), kMaxImageSide},
      {"no pixels", withSize(0, 0), kMaxImageSide},
      {"a side above the caller's limit", withSize(64, 64), 32},
      {"a chunk length of four gigabytes",
       [&] {
         std::vector<std::uint8_t> copy = png;
         copy[8] = copy[9] = copy[10] = copy[11] = 0xFF;
         return copy;
       }(),
       kMaxImageSide},
      {"only the signature", {std::begin(kPngSignature), std::end(kPngSignature)}, kMaxImageSide},
      {"a JPEG start and nothing", {0xFF, 0xD8}, kMaxImageSide},
      {"text", {'h', 'e', 'l', 'l', 'o'}, kMaxImageSide},
  };
  for (const auto& c : cases) {
    std::string why;
    cairo_surface_t* surface = decodeImageData(c.data.data(), c.data.size(), c.maxSide, &why);
    EXPECT_EQ(surface, nullptr) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
    if (surface) cairo_surface_destroy(surface);
  }
}

TEST(ImageDecoder, FilesThatAreNoRegularFileAreRefusedWithoutWaitingOrReadingForever) {
  testsupport::TempDir dir;
  const std::string fifo = dir.file("pipe.png");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string empty = dir.file("empty.png");
  testsupport::writeFile(empty, "");
  // A FIFO nobody writes to, a device that never ends, a folder, an empty file.
  for (const std::string& path : {fifo, std::string("/dev/zero"), dir.path(), empty}) {
    std::string why;
    EXPECT_EQ(decodeImageFile(path.c_str(), &why), nullptr) << path;
    EXPECT_FALSE(why.empty()) << path;
    EXPECT_EQ(NSImage::imageWithContentsOfFile(path), nullptr) << path;
  }
}

TEST(NSImage, ACopyOwnsItsPixelsAndNamedImagesComeFromTheResourceFolder) {
  testsupport::TempDir dir;
  NSImage::setResourceFolder(dir.path());
  EXPECT_EQ(NSImage::resourceFolder(), dir.path());
  const std::string png = testsupport::readFile(std::string(TEST_RESOURCES_DIR) + "/alpha.png");
  testsupport::writeFile(dir.file("icon.png"), png);
  testsupport::writeFile(dir.file("broken.png"), png.substr(0, png.size() / 2));
  NSImage* icon = NSImage::imageNamed("icon");
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(NSImage::imageNamed("broken"), nullptr);
  EXPECT_EQ(NSImage::imageNamed(""), nullptr);

  NSImage* copy = icon->copy();
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->size(), icon->size());
  EXPECT_NE(copy->surface(), icon->surface());
  // Painting the copy leaves the original as it was.
  auto pixel = [](NSImage* image) {
    cairo_surface_flush(image->surface());
    return *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image->surface()));
  };
  const std::uint32_t before = pixel(icon);
  cairo_t* cr = cairo_create(copy->surface());
  cairo_set_source_rgba(cr, 0, 1, 0, 1);
  cairo_paint(cr);
  cairo_destroy(cr);
  EXPECT_EQ(pixel(copy), 0xFF00FF00u);
  EXPECT_EQ(pixel(icon), before);
  copy->release();
  icon->release();
  NSImage::setResourceFolder("");
}

}  // namespace
