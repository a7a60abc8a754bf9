#pragma once

// The description of a popup menu: items with texts, flags and optional submenus, a title, a
// numbering style for the item texts, the index of the item the user chose and a completion
// function. Controls and the graphics core fill one and hand it to IGraphics::CreatePopupMenu;
// the chosen index written into it is the answer.
//
// Ownership: a menu owns its items and each item owns its submenu, so deleting the top menu
// deletes the whole tree. An item knows the menu that holds it and a submenu the item that holds
// it, so an item or submenu is never owned twice and a tree never contains itself.

#include <functional>
#include <initializer_list>

#include "framework/WDLPtrList.h"
#include "framework/WDLString.h"

namespace iplug {
namespace igraphics {

class IPopupMenu {
 public:
  class Item {
   public:
    enum Flags {
      kNoFlags = 0,
      kDisabled = 1 << 0,
      kIndented = 1 << 1,  // shown indented; cannot be chosen
      kChecked = 1 << 2,
      kSeparator = 1 << 3
    };

    // A null text gives an empty one.
    Item(const char* text, int flags = kNoFlags, int tag = -1);
    // The item owns the submenu from now on; a submenu another item holds already is not taken.
    Item(const char* text, IPopupMenu* submenu);
    // Leaves the menu that holds it, and deletes its submenu.
    ~Item();
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;

    const char* GetText() const { return mText.Get(); }
    void SetText(const char* text) { mText.Set(text ? text : ""); }
    IPopupMenu* GetSubmenu() const { return mSubmenu; }
    int GetFlags() const { return mFlags; }
    void SetFlags(int flags) { mFlags = flags; }
    int GetTag() const { return mTag; }
    void SetTag(int tag) { mTag = tag; }
    // The menu that holds the item, or null.
    const IPopupMenu* GetMenu() const { return mMenu; }

    bool GetEnabled() const { return !(mFlags & kDisabled); }
    bool GetChecked() const { return (mFlags & kChecked) != 0; }
    bool GetIsIndented() const { return (mFlags & kIndented) != 0; }
    bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
    void SetChecked(bool checked) { SetFlag(kChecked, checked); }
    void SetEnabled(bool enabled) { SetFlag(kDisabled, !enabled); }

   private:
    friend class IPopupMenu;
    void SetFlag(int flag, bool on) { mFlags = on ? (mFlags | flag) : (mFlags & ~flag); }
    // Gives up the submenu without deleting it.
    IPopupMenu* ReleaseSubmenu();

    WDL_String mText;
    IPopupMenu* mSubmenu = nullptr;
    int mFlags = kNoFlags;
    int mTag = -1;
    IPopupMenu* mMenu = nullptr;
  };

  using CompletionFunc = std::function<void(IPopupMenu*)>;

  // Numbering styles of the item texts: none, "1: ", "01: ", "001: ".
  enum EPrefix { kPrefixNone = 0, kPrefixOneDigit, kPrefixTwoDigits, kPrefixThreeDigits };

  explicit IPopupMenu(const char* title = "", int prefix = kPrefixNone, bool multiCheck = false,
                      std::initializer_list<const char*> items = {});
  IPopupMenu(const char* title, std::initializer_list<const char*> items,
             CompletionFunc completion = nullptr);
  // Deletes the items from the last to the first. A menu that is an item's submenu leaves it.
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Index of AddItem that places the item in case-insensitive order of the texts.
  static constexpr int kSorted = -2;

  // Places an item the menu owns from now on: -1 appends, kSorted sorts it in, any other index
  // inserts before that position (negative counting as 0, past the end appending). Returns the
  // item. An item that already belongs to a menu is refused and left where it is (null). An item
  // that cannot be placed (its submenu is this menu or holds it, or the list cannot grow) is
  // deleted, sparing such a submenu, and null is returned.
  Item* AddItem(Item* item, int index = -1);
  // A new item with that text and submenu (owned). A menu with a completion function hands a
  // copy of it to the submenu. A submenu that another item holds, or that is this menu or holds
  // it, is refused: no item is made and null is returned.
  Item* AddItem(const char* text, int index = -1, IPopupMenu* submenu = nullptr);
  Item* AddItem(const char* text, IPopupMenu* submenu, int index = -1);
  // Appends a new item with the given flags.
  Item* AddItemWithFlags(const char* text, int flags);
  // Takes an item (by identity) out of the list and deletes it; one not in the list is ignored.
  void RemoveItem(Item* item);
  // Sets the prefix style to none and the flag to false and deletes every item; the chosen
  // index, the title and the completion function stay.
  void Clear();

  int NItems() const { return mItems.GetSize(); }
  Item* GetItem(int index) const { return mItems.Get(index); }
  const char* GetItemText(int index) const;
  // The item's text as a native menu shows it: numbered by the prefix style (index + 1). Styles
  // outside 0..3 number nothing. An index outside the list gives "".
  void FormatItemText(int index, WDL_String& out) const;
  Item* GetChosenItem() const { return mItems.Get(mChosenItemIdx); }
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  // Chooses the first item whose text is exactly text; -1 when none is.
  void SetChosenItemIdxByText(const char* text);

  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }
  bool GetMultiCheck() const { return mMultiCheck; }
  const char* GetTitle() const { return mTitle.Get(); }
  void SetTitle(const char* title) { mTitle.Set(title ? title : ""); }
  // The item that holds this menu as its submenu, or null.
  const Item* GetParentItem() const { return mParentItem; }

  const CompletionFunc& GetFunction() const { return mCompletion; }
  void SetFunction(CompletionFunc func) { mCompletion = std::move(func); }
  void ExecFunction() {
    if (mCompletion) {
      CompletionFunc f = mCompletion;  // the function may replace itself while it runs
      f(this);
    }
  }

 private:
  int SortedPosition(const char* text) const;
  // True when menu is this one or holds it somewhere above.
  bool IsSelfOrAncestor(const IPopupMenu* menu) const;
  // Removes the item at index from the list and deletes it.
  void DeleteItemAt(int index);

  int mPrefix = kPrefixNone;
  int mChosenItemIdx = -1;
  bool mMultiCheck = false;
  WDL_PtrList<Item> mItems;
  CompletionFunc mCompletion;
  WDL_String mTitle;
  Item* mParentItem = nullptr;
};

}  // namespace igraphics
}  // namespace iplug
