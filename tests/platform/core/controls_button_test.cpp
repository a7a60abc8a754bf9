#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Button.h"
#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/drawing/Image.h"
#include "support/ControlWindowTest.h"

using namespace platform;

namespace {

// The shared key window with one button at (20, 20), 100 x 24, sending action 7.
class ButtonTest : public testsupport::ControlWindowTest {
 protected:
  NSButton* button = nullptr;

  void SetUp() override {
    ControlWindowTest::SetUp();
    button = add(new NSButton(NSMakeRect(20, 20, 100, 24)), 7);
  }

  void click() {
    h.click(w, {70, 32});
    h.runUntilIdle();
  }
  // The window pixel at a point of the button, given top down from its top-left corner.
  std::uint32_t pixel(double x, double y) const {
    NSPoint p = button->convertPointToView({x, button->bounds().size.height - y}, nullptr);
    return testsupport::PlatformHarness::pixelAt(w, p.x, p.y);
  }
};

// A cell that records each draw with the title it was handed, then draws as usual.
class RecordingCell : public NSButtonCell {
 public:
  struct Draw {
    NSRect frame;
    NSView* view;
    std::string title;
  };
  std::vector<Draw> draws;
  void drawWithFrame(const NSRect& frame, NSView* view) override {
    draws.push_back({frame, view, stringValue()});
    NSButtonCell::drawWithFrame(frame, view);
  }
};

// A 10 x 10 image, its top five rows red and the bottom five blue.
Ref<NSImage> twoBandImage() {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 10, 10);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      reinterpret_cast<std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface))[x] =
          y < 5 ? 0xFFFF0000 : 0xFF0000FF;
  cairo_surface_mark_dirty(surface);
  Ref<NSImage> image = Ref<NSImage>::adopt(NSImage::imageWithSurface(surface));
  cairo_surface_destroy(surface);
  return image;
}

TEST_F(ButtonTest, ClicksMoveTheStateByButtonType) {
  struct Case {
    NSButtonType type;
    bool allowsMixed;
    int start;
    std::vector<int> afterClicks;
  };
  const Case cases[] = {
      {NSButtonTypeMomentaryPushIn, false, NSControlStateValueOff, {0, 0}},
      {NSButtonTypeSwitch, false, NSControlStateValueOff, {1, 0, 1}},
      {NSButtonTypeSwitch, true, NSControlStateValueOn, {0, -1, 1, 0}},
      {NSButtonTypeRadio, false, NSControlStateValueOff, {1, 1}},
      {NSButtonTypePushOnPushOff, false, NSControlStateValueOff, {1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    button->setButtonType(c.type);
    button->setAllowsMixedState(c.allowsMixed);
    button->setState(c.start);
    rec->take();
    std::vector<int> seen;
    for (std::size_t i = 0; i < c.afterClicks.size(); ++i) {
      click();
      seen.push_back(button->state());
    }
    EXPECT_EQ(seen, c.afterClicks);
    EXPECT_EQ(rec->take().size(), c.afterClicks.size()) << "one action per click";
  }
}

TEST_F(ButtonTest, ReleasingOutsideCancelsAndDisabledButtonsIgnoreClicks) {
  button->setButtonType(NSButtonTypeSwitch);
  h.mouseDown(w, {70, 32});
  h.runUntilIdle();
  EXPECT_TRUE(button->isHighlighted());
  h.drag(w, {70, 32}, {250, 150});
  h.mouseUp(w, {250, 150});
  h.runUntilIdle();
  EXPECT_FALSE(button->isHighlighted());
  EXPECT_EQ(button->state(), NSControlStateValueOff);
  EXPECT_TRUE(rec->events.empty());

  button->setEnabled(false);
  click();
  button->performClick();
  EXPECT_EQ(button->state(), NSControlStateValueOff);
  EXPECT_TRUE(rec->events.empty());
}

TEST_F(ButtonTest, MixedNeedsAllowingIt) {
  button->setButtonType(NSButtonTypeSwitch);
  button->setState(NSControlStateValueMixed);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
  button->setAllowsMixedState(true);
  button->setState(NSControlStateValueMixed);
  EXPECT_EQ(button->state(), NSControlStateValueMixed);
  button->setAllowsMixedState(false);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
  button->setState(5);
  EXPECT_EQ(button->state(), NSControlStateValueOn);
}

TEST_F(ButtonTest, KeyEquivalentClicksOnlyWithItsModifiers) {
  button->setKeyEquivalent("\r");
  NSEvent ret;
  ret.type = NSEventTypeKeyDown;
  ret.keyCode = 36;
  ret.characters = ret.charactersIgnoringModifiers = "\r";
  EXPECT_TRUE(button->performKeyEquivalent(ret));
  ret.modifierFlags = NSEventModifierFlagCommand;
  EXPECT_FALSE(button->performKeyEquivalent(ret));
  button->setKeyEquivalentModifierMask(NSEventModifierFlagCommand);
  ret.modifierFlags |= NSEventModifierFlagCapsLock;  // not a key-equivalent modifier
  EXPECT_TRUE(button->performKeyEquivalent(ret));
  button->setHidden(true);
  EXPECT_FALSE(button->performKeyEquivalent(ret));
  EXPECT_EQ(rec->take(), (Events{"action 7", "action 7"}));
}

TEST_F(ButtonTest, SizeToFitFollowsTheMeasuredTitle) {
  button->setTitle("OK");
  button->sizeToFit();
  NSSize small = button->frame().size;
  button->setTitle("A much longer title");
  button->sizeToFit();
  NSSize large = button->frame().size;
  EXPECT_GT(large.width, small.width + 50);
  EXPECT_GE(small.height, 21);
  EXPECT_EQ(button->frame().origin, (NSPoint{20, 20}));
  button->setButtonType(NSButtonTypeSwitch);
  button->sizeToFit();
  EXPECT_LT(button->frame().size.width, large.width);
  // A bigger font measures wider.
  button->setFont(NSFont::systemFontOfSize(26));
  button->sizeToFit();
  EXPECT_GT(button->frame().size.width, large.width);
  EXPECT_EQ(NSFont("Sans", std::nan("")).pointSize(), NSFont::systemFontSize());
  // Invalid UTF-8 measures as replacement characters and spoils nothing after it.
  NSFont font = NSFont::systemFontOfSize(13);
  double before = font.sizeOfString("abc").width;
  EXPECT_GT(font.sizeOfString("a\xFF\xC3").width, 0);
  EXPECT_EQ(font.sizeOfString("abc").width, before);
}

TEST_F(ButtonTest, AReplacedCellDrawsAndHoldsWhatTheButtonShows) {
  button->setTitle("Go");
  NSButtonCell* first = button->cell();
  EXPECT_EQ(first->controlView(), button);
  Ref<RecordingCell> cell = Ref<RecordingCell>::adopt(new RecordingCell);
  button->setCell(cell.get());
  EXPECT_EQ(button->cell(), cell.get());
  EXPECT_EQ(cell->controlView(), button);
  button->setCell(nullptr);  // refused: the button keeps its cell
  EXPECT_EQ(button->cell(), cell.get());
  EXPECT_TRUE(h.logged("null cell"));

  button->setButtonType(NSButtonTypeSwitch);
  button->setState(NSControlStateValueOn);
  EXPECT_EQ(cell->buttonType(), NSButtonTypeSwitch);
  EXPECT_EQ(cell->state(), NSControlStateValueOn);
  w->display();
  ASSERT_EQ(cell->draws.size(), 1u);
  EXPECT_EQ(cell->draws[0].frame, NSMakeRect(0, 0, 100, 24));
  EXPECT_EQ(cell->draws[0].view, button);
  EXPECT_EQ(cell->draws[0].title, "Go");
  click();
  EXPECT_EQ(cell->state(), NSControlStateValueOff);
  EXPECT_EQ(rec->take(), (Events{"action 7"}));
}

TEST_F(ButtonTest, OpacityAndTransparencyFollowTheLooks) {
  struct Case {
    NSButtonType type;
    bool bordered;
    bool transparent;
    bool opaque;
  };
  const Case cases[] = {
      {NSButtonTypeMomentaryPushIn, true, false, true},
      {NSButtonTypeMomentaryPushIn, false, false, false},
      {NSButtonTypeMomentaryPushIn, true, true, false},
      {NSButtonTypeSwitch, true, false, false},
      {NSButtonTypeRadio, true, false, false},
  };
  const std::uint32_t background = testsupport::PlatformHarness::pixelAt(w, 200, 150);
  button->setTitle("Title");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.type << c.bordered << c.transparent);
    button->setButtonType(c.type);
    button->setBordered(c.bordered);
    button->setTransparent(c.transparent);
    EXPECT_EQ(button->isTransparent(), c.transparent);
    EXPECT_EQ(button->cell()->isOpaque(), c.opaque);
    EXPECT_EQ(button->isOpaque(), c.opaque);
    // Only an opaque button covers the corner of its place.
    EXPECT_EQ(pixel(90, 3) != background, c.opaque);
  }
}

TEST_F(ButtonTest, TheImageStandsUprightWhereItsPositionPutsIt) {
  Ref<NSImage> image = twoBandImage();
  button->setImage(image.get());
  struct Case {
    NSCellImagePosition position;
    double imageX;  // the image's horizontal middle in the 100 x 24 button
  };
  const Case cases[] = {{NSImageOnly, 50}, {NSImageLeft, 7}, {NSImageRight, 93}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    button->setImagePosition(c.position);
    // Centred vertically: rows 7..16 from the top, red above blue.
    EXPECT_EQ(pixel(c.imageX, 8.5), 0xFFFF0000u);
    EXPECT_EQ(pixel(c.imageX, 15.5), 0xFF0000FFu);
  }
  // The image is the cell's: the button's lasts as long as the cell holds it.
  EXPECT_EQ(image->retainCount(), 2);
  button->setImage(nullptr);
  EXPECT_EQ(image->retainCount(), 1);
}

TEST_F(ButtonTest, TheTitleRectangleIsWhereTheTitleWasDrawn) {
  button->setTitle("Title");
  NSButtonCell* cell = button->cell();
  NSRect frame = NSMakeRect(0, 0, 100, 24);
  std::unique_ptr<CGContext> surface(CGContext::createBitmap(100, 24));
  NSGraphicsContext::Scope current(surface.get());
  NSRect centred = cell->drawTitle("Title", frame, button);
  EXPECT_FALSE(centred.isEmpty());
  EXPECT_NEAR(centred.midX(), 50, 0.5);
  EXPECT_NEAR(centred.midY(), 12, 0.5);
  button->setAlignment(NSTextAlignmentLeft);
  NSRect left = button->cell()->drawTitle("Title", frame, button);
  EXPECT_EQ(left.size, centred.size);
  EXPECT_LT(left.origin.x, centred.origin.x);
  EXPECT_TRUE(cell->drawTitle("", frame, button).isEmpty());
  EXPECT_TRUE(cell->drawTitle("Title", NSMakeRect(0, 0, 0, 24), button).isEmpty());
}

}  // namespace
