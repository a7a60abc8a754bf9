#include "windowing/drawing/MetalSurface.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "base/Log.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/objects/Screen.h"
#include "platform/system/Clock.h"
#include "windowing/drawing/DrawingContext.h"
#include "windowing/drawing/detail/MetalSupport.h"

using platform::CAMetalLayer;
using platform::MTLDevice;
using platform::Ref;

namespace {

// How often a view asks again which screen's device shows it.
constexpr std::uint32_t kDeviceCheckMs = 1000;
constexpr int kVerticesBytes = 96;

// The program's shaders: the texture drawn over two triangles covering the drawable.
constexpr const char* kShaderSource = R"(#include <metal_stdlib>
using namespace metal;
struct VertexOut { float4 position [[position]]; float2 texcoord; };
vertex VertexOut vertexShader(uint vid [[vertex_id]], constant float2* data [[buffer(0)]]) {
  VertexOut out;
  out.position = float4(data[2 * vid], 0.0, 1.0);
  out.texcoord = data[2 * vid + 1];
  return out;
}
fragment float4 samplingShader(VertexOut in [[stage_in]], texture2d<float> tex [[texture(0)]]) {
  constexpr sampler s(mag_filter::linear, min_filter::linear);
  return tex.sample(s, in.texcoord);
}
)";

// A device's compiled shaders; no functions when compilation failed (logged once).
struct ShaderRecord {
  Ref<MTLDevice> device;
  Ref<platform::MTLFunction> vertex;
  Ref<platform::MTLFunction> fragment;
};

// Kept for the life of the process (never destroyed, so no release runs at exit).
std::map<const MTLDevice*, ShaderRecord>& shaderCache() {
  static auto* cache = new std::map<const MTLDevice*, ShaderRecord>;
  return *cache;
}

const ShaderRecord& shadersFor(MTLDevice* device) {
  auto& cache = shaderCache();
  auto found = cache.find(device);
  if (found != cache.end()) return found->second;
  ShaderRecord record;
  record.device = device;
  std::string error;
  Ref<platform::MTLLibrary> library =
      Ref<platform::MTLLibrary>::adopt(device->newLibraryWithSource(kShaderSource, &error));
  if (!library)
    base::warn("swell-cocoa", "error compiling metal shaders for device %p %s: %s",
               static_cast<void*>(device), device->name().c_str(), error.c_str());
  Ref<platform::MTLFunction> vertex, fragment;
  if (library) {
    vertex = Ref<platform::MTLFunction>::adopt(library->newFunctionWithName("vertexShader"));
    fragment = Ref<platform::MTLFunction>::adopt(library->newFunctionWithName("samplingShader"));
  }
  if (vertex && fragment) {
    base::log(base::LogLevel::Info, "swell-cocoa", "mtl ok for device %p %s!",
              static_cast<void*>(device), device->name().c_str());
    record.vertex = vertex;
    record.fragment = fragment;
  } else {
    base::warn("swell-cocoa", "mtl failed functions for device %p %s!", static_cast<void*>(device),
               device->name().c_str());
  }
  return cache.emplace(device, std::move(record)).first->second;
}

// The number of the screen holding most of the window; the main screen's when none does.
int screenNumberOf(const platform::NSWindow* window) {
  const platform::NSScreen* main = platform::NSScreen::mainScreen();
  int best = main ? main->number : 0;
  double bestArea = 0;
  if (!window) return best;
  const platform::NSRect f = window->frame();
  for (const platform::NSScreen& screen : platform::NSScreen::screens()) {
    const platform::NSRect& s = screen.frame;
    double w = std::min(f.origin.x + f.size.width, s.origin.x + s.size.width) -
               std::max(f.origin.x, s.origin.x);
    double h = std::min(f.origin.y + f.size.height, s.origin.y + s.size.height) -
               std::max(f.origin.y, s.origin.y);
    if (w > 0 && h > 0 && w * h > bestArea) {
      bestArea = w * h;
      best = screen.number;
    }
  }
  return best;
}

platform::CALayerContentsGravity gravityFor(std::uint8_t bits, bool flipped) {
  const bool top = (bits & 2) == (flipped ? 2 : 0);
  const bool right = (bits & 1) != 0;
  if (top)
    return right ? platform::CALayerContentsGravity::topRight
                 : platform::CALayerContentsGravity::topLeft;
  return right ? platform::CALayerContentsGravity::bottomRight
               : platform::CALayerContentsGravity::bottomLeft;
}

}  // namespace

CAMetalLayer* SwellMetalSurface::metalLayer() {
  platform::NSView* view = metalView();
  return view ? dynamic_cast<CAMetalLayer*>(view->layer()) : nullptr;
}

bool SwellMetalSurface::chooseDevice(CAMetalLayer* layer) {
  Ref<MTLDevice> device;
  const auto now = static_cast<std::uint32_t>(platform::nowMs());
  if (!m_metal_device || now - m_metal_device_lastchkt > kDeviceCheckMs) {
    m_metal_device_lastchkt = now;
    platform::NSView* view = metalView();
    device = Ref<MTLDevice>::adopt(platform::CGDirectDisplayCopyCurrentMetalDevice(
        screenNumberOf(view ? view->window() : nullptr)));
  } else {
    device = m_metal_device;
  }
  if (!device) device = swell::metalDefaultDevice();
  if (device.get() != m_metal_device.get()) {
    if (m_metal_device)
      base::log(base::LogLevel::Info, "swell-cocoa", "switching metal devices from %p %s to %p %s",
                static_cast<void*>(m_metal_device.get()), m_metal_device->name().c_str(),
                static_cast<void*>(device.get()), device ? device->name().c_str() : "(none)");
    m_metal_device = device;
    layer->setDevice(device.get());
    layer->setContentsGravity(gravityFor(m_metal_gravity, metalView()->isFlipped()));
    if (m_use_metal == 1) layer->setFramebufferOnly(false);
    layer->setPixelFormat(platform::MTLPixelFormatBGRA8Unorm);
    m_metal_pipelineState.reset();
    m_metal_commandQueue.reset();
    m_metal_texture.reset();
    m_metal_drawable.reset();
  }
  return static_cast<bool>(m_metal_device);
}

bool SwellMetalSurface::ensurePipeline() {
  if (m_metal_pipelineState) return true;
  const ShaderRecord& shaders = shadersFor(m_metal_device.get());
  if (!shaders.vertex) return false;
  platform::MTLRenderPipelineDescriptor descriptor;
  descriptor.vertexFunction = shaders.vertex;
  descriptor.fragmentFunction = shaders.fragment;
  descriptor.colorAttachmentPixelFormat = platform::MTLPixelFormatBGRA8Unorm;
  std::string error;
  m_metal_pipelineState = Ref<platform::MTLRenderPipelineState>::adopt(
      m_metal_device->newRenderPipelineStateWithDescriptor(descriptor, &error));
  if (!m_metal_pipelineState)
    base::warn("swell-cocoa", "metal pipeline refused: %s", error.c_str());
  return static_cast<bool>(m_metal_pipelineState);
}

void SwellMetalSurface::updateGravity(CAMetalLayer* layer) {
  platform::NSView* view = metalView();
  platform::NSWindow* window = view->window();
  platform::NSView* content = window ? window->contentView() : nullptr;
  platform::NSRect frame = view->frame();
  if (view->superview() && content && content != view)
    frame = view->superview()->convertRectToView(frame, content);
  std::uint8_t bits = m_metal_gravity;
  if (frame.size.width != m_metal_lastframe.size.width)
    bits = static_cast<std::uint8_t>((bits & ~1) |
                                     (frame.origin.x != m_metal_lastframe.origin.x ? 1 : 0));
  if (frame.size.height != m_metal_lastframe.size.height)
    bits = static_cast<std::uint8_t>((bits & ~2) |
                                     (frame.origin.y != m_metal_lastframe.origin.y ? 2 : 0));
  m_metal_lastframe = frame;
  if (bits == m_metal_gravity) return;
  m_metal_gravity = bits;
  layer->setContentsGravity(gravityFor(bits, view->isFlipped()));
}

void SwellMetalSurface::swellDrawMetal(const RECT* update) {
  if (m_use_metal != 1 && m_use_metal != 2) return;
  platform::NSView* view = metalView();
  CAMetalLayer* layer = metalLayer();
  if (!view || !layer) return;
  Ref<platform::NSView> keep(view);
  if (!chooseDevice(layer)) return;
  if (m_use_metal == 2 && !ensurePipeline()) return;

  RECT area = metalClientRect();
  if (m_use_metal == 2 && update) area = swell::intersectRects(area, *update);
  if (m_use_metal == 1) {
    m_metal_drawable.reset();
    m_metal_texture.reset();
  }
  if (area.right > area.left && area.bottom > area.top) {
    if (m_use_metal == 2) updateGravity(layer);
    HDC hdc = SWELL_CreateGfxContextForMetalView(swell::handleFromObject(view));
    if (hdc) {
      m_metal_dc_dirty = 0;
      metalPaint(hdc, platform::NSMakeRect(area.left, area.top,
                                           static_cast<double>(area.right) - area.left,
                                           static_cast<double>(area.bottom) - area.top));
      SWELL_DeleteGfxContext(hdc);
    }
  }
  m_metal_dc_dirty = 0;
  present(layer);
  // The display pass composites the layer's new frame over the view.
  view->setNeedsDisplay(true);
}

void SwellMetalSurface::present(CAMetalLayer* layer) {
  if (m_use_metal == 1) {
    if (m_metal_drawable) m_metal_drawable->present();
    m_metal_drawable.reset();
    m_metal_texture.reset();
    return;
  }
  platform::NSView* view = metalView();
  const platform::NSSize bounds = view->bounds().size;
  if (!m_metal_texture || bounds.width < 1 || bounds.height < 1) return;
  const platform::NSSize size = swell::metalSurfaceSize(bounds, m_metal_retina);
  if (size.width != layer->drawableSize().width || size.height != layer->drawableSize().height) {
    layer->setDrawableSize(size);
    layer->setContentsScale(m_metal_retina ? 2.0 : 1.0);
  }
  Ref<platform::CAMetalDrawable> drawable =
      Ref<platform::CAMetalDrawable>::adopt(layer->nextDrawable());
  if (!drawable) {
    base::warn("swell-cocoa", "metal surface got nul drawable");
    return;
  }
  if (!m_metal_commandQueue)
    m_metal_commandQueue = Ref<platform::MTLCommandQueue>::adopt(m_metal_device->newCommandQueue());
  const float u = static_cast<float>(size.width / m_metal_texture->width());
  const float v = static_cast<float>(size.height / m_metal_texture->height());
  const float vertices[] = {1, -1, u, v, -1, -1, 0, v, -1, 1, 0, 0,
                            1, -1, u, v, -1, 1,  0, 0, 1,  1, u, 0};
  static_assert(sizeof vertices == kVerticesBytes);
  Ref<platform::MTLCommandBuffer> buffer =
      Ref<platform::MTLCommandBuffer>::adopt(m_metal_commandQueue->commandBuffer());
  platform::MTLRenderPassDescriptor pass;
  pass.colorAttachmentTexture = drawable->texture();
  platform::MTLRenderCommandEncoder* encoder = buffer->renderCommandEncoderWithDescriptor(pass);
  encoder->setViewport({0, 0, size.width, size.height});
  encoder->setRenderPipelineState(m_metal_pipelineState.get());
  encoder->setVertexBytes(vertices, sizeof vertices, 0);
  encoder->setFragmentTexture(m_metal_texture.get(), 0);
  encoder->drawPrimitives(0, 6);
  encoder->endEncoding();
  buffer->presentDrawable(drawable.get());
  buffer->commit();
}

platform::MTLTexture* SwellMetalSurface::metalBeginWrite(bool retina) {
  if (!m_metal_dc_dirty) {
    platform::NSView* view = metalView();
    CAMetalLayer* layer = metalLayer();
    if (!view || !layer) return nullptr;
    const platform::NSSize bounds = view->bounds().size;
    if (bounds.width < 1 || bounds.height < 1) return nullptr;
    m_metal_retina = retina;
    const platform::NSSize size = swell::metalSurfaceSize(bounds, retina);
    if (m_use_metal == 1) {
      if (size.width != layer->drawableSize().width ||
          size.height != layer->drawableSize().height) {
        layer->setDrawableSize(size);
        layer->setContentsScale(retina ? 2.0 : 1.0);
      }
      m_metal_drawable = Ref<platform::CAMetalDrawable>::adopt(layer->nextDrawable());
      m_metal_texture = m_metal_drawable ? m_metal_drawable->texture() : nullptr;
    } else {
      const int w = swell::roundUpToFour(static_cast<int>(size.width));
      const int h = swell::roundUpToFour(static_cast<int>(size.height));
      // A texture up to twice the size is kept, so resizing does not reallocate each frame.
      if (!m_metal_texture || m_metal_texture->width() < w || m_metal_texture->height() < h ||
          m_metal_texture->width() > 2 * w || m_metal_texture->height() > 2 * h) {
        m_metal_texture.reset();
        if (m_metal_device)
          m_metal_texture =
              Ref<platform::MTLTexture>::adopt(m_metal_device->newTextureWithDescriptor(
                  platform::MTLTextureDescriptor::texture2DDescriptor(
                      platform::MTLPixelFormatBGRA8Unorm, w, h, false)));
      }
    }
  }
  m_metal_dc_dirty = 1;
  return m_metal_texture.get();
}

void SwellMetalSurface::releaseMetalObjects() {
  SWELL_RemoveFromMetalRefreshList(this);
  m_metal_texture.reset();
  m_metal_pipelineState.reset();
  m_metal_commandQueue.reset();
  m_metal_drawable.reset();
  m_metal_device.reset();
}
