// The graphics view in a headless window: frames reach the window's pixels, platform events
// reach the controls as IGraphics events, tooltips follow the popup menu, and closing leaves
// nothing behind.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacView.h"
#include "platform/core/Cursor.h"
#include "platform/core/Window.h"
#include "support/FakeEditorDelegate.h"
#include "support/PlatformHarness.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using platform::NSPoint;
using testsupport::AttachFakePopupMenuControl;
using testsupport::FakeEditorDelegate;
using testsupport::FakePopupMenuControl;
using testsupport::LoggingControl;

namespace {

constexpr int kW = 200, kH = 100;
const IColor kRed(255, 255, 0, 0);

// Records the position, deltas and flags of every mouse event it gets.
class ProbeControl : public LoggingControl {
 public:
  using LoggingControl::LoggingControl;
  void OnMouseDown(float x, float y, const IMouseMod& mod) override {
    Record("down", x, y, 0, 0, mod);
    if (mHideOnPress) GetUI()->HideMouseCursor(true, true);
  }
  void OnMouseUp(float x, float y, const IMouseMod& mod) override {
    Record("up", x, y, 0, 0, mod);
    if (mHideOnPress) GetUI()->HideMouseCursor(false, true);
  }
  void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override {
    Record("drag", x, y, dX, dY, mod);
  }
  void OnMouseDblClick(float x, float y, const IMouseMod& mod) override {
    Record("dblclick", x, y, 0, 0, mod);
  }
  void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override {
    Record("wheel", x, y, 0, d, mod);
  }
  bool OnKeyDown(float x, float y, const iplug::IKeyPress& key) override {
    mKeys.push_back(key.VK);
    return true;
  }

  struct Event {
    std::string kind;
    float x, y, dX, dY;
    IMouseMod mod;
  };
  void Record(const char* kind, float x, float y, float dX, float dY, const IMouseMod& mod) {
    mLog.push_back({kind, x, y, dX, dY, mod});
  }
  std::vector<Event> mLog;
  std::vector<int> mKeys;
  bool mHideOnPress = false;
};

class MacView : public ::testing::Test {
 protected:
  void SetUp() override {
    window = new platform::NSWindow(platform::NSMakeRect(50, 50, kW, kH),
                                    platform::NSWindowStyleMaskTitled);
    window->makeKeyAndOrderFront();
    ASSERT_NE(g->OpenWindow(window), nullptr);
  }

  // Window coordinates (y up) of an editor point.
  static NSPoint At(double x, double y) { return {x, kH - y}; }
  void Frame() { h.advance(1000.0 / 60 + 1.0); }
  ProbeControl* AddProbe(const IRECT& r) {
    return static_cast<ProbeControl*>(g->AttachControl(new ProbeControl(r)));
  }

  testsupport::PlatformHarness h;
  FakeEditorDelegate dlg;
  std::unique_ptr<IGraphicsMac> g = std::make_unique<IGraphicsMac>(dlg, kW, kH);
  platform::NSWindow* window = nullptr;
};

TEST_F(MacView, OpensAtTheTopLeftOfItsParentAndTakesTheKeyboard) {
  platform::Ref<IGraphicsMacView> view(g->GetView());
  ASSERT_TRUE(g->WindowIsOpen());
  EXPECT_EQ(view->superview(), window->contentView());
  EXPECT_EQ(view->frame(), platform::NSMakeRect(0, 0, kW, kH));
  EXPECT_EQ(window->firstResponder(), view.get());
  EXPECT_TRUE(view->RedrawTimerIsRunning());

  // A parent larger than the editor: the view hangs from its top edge (the parent's y runs up).
  auto* big = new platform::NSView(platform::NSMakeRect(0, 0, 400, 300));
  window->contentView()->addSubview(big);
  big->release();
  ASSERT_NE(g->OpenWindow(big), nullptr);
  EXPECT_EQ(g->GetView()->frame(), platform::NSMakeRect(0, 200, kW, kH));
  EXPECT_FALSE(view->RedrawTimerIsRunning());  // the first view was closed
  EXPECT_EQ(view->superview(), nullptr);

  int dummy = 0;
  base::LogCapture logged;
  EXPECT_EQ(g->OpenWindow(nullptr), nullptr);
  EXPECT_EQ(g->OpenWindow(&dummy), nullptr);
  EXPECT_EQ(logged.count(), 2u);
}

TEST_F(MacView, EachFrameReachesTheWindowsPixelsAtItsBackingScale) {
  auto* c = g->AttachControl(new LoggingControl(IRECT(10, 10, 30, 30), kNoParameter, kRed));
  Frame();
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 20, kH - 20), 0xFFFF0000u);
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(window, 40, kH - 20), 0xFFFF0000u);

  // The surface follows the window to twice the pixels, and the frame after draws everything.
  window->setBackingScaleFactor(2.0);
  Frame();
  EXPECT_EQ(g->GetScreenScale(), 2.f);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 20, kH - 20), 0xFFFF0000u);
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(window, 5, kH - 5), 0xFFFF0000u);

  c->Hide(true);
  Frame();
  EXPECT_NE(testsupport::PlatformHarness::pixelAt(window, 20, kH - 20), 0xFFFF0000u);
}

TEST_F(MacView, MouseEventsReachTheControlWithTheirFlags) {
  using platform::NSEventModifierFlagCommand, platform::NSEventModifierFlagShift,
      platform::NSEventModifierFlagControl, platform::NSEventModifierFlagOption;
  ProbeControl* c = AddProbe(IRECT(10, 10, 60, 60));

  h.click(window, At(20, 30));
  h.click(window, At(20, 30), NSEventModifierFlagCommand);
  h.rightClick(window, At(20, 30));
  h.click(window, At(20, 30),
          NSEventModifierFlagShift | NSEventModifierFlagControl | NSEventModifierFlagOption);
  h.click(window, At(20, 30), 0, 2);
  h.runUntilIdle();

  struct Row {
    const char* kind;
    bool L, R, S, C, A;
  };
  const Row expected[] = {
      {"down", true, false, false, false, false},
      {"up", true, false, false, false, false},
      {"down", true, true, false, false, false},
      {"up", true, true, false, false, false},
      {"down", false, true, false, false, false},
      {"up", false, true, false, false, false},
      {"down", true, false, true, true, true},
      {"up", true, false, true, true, true},
      // A double click is not a press: nothing is held, so its release reaches no control.
      {"dblclick", true, false, false, false, false},
  };
  ASSERT_EQ(c->mLog.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    const auto& e = c->mLog[i];
    EXPECT_EQ(e.kind, expected[i].kind);
    EXPECT_EQ(e.x, 20.f);
    EXPECT_EQ(e.y, 30.f);
    EXPECT_EQ(e.mod.L, expected[i].L);
    EXPECT_EQ(e.mod.R, expected[i].R);
    EXPECT_EQ(e.mod.S, expected[i].S);
    EXPECT_EQ(e.mod.C, expected[i].C);
    EXPECT_EQ(e.mod.A, expected[i].A);
  }
}

TEST_F(MacView, DragsMoveDownwardsInEditorCoordinatesAndTheWheelReportsItsDelta) {
  ProbeControl* c = AddProbe(IRECT(0, 0, kW, kH));
  h.drag(window, At(20, 20), At(40, 30), 2);
  h.scroll(window, At(50, 50), 0, -3);
  h.runUntilIdle();

  float dX = 0, dY = 0;
  for (const auto& e : c->mLog) {
    if (e.kind == "drag") dX += e.dX, dY += e.dY;
  }
  EXPECT_EQ(dX, 20.f);
  EXPECT_EQ(dY, 10.f);
  ASSERT_EQ(c->mLog.back().kind, "wheel");
  EXPECT_EQ(c->mLog.back().dY, -3.f);
}

TEST_F(MacView, ALockedPointerStaysWhereItWasPressedAndIsShownOnRelease) {
  ProbeControl* c = AddProbe(IRECT(0, 0, kW, kH));
  c->mHideOnPress = true;
  h.mouseDown(window, At(20, 20));
  h.runUntilIdle();
  EXPECT_TRUE(platform::NSCursor::isHidden());
  EXPECT_TRUE(g->GetView()->PointerLocked());

  h.drag(window, At(20, 20), At(20, 60), 2);  // ends with the release
  h.runUntilIdle();
  float dY = 0;
  for (const auto& e : c->mLog) {
    if (e.kind != "drag") continue;
    EXPECT_EQ(e.y, 20.f);  // the position stays at the press
    dY += e.dY;
  }
  EXPECT_EQ(dY, 40.f);  // the motion still arrives, downwards
  EXPECT_FALSE(platform::NSCursor::isHidden());
  EXPECT_FALSE(g->GetView()->PointerLocked());
}

TEST_F(MacView, KeysGoToTheControlUnderThePointer) {
  ProbeControl* c = AddProbe(IRECT(100, 0, kW, kH));
  h.move(window, At(150, 50));
  h.key(window, 123, "\xEF\x9C\x82");  // left arrow
  h.typeText(window, "7");
  h.runUntilIdle();
  EXPECT_EQ(c->mKeys, (std::vector<int>{iplug::kVK_LEFT, iplug::kVK_7}));
}

TEST_F(MacView, TooltipsCoverShownControlsAndWaitWhileThePopupMenuShows) {
  FakePopupMenuControl* popup = AttachFakePopupMenuControl(*g);

  IControl* a = g->AttachControl(new LoggingControl(IRECT(0, 0, 50, 50)));
  a->SetTooltip("Gain");
  g->AttachControl(new LoggingControl(IRECT(60, 0, 90, 50)))->SetTooltip("");
  IControl* hidden = g->AttachControl(new LoggingControl(IRECT(100, 0, 150, 50)));
  hidden->SetTooltip("Hidden");
  hidden->Hide(true);
  g->UpdateTooltips();
  IGraphicsMacView* view = g->GetView();
  EXPECT_EQ(view->NToolTips(), 1);
  h.move(window, At(10, 10));
  h.runUntilIdle();
  EXPECT_EQ(view->toolTip(), "Gain");

  IPopupMenu menu("", {"a", "b"});
  g->CreatePopupMenu(*a, menu, IRECT(0, 0, 10, 10));
  g->UpdateTooltips();
  EXPECT_EQ(view->NToolTips(), 0);
  EXPECT_EQ(view->toolTip(), "");

  popup->Choose(-1);
  Frame();
  EXPECT_EQ(view->NToolTips(), 1);
  EXPECT_STREQ(view->ToolTipAt(10, 10), "Gain");
}

TEST_F(MacView, ClosingGivesThePointerBackAndAViewThatOutlivesItsEditorStaysInert) {
  ProbeControl* c = AddProbe(IRECT(0, 0, kW, kH));
  g->HideMouseCursor(true, true);
  platform::Ref<IGraphicsMacView> view(g->GetView());

  g->CloseWindow();
  EXPECT_FALSE(platform::NSCursor::isHidden());
  EXPECT_EQ(view->superview(), nullptr);
  EXPECT_FALSE(view->RedrawTimerIsRunning());

  // The view kept by someone else, put back and clicked, after the editor is gone.
  window->contentView()->addSubview(view.get());
  g.reset();
  h.click(window, At(20, 20));
  h.runUntilIdle();
  Frame();
  EXPECT_EQ(view->GetGraphics(), nullptr);
  (void)c;  // deleted with the editor; only the absence of a use-after-free is checked
}

TEST_F(MacView, AFrameRateThatCannotBeTimedFallsBackToSixtyFrames) {
  FakeEditorDelegate other;
  IGraphicsMac zeroFps(other, 10, 10, 0);
  base::LogCapture logged;
  ASSERT_NE(zeroFps.OpenWindow(window), nullptr);
  EXPECT_EQ(logged.count(), 1u);
  EXPECT_TRUE(zeroFps.GetView()->RedrawTimerIsRunning());
}

TEST_F(MacView, ThePointerLeavingTheWindowTakesTheMouseOverLookOffTheNextFrame) {
  const IColor hover(255, 0, 0, 255);
  const IVStyle style =
      DEFAULT_STYLE.WithShowLabel(false).WithShowValue(false).WithDrawShadows(false).WithColor(
          kHL, hover);
  auto* knob = static_cast<IVKnobControl*>(
      g->AttachControl(new IVKnobControl(IRECT(0, 0, 100, 100), kNoParameter, "", style)));
  Frame();
  const std::uint32_t plain = testsupport::PlatformHarness::pixelAt(window, 50, kH - 30);
  h.move(window, At(50, 30));
  h.runUntilIdle();
  Frame();
  EXPECT_TRUE(knob->GetMouseIsOver());
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 50, kH - 30), 0xFF0000FFu);
  h.exitWindow(window);
  h.runUntilIdle();
  Frame();
  EXPECT_FALSE(knob->GetMouseIsOver());
  EXPECT_EQ(g->GetMouseOver(), nullptr);
  EXPECT_EQ(testsupport::PlatformHarness::pixelAt(window, 50, kH - 30), plain);

  // A drag that leaves the window goes on; its hover ends at the release.
  h.move(window, At(50, 30));
  h.mouseDown(window, At(50, 30));
  h.exitWindow(window);
  h.runUntilIdle();
  Frame();
  EXPECT_TRUE(knob->GetMouseIsOver());
  EXPECT_TRUE(g->ControlIsCaptured(knob));
  h.mouseUp(window, At(50, 30));
  h.runUntilIdle();
  Frame();
  EXPECT_FALSE(knob->GetMouseIsOver());
  EXPECT_FALSE(g->ControlIsCaptured(knob));
}

}  // namespace
