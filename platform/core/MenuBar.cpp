// A window's own menu bar: drawn across the top of its backing store, above the content,
// and tracked by pressing a title.

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/core/ControlDrawing.h"
#include "platform/core/Menu.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/display/DisplayBackend.h"
#include "platform/drawing/Font.h"
#include "platform/drawing/GraphicsContext.h"

namespace platform {

namespace {

constexpr double kTitlePadding = 8;
constexpr double kFirstTitleX = 4;
const NSColor kBarBackground{0.93, 0.93, 0.93, 1};
const NSColor kBarLine{0.75, 0.75, 0.75, 1};
const NSColor kBarHighlight{0.25, 0.46, 0.85, 1};
const NSColor kBarDisabledText{0.6, 0.6, 0.6, 1};

// The keys that open the bar's menus: F10 alone, and Option (Alt) with a title's mnemonic;
// the modifiers they are told apart by.
constexpr std::uint16_t kF10KeyCode = 0x6D;
constexpr std::uint64_t kBarKeyModifiers = NSEventModifierFlagShift | NSEventModifierFlagControl |
                                           NSEventModifierFlagOption | NSEventModifierFlagCommand;

const NSFont& barFont() {
  static const NSFont font = NSFont::systemFontOfSize(NSFont::systemFontSize());
  return font;
}

}  // namespace

void NSWindow::setMenuBar(NSMenu* menu) {
  if (menu == mMenuBar) {
    setMenuBarNeedsDisplay();
    return;
  }
  // The content keeps its place and size; the frame takes the bar.
  const NSRect content = contentRect();
  if (menu) menu->retain();
  if (NSMenu* old = std::exchange(mMenuBar, menu)) old->release();
  mMenuBarLit = -1;
  mMenuBarDirty = mMenuBar != nullptr;
  setFrame(frameRectForContentRect(content), false);
  displayBackend().windowAttributesChanged(this);
  // The backing store changes size: the next pass draws everything.
  discardBackingStore();
}

void NSWindow::setMenuBarNeedsDisplay() {
  if (mMenuBar) mMenuBarDirty = true;
}

NSRect NSWindow::drawnRect() const {
  NSRect r = contentRect();
  r.size.height += menuBarHeight();
  return r;
}

NSRect NSWindow::menuBarRect() const {
  if (!mMenuBar) return {};
  const NSRect content = contentRect();
  return NSMakeRect(0, content.size.height, content.size.width, kMenuBarHeight);
}

std::vector<NSMenuItem*> NSWindow::menuBarItems() const {
  std::vector<NSMenuItem*> shown;
  if (!mMenuBar) return shown;
  for (NSMenuItem* item : mMenuBar->itemArray())
    if (!item->isHidden() && !item->isSeparatorItem()) shown.push_back(item);
  return shown;
}

NSRect NSWindow::menuBarItemRect(int index) const {
  const std::vector<NSMenuItem*> items = menuBarItems();
  if (index < 0 || index >= static_cast<int>(items.size())) return {};
  const NSRect bar = menuBarRect();
  double x = kFirstTitleX;
  for (int i = 0;; ++i) {
    const double width =
        std::ceil(barFont().sizeOfString(items[i]->title()).width) + 2 * kTitlePadding;
    if (i == index) return NSMakeRect(x, bar.origin.y, width, bar.size.height);
    x += width;
  }
}

int NSWindow::menuBarItemAtPoint(NSPoint p) const {
  const int count = static_cast<int>(menuBarItems().size());
  for (int i = 0; i < count; ++i)
    if (NSPointInRect(p, menuBarItemRect(i))) return i;
  return -1;
}

void NSWindow::drawMenuBar(cairo_t* cr) {
  const NSRect bar = menuBarRect();
  cairo_save(cr);
  // Top down from the bar's top edge, as text is laid out.
  cairo_translate(cr, 0, bar.maxY());
  cairo_scale(cr, 1, -1);
  CGContext cg(cr);
  const NSRect area = NSMakeRect(0, 0, bar.size.width, bar.size.height);
  controldrawing::fillRect(&cg, area, kBarBackground);
  controldrawing::fillRect(&cg, NSMakeRect(0, bar.size.height - 1, bar.size.width, 1), kBarLine);
  const std::vector<NSMenuItem*> items = menuBarItems();
  for (int i = 0; i < static_cast<int>(items.size()); ++i) {
    NSRect title = menuBarItemRect(i);
    title.origin.y = 0;
    const bool lit = i == mMenuBarLit;
    if (lit) controldrawing::fillRect(&cg, title, kBarHighlight);
    const NSColor text = !items[i]->isEnabled() ? kBarDisabledText
                         : lit                  ? NSColor::whiteColor()
                                                : NSColor::textColor();
    controldrawing::drawText(&cg, items[i]->title(), title, barFont(), text, NSTextAlignmentCenter);
  }
  cairo_restore(cr);
}

void NSWindow::trackMenuBar(const NSEvent& e) {
  openMenuBarItem(menuBarItemAtPoint(e.locationInWindow), false);
}

bool NSWindow::performMenuBarKey(const NSEvent& e) {
  if (!mMenuBar || e.type != NSEventTypeKeyDown) return false;
  if (mMenuBar->performKeyEquivalent(e)) return true;
  const std::uint64_t modifiers = e.modifierFlags & kBarKeyModifiers;
  const std::vector<NSMenuItem*> items = menuBarItems();
  const auto opens = [&](int i) { return items[i]->isEnabled() && items[i]->hasSubmenu(); };
  int index = -1;
  if (e.keyCode == kF10KeyCode && modifiers == 0) {
    // The first title, or the first after it that opens a menu.
    for (int i = 0; index < 0 && i < static_cast<int>(items.size()); ++i)
      if (opens(i)) index = i;
  } else if (modifiers == NSEventModifierFlagOption && !e.charactersIgnoringModifiers.empty()) {
    for (int i = 0; index < 0 && i < static_cast<int>(items.size()); ++i)
      if (items[i]->isEnabled() && items[i]->hasMnemonic(e.charactersIgnoringModifiers)) index = i;
  }
  if (index < 0) return false;
  openMenuBarItem(index, true);
  return true;
}

void NSWindow::openMenuBarItem(int index, bool byKeys) {
  // Held: a menu about to open may change the bar.
  const std::vector<NSMenuItem*> shown = menuBarItems();
  const std::vector<Ref<NSMenuItem>> items(shown.begin(), shown.end());
  if (index < 0 || index >= static_cast<int>(items.size()) || !items[index]->isEnabled()) return;
  Ref<NSWindow> keep(this);
  if (!items[index]->hasSubmenu()) {
    items[index]->sendAction();
    return;
  }
  Ref<NSView> content(mContentView);
  if (!content) return;
  Ref<NSMenuItem> chosen;
  for (;;) {
    const Ref<NSMenuItem>& item = items[index];
    // The title stays lit while its menu is open, which drops down from its lower left.
    mMenuBarLit = index;
    mMenuBarDirty = true;
    displayIfNeeded();
    const NSRect title = menuBarItemRect(index);
    Ref<NSMenu> submenu(item->submenu());
    NSMenuPopUp popUp;
    popUp.screenPoint = convertPointToScreen(NSMakePoint(title.minX(), title.minY()));
    popUp.view = content.get();
    popUp.fromMenuBar = true;
    popUp.highlightFirst = byKeys;
    chosen = submenu->trackPopUp(popUp);
    if (isClosed() || popUp.barStep == 0) break;
    // Left or Right: on to the next title along the bar that opens a menu.
    const int count = static_cast<int>(items.size());
    int next = index;
    do {
      next = (next + popUp.barStep + count) % count;
    } while (next != index && !(items[next]->isEnabled() && items[next]->hasSubmenu() &&
                                items[next]->menu() == mMenuBar));
    if (next == index) break;
    index = next;
    byKeys = true;
  }
  // The title goes back to normal before the choice acts (it may open a dialog).
  if (!isClosed()) {
    mMenuBarLit = -1;
    mMenuBarDirty = mMenuBar != nullptr;
    displayIfNeeded();
  }
  if (chosen) chosen->sendAction();
}

}  // namespace platform
