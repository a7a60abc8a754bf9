#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/ImageDecoder.h"
#include "support/PlatformHarness.h"

using namespace platform;

namespace {

class FlippedView : public NSView {
 public:
  using NSView::NSView;
  bool isFlipped() const override { return true; }
};

// Fills its bounds with a colour and remembers the dirty rectangles it was asked for.
class SolidView : public NSView {
 public:
  SolidView(const NSRect& frame, NSColor color, bool flipped = false)
      : NSView(frame), mColor(color), mFlipped(flipped) {}
  bool isFlipped() const override { return mFlipped; }
  void drawRect(const NSRect& dirty) override {
    drawn.push_back(dirty);
    CGContext* cg = NSGraphicsContext::currentContext();
    cg->setFillColor(mColor.red, mColor.green, mColor.blue, 1);
    cg->fillRect(bounds());
    // A stray restore must not unbalance the window's drawing.
    cg->restoreGState();
  }
  std::vector<NSRect> drawn;

 private:
  NSColor mColor;
  bool mFlipped;
};

template <class T>
T* adopt(NSView* parent, T* child) {
  parent->addSubview(child);
  child->release();
  return child;
}

TEST(NSView, SubviewOrderAddAboveBelowAndRemove) {
  Ref<NSView> root = Ref<NSView>::adopt(new NSView(NSMakeRect(0, 0, 100, 100)));
  NSView* a = adopt(root.get(), new NSView);
  NSView* b = adopt(root.get(), new NSView);
  auto* c = new NSView;
  root->addSubview(c, NSWindowBelow, b);
  c->release();
  EXPECT_EQ(root->subviews(), (std::vector<NSView*>{a, c, b}));
  root->addSubview(a, NSWindowAbove, b);  // moving an existing subview
  EXPECT_EQ(root->subviews(), (std::vector<NSView*>{c, b, a}));
  Ref<NSView> keep(b);
  b->removeFromSuperview();
  EXPECT_EQ(root->subviews(), (std::vector<NSView*>{c, a}));
  EXPECT_EQ(b->superview(), nullptr);
  EXPECT_EQ(b->retainCount(), 1);
  // Moving within the order: to either end, beside a sibling; a view that is no subview, or
  // placed beside itself, changes nothing.
  root->addSubview(b);
  const struct {
    NSView* view;
    NSWindowOrderingMode place;
    NSView* relativeTo;
    std::vector<NSView*> order;
  } moves[] = {
      {c, NSWindowAbove, nullptr, {a, b, c}}, {c, NSWindowBelow, nullptr, {c, a, b}},
      {c, NSWindowAbove, a, {a, c, b}},       {b, NSWindowBelow, a, {b, a, c}},
      {b, NSWindowAbove, b, {b, a, c}},       {root.get(), NSWindowAbove, nullptr, {b, a, c}},
      {nullptr, NSWindowBelow, a, {b, a, c}},
  };
  for (const auto& m : moves) {
    root->moveSubview(m.view, m.place, m.relativeTo);
    EXPECT_EQ(root->subviews(), m.order);
  }
}

TEST(NSView, ConversionsHandleFlippedAndUnflippedViewsAndTheScreen) {
  testsupport::PlatformHarness h;
  auto* w = new NSWindow(NSMakeRect(100, 200, 300, 200), NSWindowStyleMaskTitled);
  auto* content = new FlippedView(NSMakeRect(0, 0, 300, 200));
  w->setContentView(content);
  content->release();
  // A flipped content view: (0,0) is its top left, which is window y 200.
  EXPECT_EQ(content->convertPointToView({0, 0}, nullptr), (NSPoint{0, 200}));
  NSView* child = adopt(content, new NSView(NSMakeRect(10, 20, 50, 40)));
  // An unflipped child of a flipped parent: its (0,0) is its bottom left, 60 below
  // the parent's top.
  EXPECT_EQ(child->convertPointToView({0, 0}, content), (NSPoint{10, 60}));
  EXPECT_EQ(child->convertPointToView({0, 0}, nullptr), (NSPoint{10, 140}));
  EXPECT_EQ(child->convertPointFromView({10, 140}, nullptr), (NSPoint{0, 0}));
  NSView* grandchild = adopt(child, new FlippedView(NSMakeRect(5, 5, 10, 10)));
  EXPECT_EQ(grandchild->convertPointToView({0, 0}, content), (NSPoint{15, 45}));
  EXPECT_EQ(content->convertPointToView({15, 45}, grandchild), (NSPoint{0, 0}));
  NSRect inWindow = child->convertRectToView(child->bounds(), nullptr);
  EXPECT_EQ(inWindow, NSMakeRect(10, 140, 50, 40));
  EXPECT_EQ(w->convertPointToScreen({10, 140}), (NSPoint{110, 340}));
  EXPECT_EQ(w->frame(), NSMakeRect(100, 200, 300, 222));
  w->close();
}

TEST(NSView, HitTestFindsTheTopmostShownDeepestView) {
  Ref<NSView> root = Ref<NSView>::adopt(new FlippedView(NSMakeRect(0, 0, 100, 100)));
  NSView* low = adopt(root.get(), new NSView(NSMakeRect(0, 0, 60, 60)));
  NSView* high = adopt(root.get(), new NSView(NSMakeRect(40, 40, 60, 60)));
  NSView* inner = adopt(low, new NSView(NSMakeRect(0, 0, 10, 10)));
  // hitTest takes a point in the superview's coordinates; these are the root's own.
  auto hit = [&](NSPoint p) { return root->hitTest(root->convertPointToView(p, nullptr)); };
  EXPECT_EQ(hit({50, 50}), high);
  EXPECT_EQ(hit({20, 20}), low);
  // The unflipped child's own (0,0) is its bottom left: root y 50..60.
  EXPECT_EQ(hit({5, 55}), inner);
  EXPECT_EQ(hit({5, 45}), low);
  high->setHidden(true);
  EXPECT_EQ(hit({50, 50}), low);
  EXPECT_EQ(hit({150, 50}), nullptr);
}

TEST(NSView, HidingOrRemovingTheFocusedViewClearsTheFirstResponder) {
  testsupport::PlatformHarness h;
  struct Focusable : NSView {
    using NSView::NSView;
    bool acceptsFirstResponder() const override { return true; }
  };
  auto* w = new NSWindow(NSMakeRect(0, 0, 100, 100), NSWindowStyleMaskTitled);
  auto* content = new NSView(NSMakeRect(0, 0, 100, 100));
  w->setContentView(content);
  content->release();
  NSView* box = adopt(content, new NSView(NSMakeRect(0, 0, 50, 50)));
  NSView* field = adopt(box, new Focusable(NSMakeRect(0, 0, 10, 10)));
  EXPECT_TRUE(w->makeFirstResponder(field));
  box->setHidden(true);
  EXPECT_EQ(w->firstResponder(), w);
  box->setHidden(false);
  EXPECT_TRUE(w->makeFirstResponder(field));
  box->removeFromSuperview();
  EXPECT_EQ(w->firstResponder(), w);
  w->close();
}

// A view hears that it was hidden or shown when it, or an ancestor, changes whether it
// shows: a view hidden itself hears nothing of its ancestors, nor they of it while hidden.
TEST(NSView, HidingAndShowingReachTheViewsWhoseShowingChanges) {
  static std::vector<std::string> heard;
  struct Listening : NSView {
    explicit Listening(std::string n) : name(std::move(n)) {}
    std::string name;
    void viewDidHide() override { heard.push_back(name + " hide"); }
    void viewDidUnhide() override { heard.push_back(name + " show"); }
  };
  Ref<NSView> a = Ref<NSView>::adopt(new Listening("a"));
  NSView* b = adopt(a.get(), new Listening("b"));
  NSView* c = adopt(b, new Listening("c"));
  struct Step {
    NSView* view;
    bool hidden;
    std::vector<std::string> heard;
  } steps[] = {
      {c, true, {"c hide"}},
      {a.get(), true, {"a hide", "b hide"}},
      {c, false, {}},
      {b, true, {}},
      {a.get(), false, {"a show"}},
      {b, false, {"b show", "c show"}},
      {b, false, {}},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    heard.clear();
    steps[i].view->setHidden(steps[i].hidden);
    EXPECT_EQ(heard, steps[i].heard) << "step " << i;
  }
  EXPECT_FALSE(c->isHiddenOrHasHiddenAncestor());
}

TEST(NSView, DisplayPassDrawsDirtyViewsIntoTheBackingStoreInOrder) {
  testsupport::PlatformHarness h;
  auto* w = new NSWindow(NSMakeRect(0, 0, 40, 30), NSWindowStyleMaskTitled);
  auto* content = new SolidView(NSMakeRect(0, 0, 40, 30), {1, 0, 0, 1}, true);
  w->setContentView(content);
  content->release();
  SolidView* child = adopt(content, new SolidView(NSMakeRect(0, 0, 10, 10), {0, 0, 1, 1}));
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 20, 15), 0xFFFF0000u);
  // The flipped content view puts the child at its top left.
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 5, 25), 0xFF0000FFu);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 5, 5), 0xFFFF0000u);
  EXPECT_FALSE(w->viewsNeedDisplay());
  // Only what was marked is asked for again.
  content->drawn.clear();
  child->drawn.clear();
  content->setNeedsDisplayInRect(NSMakeRect(30, 20, 5, 5));
  w->displayIfNeeded();
  ASSERT_EQ(content->drawn.size(), 1u);
  EXPECT_EQ(content->drawn[0], NSMakeRect(30, 20, 5, 5));
  EXPECT_TRUE(child->drawn.empty());
  w->setBackingScaleFactor(2.0);
  EXPECT_EQ(cairo_image_surface_get_width(w->backingStore()), 80);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 5, 25), 0xFF0000FFu);
  w->close();
}

TEST(NSView, DrawingOutsideTheDisplayPassLandsWhereThePassDraws) {
  testsupport::PlatformHarness h;
  auto* w = new NSWindow(NSMakeRect(0, 0, 40, 30), NSWindowStyleMaskTitled);
  auto* content = new SolidView(NSMakeRect(0, 0, 40, 30), {1, 0, 0, 1});
  w->setContentView(content);
  content->release();
  // The menu bar sits above the content in the backing store.
  Ref<NSMenu> bar = Ref<NSMenu>::adopt(new NSMenu);
  auto* item = new NSMenuItem("File");
  bar->addItem(item);
  item->release();
  w->setMenuBar(bar.get());
  w->display();
  CGContext* cg = content->lockFocusIfCanDraw();
  ASSERT_NE(cg, nullptr);
  cg->setFillColor(0, 1, 0, 1);
  cg->fillRect(NSMakeRect(0, 0, 10, 10));
  content->unlockFocus();
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 5, 5), 0xFF00FF00u);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(w, 5, 15), 0xFFFF0000u);
  w->close();
}

TEST(NSWindow, FramesThatAreNoNumbersOrHugeGiveABackingStoreCairoCanHold) {
  testsupport::PlatformHarness h;
  const double nan = std::nan(""), inf = HUGE_VAL;
  const NSRect frames[] = {NSMakeRect(nan, 0, 40, 30), NSMakeRect(0, 0, nan, 30),
                           NSMakeRect(0, 0, 40, inf), NSMakeRect(0, 0, 1e12, 1e12),
                           NSMakeRect(0, 0, -5, -5)};
  for (const NSRect& frame : frames) {
    auto* w = new NSWindow(NSMakeRect(0, 0, 40, 30), NSWindowStyleMaskTitled);
    auto* content = new SolidView(NSMakeRect(0, 0, 40, 30), {1, 0, 0, 1});
    w->setContentView(content);
    content->release();
    w->setFrame(frame, true);
    w->display();
    cairo_surface_t* store = w->backingStore();
    EXPECT_LE(cairo_image_surface_get_width(store), kMaxImageSide);
    EXPECT_LE(cairo_image_surface_get_height(store), kMaxImageSide);
    w->close();
  }
}

TEST(CGContext, UnbalancedRestoreNeverReachesCairo) {
  testsupport::PlatformHarness h;
  CGContext* bitmap = CGContext::createBitmap(4, 4);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_FALSE(bitmap->restoreGState());
  EXPECT_TRUE(h.logged("restore without a matching save"));
  bitmap->saveGState();
  bitmap->saveGState();
  EXPECT_TRUE(bitmap->restoreGState());
  EXPECT_EQ(cairo_status(bitmap->cairo()), CAIRO_STATUS_SUCCESS);
  // y up: the rectangle at the bottom is the last row.
  bitmap->setFillColor(0, 1, 0, 1);
  bitmap->fillRect(NSMakeRect(0, 0, 4, 1));
  cairo_surface_flush(bitmap->bitmapSurface());
  auto* data =
      reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(bitmap->bitmapSurface()));
  int stride = cairo_image_surface_get_stride(bitmap->bitmapSurface()) / 4;
  EXPECT_EQ(data[3 * stride], 0xFF00FF00u);
  EXPECT_EQ(data[0], 0u);
  delete bitmap;
}

}  // namespace

namespace {

TEST(PlatformHarness, DescribesWindowsAndTheViewTreeAsText) {
  testsupport::PlatformHarness h;
  auto* w = new NSWindow(NSMakeRect(10, 20, 100, 50), NSWindowStyleMaskTitled);
  w->setTitle("Doc");
  auto* content = new FlippedView(NSMakeRect(0, 0, 100, 50));
  w->setContentView(content);
  content->release();
  NSView* hidden = adopt(content, new NSView(NSMakeRect(1, 2, 3, 4)));
  hidden->setHidden(true);
  w->makeKeyAndOrderFront();
  EXPECT_EQ(testsupport::PlatformHarness::describeWindows(),
            "NSWindow \"Doc\" (10,20 100x72) key main\n");
  EXPECT_EQ(testsupport::PlatformHarness::describeViewTree(content),
            "(anonymous namespace)::FlippedView (0,0 100x50) flipped\n  NSView (1,2 3x4) hidden\n");
  w->close();
}

}  // namespace
