#pragma once

#include <vector>

#include "platform/core/Menu.h"
#include "platform/core/Panel.h"
#include "platform/core/Timer.h"
#include "platform/drawing/Font.h"

namespace platform {

// The level of menus: above every other window.
inline constexpr int NSPopUpMenuWindowLevel = 101;

// A menu shown as a window of its own: a borderless panel listing the menu's items in the
// menu's font, at least as wide as the menu's minimum width and at most as wide as the
// screen (a title too long for that is cut as controldrawing::fittedText cuts), drawn with
// Cairo and tracked by the mouse and the keys (arrows move, Return or Space chooses, an
// item's mnemonic chooses it, Escape or a click outside dismisses). The press that opened
// the menu, released soon and near where it went down, was a click: the menu stays open for
// the next one. Released anywhere else it chooses the item under it. An item with a submenu
// opens it in a window beside the item when the pointer rests on it or on the right arrow;
// the left arrow and Escape close the innermost submenu; in a menu from a menu bar, the
// left and right arrows go on to the bar's neighbouring menus. A menu taller than the
// screen shows what fits and scrolls: by the wheel, by the arrows following the highlighted
// item, and by resting on the arrow at an edge with items beyond. The menu closes unchosen
// when the modal run it was opened in is ended (a quit). It is an ordinary platform window,
// so the headless harness drives it with events like any other; on X11 it is an
// override-redirect window that holds the pointer and keyboard grabs while shown (the
// innermost open one).
class NSMenuWindow : public NSPanel {
 public:
  static constexpr double kItemHeight = 20;
  static constexpr double kSeparatorHeight = 9;
  static constexpr double kHorizontalPadding = 18;
  static constexpr double kMinimumWidth = 60;
  // Idle steps of a virtual-time wait after which an unanswered menu is dismissed.
  static constexpr int kVirtualIdleLimit = 600;
  // A release that ends a click on the opening press: this soon after it, this near.
  static constexpr double kClickSeconds = 0.5;
  static constexpr double kClickDistance = 4;
  // A menu taller than the screen scrolls: the band at an edge with items beyond it shows
  // an arrow, and the pointer resting there scrolls an item each interval.
  static constexpr double kScrollBand = 10;
  static constexpr double kAutoScrollSeconds = 0.05;

  // A window for the menu (retained) whose top left corner is at the screen point (y up),
  // or whose positioned item's is, with that item highlighted; moved onto the main screen
  // when it would stick out.
  NSMenuWindow(NSMenu* menu, NSPoint topLeft, NSMenuItem* positionedItem = nullptr);

  // Shows the menu as asked and tracks it until an item is chosen or the menu is
  // dismissed: a nested loop in the event-tracking mode (its timers run; other windows
  // get no input). Returns the chosen item, null when dismissed. The item's action is
  // not sent: the caller decides. The item stays the menu's.
  static NSMenuItem* popUpMenu(NSMenu* menu, NSPoint topLeft);
  static NSMenuItem* popUpMenu(NSMenu* menu, NSMenuPopUp& popUp);
  // The menu tracker that shows pop-ups as menu windows: NSMenu::popUpMenu uses it while
  // a display backend shows windows (headless programs and tests have their own).
  static MenuTracker* tracker();
  NSMenuItem* track();
  // Left and Right at the top level move along a menu bar (see NSMenuPopUp).
  void setFromMenuBar(bool fromMenuBar) { mFromMenuBar = fromMenuBar; }
  // -1 or 1 when the last tracking ended by moving along the bar, else 0.
  int barStep() const { return mBarStep; }
  // Ends the tracking from outside (an item, or null to dismiss).
  void finish(NSMenuItem* chosen);

  NSMenu* menu() const { return mMenu; }
  // The items shown (hidden ones left out), in order.
  const std::vector<Ref<NSMenuItem>>& shownItems() const { return mShown; }
  // The title a shown item's row shows: fitted to the row, left of any submenu arrow.
  std::string shownTitle(int index) const;
  // The highlighted item's index in shownItems(), -1 for none.
  int highlightedIndex() const { return mHighlighted; }
  // Where a shown item lies in the window (y up).
  NSRect rectOfItem(int index) const;
  // The shown item under a point of the window, -1 for none (an arrow at an edge).
  int itemAtPoint(NSPoint point) const;
  // How far the items are scrolled up, in points (0: the first item at the top), and the
  // most they can be.
  double scrollOffset() const { return mScroll; }
  double maxScroll() const;
  // Scrolls by so many points (positive: on towards the last items), within the items.
  void scrollBy(double points);

  bool canBecomeKeyWindow() const override { return false; }
  bool isTracking() const { return mTracking; }
  const NSFont& font() const { return mFont; }
  // The submenu window open beside this one, or null.
  NSMenuWindow* openSubmenu() const { return mSubmenu.get(); }

 protected:
  void dealloc() override;

 private:
  friend class MenuView;
  void handle(const NSEvent& event);
  void handleKey(const NSEvent& event);
  // Whether a release ends the click of the press that opened the menu.
  bool endsOpeningClick(const NSEvent& release);
  // The innermost open menu window of the chain starting here.
  NSMenuWindow* innermost();
  // The innermost open menu window under the event's point, with the point in it.
  NSMenuWindow* menuUnder(const NSEvent& event, NSPoint* where);
  // Opens the submenu of a shown item beside it (its first choosable item highlighted
  // when asked); closes any other open submenu first.
  void openSubmenuOf(int index, bool highlightFirst);
  void closeSubmenu();
  bool containsPoint(NSPoint point) const;
  void moveHighlight(int step);
  // Scrolls as little as shows the item clear of the arrows.
  void scrollToShow(int index);
  // -1 on the arrow towards the first items, 1 on the one towards the last, else 0.
  int scrollDirectionAt(NSPoint point) const;
  // Starts (a direction) or stops (0) scrolling a window of the chain while the pointer rests
  // on its arrow.
  void setAutoScroll(NSMenuWindow* window, int direction);
  void setHighlighted(int index);
  bool choosable(int index) const;
  NSPoint pointInThisWindow(const NSEvent& event) const;

  NSMenu* mMenu;  // retained
  Ref<NSMenuWindow> mSubmenu;
  int mSubmenuIndex = -1;               // the shown item whose submenu is open
  NSMenuWindow* mParentMenu = nullptr;  // the window this one opened from (it owns this)
  // Held while shown: a timer may take items out of the menu while it is up.
  std::vector<Ref<NSMenuItem>> mShown;
  std::vector<double> mTops;  // each item's top, from the top of all the items
  double mItemsHeight = 0;    // all the items, borders included
  double mScroll = 0;
  // The window the pointer rests on an arrow of, the way it scrolls (0: none), and the
  // timer that scrolls it while it does.
  NSMenuWindow* mAutoScrollWindow = nullptr;
  int mAutoScroll = 0;
  Ref<NSTimer> mAutoScrollTimer;
  NSFont mFont = NSFont::systemFontOfSize(NSFont::systemFontSize());
  int mHighlighted = -1;
  bool mTracking = false;
  bool mDone = false;
  Ref<NSMenuItem> mChosen;
  bool mFromMenuBar = false;
  int mBarStep = 0;
  // The press that opened the menu, until the first release or another press.
  bool mOpeningPress = false;
  NSPoint mPressScreenPoint;
  double mPressTime = 0;
};

}  // namespace platform
