#include "platform/core/MenuWindow.h"

#include <algorithm>
#include <cmath>

#include "platform/core/Application.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/Menu.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Timer.h"
#include "platform/core/View.h"
#include "platform/objects/Screen.h"
#include "platform/system/Clock.h"

namespace platform {

namespace {

constexpr double kMenuBorder = 1;
// The room of the check mark left of the titles and of the submenu arrow right of them.
constexpr double kMarkWidth = 14;
const NSColor kMenuBackground{0.97, 0.97, 0.97, 1};
const NSColor kHighlight{0.25, 0.46, 0.85, 1};
const NSColor kDisabledText{0.6, 0.6, 0.6, 1};
const NSColor kSeparator{0.8, 0.8, 0.8, 1};
const NSColor kBorder{0.6, 0.6, 0.6, 1};

}  // namespace

// Draws the items of its menu window, top down.
class MenuView : public NSView {
 public:
  MenuView(NSMenuWindow* window, const NSRect& frame) : NSView(frame), mMenuWindow(window) {}
  bool isFlipped() const override { return true; }
  void drawRect(const NSRect&) override {
    NSMenuWindow* w = mMenuWindow;
    controldrawing::topDown(this, [&](CGContext* cg) {
      NSRect all = bounds();
      controldrawing::fillRect(cg, all, kMenuBackground);
      controldrawing::strokeRect(cg, all, kBorder);
      for (int i = 0; i < static_cast<int>(w->mShown.size()); ++i) {
        NSMenuItem* item = w->mShown[i].get();
        const double top = w->mTops[i] - w->mScroll;
        if (top + NSMenuWindow::kItemHeight < 0 || top > all.size.height) continue;
        if (item->isSeparatorItem()) {
          controldrawing::fillRect(cg,
                                   NSMakeRect(kMenuBorder, top + NSMenuWindow::kSeparatorHeight / 2,
                                              all.size.width - 2 * kMenuBorder, 1),
                                   kSeparator);
          continue;
        }
        NSRect row = NSMakeRect(kMenuBorder, top, all.size.width - 2 * kMenuBorder,
                                NSMenuWindow::kItemHeight);
        bool lit = i == w->mHighlighted;
        if (lit) controldrawing::fillRect(cg, row, kHighlight);
        NSColor text = !item->isEnabled() ? kDisabledText
                       : lit              ? NSColor::whiteColor()
                                          : NSColor::textColor();
        NSRect label = NSMakeRect(NSMenuWindow::kHorizontalPadding, top,
                                  all.size.width - 2 * NSMenuWindow::kHorizontalPadding,
                                  NSMenuWindow::kItemHeight);
        if (item->state() == NSControlStateValueOn)
          controldrawing::drawText(cg, "\xE2\x9C\x93",
                                   NSMakeRect(4, top, kMarkWidth, row.size.height), w->mFont, text,
                                   NSTextAlignmentLeft);
        controldrawing::drawText(cg, w->shownTitle(i), label, w->mFont, text, NSTextAlignmentLeft);
        if (item->hasSubmenu())
          controldrawing::drawText(cg, "\xE2\x96\xB8", label, w->mFont, text, NSTextAlignmentRight);
      }
      // Where more items lie beyond an edge, an arrow over them there.
      const double band = NSMenuWindow::kScrollBand;
      if (w->mScroll > 0) {
        const NSRect top =
            NSMakeRect(kMenuBorder, kMenuBorder, all.size.width - 2 * kMenuBorder, band);
        controldrawing::fillRect(cg, top, kMenuBackground);
        controldrawing::drawText(cg, "\xE2\x96\xB4", top, w->mFont, NSColor::textColor(),
                                 NSTextAlignmentCenter);
      }
      if (w->mScroll < w->maxScroll()) {
        const NSRect bottom = NSMakeRect(kMenuBorder, all.size.height - kMenuBorder - band,
                                         all.size.width - 2 * kMenuBorder, band);
        controldrawing::fillRect(cg, bottom, kMenuBackground);
        controldrawing::drawText(cg, "\xE2\x96\xBE", bottom, w->mFont, NSColor::textColor(),
                                 NSTextAlignmentCenter);
      }
    });
  }

 private:
  NSMenuWindow* mMenuWindow;  // owns this view
};

NSMenuWindow::NSMenuWindow(NSMenu* menu, NSPoint topLeft, NSMenuItem* positionedItem)
    : NSPanel(NSMakeRect(0, 0, kMinimumWidth, kItemHeight), NSWindowStyleMaskBorderless),
      mMenu(menu) {
  if (mMenu) mMenu->retain();
  setReleasedWhenClosed(false);
  setLevel(NSPopUpMenuWindowLevel);
  double width = kMinimumWidth, height = 2 * kMenuBorder;
  int positioned = -1;
  if (mMenu) {
    if (mMenu->font()) mFont = *mMenu->font();
    width = std::max(width, mMenu->minimumWidth());
    // Asked here alone, right before the items are read: once for each showing.
    mMenu->menuWillOpen();
    for (NSMenuItem* item : mMenu->itemArray()) {
      if (item->isHidden()) continue;
      if (item == positionedItem) positioned = static_cast<int>(mShown.size());
      mShown.emplace_back(item);
      mTops.push_back(height - kMenuBorder);
      height += item->isSeparatorItem() ? kSeparatorHeight : kItemHeight;
      // Measured as drawn: the title's rectangle lies between the paddings.
      double title = controldrawing::textFittingWidth(item->title(), mFont);
      if (item->hasSubmenu()) title += kMarkWidth;
      width = std::max(width, title + 2 * kHorizontalPadding);
    }
  }
  // The positioned item's top edge lies at the point.
  if (positioned >= 0) topLeft.y += mTops[positioned];
  mItemsHeight = height;
  // Kept on the main screen: a menu never opens beyond its edges. One taller than the
  // screen shows what fits and scrolls.
  NSRect content = NSMakeRect(topLeft.x, topLeft.y - height, std::ceil(width), height);
  if (const NSScreen* screen = NSScreen::mainScreen()) {
    NSRect s = screen->frame;
    if (content.size.width > s.size.width && s.size.width > 0)
      content.size.width = std::max(kMinimumWidth, std::floor(s.size.width));
    if (content.size.height > s.size.height && s.size.height > 0) {
      content.size.height = s.size.height;
      content.origin.y = topLeft.y - content.size.height;
    }
    content.origin.x =
        std::clamp(content.origin.x, s.minX(), std::max(s.minX(), s.maxX() - content.size.width));
    content.origin.y =
        std::clamp(content.origin.y, s.minY(), std::max(s.minY(), s.maxY() - content.size.height));
  }
  setFrame(content, false);
  auto* view = new MenuView(this, NSMakeRect(0, 0, content.size.width, content.size.height));
  setContentView(view);
  view->release();
  setHighlighted(positioned);
  scrollToShow(positioned);
}

void NSMenuWindow::dealloc() {
  setAutoScroll(nullptr, 0);
  closeSubmenu();
  if (mMenu) mMenu->release();
  mMenu = nullptr;
  NSPanel::dealloc();
}

std::string NSMenuWindow::shownTitle(int index) const {
  if (index < 0 || index >= static_cast<int>(mShown.size())) return {};
  const NSMenuItem* item = mShown[index].get();
  const double room =
      contentRect().size.width - 2 * kHorizontalPadding - (item->hasSubmenu() ? kMarkWidth : 0);
  return controldrawing::fittedText(item->title(), mFont, room);
}

NSRect NSMenuWindow::rectOfItem(int index) const {
  if (index < 0 || index >= static_cast<int>(mShown.size())) return {};
  double height = mShown[index]->isSeparatorItem() ? kSeparatorHeight : kItemHeight;
  double contentHeight = contentRect().size.height;
  return NSMakeRect(0, contentHeight - (mTops[index] - mScroll) - height, contentRect().size.width,
                    height);
}

double NSMenuWindow::maxScroll() const {
  return std::max(0.0, mItemsHeight - contentRect().size.height);
}

int NSMenuWindow::scrollDirectionAt(NSPoint p) const {
  if (!containsPoint(p)) return 0;
  if (mScroll > 0 && p.y >= contentRect().size.height - kScrollBand) return -1;
  if (mScroll < maxScroll() && p.y < kScrollBand) return 1;
  return 0;
}

void NSMenuWindow::scrollBy(double points) {
  const double scroll = std::clamp(mScroll + points, 0.0, maxScroll());
  if (scroll == mScroll) return;
  // A submenu beside an item that moves would be left behind.
  closeSubmenu();
  mScroll = scroll;
  if (contentView()) contentView()->setNeedsDisplay(true);
}

void NSMenuWindow::setAutoScroll(NSMenuWindow* window, int direction) {
  mAutoScrollWindow = direction ? window : nullptr;
  mAutoScroll = direction;
  if (!direction) {
    if (mAutoScrollTimer) mAutoScrollTimer->invalidate();
    mAutoScrollTimer.reset();
    return;
  }
  if (mAutoScrollTimer) return;
  mAutoScrollTimer = NSTimer::timerWithTimeInterval(kAutoScrollSeconds, true, [this](NSTimer*) {
    // Only a window of this menu's chain that is still open scrolls.
    for (NSMenuWindow* w = innermost(); w; w = w->mParentMenu)
      if (w == mAutoScrollWindow) w->scrollBy(mAutoScroll * kItemHeight);
  });
  NSRunLoop::mainRunLoop().addTimer(mAutoScrollTimer.get(), NSEventTrackingRunLoopMode);
}

void NSMenuWindow::scrollToShow(int index) {
  if (index < 0 || index >= static_cast<int>(mShown.size()) || maxScroll() <= 0) return;
  // Clear of the arrows at both edges.
  const double top = mTops[index] - kScrollBand;
  const double bottom = mTops[index] + kItemHeight + kScrollBand - contentRect().size.height;
  if (top < mScroll)
    scrollBy(top - mScroll);
  else if (bottom > mScroll)
    scrollBy(bottom - mScroll);
}

int NSMenuWindow::itemAtPoint(NSPoint p) const {
  // The arrows over items beyond an edge scroll; they choose nothing.
  if (scrollDirectionAt(p) != 0) return -1;
  for (int i = 0; i < static_cast<int>(mShown.size()); ++i)
    if (NSPointInRect(p, rectOfItem(i))) return i;
  return -1;
}

bool NSMenuWindow::choosable(int index) const {
  return index >= 0 && index < static_cast<int>(mShown.size()) &&
         !mShown[index]->isSeparatorItem() && mShown[index]->isEnabled();
}

void NSMenuWindow::setHighlighted(int index) {
  if (!choosable(index)) index = -1;
  if (index == mHighlighted) return;
  mHighlighted = index;
  if (contentView()) contentView()->setNeedsDisplay(true);
}

void NSMenuWindow::moveHighlight(int step) {
  int count = static_cast<int>(mShown.size());
  int i = mHighlighted;
  for (int tries = 0; tries < count; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
    if (choosable(i)) {
      setHighlighted(i);
      scrollToShow(i);
      return;
    }
  }
}

void NSMenuWindow::finish(NSMenuItem* chosen) {
  mChosen = chosen;
  mDone = true;
  NSRunLoop::mainRunLoop().wakeUp();
}

NSPoint NSMenuWindow::pointInThisWindow(const NSEvent& e) const {
  if (e.window == this || !e.window || !isLiveObject(e.window)) return e.locationInWindow;
  return convertPointFromScreen(e.window->convertPointToScreen(e.locationInWindow));
}

bool NSMenuWindow::containsPoint(NSPoint p) const {
  return NSPointInRect(p, NSMakeRect(0, 0, contentRect().size.width, contentRect().size.height));
}

NSMenuWindow* NSMenuWindow::innermost() {
  NSMenuWindow* w = this;
  while (w->mSubmenu)
    w = w->mSubmenu.get();
  return w;
}

NSMenuWindow* NSMenuWindow::menuUnder(const NSEvent& e, NSPoint* where) {
  // Submenus lie over their parents: the innermost window under the point takes it.
  for (NSMenuWindow* w = innermost(); w; w = w->mParentMenu) {
    NSPoint p = w->pointInThisWindow(e);
    if (w->containsPoint(p)) {
      *where = p;
      return w;
    }
  }
  return nullptr;
}

void NSMenuWindow::openSubmenuOf(int index, bool highlightFirst) {
  closeSubmenu();
  if (!choosable(index) || !mShown[index]->hasSubmenu()) return;
  NSMenu* submenu = mShown[index]->submenu();
  // Beside the item, its first row level with the item.
  NSRect item = rectOfItem(index);
  NSPoint topLeft = convertPointToScreen(
      NSMakePoint(contentRect().size.width - kMenuBorder, item.maxY() + kMenuBorder));
  mSubmenu = Ref<NSMenuWindow>::adopt(new NSMenuWindow(submenu, topLeft));
  mSubmenu->mParentMenu = this;
  mSubmenu->mTracking = true;
  mSubmenuIndex = index;
  mSubmenu->orderFront();
  if (highlightFirst) mSubmenu->moveHighlight(1);
  mSubmenu->display();
}

void NSMenuWindow::closeSubmenu() {
  if (!mSubmenu) return;
  Ref<NSMenuWindow> submenu = std::move(mSubmenu);
  mSubmenu.reset();
  mSubmenuIndex = -1;
  submenu->closeSubmenu();
  submenu->mTracking = false;
  submenu->mParentMenu = nullptr;
  submenu->orderOut();
  submenu->close();
}

void NSMenuWindow::handleKey(const NSEvent& e) {
  NSMenuWindow* w = innermost();
  const int lit = w->mHighlighted;
  const bool opensSubmenu = w->choosable(lit) && w->mShown[lit]->hasSubmenu();
  switch (e.keyCode) {
    case kVK_DownArrow:
      w->moveHighlight(1);
      return;
    case kVK_UpArrow:
      w->moveHighlight(-1);
      return;
    case kVK_RightArrow:
      if (opensSubmenu) {
        w->openSubmenuOf(lit, true);
      } else if (mFromMenuBar) {
        mBarStep = 1;
        finish(nullptr);
      }
      return;
    case kVK_LeftArrow:
      if (w->mParentMenu) {
        w->mParentMenu->closeSubmenu();
      } else if (mFromMenuBar) {
        mBarStep = -1;
        finish(nullptr);
      }
      return;
    case kVK_Escape:
      if (w->mParentMenu)
        w->mParentMenu->closeSubmenu();
      else
        finish(nullptr);
      return;
    case kVK_Return:
    case kVK_ANSI_KeypadEnter:
    case kVK_Space:
      if (opensSubmenu)
        w->openSubmenuOf(lit, true);
      else
        finish(w->choosable(lit) ? w->mShown[lit].get() : nullptr);
      return;
    default:
      break;
  }
  // A character, alone or with Option, that is the mnemonic of one item chooses it as
  // Return does; of several, it lights the next of them.
  if (e.modifierFlags & (NSEventModifierFlagCommand | NSEventModifierFlagControl)) return;
  std::vector<int> named;
  for (int i = 0; i < static_cast<int>(w->mShown.size()); ++i)
    if (w->choosable(i) && w->mShown[i]->hasMnemonic(e.charactersIgnoringModifiers))
      named.push_back(i);
  if (named.empty()) return;
  if (named.size() > 1) {
    const auto after = std::upper_bound(named.begin(), named.end(), lit);
    w->setHighlighted(after == named.end() ? named.front() : *after);
    w->scrollToShow(w->mHighlighted);
    return;
  }
  w->setHighlighted(named.front());
  if (w->mShown[named.front()]->hasSubmenu())
    w->openSubmenuOf(named.front(), true);
  else
    finish(w->mShown[named.front()].get());
}

bool NSMenuWindow::endsOpeningClick(const NSEvent& release) {
  if (!mOpeningPress) return false;
  mOpeningPress = false;
  NSPoint at = release.window && isLiveObject(release.window)
                   ? release.window->convertPointToScreen(release.locationInWindow)
                   : release.locationInWindow;
  return release.timestamp - mPressTime <= kClickSeconds &&
         std::hypot(at.x - mPressScreenPoint.x, at.y - mPressScreenPoint.y) <= kClickDistance;
}

void NSMenuWindow::handle(const NSEvent& e) {
  switch (e.type) {
    case NSEventTypeMouseMoved:
    case NSEventTypeLeftMouseDragged:
    case NSEventTypeRightMouseDragged:
    case NSEventTypeLeftMouseDown:
    case NSEventTypeRightMouseDown:
    case NSEventTypeOtherMouseDown: {
      const bool press = e.type == NSEventTypeLeftMouseDown ||
                         e.type == NSEventTypeRightMouseDown || e.type == NSEventTypeOtherMouseDown;
      // Another press: the release to come is its own.
      if (press) mOpeningPress = false;
      NSPoint p;
      NSMenuWindow* w = menuUnder(e, &p);
      // Resting on an arrow at an edge scrolls that way, an item each interval.
      setAutoScroll(w, w ? w->scrollDirectionAt(p) : 0);
      if (!w) {
        // A click outside every open menu dismisses them all and goes no further.
        if (press)
          finish(nullptr);
        else
          innermost()->setHighlighted(-1);
        return;
      }
      // Resting on an item opens its submenu; moving to another closes it.
      w->setHighlighted(w->itemAtPoint(p));
      if (w->mSubmenu && w->mSubmenuIndex != w->mHighlighted) w->closeSubmenu();
      if (!w->mSubmenu && w->choosable(w->mHighlighted) && w->mShown[w->mHighlighted]->hasSubmenu())
        w->openSubmenuOf(w->mHighlighted, false);
      return;
    }
    case NSEventTypeLeftMouseUp:
    case NSEventTypeRightMouseUp: {
      // The press that opened the menu was a click: the menu stays for the next one.
      if (endsOpeningClick(e)) return;
      NSPoint p;
      NSMenuWindow* w = menuUnder(e, &p);
      if (!w) return;
      int index = w->itemAtPoint(p);
      if (!w->choosable(index)) return;
      if (!w->mShown[index]->hasSubmenu())
        finish(w->mShown[index].get());
      else if (w->mSubmenuIndex != index)
        w->openSubmenuOf(index, false);
      return;
    }
    case NSEventTypeKeyDown:
      handleKey(e);
      return;
    case NSEventTypeScrollWheel: {
      // A step up brings earlier items into view.
      NSPoint p;
      NSMenuWindow* w = menuUnder(e, &p);
      if (std::isfinite(e.deltaY)) (w ? w : innermost())->scrollBy(-e.deltaY * kItemHeight);
      return;
    }
    case NSEventTypeAppKitDefined:
      NSApp()->sendEvent(e);
      // Another program taking over ends the menu.
      if (e.subtype == NSEventSubtypeApplicationDeactivated) finish(nullptr);
      return;
    default:
      // Other input belongs to no one while the menu is up; the rest runs as usual.
      if (!e.isInputEvent()) NSApp()->sendEvent(e);
      return;
  }
}

NSMenuItem* NSMenuWindow::track() {
  Ref<NSMenuWindow> keep(this);
  mDone = false;
  mChosen = nullptr;
  mBarStep = 0;
  mTracking = true;
  // The press being handled opened the menu; its release is still to come.
  const NSEvent* opening = NSApp()->currentEvent();
  mOpeningPress = opening && (opening->type == NSEventTypeLeftMouseDown ||
                              opening->type == NSEventTypeRightMouseDown ||
                              opening->type == NSEventTypeOtherMouseDown);
  if (mOpeningPress) {
    mPressTime = opening->timestamp;
    mPressScreenPoint = opening->window && isLiveObject(opening->window)
                            ? opening->window->convertPointToScreen(opening->locationInWindow)
                            : opening->locationInWindow;
  }
  // A quit that ends the modal run (or the program) the menu opened in ends the menu too.
  const std::uint64_t modalRun = NSApp()->modalSerial();
  orderFront();
  display();
  int idleSteps = 0;
  while (!mDone && !NSApp()->isTerminated() && !NSApp()->isModalRunEnding(modalRun)) {
    NSAutoreleasePool pool;
    auto e = NSApp()->waitForEvent(NSEventTrackingRunLoopMode);
    if (e) handle(*e);
    NSApp()->updateWindows();
    // In virtual time a wait for nothing comes back at once: a menu nobody answers for a
    // minute of it is dismissed rather than spinning.
    idleSteps = e ? 0 : idleSteps + 1;
    if (clock().isManual() && idleSteps > kVirtualIdleLimit) finish(nullptr);
  }
  setAutoScroll(nullptr, 0);
  mTracking = false;
  closeSubmenu();
  orderOut();
  // An item taken out of its menu while the menu was up is not chosen any more.
  if (mChosen && !mChosen->menu()) mChosen.reset();
  return mChosen.get();
}

namespace {
class MenuWindowTracker final : public MenuTracker {
 public:
  // The menu window asks the menu (and each submenu it opens) to update as it is made.
  NSMenuItem* trackMenu(NSMenu* menu, NSPoint screenPoint, NSView*) override {
    return NSMenuWindow::popUpMenu(menu, screenPoint);
  }
  NSMenuItem* trackPopUp(NSMenu* menu, NSMenuPopUp& popUp) override {
    return NSMenuWindow::popUpMenu(menu, popUp);
  }
};
}  // namespace

MenuTracker* NSMenuWindow::tracker() {
  static MenuWindowTracker* instance = new MenuWindowTracker;
  return instance;
}

NSMenuItem* NSMenuWindow::popUpMenu(NSMenu* menu, NSPoint topLeft) {
  NSMenuPopUp popUp;
  popUp.screenPoint = topLeft;
  return popUpMenu(menu, popUp);
}

NSMenuItem* NSMenuWindow::popUpMenu(NSMenu* menu, NSMenuPopUp& popUp) {
  if (!menu) return nullptr;
  Ref<NSMenuWindow> window =
      Ref<NSMenuWindow>::adopt(new NSMenuWindow(menu, popUp.screenPoint, popUp.positionedItem));
  window->setFromMenuBar(popUp.fromMenuBar);
  for (int i = 0; popUp.highlightedItem && i < static_cast<int>(window->mShown.size()); ++i)
    if (window->mHighlighted < 0 && window->mShown[i].get() == popUp.highlightedItem)
      window->setHighlighted(i);
  if (popUp.highlightFirst && window->mHighlighted < 0) window->moveHighlight(1);
  NSMenuItem* chosen = window->track();
  popUp.barStep = window->barStep();
  window->close();
  return chosen;
}

}  // namespace platform
