// Owner-drawn and image buttons as a dialog meets them: the parent draws an owner-drawn
// button through WM_DRAWITEM into the window's pixels, an image button shows its image
// and not its title, and both still click.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/drawing/GraphicsContext.h"
#include "support/WindowTest.h"
#include "windowing/controls/ButtonCells.h"
#include "windowing/core/ControlButton.h"

using platform::NSMakeRect;
using platform::NSRect;

namespace {

constexpr COLORREF kParentRed = 0xFF0000;  // red in bits 16-23
constexpr std::uint32_t kOpaqueRed = 0xFFFF0000;
constexpr std::uint32_t kOpaqueGreen = 0xFF00FF00;

// A view whose y axis points down, as the drawing contexts' do.
class TopDownView : public platform::NSView {
 public:
  using platform::NSView::NSView;
  bool isFlipped() const override { return true; }
};

class ButtonCellTest : public testsupport::WindowTest {
 protected:
  SWELL_DialogResourceIndex resource{
      testsupport::resid(7300), "Buttons", SWELL_DLG_WS_FLIPPED, nullptr, 200, 160};
  HWND dialog = nullptr;
  std::vector<DRAWITEMSTRUCT> draws;

  void SetUp() override {
    h.registerResource(&resource);
    dialog = SWELL_CreateDialog(SWELL_DialogResourceHead, resource.resid, nullptr,
                                testsupport::MessageLog::dialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    SWELL_MakeSetCurParms(dialog, false, false, 1, 1, 0, 0);
    // The parent fills what it is asked to draw with red, as an owner-drawing dialog does.
    log.answer([this](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (msg != WM_DRAWITEM) return std::nullopt;
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      draws.push_back(*dis);
      HBRUSH red = CreateSolidBrush(kParentRed);
      SWELL_FillRect(dis->hDC, &dis->rcItem, red);
      DeleteObject(red);
      return 1;
    });
  }
  void TearDown() override {
    if (dialog) DestroyWindow(dialog);
  }

  platform::NSWindow* window() const { return viewOf(dialog)->window(); }
  // The window pixel at a point of the control, given top down from its top-left corner.
  std::uint32_t pixel(HWND control, double x, double y) const {
    platform::NSView* view = viewOf(control);
    platform::NSPoint p = view->convertPointToView({x, view->bounds().size.height - y}, nullptr);
    return testsupport::PlatformHarness::pixelAt(window(), p.x, p.y);
  }
  // Pixels of the control, inside its outline, dark in every channel (title ink).
  int darkPixels(HWND control) const {
    NSRect b = viewOf(control)->bounds();
    int dark = 0;
    for (int y = 2; y < b.size.height - 2; ++y)
      for (int x = 2; x < b.size.width - 2; ++x) {
        std::uint32_t c = pixel(control, x + 0.5, y + 0.5);
        if (((c >> 16) & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && (c & 0xFF) < 0x60) ++dark;
      }
    return dark;
  }
  platform::NSButtonCell* cellOf(HWND button) const {
    return swell::objectFromHandleAs<platform::NSButton>(button)->cell();
  }
};

TEST_F(ButtonCellTest, TheParentDrawsAnOwnerDrawnButtonWhichStillClicks) {
  HWND button = SWELL_MakeControl("Draw me", 300, "Button", static_cast<int>(BS_OWNERDRAW), 20, 20,
                                  80, 24, 0);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(pixel(button, 40, 12), kOpaqueRed);
  ASSERT_EQ(draws.size(), 1u);
  const DRAWITEMSTRUCT& dis = draws[0];
  EXPECT_EQ(dis.CtlType, ODT_BUTTON);
  EXPECT_EQ(dis.CtlID, 300u);
  EXPECT_EQ(dis.itemID, 0u);
  EXPECT_EQ(dis.itemAction, 0u);
  EXPECT_EQ(dis.itemState, 0u);
  EXPECT_EQ(dis.hwndItem, button);
  EXPECT_NE(dis.hDC, nullptr);
  EXPECT_EQ(dis.itemData, 0u);
  EXPECT_EQ(
      (std::vector<LONG>{dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom}),
      (std::vector<LONG>{0, 0, 80, 24}));
  ASSERT_EQ(log.count(WM_DRAWITEM, dialog), 1);
  for (const auto& m : log.messages()) {
    if (m.msg == WM_DRAWITEM) {
      EXPECT_EQ(m.wParam, 300u);
    }
  }

  log.clear();
  platform::NSPoint centre = viewOf(button)->convertPointToView({40, 12}, nullptr);  // middle
  h.click(window(), centre);
  h.runUntilIdle();
  std::vector<testsupport::RecordedMessage> commands;
  for (const auto& m : testsupport::messagesOf(log.messages(), dialog))
    if (m.msg == WM_COMMAND) commands.push_back(m);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, (static_cast<WPARAM>(BN_CLICKED) << 16) | 300u);
  EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(button));
}

TEST_F(ButtonCellTest, TheItemRectangleIsTheFrameWithEachEdgeRounded) {
  HWND button =
      SWELL_MakeControl("", 301, "Button", static_cast<int>(BS_OWNERDRAW), 0, 0, 80, 60, 0);
  platform::NSButtonCell* cell = cellOf(button);
  ASSERT_NE(dynamic_cast<Swell_vCorvaneBrisko_ODbuttoncell*>(cell), nullptr);
  struct Case {
    NSRect frame;
    RECT expected;
  };
  const Case cases[] = {
      {NSMakeRect(10.4, 20.6, 30.2, 15.5), {10, 21, 41, 36}},
      {NSMakeRect(0, 0, 80, 24), {0, 0, 80, 24}},
      {NSMakeRect(-0.5, -1.6, 2, 0.4), {0, -2, 2, -1}},
  };
  // The cell draws for the button into a top-down view, so the frames are the item's.
  platform::Ref<TopDownView> view =
      platform::Ref<TopDownView>::adopt(new TopDownView(NSMakeRect(0, 0, 100, 100)));
  std::unique_ptr<platform::CGContext> surface(platform::CGContext::createBitmap(100, 100));
  platform::NSGraphicsContext::Scope current(surface.get());
  for (const Case& c : cases) {
    draws.clear();
    cell->drawWithFrame(c.frame, view.get());
    ASSERT_EQ(draws.size(), 1u);
    const RECT& r = draws[0].rcItem;
    EXPECT_EQ(
        (std::vector<LONG>{r.left, r.top, r.right, r.bottom}),
        (std::vector<LONG>{c.expected.left, c.expected.top, c.expected.right, c.expected.bottom}));
  }
}

TEST_F(ButtonCellTest, AParentThatDestroysTheButtonWhileDrawingItLosesNothing) {
  HWND button =
      SWELL_MakeControl("", 302, "Button", static_cast<int>(BS_OWNERDRAW), 0, 0, 40, 20, 0);
  int drawn = 0;
  log.answer([&](HWND, UINT msg, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (msg != WM_DRAWITEM) return std::nullopt;
    ++drawn;
    DestroyWindow(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem);
    return 1;
  });
  window()->display();
  EXPECT_EQ(drawn, 1);
  EXPECT_EQ(GetDlgItem(dialog, 302), nullptr);
  EXPECT_FALSE(IsWindow(button));
  window()->display();
  EXPECT_EQ(drawn, 1);
}

TEST_F(ButtonCellTest, AnOwnerDrawnCellWithoutAControlDrawsAsAPlainButtonCell) {
  platform::Ref<Swell_vCorvaneBrisko_ODbuttoncell> cell =
      platform::Ref<Swell_vCorvaneBrisko_ODbuttoncell>::adopt(
          new Swell_vCorvaneBrisko_ODbuttoncell);
  EXPECT_TRUE(cell->isTransparent());
  EXPECT_FALSE(cell->isOpaque());
  cell->setStringValue("Plain");
  platform::Ref<platform::NSView> view =
      platform::Ref<platform::NSView>::adopt(new platform::NSView(NSMakeRect(0, 0, 80, 24)));
  std::unique_ptr<platform::CGContext> surface(platform::CGContext::createBitmap(80, 24));
  {
    platform::NSGraphicsContext::Scope current(surface.get());
    cell->drawWithFrame(view->bounds(), view.get());
  }
  EXPECT_TRUE(draws.empty());
  cairo_surface_t* pixels = surface->bitmapSurface();
  cairo_surface_flush(pixels);
  // The bezel's face covers the middle of the frame.
  const auto* row =
      cairo_image_surface_get_data(pixels) + 12 * cairo_image_surface_get_stride(pixels);
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(row)[4] >> 24, 0xFFu);
}

TEST_F(ButtonCellTest, AnImageButtonShowsItsImageAndNotItsTitle) {
  struct Case {
    HWND button;
    bool imageCell;
  };
  const Case cases[] = {
      {SWELL_MakeButton(0, "Title", 310, 20, 20, 80, 30, static_cast<int>(BS_BITMAP)), true},
      {SWELL_MakeControl("Title", 311, "Button", static_cast<int>(BS_BITMAP), 20, 60, 80, 30, 0),
       true},
      {SWELL_MakeButton(0, "Title", 312, 20, 100, 80, 30, 0), false},
  };
  // A 16 x 16 opaque green bitmap (bytes B, G, R, A).
  std::vector<std::uint8_t> green(16 * 16 * 4);
  for (std::size_t i = 0; i < green.size(); i += 4) {
    green[i + 1] = 0xFF;
    green[i + 3] = 0xFF;
  }
  HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, green.data());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.imageCell);
    ASSERT_NE(c.button, nullptr);
    EXPECT_EQ(dynamic_cast<Swell_vCorvaneBrisko_imgbuttoncell*>(cellOf(c.button)) != nullptr,
              c.imageCell);
    EXPECT_EQ(GetWindowTextLength(c.button), 5) << "the button keeps its title";
    if (!c.imageCell) {
      EXPECT_GT(darkPixels(c.button), 0) << "a plain button shows its title";
      continue;
    }
    SendMessage(c.button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    EXPECT_EQ(pixel(c.button, 40, 15), kOpaqueGreen);
    EXPECT_EQ(darkPixels(c.button), 0);
    EXPECT_TRUE(
        cellOf(c.button)->drawTitle("Title", NSMakeRect(0, 0, 80, 30), viewOf(c.button)).isEmpty());
  }
  DestroyWindow(dialog);
  dialog = nullptr;
  DeleteObject(bitmap);
}

}  // namespace
