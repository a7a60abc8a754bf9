#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/Image.h"
#include "platform/drawing/ImageDecoder.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

// A bitmap context over its own pixel rows (B, G, R, X, top row first), as the
// windowing layer's memory contexts make them.
struct MemoryBitmap {
  int width, height;
  std::vector<std::uint32_t> pixels;
  std::unique_ptr<CGContext> cg;
  MemoryBitmap(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {
    cg.reset(CGContext::createBitmapOverMemory(pixels.data(), w, h, w * 4));
  }
  // Rows top down, as memory contexts address them.
  void topDown() {
    cg->translate(0, height);
    cg->scale(1, -1);
  }
  std::uint32_t at(int x, int y) {
    cairo_surface_flush(cg->bitmapSurface());
    return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF;
  }
};

TEST(CGContext, BitmapsOverMemoryPointUpAndKeepTheirBytesInBGROrder) {
  MemoryBitmap bitmap(3, 2);
  ASSERT_TRUE(bitmap.cg);
  bitmap.cg->setFillColor(0x11 / 255.0, 0x22 / 255.0, 0x33 / 255.0, 1);
  bitmap.cg->fillRect(NSMakeRect(2, 0, 1, 1));  // y up: the bottom row
  auto* bytes = reinterpret_cast<const std::uint8_t*>(bitmap.pixels.data());
  cairo_surface_flush(bitmap.cg->bitmapSurface());
  EXPECT_EQ(bytes[(1 * 3 + 2) * 4 + 0], 0x33);
  EXPECT_EQ(bytes[(1 * 3 + 2) * 4 + 1], 0x22);
  EXPECT_EQ(bytes[(1 * 3 + 2) * 4 + 2], 0x11);
  EXPECT_EQ(bitmap.at(2, 0), 0u);
}

TEST(CGContext, RefusesMemoryItCannotAddress) {
  std::uint32_t pixels[16] = {};
  struct Case {
    void* data;
    int w, h, rowBytes;
  } cases[] = {{nullptr, 2, 2, 8}, {pixels, 0, 2, 8}, {pixels, 2, -1, 8},
               {pixels, 2, 2, 7},  {pixels, 4, 2, 8}, {pixels, 40000, 1, 160000}};
  for (const Case& c : cases)
    EXPECT_EQ(CGContext::createBitmapOverMemory(c.data, c.w, c.h, c.rowBytes), nullptr)
        << c.w << " x " << c.h << " rows of " << c.rowBytes;
}

TEST(CGContext, FillAndStrokeAreSeparateStateThatSavesRestoreButTheTextMatrixIsNot) {
  MemoryBitmap bitmap(6, 6);
  CGContext& cg = *bitmap.cg;
  bitmap.topDown();
  EXPECT_EQ(cg.lineWidth(), 1);
  cg.setFillColor(1, 0, 0, 1);
  cg.setStrokeColor(0, 0, 1, 1);
  cg.saveGState();
  cg.setFillColor(0, 1, 0, 1);
  cg.setLineWidth(3);
  cg.setTextMatrix({1, 0, 0, -1, 0, 0});
  EXPECT_TRUE(cg.restoreGState());
  EXPECT_EQ(cg.lineWidth(), 1);
  EXPECT_EQ(cg.textMatrix(), (CGAffineTransform{1, 0, 0, -1, 0, 0}));
  cg.fillRect(NSMakeRect(0, 0, 2, 2));
  // A one-wide line on the pixel centres of column 4.
  cg.beginPath();
  cg.moveToPoint(4.5, 0);
  cg.addLineToPoint(4.5, 6);
  cg.drawPath(CGPathDrawingMode::stroke);
  EXPECT_EQ(bitmap.at(1, 1), 0xFF0000u);
  EXPECT_EQ(bitmap.at(4, 3), 0x0000FFu);
  EXPECT_EQ(bitmap.at(3, 3), 0u);
  EXPECT_EQ(bitmap.at(5, 3), 0u);
  EXPECT_FALSE(cg.restoreGState());
}

TEST(CGContext, ImagesDrawUprightSoTwoFlipsCancel) {
  // A 1 x 2 image: red over blue.
  std::uint32_t source[2] = {0xFFFF0000, 0xFF0000FF};
  Ref<CGImage> image =
      Ref<CGImage>::adopt(CGImage::createWithPixels(source, 1, 2, 4, CGImageAlpha::noneSkipFirst));
  ASSERT_TRUE(image);
  struct Case {
    const char* what;
    bool topDown, flipAgain;
    std::uint32_t top;
  } cases[] = {{"y up", false, false, 0xFF0000},
               {"top down", true, false, 0x0000FF},
               {"top down, flipped back", true, true, 0xFF0000}};
  for (const Case& c : cases) {
    MemoryBitmap bitmap(1, 2);
    if (c.topDown) bitmap.topDown();
    if (c.flipAgain) {
      bitmap.cg->scale(1, -1);
      bitmap.cg->drawImage(NSMakeRect(0, -2, 1, 2), image.get());
    } else {
      bitmap.cg->drawImage(NSMakeRect(0, 0, 1, 2), image.get());
    }
    EXPECT_EQ(bitmap.at(0, 0), c.top) << c.what;
  }
}

// Cairo takes a transform that is no number, or that collapses the plane, as an error
// that ends every later drawing through the context; such a transform draws nothing
// until the state is restored instead, and the drawing after it is whole.
TEST(CGContext, ATransformOrRectangleThatIsNoNumberSpoilsNothingAfterIt) {
  const double nan = std::nan(""), inf = HUGE_VAL;
  Ref<CGImage> image = Ref<CGImage>::adopt(CGImage::createWithPixels(
      std::vector<std::uint32_t>(4, 0xFFFFFFFF).data(), 2, 2, 8, CGImageAlpha::noneSkipFirst));
  ASSERT_TRUE(image);
  struct Case {
    const char* what;
    bool transform;
    std::function<void(CGContext*)> draw;
  } cases[] = {
      {"translate by NaN", true, [&](CGContext* cg) { cg->translate(nan, 0); }},
      {"scale by 0", true, [&](CGContext* cg) { cg->scale(0, 1); }},
      {"scale by infinity", true, [&](CGContext* cg) { cg->scale(1, inf); }},
      {"image in a NaN rectangle", false,
       [&](CGContext* cg) { cg->drawImage(NSMakeRect(0, 0, nan, 2), image.get()); }},
      {"image in an infinite rectangle", false,
       [&](CGContext* cg) { cg->drawImage(NSMakeRect(0, 0, inf, inf), image.get()); }},
      {"ellipse in an infinite rectangle", false,
       [&](CGContext* cg) { cg->fillEllipseInRect(NSMakeRect(0, 0, inf, 2)); }},
      {"ellipse outlined in a NaN rectangle", false,
       [&](CGContext* cg) { cg->strokeEllipseInRect(NSMakeRect(nan, 0, 2, 2)); }},
      {"clip to a NaN rectangle", false,
       [&](CGContext* cg) { cg->clipToRect(NSMakeRect(nan, 0, 1, 1)); }},
      {"fill of a NaN rectangle", false,
       [&](CGContext* cg) { cg->fillRect(NSMakeRect(0, nan, 1, 1)); }},
      {"stroke of a NaN width", false,
       [&](CGContext* cg) {
         cg->setLineWidth(nan);
         cg->strokeRect(NSMakeRect(0, 0, 1, 1));
       }},
      {"fill in a NaN colour", false,
       [&](CGContext* cg) {
         cg->setFillColor(nan, nan, 0, nan);
         cg->fillRect(NSMakeRect(0, 0, 1, 1));
       }},
      {"path through an infinite point", false,
       [&](CGContext* cg) {
         cg->moveToPoint(0, 0);
         cg->addLineToPoint(inf, 1);
         cg->drawPath(CGPathDrawingMode::fillStroke);
       }},
  };
  for (const Case& c : cases) {
    MemoryBitmap bitmap(2, 2);
    bitmap.cg->setFillColor(1, 1, 1, 1);
    bitmap.cg->saveGState();
    c.draw(bitmap.cg.get());
    if (c.transform) {
      bitmap.cg->fillRect(NSMakeRect(0, 0, 2, 2));
      EXPECT_EQ(bitmap.at(0, 0), 0u) << c.what << ": drawn under the transform";
    }
    bitmap.cg->restoreGState();
    bitmap.cg->setFillColor(0, 1, 0, 1);
    bitmap.cg->fillRect(NSMakeRect(0, 0, 2, 2));
    EXPECT_EQ(cairo_status(bitmap.cg->cairo()), CAIRO_STATUS_SUCCESS) << c.what;
    EXPECT_EQ(bitmap.at(1, 1), 0x00FF00u) << c.what;
  }
}

TEST(CGContext, ImagesDrawAtTheirOpacityAndAnOpacityThatIsNoNumberDrawsNothing) {
  std::vector<std::uint32_t> white(4, 0xFFFFFFFF);
  Ref<CGImage> image = Ref<CGImage>::adopt(
      CGImage::createWithPixels(white.data(), 2, 2, 8, CGImageAlpha::noneSkipFirst));
  ASSERT_TRUE(image);
  const std::pair<double, std::uint32_t> cases[] = {
      {1, 0xFFFFFF}, {2, 0xFFFFFF}, {0.5, 0x808080}, {0, 0}, {-1, 0}, {std::nan(""), 0}};
  for (const auto& [opacity, pixel] : cases) {
    MemoryBitmap bitmap(2, 2);
    bitmap.cg->drawSurface(NSMakeRect(0, 0, 2, 2), image->surface(), false, opacity);
    EXPECT_EQ(bitmap.at(0, 0) & 0xFFFFFF, pixel) << "opacity " << opacity;
    EXPECT_EQ(cairo_status(bitmap.cg->cairo()), CAIRO_STATUS_SUCCESS) << "opacity " << opacity;
  }
  // An image made over a surface shares its pixels; one over no image is refused.
  Ref<CGImage> shared = Ref<CGImage>::adopt(CGImage::createWithSurface(image->surface()));
  ASSERT_TRUE(shared);
  EXPECT_EQ(shared->surface(), image->surface());
  EXPECT_EQ(shared->width(), 2);
  EXPECT_EQ(shared->height(), 2);
  EXPECT_EQ(CGImage::createWithSurface(nullptr), nullptr);
  cairo_surface_t* recording = cairo_recording_surface_create(CAIRO_CONTENT_COLOR, nullptr);
  EXPECT_EQ(CGImage::createWithSurface(recording), nullptr);
  cairo_surface_destroy(recording);
  const std::uint32_t pixels[2] = {};
  EXPECT_EQ(CGImage::createWithPixels(pixels, 2, 1, 4, CGImageAlpha::first), nullptr);
  EXPECT_EQ(CGImage::createWithPixels(pixels, 40000, 1, 160000, CGImageAlpha::first), nullptr);
}

TEST(CGContext, StraightAlphaIsPremultipliedAndDeviceSizesFollowTheScale) {
  std::uint8_t pixel[4] = {200, 100, 50, 128};  // B, G, R, A
  Ref<CGImage> image =
      Ref<CGImage>::adopt(CGImage::createWithPixels(pixel, 1, 1, 4, CGImageAlpha::first));
  ASSERT_TRUE(image);
  cairo_surface_flush(image->surface());
  auto word =
      *reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image->surface()));
  EXPECT_EQ(word, (128u << 24) | (25u << 16) | (50u << 8) | 100u);
  MemoryBitmap bitmap(4, 4);
  bitmap.cg->scale(2, -2);
  NSSize device = bitmap.cg->convertSizeToDeviceSpace({1, 1});
  EXPECT_EQ(device.width, 2);
  EXPECT_EQ(device.height, 2);
}

TEST(NSImage, DecodesFilesFindsNamedImagesAndDrawsFlippedOnRequest) {
  testsupport::PlatformHarness h;
  EXPECT_EQ(NSImage::imageWithContentsOfFile("/nonexistent.png"), nullptr);
  EXPECT_TRUE(h.logged("cannot read"));
  NSImage::setResourceFolder(TEST_RESOURCES_DIR);
  Ref<NSImage> named = Ref<NSImage>::adopt(NSImage::imageNamed("halves"));
  ASSERT_TRUE(named);
  Ref<NSImage> again = Ref<NSImage>::adopt(NSImage::imageNamed("halves"));
  EXPECT_TRUE(Ref<NSImage>::adopt(NSImage::imageNamed("halves.png")));
  EXPECT_EQ(NSImage::imageNamed("absent"), nullptr);
  EXPECT_EQ(again.get(), named.get());
  EXPECT_EQ(named->size().width, 20);
  // A 1 x 2 picture, red over blue, drawn into a top-down context: upside down unless
  // flipped.
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 2);
  auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
  data[0] = 0xFFFF0000;
  data[1] = 0xFF0000FF;
  cairo_surface_mark_dirty(surface);
  Ref<NSImage> picture = Ref<NSImage>::adopt(NSImage::imageWithSurface(surface));
  cairo_surface_destroy(surface);
  MemoryBitmap plain(1, 2), flipped(1, 2);
  plain.topDown();
  flipped.topDown();
  picture->drawInRect(plain.cg.get(), NSMakeRect(0, 0, 1, 2), NSCompositingOperation::copy);
  Ref<NSImage> copy = Ref<NSImage>::adopt(picture->copy());
  copy->setFlipped(true);
  copy->drawInRect(flipped.cg.get(), NSMakeRect(0, 0, 1, 2), NSCompositingOperation::copy);
  EXPECT_EQ(plain.at(0, 0), 0x0000FFu);
  EXPECT_EQ(flipped.at(0, 0), 0xFF0000u);
  EXPECT_FALSE(picture->isFlipped());
  NSImage::setResourceFolder("");
}

TEST(ImageDecoder, RefusesWhatItCannotReadWithAReason) {
  std::string why;
  EXPECT_EQ(decodeImageFile(nullptr, &why), nullptr);
  EXPECT_EQ(decodeImageFile("/nonexistent.png", &why), nullptr);
  EXPECT_FALSE(why.empty());
  std::string path = std::string(TEST_RESOURCES_DIR) + "/halves.png";
  cairo_surface_t* surface = decodeImageFile(path.c_str());
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(cairo_image_surface_get_format(surface), CAIRO_FORMAT_ARGB32);
  cairo_surface_destroy(surface);
  for (const char* name : {"/grey.jpg", "/progressive.jpg"}) {
    std::string jpeg = std::string(TEST_RESOURCES_DIR) + name;
    surface = decodeImageFile(jpeg.c_str(), &why);
    EXPECT_NE(surface, nullptr) << name << ": " << why;
    if (surface) cairo_surface_destroy(surface);
  }
  // JPEGs the decoder would read or write outside its Huffman tables for: one table
  // counting more codes than a table holds, a scan using tables never defined, and a
  // baseline scan using an undefined AC table though its spectral range stops at the DC value.
  std::vector<std::uint8_t> oversized{0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00};
  oversized.insert(oversized.end(), 16, 0xFF);
  const std::vector<std::uint8_t> undefined{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x08, 0x01,
                                            0x01, 0x00, 0x00, 0x3F, 0x00, 0x12, 0x34};
  std::vector<std::uint8_t> dcOnly{0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08,
                                   0x01, 0x01, 0x11, 0x00, 0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01};
  dcOnly.insert(dcOnly.end(), 16, 0x00);
  const std::uint8_t dcOnlyScan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00};
  dcOnly.insert(dcOnly.end(), std::begin(dcOnlyScan), std::end(dcOnlyScan));
  for (const auto& crafted : {oversized, undefined, dcOnly}) {
    why.clear();
    EXPECT_EQ(decodeImageData(crafted.data(), crafted.size(), kMaxImageSide, &why), nullptr);
    EXPECT_NE(why.find("Huffman"), std::string::npos) << why;
  }
  // A PNG with an empty image data chunk (which the decoder would copy from no buffer)
  // decodes as without it; one whose chunk reaches past the data is refused unread.
  std::ifstream file(std::string(TEST_RESOURCES_DIR) + "/alpha.png", std::ios::binary);
  std::vector<std::uint8_t> png{std::istreambuf_iterator<char>(file), {}};
  const std::uint8_t idat[] = {'I', 'D', 'A', 'T'};
  auto data = std::search(png.begin(), png.end(), std::begin(idat), std::end(idat)) - 4;
  ASSERT_GT(data, png.begin());
  const std::uint8_t emptyChunk[] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
  std::vector<std::uint8_t> withEmpty(png.begin(), data);
  withEmpty.insert(withEmpty.end(), std::begin(emptyChunk), std::end(emptyChunk));
  withEmpty.insert(withEmpty.end(), data, png.end());
  surface = decodeImageData(withEmpty.data(), withEmpty.size(), kMaxImageSide, &why);
  ASSERT_NE(surface, nullptr) << why;
  cairo_surface_destroy(surface);
  std::vector<std::uint8_t> overlong = png;
  overlong[data - png.begin()] = 0x7F;
  EXPECT_EQ(decodeImageData(overlong.data(), overlong.size(), kMaxImageSide, &why), nullptr);
  EXPECT_NE(why.find("past the data"), std::string::npos) << why;
}

}  // namespace
