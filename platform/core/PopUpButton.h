#pragma once

#include <string>
#include <vector>

#include "platform/core/Button.h"
#include "platform/core/Menu.h"

namespace platform {

// A button showing the selected item of its menu. The selection is an item of the menu
// (or none); it follows the item when items are inserted or removed before it. As on
// the platform, adding an item while none is selected selects the new item. Picking an
// item from the open menu (selectItemByUser) selects it and sends the action. A press,
// or Space while the button has the keyboard focus, opens the menu over the button: at
// least as wide as the button, in its font, the selected item over the button. A click
// gives the button the keyboard focus, so that a following Space opens it again. Up and
// Down pick the previous or next item that can be picked, Home and End the first and the
// last, each as picking it from the menu does (with nothing selected, Up and Down start at
// the first); none past either end. The closed button shows the selected item's title from
// its left end, as the items show theirs, and at its right end the arrows that tell it is
// a list.
class NSPopUpButton : public NSButton {
 public:
  // The room of the arrows at the right end.
  static constexpr double kArrowWidth = 18;

  explicit NSPopUpButton(const NSRect& frame = {}, bool pullsDown = false);

  NSMenu* menu() const { return mMenu; }
  bool pullsDown() const { return mPullsDown; }
  void setPullsDown(bool pullsDown) { mPullsDown = pullsDown; }
  bool autoenablesItems() const { return mMenu->autoenablesItems(); }
  void setAutoenablesItems(bool autoenables) { mMenu->setAutoenablesItems(autoenables); }

  int numberOfItems() const { return mMenu->numberOfItems(); }
  NSMenuItem* itemAtIndex(int index) const { return mMenu->itemAtIndex(index); }
  std::string itemTitleAtIndex(int index) const;
  std::vector<std::string> itemTitles() const;
  int indexOfItemWithTitle(const std::string& title) const;

  void addItemWithTitle(const std::string& title);
  // The index is clamped to 0..numberOfItems.
  void insertItemWithTitle(const std::string& title, int index);
  // Adds an item made elsewhere (retained by the menu) at an index, clamped.
  void insertItem(NSMenuItem* item, int index);
  void removeItemAtIndex(int index);
  void removeAllItems();

  // -1 when nothing is selected.
  int indexOfSelectedItem() const;
  NSMenuItem* selectedItem() const;
  std::string titleOfSelectedItem() const;
  // An index outside the items clears the selection.
  void selectItemAtIndex(int index);
  bool selectItemWithTitle(const std::string& title);

  // What picking an item from the open menu does: an enabled item of an enabled button
  // is selected and the action sent. Returns whether it was.
  bool selectItemByUser(int index);
  // Opens the menu over the button (the call returns when it closes); a chosen item is
  // picked as by selectItemByUser.
  void popUp();
  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override {}
  void mouseUp(const NSEvent& e) override {}
  void keyDown(const NSEvent& e) override;
  bool becomesFirstResponderOnClick() const override { return true; }
  bool moveUp() override;
  bool moveDown() override;
  bool moveToBeginningOfDocument() override;
  bool moveToEndOfDocument() override;

  // The room of the title, left of the arrows.
  NSRect titleRect() const;
  // The title as the closed button shows it in that room: cut with an ellipsis when it is
  // too long, keeping whole an ending the program registered (see controldrawing::fittedText).
  std::string shownTitle() const;
  void drawRect(const NSRect& dirtyRect) override;

 protected:
  void dealloc() override;

 private:
  void syncTitle();
  // Picks the first item that can be picked from an index on, stepping by one either way,
  // and stopping at the selected item.
  bool pickByKey(int from, int step);

  NSMenu* mMenu;                    // retained
  NSMenuItem* mSelected = nullptr;  // an item of mMenu, checked before use
  bool mPullsDown = false;
};

}  // namespace platform
