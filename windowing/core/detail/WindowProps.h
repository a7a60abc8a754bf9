#pragma once

#include "windowing/Win32Types.h"

// One named property of a window. A name below 0x10000 is an atom kept as the pointer
// value; any other name is a copy owned by the record.
struct WindowPropRec {
  char* name = nullptr;
  HANDLE data = nullptr;
  WindowPropRec* _next = nullptr;
};

// The property list of a window object, newest first. Records and name copies are
// freed when a property is removed and when the list goes.
class WindowPropList {
 public:
  WindowPropList() = default;
  ~WindowPropList() { clear(); }
  WindowPropList(const WindowPropList&) = delete;
  WindowPropList& operator=(const WindowPropList&) = delete;

  static bool isAtom(const char* name);

  // Replaces the data of an existing property or adds one; always 1.
  BOOL set(const char* name, HANDLE data);
  // The data of the first match (atoms match atoms, strings strings), 0 when absent;
  // with remove the record is unlinked and freed.
  HANDLE get(const char* name, bool remove);
  // -1 for an empty list; else 0 as soon as the callback answers 0, otherwise 1.
  int enumerate(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam) const;
  void clear();
  const WindowPropRec* head() const { return m_head; }

 private:
  WindowPropRec* m_head = nullptr;
};
