#pragma once

#include <string>
#include <vector>

#include "platform/core/TextField.h"

namespace platform {

class NSComboBox;

// What a combo box tells its delegate about its list.
class NSComboBoxDelegate {
 public:
  virtual ~NSComboBoxDelegate() = default;
  virtual void comboBoxWillPopUp(NSComboBox* comboBox) {}
  virtual void comboBoxWillDismiss(NSComboBox* comboBox) {}
  virtual void comboBoxSelectionDidChange(NSComboBox* comboBox) {}
};

// An editable text field with a list of items beside it. Selecting an item (by the
// program or the user) puts its text into the field and tells the delegate that the
// selection changed; typing changes only the text. A press on the arrow at the right end
// shows the list below the field (a menu at least as wide as the field, in its font, the
// selected item checked) until the user chooses from it or dismisses it; popUp() and
// dismiss() mark the list open and closed for the program. While the field is being
// edited, Down and Up choose the next or the previous item as a click on it in the list
// does (with nothing selected, the first), none past either end, and select the new text.
// The arrow part shows a down arrow; out of editing, a text too long for the field is cut as
// a pop-up button's title.
class NSComboBox : public NSTextField {
 public:
  static constexpr double kArrowWidth = 20;

  using NSTextField::NSTextField;

  int numberOfItems() const { return static_cast<int>(mItems.size()); }
  // Empty for an index outside the items.
  std::string itemObjectValueAtIndex(int index) const;
  const std::vector<std::string>& objectValues() const { return mItems; }
  void addItemWithObjectValue(const std::string& value);
  // Refuses an index outside 0..numberOfItems (logged); returns whether it inserted.
  bool insertItemWithObjectValue(const std::string& value, int index);
  void removeItemAtIndex(int index);
  void removeAllItems();
  int indexOfItemWithObjectValue(const std::string& value) const;

  // -1 when nothing is selected.
  int indexOfSelectedItem() const { return mSelected; }
  // An index outside the items is ignored.
  void selectItemAtIndex(int index);
  void deselectItemAtIndex(int index);

  int numberOfVisibleItems() const { return mVisibleItems; }
  void setNumberOfVisibleItems(int count) { mVisibleItems = count > 0 ? count : 1; }

  bool isPopUpVisible() const { return mPoppedUp; }
  void popUp();
  void dismiss();
  // What a click on an item of the open list does: selects it, sends the action and
  // closes the list. Returns whether the index named an item.
  bool chooseItemAtIndex(int index);

  // The text part, left of the arrow.
  NSRect editingRect() const override;
  // The text out of editing, fitted to the text part (see controldrawing::fittedText).
  std::vector<std::string> shownLines() const override;
  void mouseDown(const NSEvent& e) override;
  bool moveUp() override;
  bool moveDown() override;
  NSSize fittingSize() const override;
  // Tells the delegate and shows the list until a choice or a dismissal.
  void showList();
  void drawRect(const NSRect& dirtyRect) override;

 private:
  NSComboBoxDelegate* comboDelegate() const;
  void setSelection(int index);
  bool chooseByKey(int step);

  std::vector<std::string> mItems;
  int mSelected = -1;
  int mVisibleItems = 5;
  bool mPoppedUp = false;
};

}  // namespace platform
