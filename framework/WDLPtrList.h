#pragma once

#include <cstring>

#include "framework/WDLHeapBuf.h"

// An ordered list of pointers held in a WDL_HeapBuf. The list can delete its items, so copying
// it would hand the same items to two owners: it moves but does not copy.
template <class T>
class WDL_PtrList {
 public:
  explicit WDL_PtrList(int granularity = WDL_HeapBuf::kDefaultGranularity) : mBuf(granularity) {}
  WDL_PtrList(const WDL_PtrList&) = delete;
  WDL_PtrList& operator=(const WDL_PtrList&) = delete;
  WDL_PtrList(WDL_PtrList&&) noexcept = default;
  WDL_PtrList& operator=(WDL_PtrList&&) noexcept = default;
  ~WDL_PtrList() = default;  // items are not deleted: call Empty(true) for lists that own them

  T** GetList() const { return static_cast<T**>(mBuf.Get()); }
  int GetSize() const { return mBuf.GetSize() / static_cast<int>(sizeof(T*)); }

  // The item at index, or null when the index is outside the list.
  T* Get(int index) const {
    if (index < 0 || index >= GetSize()) return nullptr;
    return GetList()[index];
  }

  // Index of the first occurrence of item, or -1.
  int Find(const T* item) const {
    const int n = GetSize();
    T** list = GetList();
    for (int i = 0; i < n; ++i) {
      if (list[i] == item) return i;
    }
    return -1;
  }

  // Appends item; returns it, or null when the list could not grow (the list is unchanged).
  T* Add(T* item) { return Insert(GetSize(), item); }

  // Inserts item before index (an index outside the list appends or prepends); returns it, or
  // null when the list could not grow.
  T* Insert(int index, T* item) {
    const int n = GetSize();
    if (index < 0) index = 0;
    if (index > n) index = n;
    if (!mBuf.Resize(static_cast<size_t>(n + 1) * sizeof(T*), false)) return nullptr;
    T** list = GetList();
    std::memmove(list + index + 1, list + index, static_cast<size_t>(n - index) * sizeof(T*));
    list[index] = item;
    return item;
  }

  // Removes the item at index and, when asked, deletes it; an index outside the list is ignored.
  // The item leaves the list before it is deleted, so its destructor sees a consistent list.
  void Delete(int index, bool deletePtr = false) {
    const int n = GetSize();
    if (index < 0 || index >= n) return;
    T** list = GetList();
    T* item = list[index];
    std::memmove(list + index, list + index + 1, static_cast<size_t>(n - index - 1) * sizeof(T*));
    mBuf.Resize(static_cast<size_t>(n - 1) * sizeof(T*), false);
    if (deletePtr) delete item;
  }

  // Removes every item and, when asked, deletes each one from the last to the first.
  void Empty(bool deletePtrs = false) {
    if (deletePtrs) {
      while (GetSize() > 0)
        Delete(GetSize() - 1, true);
    }
    mBuf.Resize(0, true);
  }

 private:
  WDL_HeapBuf mBuf;
};
