#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drawing/Font.h"
#include "platform/objects/Geometry.h"
#include "platform/objects/Object.h"

namespace platform {

class NSMenu;
class NSView;
struct NSEvent;

inline constexpr int NSControlStateValueOff = 0;
inline constexpr int NSControlStateValueOn = 1;
inline constexpr int NSControlStateValueMixed = -1;

// The receiver of a target-action pair: one entry point with the action's id.
class ActionTarget {
 public:
  virtual ~ActionTarget() = default;
  virtual void performAction(int action, NSObject* sender) = 0;
};

// One entry of a menu. A submenu and a represented object are retained; the target
// is not.
class NSMenuItem : public NSObject {
 public:
  explicit NSMenuItem(std::string title = {}, int action = 0, std::string keyEquivalent = {});
  static NSMenuItem* separatorItem();

  const std::string& title() const { return mTitle; }
  // A new title has no mnemonic.
  void setTitle(std::string title);
  // The mnemonic: the character at this byte offset of the title, by which the keys reach
  // the item (Alt with it on a menu bar, the character alone in an open menu). An offset
  // that is not the start of a whole character of the title sets none (kNoMnemonic).
  static constexpr std::size_t kNoMnemonic = static_cast<std::size_t>(-1);
  std::size_t mnemonicLocation() const { return mMnemonicLocation; }
  void setMnemonicLocation(std::size_t location);
  // The mnemonic character as UTF-8, "" for none.
  std::string mnemonic() const;
  // Whether a typed character (UTF-8) is the mnemonic; ASCII letters match in either case.
  bool hasMnemonic(std::string_view typed) const;
  long tag() const { return mTag; }
  void setTag(long tag) { mTag = tag; }
  bool isEnabled() const { return mEnabled; }
  void setEnabled(bool enabled) { mEnabled = enabled; }
  bool isHidden() const { return mHidden; }
  void setHidden(bool hidden) { mHidden = hidden; }
  int state() const { return mState; }
  void setState(int state) { mState = state; }
  // How far the title is set in, in steps of the menu's indentation width.
  int indentationLevel() const { return mIndentationLevel; }
  void setIndentationLevel(int level) { mIndentationLevel = level; }
  bool isSeparatorItem() const { return mSeparator; }
  const std::string& keyEquivalent() const { return mKeyEquivalent; }
  void setKeyEquivalent(std::string key) { mKeyEquivalent = std::move(key); }
  std::uint64_t keyEquivalentModifierMask() const { return mKeyMask; }
  void setKeyEquivalentModifierMask(std::uint64_t mask) { mKeyMask = mask; }
  NSMenu* submenu() const { return mSubmenu; }
  void setSubmenu(NSMenu* menu);
  bool hasSubmenu() const { return mSubmenu != nullptr; }
  NSMenu* menu() const { return mMenu; }
  NSObject* representedObject() const { return mRepresented; }
  void setRepresentedObject(NSObject* object);
  NSObject* target() const { return mTarget; }
  void setTarget(NSObject* target) { mTarget = target; }
  int action() const { return mAction; }
  void setAction(int action) { mAction = action; }
  // Sends the action to the target when it takes actions; returns whether it was sent.
  bool sendAction();

 protected:
  void dealloc() override;

 private:
  friend class NSMenu;
  std::string mTitle;
  std::size_t mMnemonicLocation = kNoMnemonic;
  long mTag = 0;
  bool mEnabled = true;
  bool mHidden = false;
  int mState = NSControlStateValueOff;
  int mIndentationLevel = 0;
  bool mSeparator = false;
  std::string mKeyEquivalent;
  std::uint64_t mKeyMask = 0;
  NSMenu* mSubmenu = nullptr;
  NSMenu* mMenu = nullptr;
  NSObject* mRepresented = nullptr;
  NSObject* mTarget = nullptr;
  int mAction = 0;
};

class NSMenuDelegate {
 public:
  virtual ~NSMenuDelegate() = default;
  virtual void menuNeedsUpdate(NSMenu* menu) {}
};

// One showing of a menu: where, what it starts with, and how it ended besides a choice.
struct NSMenuPopUp {
  // The menu's top left corner on the screen (y up); with a positioned item, that item's.
  NSPoint screenPoint;
  NSView* view = nullptr;
  // An item of the menu shown at the point and highlighted when the menu opens (the
  // selected item of a pop-up button, over the button).
  NSMenuItem* positionedItem = nullptr;
  // The menu drops from a menu bar: Left and Right at its top level close it and ask
  // for the bar's menu before or after it (barStep).
  bool fromMenuBar = false;
  // An item of the menu highlighted when the menu opens, where the menu shows it (the
  // current item of a combo box's list): the arrows go on from it.
  NSMenuItem* highlightedItem = nullptr;
  // Opens with its first choosable item highlighted (a menu reached by the keys).
  bool highlightFirst = false;
  // Set when the menu closed because the user moved along the bar: -1 before, 1 after.
  int barStep = 0;
};

// What shows a popped-up menu and lets the user choose from it. Which one runs is the
// display's business: a headless program has none (every pop-up closes without a
// choice); a display backend or the test harness installs its own.
class MenuTracker {
 public:
  virtual ~MenuTracker() = default;
  // Shows the menu at a screen point (y up) and returns when it closes: the chosen item
  // (of the menu or of one of its submenus), or null when it was dismissed. Before
  // showing a menu or a submenu it calls that menu's menuWillOpen().
  virtual NSMenuItem* trackMenu(NSMenu* menu, NSPoint screenPoint, NSView* view) = 0;
  // The same with the whole request; a tracker that only shows menus at a point answers
  // through trackMenu.
  virtual NSMenuItem* trackPopUp(NSMenu* menu, NSMenuPopUp& popUp) {
    return trackMenu(menu, popUp.screenPoint, popUp.view);
  }
};
void setMenuTracker(MenuTracker* tracker);
MenuTracker* menuTracker();

// A list of items; items are retained.
class NSMenu : public NSObject {
 public:
  explicit NSMenu(std::string title = {});

  const std::string& title() const { return mTitle; }
  void setTitle(std::string title) { mTitle = std::move(title); }
  int numberOfItems() const { return static_cast<int>(mItems.size()); }
  NSMenuItem* itemAtIndex(int index) const;
  int indexOfItem(const NSMenuItem* item) const;
  int indexOfItemWithTag(long tag) const;
  void addItem(NSMenuItem* item);
  void insertItem(NSMenuItem* item, int index);
  void removeItemAtIndex(int index);
  void removeAllItems();
  const std::vector<NSMenuItem*>& itemArray() const { return mItems; }
  NSMenu* supermenu() const { return mSupermenu; }
  NSMenuDelegate* delegate() const { return mDelegate; }
  void setDelegate(NSMenuDelegate* delegate) { mDelegate = delegate; }
  bool autoenablesItems() const { return mAutoenables; }
  void setAutoenablesItems(bool autoenables) { mAutoenables = autoenables; }

  // Pops the menu up at a point of a view (in the view's coordinates) and returns when
  // it closes. A chosen item that is enabled has its action sent before the call
  // returns; the result is that item (held for the caller), or null when none was
  // chosen. A menu popped up again while it is open returns null at once.
  Ref<NSMenuItem> popUpMenu(NSPoint location, NSView* view);
  // The same with an item of the menu shown at the location (its top left corner) and
  // highlighted, as a pop-up button opens its menu over itself.
  Ref<NSMenuItem> popUpMenuPositioningItem(NSMenuItem* item, NSPoint location, NSView* view);
  // Shows the menu as asked (the point in screen coordinates) and returns the chosen
  // enabled item without sending its action; null when none was chosen or the menu is
  // open already.
  Ref<NSMenuItem> trackPopUp(NSMenuPopUp& popUp);
  // What a tracker calls before it shows the menu: the delegate's menuNeedsUpdate.
  void menuWillOpen();
  // A key-down that is the key equivalent of an item of the menu or of its submenus (the
  // item's character, compared without regard to ASCII case, with exactly its modifiers; a
  // capital letter's equivalent asks for Shift): the menu holding the item is updated as
  // before it opens, and the item, still enabled and still matching, sends its action.
  // Hidden and disabled items, and the items under a hidden or disabled submenu item, are
  // not reached. Whether an action was sent.
  bool performKeyEquivalent(const NSEvent& event);
  bool isOpen() const { return mOpen; }

  // The least width the menu is shown with (a pop-up button's width), and the font its
  // items are shown in (none: the menu font).
  double minimumWidth() const { return mMinimumWidth; }
  void setMinimumWidth(double width) { mMinimumWidth = width > 0 ? width : 0; }
  const std::optional<NSFont>& font() const { return mFont; }
  void setFont(std::optional<NSFont> font) { mFont = std::move(font); }

 protected:
  void dealloc() override;

 private:
  friend class NSMenuItem;
  std::string mTitle;
  std::vector<NSMenuItem*> mItems;
  NSMenu* mSupermenu = nullptr;
  NSMenuDelegate* mDelegate = nullptr;
  bool mAutoenables = true;
  bool mOpen = false;
  double mMinimumWidth = 0;
  std::optional<NSFont> mFont;
};

}  // namespace platform
