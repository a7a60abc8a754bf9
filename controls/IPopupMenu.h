#pragma once

// The description of a popup menu: items with texts, flags and optional submenus, a title, and
// the index of the item the user chose. Controls and the graphics core fill one and hand it to
// IGraphics::CreatePopupMenu; the chosen index written into it is the answer.

#include <functional>

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
      kTitle = 1 << 1,
      kChecked = 1 << 2,
      kSeparator = 1 << 3
    };

    // A null text gives an empty one. The item owns the submenu.
    Item(const char* text, int flags = kNoFlags, int tag = -1);
    Item(const char* text, IPopupMenu* submenu);
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

    bool GetEnabled() const { return !(mFlags & kDisabled); }
    bool GetChecked() const { return (mFlags & kChecked) != 0; }
    bool GetIsTitle() const { return (mFlags & kTitle) != 0; }
    bool GetIsSeparator() const { return (mFlags & kSeparator) != 0; }
    void SetChecked(bool checked) { SetFlag(kChecked, checked); }
    void SetEnabled(bool enabled) { SetFlag(kDisabled, !enabled); }

   private:
    void SetFlag(int flag, bool on) { mFlags = on ? (mFlags | flag) : (mFlags & ~flag); }

    WDL_String mText;
    IPopupMenu* mSubmenu = nullptr;
    int mFlags = kNoFlags;
    int mTag = -1;
  };

  using CompletionFunc = std::function<void(IPopupMenu*)>;

  explicit IPopupMenu(const char* title = "", int prefix = 0, bool multiCheck = false);
  IPopupMenu(const char* title, std::initializer_list<const char*> items,
             CompletionFunc completion = nullptr);
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Index of AddItem that places the item in case-insensitive order of the texts.
  static constexpr int kSorted = -2;

  // Places an item the menu owns from now on: -1 appends, kSorted sorts it in, any other index
  // inserts before that position (negative counting as 0, past the end appending). Returns the
  // item, or null (and deletes it) when the list cannot grow.
  Item* AddItem(Item* item, int index = -1);
  // A new item with that text and submenu (owned). A menu with a completion function hands a
  // copy of it to the submenu.
  Item* AddItem(const char* text, int index = -1, IPopupMenu* submenu = nullptr);
  Item* AddItem(const char* text, IPopupMenu* submenu, int index = -1);
  // Appends a new item with the given flags.
  Item* AddItemWithFlags(const char* text, int flags);
  // Takes an item (by identity) out of the list and deletes it; one not in the list is ignored.
  void RemoveItem(Item* item);
  // Deletes every item; the chosen index, the title and the completion function stay.
  void Clear();

  int NItems() const { return mItems.GetSize(); }
  Item* GetItem(int index) const { return mItems.Get(index); }
  const char* GetItemText(int index) const;
  Item* GetChosenItem() const { return mItems.Get(mChosenItemIdx); }
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  // Chooses the first item whose text is exactly text; -1 when none is.
  void SetChosenItemIdxByText(const char* text);

  int GetPrefix() const { return mPrefix; }
  void SetPrefix(int prefix) { mPrefix = prefix; }
  const char* GetTitle() const { return mTitle.Get(); }
  void SetTitle(const char* title) { mTitle.Set(title ? title : ""); }

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

  int mPrefix = 0;
  int mChosenItemIdx = -1;
  bool mMultiCheck = false;
  WDL_PtrList<Item> mItems;
  CompletionFunc mCompletion;
  WDL_String mTitle;
};

}  // namespace igraphics
}  // namespace iplug
