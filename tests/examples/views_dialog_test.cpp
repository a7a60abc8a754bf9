// The views dialog renders every view it holds: each has ink in the PNG.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cmath>

#include "ViewsDialog.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "support/WindowHarness.h"
#include "windowing/WindowHandles.h"

namespace {

// Pixels of a rectangle (top-down, in pixels) unlike the one at its top-left corner's
// outside neighbour, the dialog's face.
int InkedPixels(cairo_surface_t* png, const platform::NSRect& r, std::uint32_t face) {
  const int width = cairo_image_surface_get_width(png);
  const int height = cairo_image_surface_get_height(png);
  const int stride = cairo_image_surface_get_stride(png);
  const unsigned char* data = cairo_image_surface_get_data(png);
  int inked = 0;
  for (int y = std::max(0, static_cast<int>(r.minY()));
       y < std::min(height, static_cast<int>(r.maxY())); ++y)
    for (int x = std::max(0, static_cast<int>(r.minX()));
         x < std::min(width, static_cast<int>(r.maxX())); ++x)
      inked += reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] != face;
  return inked;
}

TEST(ViewsDialog, EveryViewHasInk) {
  testsupport::WindowHarness h;
  HWND dialog = viewsdialog::Build();
  ASSERT_NE(dialog, nullptr);
  const std::string path = ::testing::TempDir() + "views_dialog.png";
  ASSERT_TRUE(viewsdialog::Render(dialog, path));
  cairo_surface_t* png = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(png), CAIRO_STATUS_SUCCESS);
  auto* content = swell::objectFromHandleAs<platform::NSView>(dialog);
  const double contentHeight = content->window()->contentRect().size.height;
  cairo_surface_flush(png);
  const std::uint32_t face =
      reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(png))[0];
  for (const viewsdialog::View& v : viewsdialog::Views(dialog)) {
    SCOPED_TRACE(v.name);
    auto* view = swell::objectFromHandleAs<platform::NSView>(v.hwnd);
    ASSERT_NE(view, nullptr);
    platform::NSRect r = view->convertRectToView(view->bounds(), nullptr);
    r.origin.y = contentHeight - r.maxY();  // to the PNG's rows, top down
    EXPECT_GT(InkedPixels(png, r, face), 20);
  }
  cairo_surface_destroy(png);
  DestroyWindow(dialog);
}

}  // namespace
