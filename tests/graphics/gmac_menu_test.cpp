// Popup menus of the desktop graphics context: the in-interface control by default, the
// platform menu once the application removes it; the platform menu built from the model and its
// answer traced back to the menu that holds the chosen item.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/Controls.h"
#include "graphics/IGraphicsMac.h"
#include "graphics/IGraphicsMacView.h"
#include "platform/core/Window.h"
#include "support/FakeEditorDelegate.h"
#include "support/PlatformHarness.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using platform::NSPoint;
using testsupport::FakeEditorDelegate;
using testsupport::LoggingControl;

namespace {

constexpr int kW = 200, kH = 150;
// Past the popup-menu control's fade-in.
constexpr double kFadeInMs = 120.;

class MacMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    window = new platform::NSWindow(platform::NSMakeRect(50, 50, kW, kH),
                                    platform::NSWindowStyleMaskTitled);
    window->makeKeyAndOrderFront();
    ASSERT_NE(g->OpenWindow(window), nullptr);
  }
  // Window coordinates (y up) of an editor point.
  static NSPoint At(double x, double y) { return {x, kH - y}; }
  void ClickAt(double x, double y) {
    h.move(window, At(x, y));
    h.click(window, At(x, y));
    h.runUntilIdle();
  }

  testsupport::PlatformHarness h;
  FakeEditorDelegate dlg;
  std::unique_ptr<IGraphicsMac> g = std::make_unique<IGraphicsMac>(dlg, kW, kH);
  platform::NSWindow* window = nullptr;
};

TEST_F(MacMenu, ACaptionsChoiceArrivesThroughThePopupControlAndThroughTheNativeMenu) {
  const IRECT bounds(10, 10, 110, 30);
  auto* caption = g->AttachControl(
      new ICaptionControl(bounds, FakeEditorDelegate::kParamEnum, IText(), COLOR_WHITE, false));

  // By default the first menu attaches the in-interface control and opens in it.
  ClickAt(60, 20);
  auto* popup = dynamic_cast<IPopupMenuControl*>(g->GetPopupMenuControl());
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->GetExpanded());
  h.advance(kFadeInMs);
  const IRECT mid = popup->GetPanel(0)->GetRow(2);
  ClickAt(mid.MW(), mid.MH());
  EXPECT_DOUBLE_EQ(caption->GetValue(), 2.0 / 3.0);  // "Mid"
  EXPECT_TRUE(h.menus().popped().empty());

  // Removed, the control is not attached again: the platform menu shows the same items below
  // the caption, and its answer sets the value.
  g->RemovePopupMenuControl();
  h.menus().add({"High"});
  dlg.ClearCalls();
  ClickAt(60, 20);
  EXPECT_EQ(g->GetPopupMenuControl(), nullptr);
  ASSERT_EQ(h.menus().popped().size(), 1u);
  EXPECT_EQ(h.menus().popped()[0], (std::vector<std::string>{"Off", "Low", "Mid", "High"}));
  const NSPoint below =
      window->convertPointToScreen(g->GetView()->convertPointToView({bounds.L, bounds.B}, nullptr));
  EXPECT_EQ(h.menus().lastScreenPoint(), below);
  EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0);
  const int p = FakeEditorDelegate::kParamEnum;
  EXPECT_EQ(dlg.Calls().back(), (FakeEditorDelegate::Call{FakeEditorDelegate::Call::kEnd, p, 0}));

  // Dismissed, nothing changes; attached again, the control is back in use.
  ClickAt(60, 20);
  EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0);
  g->AttachPopupMenuControl();
  ClickAt(60, 20);
  EXPECT_EQ(h.menus().popped().size(), 2u);
  ASSERT_NE(g->GetPopupMenuControl(), nullptr);
  EXPECT_TRUE(g->GetPopupMenuControl()->GetExpanded());
}

TEST_F(MacMenu, ThePlatformMenuMirrorsPrefixesSeparatorsSubmenusAndItemStates) {
  IPopupMenu menu("Presets", IPopupMenu::kPrefixTwoDigits);
  menu.AddItemWithFlags("Alpha", IPopupMenu::Item::kChecked);
  menu.AddItemWithFlags("gone", IPopupMenu::Item::kSeparator | IPopupMenu::Item::kDisabled);
  menu.AddItemWithFlags("Beta", IPopupMenu::Item::kDisabled);
  menu.AddItemWithFlags("Gamma", IPopupMenu::Item::kIndented);
  auto* sub = new IPopupMenu();
  sub->AddItem("One");
  sub->AddItemWithFlags("Two", IPopupMenu::Item::kChecked | IPopupMenu::Item::kDisabled);
  menu.AddItem("Sub", sub)->SetFlags(IPopupMenu::Item::kIndented);

  // Each entry of the menu, then of its submenu: title ("-" a separator), enabled, on, indent.
  struct Row {
    const char* title;
    bool enabled, on;
    int indent;
  };
  const Row rows[] = {{"01: Alpha", true, true, 0},  {"-", false, false, 0},
                      {"03: Beta", false, false, 0}, {"04: Gamma", true, false, 1},
                      {"05: Sub", true, false, 1},   {"One", true, false, 0},
                      {"Two", false, true, 0}};
  const platform::Ref<platform::NSMenu> built = IGraphicsMac::BuildNSMenu(menu);
  EXPECT_EQ(built->title(), "Presets");
  EXPECT_FALSE(built->autoenablesItems());
  ASSERT_EQ(built->numberOfItems(), 5);
  const platform::NSMenu* nested = built->itemAtIndex(4)->submenu();
  ASSERT_NE(nested, nullptr);
  ASSERT_EQ(nested->numberOfItems(), 2);
  for (int i = 0; i < 7; ++i) {
    const platform::NSMenuItem* item = i < 5 ? built->itemAtIndex(i) : nested->itemAtIndex(i - 5);
    SCOPED_TRACE(rows[i].title);
    EXPECT_EQ(item->isSeparatorItem() ? "-" : item->title(), rows[i].title);
    EXPECT_EQ(item->isEnabled(), rows[i].enabled);
    EXPECT_EQ(item->state() == platform::NSControlStateValueOn, rows[i].on);
    EXPECT_EQ(item->indentationLevel(), rows[i].indent);
    EXPECT_EQ(item->hasSubmenu(), i == 4);
    EXPECT_EQ(item->tag(), item->isSeparatorItem() ? 0 : i < 5 ? i : i - 5);
  }
}

TEST_F(MacMenu, TheAnswerIsTheMenuHoldingTheChoiceAndEveryOtherOutcomeChoosesNothing) {
  g->RemovePopupMenuControl();
  auto* requester =
      static_cast<LoggingControl*>(g->AttachControl(new LoggingControl(IRECT(0, 0, 20, 20))));
  requester->mEvents.clear();
  std::vector<std::pair<IPopupMenu*, int>> answers;  // of the completion, run once each time
  IPopupMenu menu("", {"One", "Two"}, [&](IPopupMenu* m) {
    answers.push_back({m, m->GetChosenItemIdx()});
  });
  auto* sub = new IPopupMenu();
  sub->AddItem("Deep");
  sub->AddItemWithFlags("Off", IPopupMenu::Item::kDisabled);
  menu.AddItem("More", sub);  // the submenu takes the menu's completion

  // A submenu's entry, one of the menu's own, a disabled one, the submenu's own entry, none.
  h.menus().add({"More/Deep", "Two", "More/Off", "More", ""});
  const std::pair<IPopupMenu*, int> expected[] = {
      {sub, 0}, {&menu, 1}, {&menu, -1}, {&menu, -1}, {&menu, -1}};
  for (const auto& answer : expected) {
    g->CreatePopupMenu(*requester, menu, IRECT(0, 0, 20, 20));
    EXPECT_EQ(answers.back(), answer);
  }
  EXPECT_EQ(answers.size(), 5u);
  using Events = std::vector<std::string>;
  const std::string chosen = "OnPopupMenuSelection", none = chosen + " null";
  EXPECT_EQ(requester->mEvents, (Events{chosen, chosen, none, none, none}));
}

TEST_F(MacMenu, ARequestWhileANativeMenuIsUpIsRefusedAndTheMenuKeepsItsRequester) {
  // A menu whose event loop lets another control ask for a menu before the first is chosen.
  struct Reentrant : platform::MenuTracker {
    std::function<void()> whileUp;
    platform::NSMenuItem* trackMenu(platform::NSMenu* m, NSPoint, platform::NSView*) override {
      whileUp();
      return m->itemAtIndex(0);
    }
  } tracker;
  g->RemovePopupMenuControl();
  auto* first = static_cast<LoggingControl*>(g->AttachControl(new LoggingControl(IRECT())));
  auto* second = static_cast<LoggingControl*>(g->AttachControl(new LoggingControl(IRECT())));
  IPopupMenu menu("", {"One"}), other("", {"Other"});
  int asked = 0;
  tracker.whileUp = [&] {
    if (asked++ == 0) g->CreatePopupMenu(*second, other, IRECT());
  };
  platform::MenuTracker* harness = platform::menuTracker();
  platform::setMenuTracker(&tracker);
  g->CreatePopupMenu(*first, menu, IRECT());
  platform::setMenuTracker(harness);
  EXPECT_TRUE(second->Saw("OnPopupMenuSelection null"));
  EXPECT_TRUE(first->Saw("OnPopupMenuSelection"));
  EXPECT_EQ(menu.GetChosenItemIdx(), 0);
  EXPECT_TRUE(h.logged("a native menu is open"));
}

}  // namespace
