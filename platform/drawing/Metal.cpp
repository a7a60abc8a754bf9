#include "platform/drawing/Metal.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/drawing/ImageDecoder.h"
#include "platform/drawing/detail/TestHooks.h"
#include "platform/objects/Screen.h"

namespace platform {

namespace {

std::atomic<bool> gDevicesAvailable{true};

struct DeviceTable {
  std::mutex mutex;
  std::map<int, Ref<MTLDevice>> byScreen;
};

DeviceTable& devices() {
  static DeviceTable* table = new DeviceTable;
  return *table;
}

// Bilinear sampling at normalised coordinates, texel centres at half steps, clamped to
// the edge texels.
std::uint32_t sampleBilinear(const MTLTexture* t, float u, float v) {
  if (!t || t->width() < 1 || t->height() < 1) return 0;
  // A place that is no number samples the first texel.
  if (std::isnan(u)) u = 0;
  if (std::isnan(v)) v = 0;
  float fx = std::clamp(u * t->width() - 0.5f, 0.0f, float(t->width() - 1));
  float fy = std::clamp(v * t->height() - 0.5f, 0.0f, float(t->height() - 1));
  int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  int x1 = std::min(x0 + 1, t->width() - 1), y1 = std::min(y0 + 1, t->height() - 1);
  float ax = fx - x0, ay = fy - y0;
  std::uint32_t p00 = t->row(y0)[x0], p10 = t->row(y0)[x1];
  std::uint32_t p01 = t->row(y1)[x0], p11 = t->row(y1)[x1];
  std::uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    float c00 = (p00 >> shift) & 0xFF, c10 = (p10 >> shift) & 0xFF;
    float c01 = (p01 >> shift) & 0xFF, c11 = (p11 >> shift) & 0xFF;
    float top = c00 + (c10 - c00) * ax, bottom = c01 + (c11 - c01) * ax;
    out |= static_cast<std::uint32_t>(std::lround(top + (bottom - top) * ay)) << shift;
  }
  return out;
}

bool declares(const std::string& source, const std::string& name) {
  return source.find(name) != std::string::npos;
}

}  // namespace

MTLTexture* MTLTexture::create(int width, int height) {
  if (width < 1 || height < 1) return nullptr;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return nullptr;
  }
  auto* texture = new MTLTexture;
  texture->mWidth = width;
  texture->mHeight = height;
  texture->mSurface = surface;
  return texture;
}

std::uint32_t* MTLTexture::row(int y) const {
  return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(mSurface) +
                                          static_cast<std::size_t>(y) *
                                              cairo_image_surface_get_stride(mSurface));
}

void MTLTexture::replaceRegion(const MTLRegion& r, int, const void* bytes,
                               std::size_t bytesPerRow) {
  if (!bytes || r.x < 0 || r.y < 0 || r.width < 1 || r.height < 1 || r.x > mWidth - r.width ||
      r.y > mHeight - r.height || bytesPerRow < static_cast<std::size_t>(r.width) * 4)
    return;
  cairo_surface_flush(mSurface);
  for (int y = 0; y < r.height; ++y)
    std::memcpy(row(r.y + y) + r.x, static_cast<const char*>(bytes) + y * bytesPerRow,
                static_cast<std::size_t>(r.width) * 4);
  cairo_surface_mark_dirty(mSurface);
}

void MTLTexture::getBytes(void* bytes, std::size_t bytesPerRow, const MTLRegion& r, int) const {
  if (!bytes || r.x < 0 || r.y < 0 || r.width < 1 || r.height < 1 || r.x > mWidth - r.width ||
      r.y > mHeight - r.height || bytesPerRow < static_cast<std::size_t>(r.width) * 4)
    return;
  cairo_surface_flush(mSurface);
  for (int y = 0; y < r.height; ++y)
    std::memcpy(static_cast<char*>(bytes) + y * bytesPerRow, row(r.y + y) + r.x,
                static_cast<std::size_t>(r.width) * 4);
}

void MTLTexture::dealloc() {
  if (mSurface) cairo_surface_destroy(mSurface);
  mSurface = nullptr;
  NSObject::dealloc();
}

MTLFunction* MTLLibrary::newFunctionWithName(const std::string& name) const {
  if (!declares(mSource, name)) return nullptr;
  auto* function = new MTLFunction;
  function->mName = name;
  if (name == "vertexShader") {
    function->mVertex = [](const float* data, int n) {
      return MTLVertexOut{data[4 * n], data[4 * n + 1], data[4 * n + 2], data[4 * n + 3]};
    };
  } else if (name == "samplingShader") {
    function->mFragment = sampleBilinear;
  } else {
    function->release();
    return nullptr;
  }
  return function;
}

MTLTexture* MTLDevice::newTextureWithDescriptor(const MTLTextureDescriptor& d) const {
  if (d.pixelFormat != MTLPixelFormatBGRA8Unorm) return nullptr;
  return MTLTexture::create(d.width, d.height);
}

MTLCommandQueue* MTLDevice::newCommandQueue() const {
  return new MTLCommandQueue;
}

MTLLibrary* MTLDevice::newLibraryWithSource(const std::string& source, std::string* error) const {
  if (mRefusesCompilation) {
    if (error) *error = "the shader compiler of \"" + mName + "\" is unavailable";
    return nullptr;
  }
  auto* library = new MTLLibrary;
  library->mSource = source;
  return library;
}

MTLRenderPipelineState* MTLDevice::newRenderPipelineStateWithDescriptor(
    const MTLRenderPipelineDescriptor& d, std::string* error) const {
  if (!d.vertexFunction || !d.fragmentFunction || !d.vertexFunction->vertex() ||
      !d.fragmentFunction->fragment()) {
    if (error) *error = "a vertex and a fragment function are needed";
    return nullptr;
  }
  auto* state = new MTLRenderPipelineState;
  state->mDescriptor = d;
  return state;
}

namespace {

class SoftwareDevice final : public MTLDevice {
 public:
  SoftwareDevice(std::string name, bool refusesCompilation)
      : MTLDevice(std::move(name), refusesCompilation) {}
};

MTLDevice* devicePerScreen(int number) {
  DeviceTable& table = devices();
  std::lock_guard<std::mutex> lock(table.mutex);
  Ref<MTLDevice>& device = table.byScreen[number];
  if (!device)
    device = Ref<MTLDevice>::adopt(
        new SoftwareDevice("Software Renderer " + std::to_string(number), false));
  return static_cast<MTLDevice*>(device->retain());
}

}  // namespace

MTLDevice* createCompilationRefusingDevice(const std::string& name) {
  return new SoftwareDevice(name, true);
}

std::vector<Ref<MTLDevice>> MTLCopyAllDevices() {
  std::vector<Ref<MTLDevice>> all;
  if (!gDevicesAvailable) return all;
  for (const NSScreen& screen : NSScreen::screens())
    all.push_back(Ref<MTLDevice>::adopt(devicePerScreen(screen.number)));
  return all;
}

MTLDevice* MTLCreateSystemDefaultDevice() {
  const NSScreen* main = NSScreen::mainScreen();
  return gDevicesAvailable && main ? devicePerScreen(main->number) : nullptr;
}

MTLDevice* CGDirectDisplayCopyCurrentMetalDevice(int screenNumber) {
  if (!gDevicesAvailable) return nullptr;
  for (const NSScreen& screen : NSScreen::screens())
    if (screen.number == screenNumber) return devicePerScreen(screenNumber);
  return nullptr;
}

void setScreenDeviceForTesting(int screenNumber, MTLDevice* device) {
  DeviceTable& table = devices();
  std::lock_guard<std::mutex> lock(table.mutex);
  table.byScreen[screenNumber] = device;
}

void setMetalDevicesAvailable(bool available) {
  gDevicesAvailable = available;
}

void CAMetalDrawable::present() {
  if (!mLayer) return;
  mLayer->mShown = this;
  mLayer->setContents(mTexture->surface());
}

void CAMetalLayer::setDrawableSize(NSSize size) {
  if (size.width == mDrawableSize.width && size.height == mDrawableSize.height) return;
  mDrawableSize = size;
  mShown = nullptr;
  // Drawables of the old size stay valid for whoever holds them, but are not handed out.
  for (auto& drawable : mPool)
    if (drawable) {
      drawable->mLayer = nullptr;
      drawable.reset();
    }
}

CAMetalDrawable* CAMetalLayer::nextDrawable() {
  // Sizes that are no number, or larger than an image can be, make no drawable.
  if (!(mDrawableSize.width >= 1 && mDrawableSize.width <= kMaxImageSide &&
        mDrawableSize.height >= 1 && mDrawableSize.height <= kMaxImageSide))
    return nullptr;
  int w = static_cast<int>(mDrawableSize.width), h = static_cast<int>(mDrawableSize.height);
  for (auto& slot : mPool) {
    if (!slot) {
      Ref<MTLTexture> texture = Ref<MTLTexture>::adopt(MTLTexture::create(w, h));
      if (!texture) return nullptr;
      slot = Ref<CAMetalDrawable>::adopt(new CAMetalDrawable);
      slot->mTexture = texture;
      slot->mLayer = this;
    }
    // The pool holds one reference; any other is a caller's.
    if (slot->retainCount() == 1 && slot.get() != mShown)
      return static_cast<CAMetalDrawable*>(slot->retain());
  }
  return nullptr;
}

void CAMetalLayer::dealloc() {
  setDrawableSize({0, 0});
  mShown = nullptr;
  mDevice.reset();
  CALayer::dealloc();
}

void MTLRenderCommandEncoder::setVertexBytes(const void* bytes, std::size_t length, int index) {
  if (index != 0 || !bytes) return;
  mVertexData.assign(static_cast<const float*>(bytes),
                     static_cast<const float*>(bytes) + length / sizeof(float));
}

void MTLRenderCommandEncoder::setFragmentTexture(MTLTexture* texture, int index) {
  if (index == 0) mFragmentTexture = texture;
}

void MTLRenderCommandEncoder::drawPrimitives(int vertexStart, int vertexCount) {
  if (!mCommands || mEnded || !mPipeline || !mPass.colorAttachmentTexture) return;
  if (vertexStart < 0 || vertexCount < 3 ||
      (static_cast<std::size_t>(vertexStart) + static_cast<std::size_t>(vertexCount)) * 4 >
          mVertexData.size())
    return;
  // The draw captures its inputs now and runs when the buffer is committed.
  mCommands->push_back([target = mPass.colorAttachmentTexture, viewport = mViewport,
                        pipeline = mPipeline, data = mVertexData, source = mFragmentTexture,
                        vertexStart, vertexCount] {
    const auto& vertex = pipeline->descriptor().vertexFunction->vertex();
    const auto& fragment = pipeline->descriptor().fragmentFunction->fragment();
    cairo_surface_flush(target->surface());
    for (int first = vertexStart; first + 3 <= vertexStart + vertexCount; first += 3) {
      MTLVertexOut v[3];
      double px[3], py[3];
      for (int i = 0; i < 3; ++i) {
        v[i] = vertex(data.data(), first + i);
        px[i] = viewport.originX + (v[i].x + 1) / 2 * viewport.width;
        py[i] = viewport.originY + (1 - v[i].y) / 2 * viewport.height;
      }
      double area = (px[1] - px[0]) * (py[2] - py[0]) - (px[2] - px[0]) * (py[1] - py[0]);
      // A triangle with a corner that is no number, or too far out to measure, is not drawn.
      if (!(std::isfinite(area) && area != 0)) continue;
      // The pixels the triangle's bounds cover, within the target.
      auto pixel = [](double edge, int limit) {
        return static_cast<int>(std::clamp(edge, 0.0, static_cast<double>(limit)));
      };
      int x0 = pixel(std::floor(std::min({px[0], px[1], px[2]})), target->width());
      int x1 = pixel(std::ceil(std::max({px[0], px[1], px[2]})), target->width());
      int y0 = pixel(std::floor(std::min({py[0], py[1], py[2]})), target->height());
      int y1 = pixel(std::ceil(std::max({py[0], py[1], py[2]})), target->height());
      for (int y = y0; y < y1; ++y) {
        std::uint32_t* out = target->row(y);
        for (int x = x0; x < x1; ++x) {
          double cx = x + 0.5, cy = y + 0.5;
          double w0 = ((px[1] - cx) * (py[2] - cy) - (px[2] - cx) * (py[1] - cy)) / area;
          double w1 = ((px[2] - cx) * (py[0] - cy) - (px[0] - cx) * (py[2] - cy)) / area;
          double w2 = 1 - w0 - w1;
          if (w0 < 0 || w1 < 0 || w2 < 0) continue;
          float u = static_cast<float>(w0 * v[0].u + w1 * v[1].u + w2 * v[2].u);
          float t = static_cast<float>(w0 * v[0].v + w1 * v[1].v + w2 * v[2].v);
          out[x] = fragment(source.get(), u, t);
        }
      }
    }
    cairo_surface_mark_dirty(target->surface());
  });
}

MTLRenderCommandEncoder* MTLCommandBuffer::renderCommandEncoderWithDescriptor(
    const MTLRenderPassDescriptor& pass) {
  Ref<MTLRenderCommandEncoder> encoder =
      Ref<MTLRenderCommandEncoder>::adopt(new MTLRenderCommandEncoder);
  encoder->mPass = pass;
  encoder->mCommands = &mCommands;
  if (pass.clear && pass.colorAttachmentTexture)
    mCommands.push_back([target = pass.colorAttachmentTexture, pixel = pass.clearPixel] {
      for (int y = 0; y < target->height(); ++y)
        std::fill_n(target->row(y), target->width(), pixel);
      cairo_surface_mark_dirty(target->surface());
    });
  mEncoders.push_back(encoder);
  return encoder.get();
}

void MTLCommandBuffer::presentDrawable(CAMetalDrawable* drawable) {
  if (drawable) mCommands.push_back([keep = Ref<CAMetalDrawable>(drawable)] { keep->present(); });
}

void MTLCommandBuffer::commit() {
  auto commands = std::move(mCommands);
  mCommands.clear();
  for (auto& command : commands)
    command();
}

MTLCommandBuffer* MTLCommandQueue::commandBuffer() {
  return new MTLCommandBuffer;
}

}  // namespace platform
