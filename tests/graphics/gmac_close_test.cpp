// The editor closed from inside its own event handling: from a native menu's loop and from a
// key handler. The code still running on the stack keeps its graphics context, controls and
// menu until the outermost event returns; nothing answers the closed editor after the loop.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "controls/Controls.h"
#include "graphics/IGEditorDelegate.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacView.h"
#include "platform/Window.h"
#include "support/PlatformHarness.h"

using namespace iplug::igraphics;

namespace {

constexpr int kW = 200, kH = 150;
const IRECT kCaptionBounds(10, 10, 110, 30);
const IRECT kKeyTakerBounds(10, 60, 110, 90);

// Closes the editor from its key handler, then goes on as handlers do: marks itself dirty and
// reaches its graphics context.
class ClosingKeyControl : public IControl {
 public:
  ClosingKeyControl(const IRECT& bounds, std::function<void()> close)
      : IControl(bounds, 0), mClose(std::move(close)) {}
  ~ClosingKeyControl() override { ++sDeleted; }
  void Draw(IGraphics&) override {}
  bool OnKeyDown(float, float, const iplug::IKeyPress&) override {
    mClose();
    SetValue(1.0);
    SetDirty(true);
    return GetUI() != nullptr;
  }
  static inline int sDeleted = 0;

 private:
  std::function<void()> mClose;
};

class Editor : public IGEditorDelegate {
 public:
  Editor() : iplug::IEditorDelegate(1), IGEditorDelegate(1) {
    GetParam(0)->InitEnum("Mode", 0, {"Off", "Low", "High"});
  }

 protected:
  std::unique_ptr<IGraphicsMac> CreateGraphics() override {
    return std::make_unique<IGraphicsMac>(*this, kW, kH);
  }
  void LayoutUI(IGraphics& g) override {
    g.AttachControl(new ICaptionControl(kCaptionBounds, 0, IText(), COLOR_WHITE, false));
    g.AttachControl(new ClosingKeyControl(kKeyTakerBounds, [this] { CloseWindow(); }));
    g.RemovePopupMenuControl();
  }
};

// Closes the editor while its menu is up, then answers the second entry.
class ClosingTracker : public platform::MenuTracker {
 public:
  explicit ClosingTracker(Editor& editor) : mEditor(editor), mPrevious(platform::menuTracker()) {
    platform::setMenuTracker(this);
  }
  ~ClosingTracker() override { platform::setMenuTracker(mPrevious); }
  platform::NSMenuItem* trackMenu(platform::NSMenu* menu, platform::NSPoint,
                                  platform::NSView*) override {
    ++tracked;
    mEditor.CloseWindow();
    return menu->itemAtIndex(1);
  }
  int tracked = 0;

 private:
  Editor& mEditor;
  platform::MenuTracker* mPrevious;
};

class MacClose : public ::testing::Test {
 public:
  void SetUp() override {
    window = new platform::NSWindow(platform::NSMakeRect(50, 50, kW, kH),
                                    platform::NSWindowStyleMaskTitled);
    window->makeKeyAndOrderFront();
    ASSERT_NE(editor.OpenWindow(window), nullptr);
    ClosingKeyControl::sDeleted = 0;
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
         ClosingTracker tracker(t.editor);
         t.h.move(t.window, At(kCaptionBounds.MW(), kCaptionBounds.MH()));
         t.h.click(t.window, At(kCaptionBounds.MW(), kCaptionBounds.MH()));
         t.h.runUntilIdle();
         EXPECT_EQ(tracker.tracked, 1);
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
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (!editor.GetUI()) {
      ASSERT_NE(editor.OpenWindow(window), nullptr);
    }
    ClosingKeyControl::sDeleted = 0;
    IGraphicsMacView* view = editor.GetUI()->GetView();
    row.act(*this);
    EXPECT_EQ(editor.GetUI(), nullptr);
    EXPECT_FALSE(editor.EditorIsHandlingEvent());
    EXPECT_EQ(ClosingKeyControl::sDeleted, 1) << "the context and its controls are gone";
    EXPECT_EQ(window->contentView()->subviews().size(), 0u) << view;
  }
}

}  // namespace
