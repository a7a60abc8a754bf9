#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "base/detail/TestHooks.h"
#include "controls/ITextControl.h"
#include "demo/DemoEditorDelegate.h"
#include "demo/app/DemoApp.h"
#include "support/HookedMenuTracker.h"
#include "windowing/core/WindowInterfaces.h"

namespace hosttest {
namespace {

using demo::DemoApp;
using P = demo::DemoEditorDelegate;

// The editor lives in the main window, which takes its size, and is drawn there.
class HostEditorTest : public HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    start();
    app = static_cast<DemoApp*>(hostObject()->GetApp());
    window = swell::objectFromHandleAs<platform::NSView>(host::MainWindow())->window();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(app->GetUI(), nullptr);
    showFrame();
  }
  // Lets the redraw timer draw and the window show it.
  void showFrame() {
    h.advance(50);
    h.runUntilIdle();
  }
  // Editor points (y down) in the window (y up).
  platform::NSPoint at(double x, double y) const { return {x, DemoApp::kHeight - y}; }
  std::uint32_t pixel(double x, double y) const {
    return testsupport::PlatformHarness::pixelAt(window, x, DemoApp::kHeight - y);
  }
  double paramValue(int index) const { return app->GetParam(index)->Value(); }

  DemoApp* app = nullptr;
  platform::NSWindow* window = nullptr;
};

TEST_F(HostEditorTest, TheEditorFillsTheMainWindowAndItsControlsSetTheParameters) {
  EXPECT_EQ(window->contentRect().size.width, DemoApp::kWidth);
  EXPECT_EQ(window->contentRect().size.height, DemoApp::kHeight);
  // The page and the monitor's background are drawn where they lie.
  EXPECT_EQ(pixel(5, 5), 0xFFF5F5F0u);
  EXPECT_EQ(pixel(300, 255), 0xFFD6E4F0u);

  struct Row {
    const char* what;
    platform::NSPoint point;  // editor points
    int param;
    double before, after;
  };
  const Row rows[] = {
      {"Power toggle", {380, 55}, P::kParamBool, 0, 1},
      {"Mode tab High", {265, 65}, P::kParamEnum, 0, 3},
      {"Mode tab Off", {40, 65}, P::kParamEnum, 3, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(paramValue(row.param), row.before);
    h.click(window, at(row.point.x, row.point.y));
    h.runUntilIdle();
    EXPECT_EQ(paramValue(row.param), row.after);
  }
  // A drag on the knob moves the gain and ends its gesture on release.
  const double gain = paramValue(P::kParamGain);
  h.drag(window, at(75, 160), at(75, 110));
  h.runUntilIdle();
  EXPECT_GT(paramValue(P::kParamGain), gain);
  EXPECT_EQ(app->GetGestureDepth(P::kParamGain), 0);
}

TEST_F(HostEditorTest, AMessageInLightsTheLightAndShowsInTheMonitor) {
  auto* monitor = dynamic_cast<iplug::igraphics::ITextControl*>(
      app->GetUI()->GetControlWithTag(DemoApp::kCtrlTagMonitor));
  iplug::igraphics::IControl* light = app->GetUI()->GetControlWithTag(DemoApp::kCtrlTagMidiLight);
  ASSERT_NE(monitor, nullptr);
  ASSERT_NE(light, nullptr);
  const std::uint32_t dark = pixel(50, 285);
  EXPECT_EQ(light->GetValue(), 0.);

  // In through the ring, a processing block and the host's 20 ms tick.
  ASSERT_TRUE(app->QueueMidiIn(iplug::IMidiMsg(0, 0x90, 0x3C, 0x64)));
  float left[iplug::IPlugAPP::kBlockSize], right[iplug::IPlugAPP::kBlockSize];
  float* outputs[] = {left, right};
  app->AppProcess(outputs, 2, iplug::IPlugAPP::kBlockSize);
  h.advance(iplug::IPlugAPP::kTimerIntervalMs);
  h.runUntilIdle();
  EXPECT_STREQ(monitor->GetStr(), "MIDI 90 3C 64");
  EXPECT_GT(light->GetValue(), 0.5);
  EXPECT_NE(pixel(50, 285), dark);

  // The light fades out again.
  h.advance(DemoApp::kLightTicks * iplug::IPlugAPP::kTimerIntervalMs * 2);
  showFrame();
  EXPECT_LT(light->GetValue(), 0.01);
  EXPECT_FALSE(app->MidiInLit());

  // A line wider than the monitor ends in an ellipsis within it; the host's word about its
  // devices shows there too.
  std::vector<std::uint8_t> sysex(200, 0x7E);
  sysex.front() = 0xF0;
  sysex.back() = 0xF7;
  ASSERT_TRUE(app->QueueSysExIn(sysex.data(), static_cast<int>(sysex.size())));
  app->AppProcess(outputs, 2, iplug::IPlugAPP::kBlockSize);
  h.advance(iplug::IPlugAPP::kTimerIntervalMs);
  const std::string shown = monitor->GetStr();
  EXPECT_EQ(shown.rfind("SysEx 200 bytes: F0 7E", 0), 0u) << shown;
  EXPECT_EQ(shown.substr(shown.size() - 3), "\xE2\x80\xA6") << shown;
  iplug::igraphics::IRECT box;
  EXPECT_LE(app->GetUI()->MeasureText(monitor->GetText(), shown.c_str(), box),
            monitor->GetRECT().W());
  app->OnHostStatus(host::kJackGoneStatus);
  EXPECT_STREQ(monitor->GetStr(), host::kJackGoneStatus);
}

// Destroys the main window from the editor's own events, a key or a pick in its native menu,
// then goes on as handlers do: sets its parameter through the application.
class WindowCloser : public iplug::igraphics::IControl {
 public:
  WindowCloser(const iplug::igraphics::IRECT& bounds, int paramIdx) : IControl(bounds, paramIdx) {}
  void Draw(iplug::igraphics::IGraphics&) override {}
  void OnMouseDown(float, float, const iplug::igraphics::IMouseMod&) override {
    testsupport::HookedMenuTracker tracker([] { DestroyWindow(host::MainWindow()); }, 1);
    GetUI()->CreatePopupMenu(*this, mMenu, mRECT);
    EXPECT_EQ(tracker.tracked(), 1);
    GoOn();
  }
  bool OnKeyDown(float, float, const iplug::IKeyPress&) override {
    DestroyWindow(host::MainWindow());
    GoOn();
    return true;
  }

 private:
  void GoOn() {
    SetValue(1.0);
    SetDirty(true);
  }
  iplug::igraphics::IPopupMenu mMenu{"Closer", {"One", "Two"}};
};

TEST_F(HostEditorTest, AWindowClosedFromTheEditorsEventsLeavesTheApplicationUntilTheyReturn) {
  constexpr double kX = 580, kY = 10;
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "a key" : "a pick in the native menu");
    if (!host::MainWindow()) {
      start();
      app = static_cast<DemoApp*>(hostObject()->GetApp());
      window = swell::objectFromHandleAs<platform::NSView>(host::MainWindow())->window();
    }
    iplug::igraphics::IGraphics* ui = app->GetUI();
    ASSERT_NE(ui, nullptr);
    ui->RemovePopupMenuControl();
    ui->AttachControl(new WindowCloser(iplug::igraphics::IRECT(kX - 10, kY - 10, kX + 10, kY + 10),
                                       P::kParamGain));
    h.move(window, at(kX, kY));
    base::LogCapture log;
    if (byKey) {
      h.key(window, 0, "a");
    } else {
      h.click(window, at(kX, kY));
    }
    h.runUntilIdle();
    EXPECT_EQ(host::MainWindow(), nullptr);
    EXPECT_EQ(hostObject(), nullptr);
    // The ports and the stream close on the next tick after the event returned.
    h.advance(iplug::IPlugAPP::kTimerIntervalMs);
    h.runUntilIdle();
    EXPECT_TRUE(log.contains("ports and stream closed"));
  }
}

}  // namespace
}  // namespace hosttest
