#include "controls/IPopupMenu.h"

#include <strings.h>
#include <algorithm>

#include <cstring>

namespace iplug {
namespace igraphics {

IPopupMenu::Item::Item(const char* text, int flags, int tag) : mFlags(flags), mTag(tag) {
  SetText(text);
}

IPopupMenu::Item::Item(const char* text, IPopupMenu* submenu) : mSubmenu(submenu) {
  SetText(text);
}

IPopupMenu::Item::~Item() {
  delete mSubmenu;
}

IPopupMenu::IPopupMenu(const char* title, int prefix, bool multiCheck)
    : mPrefix(prefix), mMultiCheck(multiCheck) {
  SetTitle(title);
}

IPopupMenu::IPopupMenu(const char* title, std::initializer_list<const char*> items,
                       CompletionFunc completion)
    : mCompletion(std::move(completion)) {
  SetTitle(title);
  for (const char* text : items)
    AddItem(text);
}

IPopupMenu::~IPopupMenu() {
  mItems.Empty(true);
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

IPopupMenu::Item* IPopupMenu::AddItem(Item* item, int index) {
  if (!item) return nullptr;
  if (index == kSorted) index = SortedPosition(item->GetText());
  Item* added = index == -1 ? mItems.Add(item) : mItems.Insert(std::max(index, 0), item);
  if (!added) delete item;  // the menu was handed ownership; never leak it
  return added;
}

IPopupMenu::Item* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
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
  const int index = mItems.Find(item);
  if (index >= 0) mItems.Delete(index, true);
}

void IPopupMenu::Clear() {
  mPrefix = 0;
  mMultiCheck = false;
  mItems.Empty(true);
}

const char* IPopupMenu::GetItemText(int index) const {
  const Item* item = GetItem(index);
  return item ? item->GetText() : "";
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
