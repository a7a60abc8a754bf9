#include "windowing/core/detail/WindowProps.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {
bool sameName(const char* a, const char* b) {
  bool atomA = WindowPropList::isAtom(a), atomB = WindowPropList::isAtom(b);
  if (atomA || atomB) return atomA && atomB && a == b;
  return std::strcmp(a, b) == 0;
}
void freeRecord(WindowPropRec* rec) {
  if (!WindowPropList::isAtom(rec->name)) std::free(rec->name);
  delete rec;
}
}  // namespace

bool WindowPropList::isAtom(const char* name) {
  return reinterpret_cast<std::uintptr_t>(name) < 0x10000;
}

BOOL WindowPropList::set(const char* name, HANDLE data) {
  for (WindowPropRec* r = m_head; r; r = r->_next) {
    if (sameName(r->name, name)) {
      r->data = data;
      return 1;
    }
  }
  auto* rec = new WindowPropRec;
  rec->name = isAtom(name) ? const_cast<char*>(name) : strdup(name);
  rec->data = data;
  rec->_next = m_head;
  m_head = rec;
  return 1;
}

HANDLE WindowPropList::get(const char* name, bool remove) {
  for (WindowPropRec** link = &m_head; *link; link = &(*link)->_next) {
    WindowPropRec* r = *link;
    if (!sameName(r->name, name)) continue;
    HANDLE data = r->data;
    if (remove) {
      *link = r->_next;
      freeRecord(r);
    }
    return data;
  }
  return nullptr;
}

int WindowPropList::enumerate(HWND hwnd, PROPENUMPROCEX proc, LPARAM lParam) const {
  if (!m_head) return -1;
  if (!proc) return 1;
  // A callback may remove properties: walk a copy, names included.
  struct Entry {
    const char* atom;
    std::string name;
    HANDLE data;
  };
  std::vector<Entry> entries;
  for (const WindowPropRec* r = m_head; r; r = r->_next)
    entries.push_back(isAtom(r->name) ? Entry{r->name, {}, r->data}
                                      : Entry{nullptr, r->name, r->data});
  for (const Entry& e : entries)
    if (!proc(hwnd, e.atom ? e.atom : e.name.c_str(), e.data, lParam)) return 0;
  return 1;
}

void WindowPropList::clear() {
  while (WindowPropRec* r = m_head) {
    m_head = r->_next;
    freeRecord(r);
  }
}
