#pragma once

#include <cairo.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/drawing/Layer.h"
#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

// Stand-ins for the GPU interfaces over CPU memory: a software device, textures of
// 32-bit pixels, a layer that hands out drawables and a command queue whose render pass
// runs in C++. No shader compiler exists: a device's library offers the functions named
// in the source that this program's window surfaces use, as C++ functions.
namespace platform {

inline constexpr int MTLPixelFormatBGRA8Unorm = 80;

struct MTLRegion {
  int x = 0, y = 0, width = 0, height = 0;
};

struct MTLTextureDescriptor {
  int pixelFormat = MTLPixelFormatBGRA8Unorm;
  int width = 0;
  int height = 0;
  static MTLTextureDescriptor texture2DDescriptor(int pixelFormat, int width, int height,
                                                  bool mipmapped) {
    return {pixelFormat, width, height};
  }
};

// A 2D texture of BGRA8 pixels (bytes B, G, R, A), zero-filled when made; its rows are
// held as a Cairo image so layers can show them.
class MTLTexture : public NSObject {
 public:
  int width() const { return mWidth; }
  int height() const { return mHeight; }
  int pixelFormat() const { return MTLPixelFormatBGRA8Unorm; }
  // Copies rows of 32-bit pixels into the region; a region not inside the texture, or
  // rows shorter than the region, copy nothing.
  void replaceRegion(const MTLRegion& region, int mipmapLevel, const void* bytes,
                     std::size_t bytesPerRow);
  void getBytes(void* bytes, std::size_t bytesPerRow, const MTLRegion& region,
                int mipmapLevel) const;
  std::uint32_t* row(int y) const;
  cairo_surface_t* surface() const { return mSurface; }

 protected:
  void dealloc() override;

 private:
  friend class MTLDevice;
  friend class CAMetalLayer;
  static MTLTexture* create(int width, int height);
  MTLTexture() = default;
  int mWidth = 0, mHeight = 0;
  cairo_surface_t* mSurface = nullptr;
};

// What a vertex function hands on to rasterisation.
struct MTLVertexOut {
  float x, y;  // clip space, y up
  float u, v;  // texture coordinates
};

class MTLFunction : public NSObject {
 public:
  using Vertex = std::function<MTLVertexOut(const float* vertexData, int vertexIndex)>;
  using Fragment = std::function<std::uint32_t(const class MTLTexture* texture, float u, float v)>;
  const std::string& name() const { return mName; }
  const Vertex& vertex() const { return mVertex; }
  const Fragment& fragment() const { return mFragment; }

 private:
  friend class MTLLibrary;
  MTLFunction() = default;
  std::string mName;
  Vertex mVertex;
  Fragment mFragment;
};

class MTLLibrary : public NSObject {
 public:
  // The function of that name declared in the source: "vertexShader" (positions and
  // texture coordinates read as float2 pairs from buffer 0) and "samplingShader"
  // (bilinear sampling of texture 0, clamped at the edges); null for any other name.
  MTLFunction* newFunctionWithName(const std::string& name) const;

 private:
  friend class MTLDevice;
  MTLLibrary() = default;
  std::string mSource;
};

struct MTLRenderPipelineDescriptor {
  Ref<MTLFunction> vertexFunction;
  Ref<MTLFunction> fragmentFunction;
  int colorAttachmentPixelFormat = MTLPixelFormatBGRA8Unorm;
};

class MTLRenderPipelineState : public NSObject {
 public:
  const MTLRenderPipelineDescriptor& descriptor() const { return mDescriptor; }

 private:
  friend class MTLDevice;
  MTLRenderPipelineState() = default;
  MTLRenderPipelineDescriptor mDescriptor;
};

class MTLCommandQueue;

class MTLDevice : public NSObject {
 public:
  const std::string& name() const { return mName; }
  MTLTexture* newTextureWithDescriptor(const MTLTextureDescriptor& descriptor) const;
  MTLCommandQueue* newCommandQueue() const;
  // Null, with the reason in *error, when the device refuses compilation.
  MTLLibrary* newLibraryWithSource(const std::string& source, std::string* error) const;
  MTLRenderPipelineState* newRenderPipelineStateWithDescriptor(
      const MTLRenderPipelineDescriptor& descriptor, std::string* error) const;

 protected:
  // Devices are the software devices of the functions below.
  MTLDevice(std::string name, bool refusesCompilation)
      : mName(std::move(name)), mRefusesCompilation(refusesCompilation) {}

 private:
  std::string mName;
  bool mRefusesCompilation;
};

// The software devices: one per configured screen (none when switched off).
std::vector<Ref<MTLDevice>> MTLCopyAllDevices();
// The main screen's device (a new reference), or null when there are none.
MTLDevice* MTLCreateSystemDefaultDevice();
// The device of the screen with that number (a new reference), or null.
MTLDevice* CGDirectDisplayCopyCurrentMetalDevice(int screenNumber);

class CAMetalLayer;

class CAMetalDrawable : public NSObject {
 public:
  MTLTexture* texture() const { return mTexture.get(); }
  CAMetalLayer* layer() const { return mLayer; }
  // Makes the texture the layer's contents.
  void present();

 private:
  friend class CAMetalLayer;
  CAMetalDrawable() = default;
  Ref<MTLTexture> mTexture;
  CAMetalLayer* mLayer = nullptr;  // the layer outlives what it hands out only while held
};

// A layer shown from drawables: a pool of three textures of the drawable size, one
// handed out at a time by nextDrawable() while it is free (not held by a caller and not
// on show).
class CAMetalLayer : public CALayer {
 public:
  static constexpr int kDrawablePool = 3;
  MTLDevice* device() const { return mDevice.get(); }
  void setDevice(MTLDevice* device) { mDevice = device; }
  int pixelFormat() const { return mPixelFormat; }
  void setPixelFormat(int format) { mPixelFormat = format; }
  bool framebufferOnly() const { return mFramebufferOnly; }
  void setFramebufferOnly(bool only) { mFramebufferOnly = only; }
  NSSize drawableSize() const { return mDrawableSize; }
  void setDrawableSize(NSSize size);
  // A free drawable (a new reference), or null when all are out or the size is empty.
  CAMetalDrawable* nextDrawable();

 protected:
  void dealloc() override;

 private:
  friend class CAMetalDrawable;
  Ref<MTLDevice> mDevice;
  int mPixelFormat = MTLPixelFormatBGRA8Unorm;
  bool mFramebufferOnly = true;
  NSSize mDrawableSize;
  std::array<Ref<CAMetalDrawable>, kDrawablePool> mPool;
  CAMetalDrawable* mShown = nullptr;
};

struct MTLViewport {
  double originX = 0, originY = 0, width = 0, height = 0;
};

struct MTLRenderPassDescriptor {
  Ref<MTLTexture> colorAttachmentTexture;
  bool clear = false;
  std::uint32_t clearPixel = 0;
};

class MTLRenderCommandEncoder : public NSObject {
 public:
  void setViewport(const MTLViewport& viewport) { mViewport = viewport; }
  void setRenderPipelineState(MTLRenderPipelineState* state) { mPipeline = state; }
  void setVertexBytes(const void* bytes, std::size_t length, int index);
  void setFragmentTexture(MTLTexture* texture, int index);
  // Triangles (every three vertices) from vertex start on.
  void drawPrimitives(int vertexStart, int vertexCount);
  void endEncoding() { mEnded = true; }

 private:
  friend class MTLCommandBuffer;
  MTLRenderCommandEncoder() = default;
  MTLRenderPassDescriptor mPass;
  MTLViewport mViewport;
  Ref<MTLRenderPipelineState> mPipeline;
  std::vector<float> mVertexData;
  Ref<MTLTexture> mFragmentTexture;
  std::vector<std::function<void()>>* mCommands = nullptr;
  bool mEnded = false;
};

class MTLCommandBuffer : public NSObject {
 public:
  MTLRenderCommandEncoder* renderCommandEncoderWithDescriptor(const MTLRenderPassDescriptor& pass);
  void presentDrawable(CAMetalDrawable* drawable);
  // Runs what was encoded, in order.
  void commit();

 private:
  friend class MTLCommandQueue;
  MTLCommandBuffer() = default;
  std::vector<std::function<void()>> mCommands;
  std::vector<Ref<MTLRenderCommandEncoder>> mEncoders;
};

class MTLCommandQueue : public NSObject {
 public:
  // A new buffer (one reference, the caller's).
  MTLCommandBuffer* commandBuffer();

 private:
  friend class MTLDevice;
  MTLCommandQueue() = default;
};

}  // namespace platform
