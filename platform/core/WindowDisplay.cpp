// A window's backing store and its display passes: the dirty views collected, drawn into
// the store over the background, with the focus ring and the menu bar, and presented.

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/display/DisplayBackend.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/ImageDecoder.h"
#include "platform/drawing/Layer.h"

namespace platform {

void NSWindow::setBackingScaleFactor(double scale) {
  if (!(scale > 0) || !std::isfinite(scale) || scale == mBackingScale) return;
  mBackingScale = scale;
  if (mBacking) cairo_surface_destroy(mBacking);
  mBacking = nullptr;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

cairo_surface_t* NSWindow::backingStore() {
  NSRect content = drawnRect();
  // Pixels Cairo can hold: a window larger than that draws its top left part only, a
  // size that is no number draws nothing.
  auto pixels = [this](double points) {
    const double count = std::ceil(points * mBackingScale);
    return count > 0 ? static_cast<int>(std::min(count, static_cast<double>(kMaxImageSide))) : 0;
  };
  int w = pixels(content.size.width);
  int h = pixels(content.size.height);
  if (mBacking && (cairo_image_surface_get_width(mBacking) != w ||
                   cairo_image_surface_get_height(mBacking) != h)) {
    cairo_surface_destroy(mBacking);
    mBacking = nullptr;
  }
  if (!mBacking) {
    mBacking = displayBackend().createBackingStore(this, w, h);
    if (!mBacking) mBacking = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    if (mContentView) mContentView->setNeedsDisplay(true);
  }
  return mBacking;
}

namespace {

void collectDirty(NSView* view, NSRect& region) {
  if (view->isHidden()) return;
  if (view->needsDisplay())
    region = NSUnionRect(region, view->convertRectToView(view->dirtyRect(), nullptr));
  for (NSView* sub : view->subviews())
    collectDirty(sub, region);
}

// Draws a view and its subviews where they meet the region (window coordinates), each
// clipped to its visible part and set up in its own coordinates.
void drawTree(NSView* view, cairo_t* cr, const cairo_matrix_t& base, const NSRect& clip) {
  if (view->isHidden()) return;
  NSRect inWindow = NSIntersectionRect(view->convertRectToView(view->bounds(), nullptr), clip);
  if (inWindow.isEmpty()) return;
  Ref<NSView> keep(view);
  NSView::WindowTransform t = view->transformToWindow();
  cairo_matrix_t local, combined;
  cairo_matrix_init(&local, 1, 0, 0, t.sy, t.tx, t.ty);
  cairo_matrix_multiply(&combined, &local, &base);
  NSRect dirty = view->convertRectFromView(inWindow, nullptr);
  cairo_save(cr);
  cairo_set_matrix(cr, &combined);
  cairo_rectangle(cr, dirty.origin.x, dirty.origin.y, dirty.size.width, dirty.size.height);
  cairo_clip(cr);
  {
    CGContext context(cr);
    NSGraphicsContext::Scope scope(&context);
    view->drawRect(dirty);
  }
  // What the view's layer holds (GL or Metal pixels) lies over what it drew.
  if (CALayer* layer = view->wantsLayer() ? view->layer() : nullptr) {
    cairo_set_matrix(cr, &base);
    layer->composite(cr, view->convertRectToView(view->bounds(), nullptr));
  }
  cairo_restore(cr);
  std::vector<Ref<NSView>> subs(view->subviews().begin(), view->subviews().end());
  for (auto& sub : subs)
    if (sub->superview() == view) drawTree(sub.get(), cr, base, inWindow);
}

}  // namespace

void NSWindow::discardBackingStore() {
  if (mBacking) cairo_surface_destroy(mBacking);
  mBacking = nullptr;
  if (mContentView) mContentView->setNeedsDisplay(true);
}

bool NSWindow::viewsNeedDisplay() const {
  if (!mContentView) return false;
  if (mMenuBarDirty) return true;
  NSRect region;
  collectDirty(mContentView, region);
  return !region.isEmpty();
}

void NSWindow::drawRegion(const NSRect& region) {
  if (!mContentView) return;
  cairo_surface_t* surface = backingStore();
  NSRect content = drawnRect();
  NSRect r = NSIntersectionRect(region, NSMakeRect(0, 0, content.size.width, content.size.height));
  if (r.isEmpty()) return;
  Ref<NSWindow> keep(this);
  displayBackend().willDrawWindow(this);
  cairo_t* cr = cairo_create(surface);
  // Window coordinates are y up; the image's rows run down.
  cairo_matrix_t base;
  cairo_matrix_init(&base, mBackingScale, 0, 0, -mBackingScale, 0,
                    content.size.height * mBackingScale);
  cairo_set_matrix(cr, &base);
  cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, mBackground.red, mBackground.green, mBackground.blue,
                        mBackground.alpha);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  drawTree(mContentView, cr, base, r);
  cairo_save(cr);
  cairo_set_matrix(cr, &base);
  cairo_rectangle(cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
  cairo_clip(cr);
  drawFocusRing(cr);
  cairo_restore(cr);
  if (mMenuBar && !NSIntersectionRect(r, menuBarRect()).isEmpty()) {
    cairo_set_matrix(cr, &base);
    drawMenuBar(cr);
    mMenuBarDirty = false;
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  if (mContentView) mContentView->clearDirtyRecursive();
  displayBackend().presentWindow(this, r);
}

void NSWindow::display() {
  NSRect content = drawnRect();
  drawRegion(NSMakeRect(0, 0, content.size.width, content.size.height));
}

void NSWindow::displayIfNeeded() {
  if (!mContentView) return;
  NSRect region;
  collectDirty(mContentView, region);
  if (mMenuBarDirty) region = NSUnionRect(region, menuBarRect());
  if (!region.isEmpty()) drawRegion(region);
}

}  // namespace platform
