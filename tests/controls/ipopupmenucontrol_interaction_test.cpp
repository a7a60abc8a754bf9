// The in-interface popup menu driven as a user drives it, through the graphics context's events
// on the manual clock: opening and fading, hovering, submenus, choosing, escaping, scrolling a
// long menu and clicking beside it.

#include <gtest/gtest.h>

#include <memory>

#include "controls/Controls.h"
#include "support/ControlTestFixture.h"
#include "support/TestControls.h"

using namespace iplug::igraphics;
using iplug::IKeyPress;
using testsupport::FakeEditorDelegate;
using testsupport::LoggingControl;
using Panel = IPopupMenuControl::MenuPanel;

namespace {

constexpr float kOpaque = 0.95f;

// Remembers every menu handed back to it.
class Requester : public LoggingControl {
 public:
  using LoggingControl::LoggingControl;
  void OnPopupMenuSelection(IPopupMenu* menu, int valIdx) override {
    answers.push_back(menu);
    LoggingControl::OnPopupMenuSelection(menu, valIdx);
  }
  std::vector<IPopupMenu*> answers;
  std::unique_ptr<IPopupMenu> ownMenu;  // a menu the requester owns and lends
};

class PopupMenuInteraction : public testsupport::ControlTestFixture<> {
 protected:
  PopupMenuInteraction() {
    g.SetHasPlatformPopupMenu(false);  // as on Linux
    under = static_cast<LoggingControl*>(g.AttachControl(new LoggingControl(g.GetBounds())));
    requester = static_cast<Requester*>(g.AttachControl(new Requester(kAnchor)));
  }

  IPopupMenuControl& Popup() {
    auto* popup = dynamic_cast<IPopupMenuControl*>(g.GetPopupMenuControl());
    if (!popup) throw std::runtime_error("no popup-menu control attached");
    return *popup;
  }
  const Panel& PanelAt(int idx) {
    const Panel* panel = Popup().GetPanel(idx);
    if (!panel) throw std::runtime_error("no such panel");
    return *panel;
  }
  void Open(IPopupMenu& menu) { g.CreatePopupMenu(*requester, menu, kAnchor); }
  // A frame after ms of the manual clock; the log keeps every frame.
  void Frame(double ms) {
    g.Clock().advance(ms);
    g.DrawFrame();
  }
  void Hover(const Panel& panel, int row) {
    const IRECT r = panel.GetRow(row);
    g.OnMouseOver(r.MW(), r.MH(), IMouseMod());
  }
  // The pointer stays over the menu after the click.
  void Click(float x, float y) {
    g.OnMouseDown(x, y, kLeft);
    g.OnMouseUp(x, y, kLeft);
  }
  void ClickRow(const Panel& panel, int row) {
    const IRECT r = panel.GetRow(row);
    Hover(panel, row);
    Click(r.MW(), r.MH());
  }
  // Runs the fade-out to the end.
  void LetClose() {
    for (int i = 0; i < 4; ++i)
      Frame(101);
  }

  static inline const IRECT kAnchor{100, 100, 150, 120};
  LoggingControl* under;
  Requester* requester;
};

TEST_F(PopupMenuInteraction, WithoutNativeMenusTheFirstPopupAttachesTheControlAndFadesItIn) {
  IPopupMenu menu("", {"One", "Two", "Three"});
  ASSERT_EQ(g.GetPopupMenuControl(), nullptr);
  Open(menu);
  IPopupMenuControl& popup = Popup();
  EXPECT_EQ(g.NControls(), 2);  // kept apart from the list
  EXPECT_TRUE(g.ShownMenus().empty());
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kOpening);
  EXPECT_FALSE(popup.IsHidden());
  EXPECT_TRUE(popup.GetExpanded());
  EXPECT_EQ(PanelAt(0).GetOpacity(), 0.f);

  Frame(50);
  EXPECT_FLOAT_EQ(PanelAt(0).GetOpacity(), 0.5f * kOpaque);
  Frame(50);  // exactly at the end: not over yet
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kOpening);
  Frame(1);
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kOpen);
  EXPECT_EQ(PanelAt(0).GetOpacity(), kOpaque);
  // Once open and untouched nothing is redrawn.
  EXPECT_FALSE(g.DrawFrame());
  EXPECT_TRUE(requester->answers.empty());
}

TEST_F(PopupMenuInteraction, ChoosingAnswersTheRequesterRunsTheCompletionAndFadesOutHidden) {
  std::vector<int> completions;
  IPopupMenu menu("", {"One", "Two", "Three"},
                  [&](IPopupMenu* m) { completions.push_back(m->GetChosenItemIdx()); });
  Open(menu);
  Frame(101);
  Hover(PanelAt(0), 1);
  EXPECT_EQ(Popup().GetMouseOverRow(), 1);
  under->mEvents.clear();
  ClickRow(PanelAt(0), 1);

  EXPECT_EQ(menu.GetChosenItemIdx(), 1);
  EXPECT_EQ(completions, std::vector<int>{1});
  EXPECT_EQ(requester->answers, std::vector<IPopupMenu*>{&menu});
  EXPECT_FALSE(under->Saw("OnMouseDown"));
  IPopupMenuControl& popup = Popup();
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kChosen);
  EXPECT_TRUE(popup.IsHidden());
  EXPECT_FALSE(popup.GetExpanded());

  const IPopupMenuControl::EPopupState chain[] = {
      IPopupMenuControl::kClosing, IPopupMenuControl::kSettling, IPopupMenuControl::kClosed};
  for (IPopupMenuControl::EPopupState next : chain) {
    Frame(100);
    Frame(1);
    EXPECT_EQ(popup.GetState(), next);
  }
  EXPECT_EQ(popup.NPanels(), 0);
  EXPECT_FALSE(g.DrawFrame());
  // The menu is gone: presses reach the controls again.
  Click(10, 10);
  EXPECT_TRUE(under->Saw("OnMouseDown"));
}

TEST_F(PopupMenuInteraction, PressesBelongToTheMenuWhileItFadesIn) {
  IPopupMenu menu("", {"One", "Two"});
  Open(menu);
  Frame(30);
  ClickRow(PanelAt(0), 0);
  EXPECT_EQ(menu.GetChosenItemIdx(), 0);
  EXPECT_FALSE(under->Saw("OnMouseDown"));
  EXPECT_FALSE(requester->Saw("OnMouseDown"));
}

TEST_F(PopupMenuInteraction, ClicksBesideTheMenuOrOnRowsThatCannotBeChosenAnswerNothing) {
  std::unique_ptr<IPopupMenu> submenu(new IPopupMenu("", {"Inner"}));
  IPopupMenu menu("", {"Enabled", "Disabled", "Indented", "Separator", "Submenu"});
  menu.GetItem(1)->SetEnabled(false);
  menu.GetItem(2)->SetFlags(IPopupMenu::Item::kIndented);
  menu.GetItem(3)->SetFlags(IPopupMenu::Item::kSeparator);
  menu.AddItem("Has submenu", submenu.release());
  int completions = 0;
  menu.SetFunction([&](IPopupMenu*) { ++completions; });

  auto expectNothingChosen = [&](int expectedAnswers) {
    EXPECT_EQ(menu.GetChosenItemIdx(), -1);
    ASSERT_EQ(static_cast<int>(requester->answers.size()), expectedAnswers);
    EXPECT_EQ(requester->answers.back(), nullptr);
    EXPECT_EQ(completions, expectedAnswers);
    LetClose();
  };

  Open(menu);
  Frame(101);
  // A disabled row is not hovered; a press on it chooses nothing.
  Hover(PanelAt(0), 1);
  EXPECT_EQ(Popup().GetMouseOverRow(), -1);
  Click(PanelAt(0).GetRow(1).MW(), PanelAt(0).GetRow(1).MH());
  expectNothingChosen(1);

  Open(menu);
  Frame(101);
  Click(390, 290);  // beside every panel
  EXPECT_FALSE(under->Saw("OnMouseDown"));
  expectNothingChosen(2);

  for (int row : {2, 3, 5}) {
    Open(menu);
    Frame(101);
    ClickRow(PanelAt(0), row);
    expectNothingChosen(static_cast<int>(requester->answers.size()));
  }
  EXPECT_EQ(requester->answers.size(), 5u);
}

TEST_F(PopupMenuInteraction, EscapeClosesTheMenuWithNothingChosenAndTheKeyGoesNoFurther) {
  IPopupMenu menu("", {"One", "Two"});
  under->mHandleKeys = true;
  Open(menu);
  Frame(101);
  Hover(PanelAt(0), 0);
  EXPECT_TRUE(g.OnKeyDown(10, 10, IKeyPress("", iplug::kVK_ESCAPE)));
  EXPECT_FALSE(under->Saw("OnKeyDown"));
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(requester->answers, std::vector<IPopupMenu*>{nullptr});
  EXPECT_EQ(Popup().GetState(), IPopupMenuControl::kChosen);
  // Other keys, and Escape with no menu open, go on to the control under the pointer.
  LetClose();
  EXPECT_TRUE(g.OnKeyDown(10, 10, IKeyPress("", iplug::kVK_ESCAPE)));
  EXPECT_TRUE(under->Saw("OnKeyDown"));
}

TEST_F(PopupMenuInteraction, ARightClickOpensTheContextMenuAndTheReleaseLetsTheControlGo) {
  requester->mContextItems = {"Copy", "Paste"};
  const float x = kAnchor.MW(), y = kAnchor.MH();
  g.OnMouseDown(x, y, kRight);
  ASSERT_NE(g.GetPopupMenuControl(), nullptr);
  EXPECT_TRUE(Popup().GetExpanded());
  g.OnMouseUp(x, y, kRight);
  EXPECT_FALSE(g.ControlIsCaptured());
  Frame(101);
  ClickRow(PanelAt(0), 1);
  EXPECT_TRUE(requester->Saw("OnContextMenuSelection 1"));
}

TEST_F(PopupMenuInteraction, AnEnumCaptionClickedOnLinuxIsSetFromTheInterfaceMenu) {
  auto* caption = static_cast<ICaptionControl*>(g.AttachControl(new ICaptionControl(
      IRECT(10, 10, 90, 30), FakeEditorDelegate::kParamEnum, IText(), COLOR_WHITE, false)));
  dlg.ClearCalls();
  Click(50, 20);
  ASSERT_TRUE(Popup().GetExpanded());
  Frame(101);
  ClickRow(PanelAt(0), 3);  // "High"
  EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0);
  // The gesture begun by the press ended with the menu's answer, once.
  int ends = 0;
  for (const auto& call : dlg.Calls())
    ends += call.kind == FakeEditorDelegate::Call::kEnd;
  EXPECT_EQ(ends, 1);
}

// A caption that remembers every menu handed back to it.
class RecordingCaption : public ICaptionControl {
 public:
  using ICaptionControl::ICaptionControl;
  void OnPopupMenuSelection(IPopupMenu* menu, int valIdx) override {
    answers.push_back(menu);
    ICaptionControl::OnPopupMenuSelection(menu, valIdx);
  }
  std::vector<IPopupMenu*> answers;
};

TEST_F(PopupMenuInteraction, RemovingThePopupControlAnswersNothingChosenAndEndsTheGesture) {
  auto* caption = static_cast<RecordingCaption*>(g.AttachControl(new RecordingCaption(
      IRECT(10, 10, 90, 30), FakeEditorDelegate::kParamEnum, IText(), COLOR_WHITE, false)));
  caption->SetValue(1.0 / 3.0);
  dlg.ClearCalls();
  g.OnMouseDown(50, 20, kLeft);  // held: the gesture stays open until the menu answers
  ASSERT_TRUE(Popup().GetExpanded());
  Frame(101);
  g.RemovePopupMenuControl();
  EXPECT_EQ(g.GetPopupMenuControl(), nullptr);
  EXPECT_EQ(caption->answers, std::vector<IPopupMenu*>{nullptr});
  EXPECT_EQ(g.GetControlInPopupMenu(), nullptr);
  EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0 / 3.0);
  g.OnMouseUp(50, 20, kLeft);  // the release ends nothing more
  const int p = FakeEditorDelegate::kParamEnum;
  EXPECT_EQ(dlg.Calls(),
            (std::vector<FakeEditorDelegate::Call>{{FakeEditorDelegate::Call::kBegin, p, 0},
                                                   {FakeEditorDelegate::Call::kEnd, p, 0}}));
}

TEST_F(PopupMenuInteraction, ARequesterThatRemovesThePopupControlInReplyIsAnsweredOnce) {
  class Remover : public Requester {
   public:
    using Requester::Requester;
    void OnPopupMenuSelection(IPopupMenu* menu, int valIdx) override {
      Requester::OnPopupMenuSelection(menu, valIdx);
      GetUI()->RemovePopupMenuControl();
    }
  };
  auto* remover = static_cast<Remover*>(g.AttachControl(new Remover(IRECT(0, 0, 10, 10))));
  IPopupMenu menu("", {"One"});
  g.CreatePopupMenu(*remover, menu, IRECT(0, 0, 10, 10));
  Frame(101);
  g.RemovePopupMenuControl();
  EXPECT_EQ(remover->answers, std::vector<IPopupMenu*>{nullptr});
  EXPECT_EQ(g.GetPopupMenuControl(), nullptr);
  Frame(101);  // nothing is left to animate
}

TEST_F(PopupMenuInteraction, ARequestWhileAMenuShowsIsAnsweredAtOnceAndTheShownMenuStays) {
  IPopupMenu first("", {"One", "Two"});
  IPopupMenu second("", {"A", "B"});
  second.SetChosenItemIdx(1);
  auto* other = static_cast<Requester*>(g.AttachControl(new Requester(IRECT(0, 0, 10, 10))));
  Open(first);
  Frame(101);
  g.CreatePopupMenu(*other, second, IRECT(0, 0, 10, 10));
  EXPECT_EQ(other->answers, std::vector<IPopupMenu*>{nullptr});
  EXPECT_EQ(second.GetChosenItemIdx(), -1);
  EXPECT_EQ(&PanelAt(0).GetMenu(), &first);
  EXPECT_EQ(Popup().GetAnchor(), kAnchor);

  ClickRow(PanelAt(0), 1);
  EXPECT_EQ(requester->answers, std::vector<IPopupMenu*>{&first});
  EXPECT_EQ(other->answers.size(), 1u);

  // Still fading out: the next request is answered at once too, and shows nothing.
  g.CreatePopupMenu(*other, second, IRECT(0, 0, 10, 10));
  EXPECT_EQ(other->answers.size(), 2u);
  EXPECT_TRUE(Popup().IsHidden());
  LetClose();
  g.CreatePopupMenu(*other, second, IRECT(0, 0, 10, 10));
  EXPECT_TRUE(Popup().GetExpanded());
}

TEST_F(PopupMenuInteraction, AnEmptyMenuDoesNotOpenAndIsAnsweredAtOnce) {
  IPopupMenu empty;
  empty.SetChosenItemIdx(0);
  Open(empty);
  EXPECT_EQ(requester->answers, std::vector<IPopupMenu*>{nullptr});
  EXPECT_EQ(empty.GetChosenItemIdx(), -1);
  EXPECT_EQ(Popup().GetState(), IPopupMenuControl::kClosed);
  EXPECT_TRUE(Popup().IsHidden());
  EXPECT_EQ(g.GetControlInPopupMenu(), nullptr);
}

TEST_F(PopupMenuInteraction, RemovingTheRequesterClosesItsMenuAtOnce) {
  requester->ownMenu = std::make_unique<IPopupMenu>("", std::initializer_list<const char*>{"a"});
  Open(*requester->ownMenu);
  Frame(101);
  g.RemoveControl(requester);  // its menu goes with it
  EXPECT_EQ(Popup().GetState(), IPopupMenuControl::kClosed);
  EXPECT_EQ(Popup().NPanels(), 0);
  g.OnMouseOver(kAnchor.MW(), kAnchor.B + 12, IMouseMod());
  Click(kAnchor.MW(), kAnchor.B + 12);
  Frame(101);
  EXPECT_TRUE(under->Saw("OnMouseDown"));
}

// "Plain", "More" (submenu: "Sub A", "Sub B", "Deeper" (submenu: "Deep 1")), "Last".
class PopupSubmenus : public PopupMenuInteraction {
 protected:
  PopupSubmenus() {
    menu.AddItem("Plain");
    auto* more = new IPopupMenu("", {"Sub A", "Sub B"});
    more->AddItem("Deeper", new IPopupMenu("", {"Deep 1"}));
    menu.AddItem("More", more);
    menu.AddItem("Last");
    Open(menu);
    Frame(101);
  }
  IPopupMenu menu{"", {}, [this](IPopupMenu* m) { completed.push_back(m); }};
  std::vector<IPopupMenu*> completed;
};

TEST_F(PopupSubmenus, HoveringASubmenuRowShowsItsPanelOnceAfterMostOfTwoHundredMs) {
  Hover(PanelAt(0), 1);
  IPopupMenuControl& popup = Popup();
  ASSERT_EQ(popup.NPanels(), 2);
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kSubmenuOpening);
  EXPECT_EQ(&PanelAt(1).GetMenu(), menu.GetItem(1)->GetSubmenu());
  EXPECT_EQ(PanelAt(1).GetParentIdx(), 0);
  EXPECT_EQ(PanelAt(0).GetHighlightedRow(), 1);

  Frame(150);
  EXPECT_EQ(PanelAt(1).GetOpacity(), 0.f);
  // Moves within the row neither restart the animation nor add panels.
  Hover(PanelAt(0), 1);
  Hover(PanelAt(0), 1);
  EXPECT_EQ(popup.NPanels(), 2);
  Frame(40);
  EXPECT_EQ(PanelAt(1).GetOpacity(), kOpaque);
  Frame(11);
  EXPECT_EQ(popup.GetState(), IPopupMenuControl::kOpen);
  EXPECT_FALSE(g.DrawFrame());
}

TEST_F(PopupSubmenus, MovingBackToAPlainRowHidesTheSubmenuAndEverythingOpenedFromIt) {
  Hover(PanelAt(0), 1);
  Frame(201);
  Hover(PanelAt(1), 2);  // "Deeper"
  ASSERT_EQ(Popup().NPanels(), 3);
  EXPECT_EQ(Popup().GetActivePanel(), &PanelAt(1));
  EXPECT_TRUE(PanelAt(2).IsVisible());
  Frame(201);

  Hover(PanelAt(0), 0);
  EXPECT_EQ(Popup().GetActivePanel(), &PanelAt(0));
  EXPECT_FALSE(PanelAt(1).IsVisible());
  EXPECT_FALSE(PanelAt(2).IsVisible());
  EXPECT_EQ(PanelAt(0).GetHighlightedRow(), -1);

  // Back on the submenu row: the same panels show again, none is added.
  Hover(PanelAt(0), 1);
  EXPECT_TRUE(PanelAt(1).IsVisible());
  EXPECT_FALSE(PanelAt(2).IsVisible());
  EXPECT_EQ(Popup().NPanels(), 3);
}

TEST_F(PopupSubmenus, ChoosingInASubmenuAnswersWithTheSubmenu) {
  IPopupMenu* more = menu.GetItem(1)->GetSubmenu();
  Hover(PanelAt(0), 1);
  // A press while the submenu is still appearing belongs to the menu too.
  Frame(100);
  ClickRow(PanelAt(1), 1);
  EXPECT_EQ(more->GetChosenItemIdx(), 1);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(requester->answers, std::vector<IPopupMenu*>{more});
  EXPECT_EQ(completed, std::vector<IPopupMenu*>{more});  // handed down by AddItem
  EXPECT_FALSE(under->Saw("OnMouseDown"));
}

// Thirty items in an area 180 high.
class PopupScrolling : public PopupMenuInteraction {
 protected:
  PopupScrolling() {
    for (int i = 1; i <= 30; ++i)
      menu.AddItem(("Item " + std::to_string(i)).c_str());
    g.AttachPopupMenuControl();
    Popup().SetMenuBounds(kArea);
    Open(menu);
    Frame(101);
  }
  void HoverLastRow(int times) {
    for (int i = 0; i < times; ++i)
      Hover(PanelAt(0), PanelAt(0).NRows() - 1);
  }
  static inline const IRECT kArea{0, 0, 400, 180};
  IPopupMenu menu;
};

TEST_F(PopupScrolling, ATallMenuStartsAtTheTopOfItsAreaWithTheRowsThatFit) {
  const Panel& panel = PanelAt(0);
  EXPECT_TRUE(panel.GetScrolls());
  EXPECT_EQ(panel.NRows(), 10);  // (180 - 5 - 15) / (14 + 2)
  EXPECT_EQ(panel.GetRow(0).T, 15.f);
  EXPECT_GE(panel.GetTargetRect().T, kArea.T);
  EXPECT_LE(panel.GetTargetRect().B, kArea.B);
  EXPECT_EQ(panel.GetMarker(9), 1);
  EXPECT_EQ(panel.GetMarker(0), 0);
}

TEST_F(PopupScrolling, HoveringTheMarkersScrollsOneItemPerMove) {
  HoverLastRow(1);
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 1);
  HoverLastRow(30);
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 20);
  EXPECT_EQ(PanelAt(0).GetMarker(9), 0);  // the last item shows
  for (int i = 0; i < 19; ++i)
    Hover(PanelAt(0), 0);
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 1);
  Hover(PanelAt(0), 0);
  Hover(PanelAt(0), 0);
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 0);
}

TEST_F(PopupScrolling, RowsChooseTheItemTheyShowAndMarkersNothing) {
  HoverLastRow(5);
  ASSERT_EQ(PanelAt(0).GetScrollItemOffset(), 5);
  const IRECT row3 = PanelAt(0).GetRow(3);
  g.OnMouseOver(row3.MW(), row3.MH(), IMouseMod());
  Click(row3.MW(), row3.MH());
  EXPECT_EQ(menu.GetChosenItemIdx(), 8);  // "Item 9"
  LetClose();

  // The up marker hides item 5 of the list; a press on it chooses nothing.
  Open(menu);
  Frame(101);
  HoverLastRow(5);
  const IRECT up = PanelAt(0).GetRow(0);
  ASSERT_EQ(PanelAt(0).GetMarker(0), -1);
  Click(up.MW(), up.MH());
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(requester->answers.back(), nullptr);
}

TEST_F(PopupScrolling, AMarkerOverADisabledItemStillScrolls) {
  menu.GetItem(0)->SetEnabled(false);
  HoverLastRow(2);
  Hover(PanelAt(0), 0);  // the up marker, in front of the disabled first item
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 1);
  Hover(PanelAt(0), 0);
  EXPECT_EQ(PanelAt(0).GetScrollItemOffset(), 0);
  // Now row 0 shows the disabled item itself: not hovered.
  Hover(PanelAt(0), 0);
  EXPECT_EQ(Popup().GetMouseOverRow(), -1);
}

}  // namespace
