#include "graphics/IPopupMenu.h"

#include <strings.h>
#include <algorithm>
#include <cstring>

#include "base/Log.h"

namespace iplug {
namespace igraphics {

IPopupMenu::Item::Item(const char* text, int flags, int tag) : mFlags(flags), mTag(tag) {
  SetText(text);
}

IPopupMenu::Item::Item(const char* text, IPopupMenu* submenu) {
  SetText(text);
  if (!submenu) return;
  if (submenu->mParentItem) {
    base::warn("graphics", "IPopupMenu::Item: the submenu belongs to another item; not taken");
    return;
  }
  mSubmenu = submenu;
  submenu->mParentItem = this;
}

IPopupMenu::Item::~Item() {
  // An item deleted while a menu still lists it leaves the list first.
  if (mMenu) {
    IPopupMenu* menu = mMenu;
    mMenu = nullptr;
    const int index = menu->mItems.Find(this);
    if (index >= 0) menu->mItems.Delete(index, false);
  }
  delete ReleaseSubmenu();
}

IPopupMenu* IPopupMenu::Item::ReleaseSubmenu() {
  IPopupMenu* submenu = mSubmenu;
  mSubmenu = nullptr;
  if (submenu) submenu->mParentItem = nullptr;
  return submenu;
}

IPopupMenu::IPopupMenu(const char* title, int prefix, bool multiCheck,
                       std::initializer_list<const char*> items)
    : mPrefix(prefix), mMultiCheck(multiCheck) {
  SetTitle(title);
  for (const char* text : items)
    AddItem(text);
}

IPopupMenu::IPopupMenu(const char* title, std::initializer_list<const char*> items,
                       CompletionFunc completion)
    : mCompletion(std::move(completion)) {
  SetTitle(title);
  for (const char* text : items)
    AddItem(text);
}

IPopupMenu::~IPopupMenu() {
  // A submenu deleted directly leaves its item, which would otherwise delete it again.
  if (mParentItem) mParentItem->mSubmenu = nullptr;
  mParentItem = nullptr;
  while (NItems() > 0)
    DeleteItemAt(NItems() - 1);
}

void IPopupMenu::DeleteItemAt(int index) {
  Item* item = mItems.Get(index);
  if (!item) return;
  mItems.Delete(index, false);
  item->mMenu = nullptr;
  delete item;
}

int IPopupMenu::SortedPosition(const char* text) const {
  // Binary search in case-insensitive order; an equal text goes before its match.
  int lo = 0, hi = NItems();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    const int cmp = strcasecmp(text, GetItem(mid)->GetText());
    if (cmp == 0) return mid;
    if (cmp > 0) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  return lo;
}

bool IPopupMenu::IsSelfOrAncestor(const IPopupMenu* menu) const {
  for (const IPopupMenu* m = this; m; m = m->mParentItem ? m->mParentItem->mMenu : nullptr) {
    if (m == menu) return true;
  }
  return false;
}

IPopupMenu::Item* IPopupMenu::AddItem(Item* item, int index) {
  if (!item) return nullptr;
  if (item->mMenu) {
    base::warn("graphics", "IPopupMenu::AddItem: the item belongs to a menu already; refused");
    return nullptr;
  }
  if (item->mSubmenu && IsSelfOrAncestor(item->mSubmenu)) {
    // The menu would contain itself. The submenu is owned above; only the item goes.
    base::warn("graphics", "IPopupMenu::AddItem: the item's submenu holds this menu; refused");
    item->ReleaseSubmenu();
    delete item;
    return nullptr;
  }
  if (index == kSorted) index = SortedPosition(item->GetText());
  Item* added = index == -1 ? mItems.Add(item) : mItems.Insert(std::max(index, 0), item);
  if (!added) {
    base::warn("graphics", "IPopupMenu::AddItem: the item list cannot grow; item dropped");
    delete item;  // the menu was handed ownership; never leak it
    return nullptr;
  }
  item->mMenu = this;
  return added;
}

IPopupMenu::Item* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
  if (submenu && submenu->mParentItem) {
    base::warn("graphics", "IPopupMenu::AddItem: the submenu belongs to another item; refused");
    return nullptr;
  }
  if (submenu && IsSelfOrAncestor(submenu)) {
    base::warn("graphics", "IPopupMenu::AddItem: the submenu holds this menu; refused");
    return nullptr;
  }
  if (submenu && mCompletion) submenu->SetFunction(mCompletion);
  return AddItem(new Item(text, submenu), index);
}

IPopupMenu::Item* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu, int index) {
  return AddItem(text, index, submenu);
}

IPopupMenu::Item* IPopupMenu::AddItemWithFlags(const char* text, int flags) {
  return AddItem(new Item(text, flags), -1);
}

void IPopupMenu::RemoveItem(Item* item) {
  if (!item || item->mMenu != this) return;
  DeleteItemAt(mItems.Find(item));
}

void IPopupMenu::Clear() {
  mPrefix = kPrefixNone;
  mMultiCheck = false;
  while (NItems() > 0)
    DeleteItemAt(NItems() - 1);
}

const char* IPopupMenu::GetItemText(int index) const {
  const Item* item = GetItem(index);
  return item ? item->GetText() : "";
}

void IPopupMenu::FormatItemText(int index, WDL_String& out) const {
  const Item* item = GetItem(index);
  if (!item) {
    out.Set("");
    return;
  }
  // Room for any int and ": ".
  constexpr int kMaxPrefixLen = 16;
  const int number = index + 1;
  switch (mPrefix) {
    case kPrefixOneDigit:
      out.SetFormatted(kMaxPrefixLen, "%1d: ", number);
      break;
    case kPrefixTwoDigits:
      out.SetFormatted(kMaxPrefixLen, "%02d: ", number);
      break;
    case kPrefixThreeDigits:
      out.SetFormatted(kMaxPrefixLen, "%03d: ", number);
      break;
    default:
      out.Set("");
      break;
  }
  out.Append(item->GetText());
}

void IPopupMenu::SetChosenItemIdxByText(const char* text) {
  mChosenItemIdx = -1;
  if (!text) return;
  for (int i = 0; i < NItems(); ++i) {
    if (std::strcmp(GetItem(i)->GetText(), text) == 0) {
      mChosenItemIdx = i;
      return;
    }
  }
}

}  // namespace igraphics
}  // namespace iplug
