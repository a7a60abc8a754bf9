#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "drawing_support.h"
#include "platform/core/OpenGL.h"
#include "platform/drawing/Layer.h"
#include "platform/drawing/Metal.h"
#include "platform/drawing/detail/TestHooks.h"
#include "platform/objects/Screen.h"
#include "support/EventTest.h"
#include "windowing/Win32.h"
#include "windowing/drawing/MetalSurface.h"
#include "windowing/drawing/detail/TestHooks.h"

using platform::CALayerContentsGravity;
using testsupport::EventTest;
using testsupport::PlatformHarness;

namespace {

constexpr unsigned kAlphaBlit = 0xDEADBEEF;
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

void fill(HDC hdc, RECT r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  SWELL_FillRect(hdc, &r, brush);
  DeleteObject(brush);
}

// A child window drawing through Metal: its WM_PAINT runs the current drawing and notes
// the area it was given.
class ViewSurfaceTest : public EventTest {
 protected:
  std::function<void(HDC)> drawing = [](HDC) {};
  std::vector<RECT> painted;

  void SetUp() override {
    EventTest::SetUp();
    log.answer([this](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
      if (msg != WM_PAINT || hwnd == main) return std::nullopt;
      PAINTSTRUCT ps{};
      HDC hdc = BeginPaint(hwnd, &ps);
      painted.push_back(ps.rcPaint);
      drawing(hdc);
      EndPaint(hwnd, &ps);
      return 0;
    });
  }
  HWND metalChild(int mode, double w = 40, double hgt = 30) {
    HWND c = child(main, 10, 10, w, hgt);
    SWELL_EnableMetal(c, mode);
    flush();
    painted.clear();
    return c;
  }
  // The refresh timer's tick.
  void flush() { h.advance(1); }
  // What the window shows at a pixel of the view (RGB).
  std::uint32_t shown(HWND c, int x, int y) {
    return PlatformHarness::pixelAt(window, at(c, x + 0.5, y + 0.5).x, at(c, x + 0.5, y + 0.5).y) &
           0xFFFFFF;
  }
  SwellMetalSurface* surface(HWND c) { return object(c); }
};

TEST_F(ViewSurfaceTest, TheFirstModeSticksAndMetalNeedsADevice) {
  HWND c = child(main, 10, 10, 40, 30);
  EXPECT_EQ(SWELL_EnableMetal(c, 5), 2);
  EXPECT_EQ(SWELL_EnableMetal(c, 1), 2);
  EXPECT_NE(dynamic_cast<platform::CAMetalLayer*>(view(c)->layer()), nullptr);
  HWND plain = child(main, 60, 10, 20, 20);
  EXPECT_EQ(SWELL_EnableMetal(plain, -1), -1);
  EXPECT_TRUE(view(plain)->layer()->drawsAsynchronously());
  EXPECT_EQ(SWELL_EnableMetal(nullptr, 2), 0);

  platform::setMetalDevicesAvailable(false);
  SWELL_Metal_ResetProbeForTesting();
  HWND none = child(main, 100, 10, 20, 20);
  EXPECT_EQ(SWELL_EnableMetal(none, 2), 0);
  EXPECT_TRUE(h.logged("no metal device"));
  platform::setMetalDevicesAvailable(true);
}

TEST_F(ViewSurfaceTest, InvalidationsGatherIntoOnePaintOfTheirUnionAtTheNextTick) {
  HWND c = metalChild(2);
  RECT empty{5, 5, 5, 9}, a{1, 1, 5, 5}, b{10, 2, 12, 20};
  InvalidateRect(c, &empty, 0);
  flush();
  EXPECT_TRUE(painted.empty()) << "an empty rectangle queues nothing";
  drawing = [](HDC hdc) { fill(hdc, {0, 0, 40, 30}, kRed); };
  InvalidateRect(c, &a, 0);
  InvalidateRect(c, &b, 0);
  EXPECT_TRUE(painted.empty()) << "nothing paints before the tick";
  flush();
  ASSERT_EQ(painted.size(), 1u);
  EXPECT_EQ(painted[0].left, 1);
  EXPECT_EQ(painted[0].top, 1);
  EXPECT_EQ(painted[0].right, 12);
  EXPECT_EQ(painted[0].bottom, 20);
  EXPECT_EQ(shown(c, 3, 3), kRed);
  EXPECT_EQ(shown(c, 39, 29), kRed) << "the fill covers the frame; the clip is the caller's";
}

TEST_F(ViewSurfaceTest, HiddenShownAndDestroyedViewsLeaveTheRefreshList) {
  HWND c = metalChild(2);
  drawing = [](HDC hdc) { fill(hdc, {0, 0, 40, 30}, kBlue); };
  InvalidateRect(c, nullptr, 0);
  ShowWindow(c, 0);
  InvalidateRect(c, nullptr, 0);
  flush();
  EXPECT_TRUE(painted.empty()) << "hidden: out of the list, and not queued again";
  ShowWindow(c, 1);
  EXPECT_EQ(painted.size(), 1u) << "shown: drawn at once";
  EXPECT_EQ(shown(c, 20, 15), kBlue);
  flush();
  EXPECT_EQ(painted.size(), 1u);
  InvalidateRect(c, nullptr, 0);
  DestroyWindow(c);
  flush();
  EXPECT_EQ(painted.size(), 1u) << "a destroyed view is never painted";
}

TEST_F(ViewSurfaceTest, AViewInvalidatingItselfWhilePaintingWaitsForTheNextTick) {
  HWND c = metalChild(2);
  int paints = 0;
  drawing = [&](HDC) {
    ++paints;
    InvalidateRect(c, nullptr, 0);
  };
  InvalidateRect(c, nullptr, 0);
  flush();
  EXPECT_EQ(paints, 1);
  flush();
  EXPECT_EQ(paints, 2);
  drawing = [](HDC) {};
}

TEST_F(ViewSurfaceTest, DirectDrawingIsPresentedWithoutAPaint) {
  HWND c = metalChild(2);
  drawing = [](HDC hdc) { fill(hdc, {0, 0, 40, 30}, kBlue); };
  InvalidateRect(c, nullptr, 0);
  flush();
  painted.clear();
  HDC hdc = GetDC(c);
  ASSERT_NE(hdc, nullptr);
  EXPECT_EQ(SWELL_GetCtxGC(hdc), nullptr);
  fill(hdc, {0, 0, 10, 10}, kGreen);
  ReleaseDC(c, hdc);
  flush();
  EXPECT_TRUE(painted.empty());
  EXPECT_EQ(shown(c, 5, 5), kGreen);
  EXPECT_EQ(shown(c, 20, 20), kBlue) << "the rest of the picture is kept";
  // A block written straight into the frame shows when the drawing is released.
  const std::uint32_t block[] = {kRed, kRed, kRed, kRed};
  hdc = GetDC(c);
  SWELL_Metal_UploadTexture(c, block, 20, 20, 2, 2, 2, false);
  ReleaseDC(c, hdc);
  flush();
  EXPECT_EQ(shown(c, 21, 21), kRed);
  EXPECT_EQ(shown(c, 22, 22), kBlue);

  HWND direct = metalChild(1, 20, 20);
  drawing = [](HDC painting) { fill(painting, {0, 0, 20, 20}, kRed); };
  InvalidateRect(direct, nullptr, 0);
  flush();
  EXPECT_EQ(shown(direct, 10, 10), kRed);
  hdc = GetDC(direct);
  fill(hdc, {0, 0, 4, 4}, kGreen);
  ReleaseDC(direct, hdc);
  EXPECT_TRUE(h.logged("had write in GetDC()/ReleaseDC(), this is unsupported"));
}

// Every drawing that reaches a Metal surface, read back from the window.
TEST_F(ViewSurfaceTest, ShapesAndBlitsLandOnTheFrame) {
  struct Case {
    const char* name;
    std::function<void(HDC)> draw;
    std::vector<std::pair<POINT, std::uint32_t>> expected;
  };
  MemoryContext source(4, 4);
  auto* px = static_cast<std::uint32_t*>(SWELL_GetCtxFrameBuffer(source.hdc));
  const int span = 4;  // 16 bytes per row: already 64-byte aligned rows hold 4 pixels
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      px[y * span + x] = x < 2 ? 0x80C86400u : 0xFF00FF00u;  // (200,100,0) half, green opaque
  const Case cases[] = {
      {"fill, rectangle outline, pixel, lines",
       [](HDC hdc) {
         fill(hdc, {0, 0, 40, 30}, 0);
         HPEN pen = CreatePen(0, 2, kRed);
         HGDIOBJ oldPen = SelectObject(hdc, pen);
         HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(NULL_BRUSH));
         Rectangle(hdc, 10, 10, 30, 20);
         SelectObject(hdc, oldBrush);
         SetPixel(hdc, 2, 2, kGreen);
         MoveToEx(hdc, 5, 25, nullptr);
         LineTo(hdc, 5, 21);
         LineTo(hdc, 9, 27);  // diagonal: nothing drawn
         SelectObject(hdc, oldPen);
         DeleteObject(pen);
       },
       {{{10, 10}, kRed},
        {{11, 15}, kRed},
        {{12, 15}, 0},
        {{28, 19}, kRed},
        {{20, 15}, 0},
        {{2, 2}, kGreen},
        {{5, 21}, kRed},
        {{5, 25}, kRed},
        {{7, 25}, 0}}},
      {"alpha blit over a fill",
       [&](HDC hdc) {
         fill(hdc, {0, 0, 40, 30}, 0x0032FA);  // (0,50,250)
         StretchBlt(hdc, 10, 10, 4, 4, source.hdc, 0, 0, 4, 4, static_cast<int>(kAlphaBlit));
       },
       {{{10, 10}, 0x644B7D}, {{13, 13}, kGreen}, {{20, 20}, 0x0032FA}}},
      {"blit from a negative source column lands further right",
       [&](HDC hdc) {
         fill(hdc, {0, 0, 40, 30}, 0);
         StretchBlt(hdc, 10, 0, 6, 4, source.hdc, -2, 0, 6, 4, 0);
       },
       {{{11, 1}, 0}, {{12, 1}, 0xC86400}, {{15, 1}, kGreen}}},
      {"a retina frame doubles later fills",
       [&](HDC hdc) {
         // A 4 x 4 source into 2 x 2 points: the frame becomes retina.
         StretchBlt(hdc, 0, 0, 2, 2, source.hdc, 0, 0, 4, 4, 0);
         fill(hdc, {2, 0, 3, 1}, kBlue);
       },
       {{{0, 0}, 0xC86400}, {{1, 1}, kGreen}, {{2, 0}, kBlue}, {{2, 1}, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND v = metalChild(2);
    drawing = c.draw;
    InvalidateRect(v, nullptr, 0);
    flush();
    for (const auto& [p, colour] : c.expected)
      EXPECT_EQ(shown(v, p.x, p.y), colour) << p.x << "," << p.y;
    DestroyWindow(v);
  }
  drawing = [](HDC) {};
}

TEST_F(ViewSurfaceTest, TexturesFollowTheViewWithinACapAndGravity) {
  HWND c = metalChild(2, 30, 10);
  drawing = [](HDC hdc) { fill(hdc, {0, 0, 1 << 20, 1 << 20}, kGreen); };
  struct Step {
    double x, width;
    int textureWidth;
  } steps[] = {{10, 30, 32}, {10, 13, 32}, {10, 12, 12}, {10, 20000, 16384}};
  for (const Step& s : steps) {
    view(c)->setFrame(platform::NSMakeRect(s.x, 10, s.width, 10));
    InvalidateRect(c, nullptr, 0);
    flush();
    ASSERT_TRUE(surface(c)->m_metal_texture) << s.width;
    EXPECT_EQ(surface(c)->m_metal_texture->width(), s.textureWidth) << s.width;
  }
  auto* layer = dynamic_cast<platform::CAMetalLayer*>(view(c)->layer());
  EXPECT_EQ(layer->drawableSize().width, 16384);
  // Shrunk from the left: the picture stays anchored to the right edge (flipped view: top).
  view(c)->setFrame(platform::NSMakeRect(50, 10, 40, 10));
  InvalidateRect(c, nullptr, 0);
  flush();
  view(c)->setFrame(platform::NSMakeRect(60, 10, 30, 10));
  InvalidateRect(c, nullptr, 0);
  flush();
  EXPECT_EQ(layer->contentsGravity(), CALayerContentsGravity::topRight);
  drawing = [](HDC) {};
}

TEST_F(ViewSurfaceTest, ASecondScreensDeviceIsTakenAndAShaderFailureEndsThePaint) {
  platform::NSScreen::setScreens(
      {{platform::NSMakeRect(0, 0, 800, 600), platform::NSMakeRect(0, 0, 800, 578), 1},
       {platform::NSMakeRect(800, 0, 800, 600), platform::NSMakeRect(800, 0, 800, 600), 2}});
  platform::Ref<platform::MTLDevice> refusing = platform::Ref<platform::MTLDevice>::adopt(
      platform::createCompilationRefusingDevice("refusing"));
  platform::setScreenDeviceForTesting(2, refusing.get());
  window->setFrameOrigin({10, 10});
  HWND c = metalChild(2);
  drawing = [](HDC hdc) { fill(hdc, {0, 0, 40, 30}, kRed); };
  InvalidateRect(c, nullptr, 0);
  flush();
  EXPECT_EQ(painted.size(), 1u);
  window->setFrameOrigin({900, 10});
  h.advance(1500);
  painted.clear();
  InvalidateRect(c, nullptr, 0);
  flush();
  EXPECT_TRUE(h.logged("switching metal devices"));
  EXPECT_TRUE(h.logged("error compiling metal shaders"));
  EXPECT_TRUE(h.logged("mtl failed functions"));
  EXPECT_TRUE(painted.empty());
  EXPECT_EQ(surface(c)->m_metal_device.get(), refusing.get());
  DestroyWindow(c);
  platform::setScreenDeviceForTesting(2, nullptr);
  platform::NSScreen::resetToDefault();
  drawing = [](HDC) {};
}

TEST(MetalPixels, DoublingWritesEachPixelAsATwoByTwoBlock) {
  const std::uint32_t src[] = {1, 2, 9, 3, 4, 9};  // 2 x 2 with rows of 3
  std::vector<std::uint32_t> dst(4 * 5, 0);        // rows of 5
  SWELL_Metal_DoublePixels(dst.data(), src, 2, 2, 3, 5);
  EXPECT_EQ(dst, (std::vector<std::uint32_t>{1, 1, 2, 2, 0, 1, 1, 2, 2, 0,
                                             3, 3, 4, 4, 0, 3, 3, 4, 4, 0}));
}

TEST_F(ViewSurfaceTest, AGLViewsPaintIsReadBackIntoTheWindow) {
  if (!platform::NSOpenGLContext::available()) GTEST_SKIP() << "EGL gives no OpenGL context here";
  HWND c = child(main, 10, 10, 40, 30);
  EXPECT_FALSE(SWELL_GetViewGL(c));
  SWELL_SetViewGL(c, 1);
  ASSERT_TRUE(SWELL_GetViewGL(c));
  drawing = [](HDC) {
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
  };
  InvalidateRect(c, nullptr, 0);
  UpdateWindow(c);
  EXPECT_EQ(platform::NSOpenGLContext::currentContext(), nullptr)
      << "the paint leaves none current";
  EXPECT_EQ(shown(c, 20, 15), kRed);
  EXPECT_TRUE(SWELL_SetGLContextToView(c));
  EXPECT_NE(platform::NSOpenGLContext::currentContext(), nullptr);
  EXPECT_FALSE(SWELL_SetGLContextToView(nullptr));
  EXPECT_EQ(platform::NSOpenGLContext::currentContext(), nullptr);
  SWELL_SetViewGL(c, 0);
  EXPECT_FALSE(SWELL_GetViewGL(c));
  EXPECT_FALSE(SWELL_SetGLContextToView(c));
  EXPECT_NE(SWELL_GetDisplayColorSpace(), nullptr);
  drawing = [](HDC) {};
}

}  // namespace
