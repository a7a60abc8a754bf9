// The editor closed from inside its own event handling: from a native menu's loop and from a
// key handler. The code still running on the stack keeps its graphics context, controls and
// menu until the outermost event returns; nothing answers the closed editor after the loop.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/Controls.h"
#include "framework/IPlugAPIBase.h"
#include "graphics/IGEditorDelegate.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacView.h"
#include "platform/Window.h"
#include "support/HookedMenuTracker.h"
#include "support/PlatformHarness.h"

using namespace iplug::igraphics;

namespace {

constexpr int kW = 200, kH = 150;
const IRECT kCaptionBounds(10, 10, 110, 30);
const IRECT kKeyTakerBounds(10, 60, 110, 90);
// Past the popup-menu control's fade-in.
constexpr double kFadeInMs = 120.;

// Closes the editor from its key handler and from the answer of the menu a press opens, then
// goes on as handlers do: marks itself dirty and reaches its graphics context.
class ClosingControl : public IControl {
 public:
  ClosingControl(const IRECT& bounds, std::function<void()> close)
      : IControl(bounds, 0), mClose(std::move(close)) {}
  ~ClosingControl() override { ++sDeleted; }
  void Draw(IGraphics&) override {}
  bool OnKeyDown(float, float, const iplug::IKeyPress&) override {
    mClose();
    SetValue(1.0);
    SetDirty(true);
    return GetUI() != nullptr;
  }
  void OnMouseDown(float, float, const IMouseMod&) override {
    GetUI()->CreatePopupMenu(*this, mMenu, mRECT);
  }
  void OnPopupMenuSelection(IPopupMenu*, int) override {
    mClose();
    SetDirty(false);
  }
  static inline int sDeleted = 0;

 private:
  std::function<void()> mClose;
  IPopupMenu mMenu{"Close", {"One", "Two"}};
};

class Editor : public IGEditorDelegate, public iplug::IPlugAPIBase {
 public:
  Editor() : iplug::IEditorDelegate(1), IGEditorDelegate(1), IPlugAPIBase(1) {
    GetParam(0)->InitEnum("Mode", 0, {"Off", "Low", "High"});
  }

 protected:
  std::unique_ptr<IGraphicsMac> CreateGraphics() override {
    return std::make_unique<IGraphicsMac>(*this, kW, kH);
  }
  void LayoutUI(IGraphics& g) override {
    g.AttachControl(new ICaptionControl(kCaptionBounds, 0, IText(), COLOR_WHITE, false));
    g.AttachControl(new ClosingControl(kKeyTakerBounds, [this] { CloseWindow(); }));
    g.RemovePopupMenuControl();
  }
};

class MacClose : public ::testing::Test {
 public:
  void SetUp() override {
    window = new platform::NSWindow(platform::NSMakeRect(50, 50, kW, kH),
                                    platform::NSWindowStyleMaskTitled);
    window->makeKeyAndOrderFront();
    ASSERT_NE(editor.OpenWindow(window), nullptr);
    ClosingControl::sDeleted = 0;
  }
  // Window coordinates (y up) of an editor point.
  static platform::NSPoint At(float x, float y) { return {x, kH - y}; }

  testsupport::PlatformHarness h;
  Editor editor;
  platform::NSWindow* window = nullptr;
};

TEST_F(MacClose, TheEditorClosedFromItsOwnEventsGoesOnceTheEventReturnsAndAnswersNothing) {
  struct Row {
    const char* what;
    std::function<void(MacClose&)> act;
  };
  const Row rows[] = {
      {"a native menu's loop",
       [](MacClose& t) {
         // The editor closes while its menu is up; the second entry is then answered.
         testsupport::HookedMenuTracker tracker([&t] { t.editor.CloseWindow(); }, 1);
         t.h.move(t.window, At(kCaptionBounds.MW(), kCaptionBounds.MH()));
         t.h.click(t.window, At(kCaptionBounds.MW(), kCaptionBounds.MH()));
         t.h.runUntilIdle();
         EXPECT_EQ(tracker.tracked(), 1);
         // The closed editor's menu chose nothing for the parameter.
         EXPECT_EQ(t.editor.GetParam(0)->Value(), 0.0);
       }},
      {"a key handler",
       [](MacClose& t) {
         t.h.move(t.window, At(kKeyTakerBounds.MW(), kKeyTakerBounds.MH()));
         t.h.key(t.window, 0, "a");
         t.h.runUntilIdle();
         // The handler went on after closing, and its change still reached the delegate.
         EXPECT_EQ(t.editor.GetParam(0)->Value(), 2.0);
       }},
      {"the popup-menu control's answer",
       [](MacClose& t) {
         t.editor.GetUI()->AttachPopupMenuControl();
         t.h.move(t.window, At(kKeyTakerBounds.MW(), kKeyTakerBounds.MH()));
         t.h.click(t.window, At(kKeyTakerBounds.MW(), kKeyTakerBounds.MH()));
         t.h.runUntilIdle();
         auto* popup = dynamic_cast<IPopupMenuControl*>(t.editor.GetUI()->GetPopupMenuControl());
         ASSERT_NE(popup, nullptr);
         t.h.advance(kFadeInMs);
         const IRECT row = popup->GetPanel(0)->GetRow(1);
         t.h.move(t.window, At(row.MW(), row.MH()));
         t.h.click(t.window, At(row.MW(), row.MH()));
         t.h.runUntilIdle();
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (!editor.GetUI()) {
      ASSERT_NE(editor.OpenWindow(window), nullptr);
    }
    ClosingControl::sDeleted = 0;
    IGraphicsMacView* view = editor.GetUI()->GetView();
    row.act(*this);
    EXPECT_EQ(editor.GetUI(), nullptr);
    EXPECT_FALSE(editor.EditorIsHandlingEvent());
    EXPECT_EQ(ClosingControl::sDeleted, 1) << "the context and its controls are gone";
    EXPECT_EQ(window->contentView()->subviews().size(), 0u) << view;
  }
}

}  // namespace
