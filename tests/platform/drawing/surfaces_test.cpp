#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/OpenGL.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/drawing/Layer.h"
#include "platform/drawing/Metal.h"
#include "platform/drawing/detail/TestHooks.h"
#include "platform/objects/Screen.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

using testsupport::PlatformHarness;

// A window of 40 x 30 points whose content view holds one 20 x 10 view at (10, 5).
struct SurfaceWindow {
  NSWindow* window = new NSWindow(NSMakeRect(0, 0, 40, 30), NSWindowStyleMaskTitled);
  NSView* view = new NSView(NSMakeRect(10, 5, 20, 10));
  SurfaceWindow() {
    auto* content = new NSView(NSMakeRect(0, 0, 40, 30));
    window->setContentView(content);
    content->release();
    content->addSubview(view);
    view->release();
  }
  ~SurfaceWindow() { window->close(); }
  std::uint32_t at(double x, double y) {
    view->setNeedsDisplay(true);
    return PlatformHarness::pixelAt(window, x, y) & 0xFFFFFF;
  }
};

TEST(NSOpenGLContext, ClearsARealBufferOfTheViewsSizeAndShowsItInTheWindow) {
  PlatformHarness h;
  if (!NSOpenGLContext::available()) GTEST_SKIP() << "EGL gives no OpenGL context here";
  SurfaceWindow sw;
  sw.window->setBackingScaleFactor(2);
  sw.view->setWantsBestResolutionOpenGLSurface(true);
  Ref<NSOpenGLPixelFormat> format =
      Ref<NSOpenGLPixelFormat>::adopt(new NSOpenGLPixelFormat({96, 0}));
  Ref<NSOpenGLContext> gl =
      Ref<NSOpenGLContext>::adopt(NSOpenGLContext::create(format.get(), nullptr));
  ASSERT_TRUE(gl);
  gl->setView(sw.view);
  gl->makeCurrentContext();
  EXPECT_EQ(NSOpenGLContext::currentContext(), gl.get());
  EXPECT_EQ(gl->pixelWidth(), 40);
  EXPECT_EQ(gl->pixelHeight(), 20);
  glClearColor(1, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // The lower half green: GL rows run bottom up, the window's too.
  glEnable(GL_SCISSOR_TEST);
  glScissor(0, 0, 40, 10);
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDisable(GL_SCISSOR_TEST);
  gl->flushBuffer();
  NSOpenGLContext::clearCurrentContext();
  EXPECT_EQ(NSOpenGLContext::currentContext(), nullptr);
  EXPECT_EQ(sw.at(12, 13), 0xFF0000u);
  EXPECT_EQ(sw.at(12, 7), 0x00FF00u);
  EXPECT_NE(sw.at(9, 7), 0x00FF00u) << "only the view shows the buffer";
}

TEST(MTLTexture, StartsZeroedAndCopiesOnlyRegionsInside) {
  Ref<MTLDevice> device = Ref<MTLDevice>::adopt(MTLCreateSystemDefaultDevice());
  ASSERT_TRUE(device);
  Ref<MTLTexture> t = Ref<MTLTexture>::adopt(device->newTextureWithDescriptor(
      MTLTextureDescriptor::texture2DDescriptor(MTLPixelFormatBGRA8Unorm, 4, 3, false)));
  ASSERT_TRUE(t);
  std::vector<std::uint32_t> out(12, 0xDEAD);
  t->getBytes(out.data(), 16, {0, 0, 4, 3}, 0);
  EXPECT_EQ(out, std::vector<std::uint32_t>(12, 0));
  std::uint32_t block[4] = {1, 2, 3, 4};
  t->replaceRegion({2, 1, 2, 2}, 0, block, 8);
  for (MTLRegion outside : {MTLRegion{3, 0, 2, 1}, MTLRegion{-1, 0, 1, 1}, MTLRegion{0, 2, 1, 2}})
    t->replaceRegion(outside, 0, block, 8);
  t->getBytes(out.data(), 16, {0, 0, 4, 3}, 0);
  EXPECT_EQ(out, (std::vector<std::uint32_t>{0, 0, 0, 0, 0, 0, 1, 2, 0, 0, 3, 4}));
  EXPECT_EQ(device->newTextureWithDescriptor({81, 4, 4}), nullptr);
}

TEST(CAMetalLayer, HandsOutThreeDrawablesAtATime) {
  Ref<CAMetalLayer> layer = Ref<CAMetalLayer>::adopt(new CAMetalLayer);
  EXPECT_EQ(layer->nextDrawable(), nullptr) << "no size yet";
  layer->setDrawableSize({4, 2});
  std::vector<Ref<CAMetalDrawable>> out;
  for (int i = 0; i < 3; ++i) {
    out.push_back(Ref<CAMetalDrawable>::adopt(layer->nextDrawable()));
    ASSERT_TRUE(out.back());
    EXPECT_EQ(out.back()->texture()->width(), 4);
  }
  EXPECT_EQ(layer->nextDrawable(), nullptr);
  // A presented drawable stays out while it is shown.
  CAMetalDrawable* shown = out[0].get();
  shown->present();
  EXPECT_EQ(layer->contents(), shown->texture()->surface());
  out.erase(out.begin());
  EXPECT_EQ(layer->nextDrawable(), nullptr);
  out.pop_back();
  Ref<CAMetalDrawable> again = Ref<CAMetalDrawable>::adopt(layer->nextDrawable());
  EXPECT_TRUE(again);
  EXPECT_NE(again.get(), shown);
}

TEST(MTLDevice, LibraryOffersTheTwoShadersUnlessTheDeviceRefusesCompilation) {
  Ref<MTLDevice> device = Ref<MTLDevice>::adopt(MTLCreateSystemDefaultDevice());
  std::string error;
  const std::string source = "vertex vertexShader(...) {} fragment samplingShader(...) {}";
  Ref<MTLLibrary> library = Ref<MTLLibrary>::adopt(device->newLibraryWithSource(source, &error));
  ASSERT_TRUE(library);
  for (const char* name : {"vertexShader", "samplingShader"})
    EXPECT_TRUE(Ref<MTLFunction>::adopt(library->newFunctionWithName(name))) << name;
  EXPECT_FALSE(Ref<MTLFunction>::adopt(library->newFunctionWithName("other")));
  Ref<MTLDevice> refusing = Ref<MTLDevice>::adopt(createCompilationRefusingDevice("test"));
  EXPECT_EQ(refusing->newLibraryWithSource(source, &error), nullptr);
  EXPECT_NE(error.find("unavailable"), std::string::npos);
  EXPECT_EQ(device->newRenderPipelineStateWithDescriptor({}, &error), nullptr);
}

TEST(MTLDevice, OneDevicePerScreenAndASwitchForNone) {
  PlatformHarness h;
  NSScreen::setScreens({{NSMakeRect(0, 0, 800, 600), NSMakeRect(0, 0, 800, 578), 1},
                        {NSMakeRect(800, 0, 800, 600), NSMakeRect(800, 0, 800, 600), 2}});
  EXPECT_EQ(MTLCopyAllDevices().size(), 2u);
  Ref<MTLDevice> first = Ref<MTLDevice>::adopt(CGDirectDisplayCopyCurrentMetalDevice(1));
  Ref<MTLDevice> second = Ref<MTLDevice>::adopt(CGDirectDisplayCopyCurrentMetalDevice(2));
  ASSERT_TRUE(first && second);
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(Ref<MTLDevice>::adopt(MTLCreateSystemDefaultDevice()).get(), first.get());
  EXPECT_EQ(CGDirectDisplayCopyCurrentMetalDevice(9), nullptr);
  setMetalDevicesAvailable(false);
  EXPECT_TRUE(MTLCopyAllDevices().empty());
  EXPECT_EQ(MTLCreateSystemDefaultDevice(), nullptr);
  setMetalDevicesAvailable(true);
  NSScreen::resetToDefault();
}

// The window surfaces' render pass: two triangles covering the drawable, sampling a
// texture bilinearly with edge clamping.
TEST(MTLCommandQueue, RenderPassStretchesATextureBilinearlyWithEdgeClamping) {
  Ref<MTLDevice> device = Ref<MTLDevice>::adopt(MTLCreateSystemDefaultDevice());
  Ref<MTLLibrary> library =
      Ref<MTLLibrary>::adopt(device->newLibraryWithSource("vertexShader samplingShader", nullptr));
  MTLRenderPipelineDescriptor pd;
  pd.vertexFunction = Ref<MTLFunction>::adopt(library->newFunctionWithName("vertexShader"));
  pd.fragmentFunction = Ref<MTLFunction>::adopt(library->newFunctionWithName("samplingShader"));
  Ref<MTLRenderPipelineState> pipeline =
      Ref<MTLRenderPipelineState>::adopt(device->newRenderPipelineStateWithDescriptor(pd, nullptr));
  ASSERT_TRUE(pipeline);
  // Source 2 x 1: black and white; shown on 4 x 2 (u = v = 1).
  Ref<MTLTexture> source = Ref<MTLTexture>::adopt(device->newTextureWithDescriptor({80, 2, 1}));
  std::uint32_t texels[2] = {0xFF000000, 0xFFFFFFFF};
  source->replaceRegion({0, 0, 2, 1}, 0, texels, 8);
  Ref<CAMetalLayer> layer = Ref<CAMetalLayer>::adopt(new CAMetalLayer);
  layer->setDrawableSize({4, 2});
  Ref<CAMetalDrawable> drawable = Ref<CAMetalDrawable>::adopt(layer->nextDrawable());
  const float u = 1, v = 1;
  const float vertices[24] = {1, -1, u, v, -1, -1, 0, v, -1, 1, 0, 0,
                              1, -1, u, v, -1, 1,  0, 0, 1,  1, u, 0};
  Ref<MTLCommandQueue> queue = Ref<MTLCommandQueue>::adopt(device->newCommandQueue());
  Ref<MTLCommandBuffer> buffer = Ref<MTLCommandBuffer>::adopt(queue->commandBuffer());
  MTLRenderPassDescriptor pass;
  pass.colorAttachmentTexture = drawable->texture();
  MTLRenderCommandEncoder* encoder = buffer->renderCommandEncoderWithDescriptor(pass);
  encoder->setViewport({0, 0, 4, 2});
  encoder->setRenderPipelineState(pipeline.get());
  encoder->setVertexBytes(vertices, sizeof vertices, 0);
  encoder->setFragmentTexture(source.get(), 0);
  encoder->drawPrimitives(0, 6);
  encoder->endEncoding();
  buffer->presentDrawable(drawable.get());
  EXPECT_EQ(layer->contents(), nullptr) << "nothing runs before the commit";
  buffer->commit();
  EXPECT_EQ(layer->contents(), drawable->texture()->surface());
  std::uint32_t row[4];
  for (int y = 0; y < 2; ++y) {
    drawable->texture()->getBytes(row, 16, {0, y, 4, 1}, 0);
    // Pixel centres 0.125 .. 0.875 of the width: clamped black, two blends, clamped white.
    EXPECT_EQ(row[0], 0xFF000000u);
    EXPECT_EQ(row[1] & 0xFF, 0x40u);
    EXPECT_EQ(row[2] & 0xFF, 0xBFu);
    EXPECT_EQ(row[3], 0xFFFFFFFFu);
  }
  // Triangles with corners or texture places that are no number, or far outside, draw
  // within the drawable and sample within the texture.
  const float nan = std::nanf(""), far = 1e30f;
  const float triangles[][12] = {{nan, -1, u, v, -1, -1, 0, v, -1, 1, 0, 0},
                                 {1, -1, nan, nan, -1, -1, nan, v, -1, 1, 0, nan},
                                 {far, -far, u, v, -far, -1, 0, v, -1, far, 0, 0}};
  for (const auto& triangle : triangles) {
    Ref<MTLCommandBuffer> again = Ref<MTLCommandBuffer>::adopt(queue->commandBuffer());
    MTLRenderCommandEncoder* drawing = again->renderCommandEncoderWithDescriptor(pass);
    drawing->setViewport({0, 0, 4, 2});
    drawing->setRenderPipelineState(pipeline.get());
    drawing->setVertexBytes(triangle, sizeof triangle, 0);
    drawing->setFragmentTexture(source.get(), 0);
    drawing->drawPrimitives(0, 3);
    drawing->endEncoding();
    again->commit();
  }
  drawable->texture()->getBytes(row, 16, {0, 0, 4, 1}, 0);
  EXPECT_EQ(row[0] >> 24, 0xFFu);
  layer->setDrawableSize({NAN, 1e30});
  EXPECT_EQ(layer->nextDrawable(), nullptr);
}

TEST(CALayer, ContentsAreCompositedOpaqueScaledAndPlacedByGravity) {
  PlatformHarness h;
  struct Case {
    CALayerContentsGravity gravity;
    double x, y;  // a point of the contents' red corner (window coordinates, y up)
  } cases[] = {{CALayerContentsGravity::topLeft, 10.5, 14.5},
               {CALayerContentsGravity::topRight, 20.5, 14.5},
               {CALayerContentsGravity::bottomLeft, 10.5, 9.5},
               {CALayerContentsGravity::bottomRight, 20.5, 9.5}};
  // 20 x 10 pixels at scale 2: 10 x 5 points; its top-left pixel is red, the rest
  // blue with a transparent fourth byte (ignored).
  cairo_surface_t* contents = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 20, 10);
  auto* px = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(contents));
  int stride = cairo_image_surface_get_stride(contents) / 4;
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x)
      px[y * stride + x] = (x < 2 && y < 2) ? 0x00FF0000 : 0x000000FF;
  cairo_surface_mark_dirty(contents);
  for (const Case& c : cases) {
    SurfaceWindow sw;
    sw.view->setWantsLayer(true);
    sw.view->layer()->setContents(contents);
    sw.view->layer()->setContentsScale(2);
    sw.view->layer()->setContentsGravity(c.gravity);
    EXPECT_EQ(sw.at(c.x, c.y), 0xFF0000u) << int(c.gravity);
    EXPECT_EQ(sw.at(c.x + 2, c.y - 2), 0x0000FFu) << int(c.gravity);
  }
  // A scale no image has is the default: drawing the contents stays possible.
  for (double scale : {HUGE_VAL, 1e-300, std::nan("")}) {
    Ref<CALayer> layer = Ref<CALayer>::adopt(new CALayer);
    layer->setContentsScale(scale);
    EXPECT_EQ(layer->contentsScale(), 1) << scale;
  }
  cairo_surface_destroy(contents);
}

}  // namespace
