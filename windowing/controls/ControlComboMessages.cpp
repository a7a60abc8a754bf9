#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/Log.h"
#include "base/Utf8.h"
#include "windowing/controls/ControlMessages.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/ControlPopupButton.h"
#include "windowing/core/TimerTargets.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"

using platform::NSComboBox;
using platform::NSObject;
using platform::NSPopUpButton;
using platform::Ref;

namespace {

// The position that asks for an append (and, with CBS_SORT, a sorted insertion).
constexpr int kAppendPosition = -1000;
// CB_GETLBTEXT has no buffer size; the caller sized the buffer from CB_GETLBTEXTLEN.
constexpr int kLbTextBufferSize = 1048576;
// CB_GETLBTEXTLEN and a text query without buffer leave this much room.
constexpr int kTextLengthSlack = 64;
constexpr UINT kFirstComboMessage = CB_ADDSTRING;
constexpr UINT kLastComboMessage = 353;

// A drop-down list (popup button) or a combo box, with the layer's extras when it is
// one of the layer's own.
struct ComboTarget {
  NSPopUpButton* popup = nullptr;
  NSComboBox* combo = nullptr;
  Swell_vCorvaneBrisko_cbox* swellCombo = nullptr;
  int style = 0;
  explicit operator bool() const { return popup || combo; }
};

ComboTarget targetOf(NSObject* object) {
  ComboTarget t;
  if (auto* pub = dynamic_cast<NSPopUpButton*>(object)) {
    t.popup = pub;
    if (auto* own = dynamic_cast<Swell_vCorvaneBrisko_pub*>(pub)) t.style = own->getSwellStyle();
  } else if (auto* combo = dynamic_cast<NSComboBox*>(object)) {
    t.combo = combo;
    t.swellCombo = dynamic_cast<Swell_vCorvaneBrisko_cbox*>(combo);
    if (t.swellCombo) t.style = t.swellCombo->getSwellStyle();
  }
  return t;
}

ComboTarget resolve(HWND hwnd, int idx) {
  return targetOf(swell::objectFromHandle(GetDlgItem(hwnd, idx)));
}

int count(const ComboTarget& t) {
  return t.popup ? t.popup->numberOfItems() : t.combo->numberOfItems();
}

std::string entryText(const ComboTarget& t, int index) {
  return t.popup ? t.popup->itemTitleAtIndex(index) : t.combo->itemObjectValueAtIndex(index);
}

// The item values of a combo box of the layer, kept as long as its entry list.
void syncIds(Swell_vCorvaneBrisko_cbox* combo) {
  combo->m_ids.resize(static_cast<std::size_t>(combo->numberOfItems()), 0);
}

// Binary search for a sorted insertion: an equal entry gives its index; a search that
// ends without a decision gives 0 (the text sorts before every entry).
int sortedPosition(const ComboTarget& t, const std::string& text, int n) {
  int lo = 0;
  int len = n;
  while (len > 0) {
    int mid = lo + len / 2;
    int cmp = text.compare(entryText(t, mid));
    if (cmp == 0) return mid;
    if (cmp > 0) {
      lo = mid + 1;
      if (lo == n || text.compare(entryText(t, lo)) <= 0) return lo;
      len = (len - 1) / 2;
    } else {
      len /= 2;
    }
  }
  return 0;
}

int insertString(const ComboTarget& t, int pos, const char* str) {
  if (!str) {
    base::warn("swell-cocoa", "combo-box insertion without text refused");
    return static_cast<int>(CB_ERR);
  }
  std::string text = str;
  int n = count(t);
  bool append = pos == kAppendPosition;
  pos = append ? n : pos < 0 ? 0 : pos > n ? n : pos;
  if (append && (t.style & CBS_SORT)) pos = sortedPosition(t, text, n);
  if (t.popup) {
    bool hadSelection = t.popup->indexOfSelectedItem() >= 0;
    Ref<platform::NSMenuItem> item =
        Ref<platform::NSMenuItem>::adopt(new platform::NSMenuItem(text));
    item->setEnabled(true);
    t.popup->insertItem(item.get(), pos);
    // Adding entries never selects one.
    if (!hadSelection) t.popup->selectItemAtIndex(-1);
    return pos;
  }
  if (t.swellCombo) {
    syncIds(t.swellCombo);
    if (t.swellCombo->m_ignore_selchg >= pos) ++t.swellCombo->m_ignore_selchg;
  }
  if (!t.combo->insertItemWithObjectValue(text, pos)) return static_cast<int>(CB_ERR);
  if (t.swellCombo) t.swellCombo->m_ids.insert(t.swellCombo->m_ids.begin() + pos, 0);
  t.combo->setNumberOfVisibleItems(n + 1);
  return pos;
}

void deleteString(const ComboTarget& t, int item) {
  if (item < 0 || item >= count(t)) return;
  if (t.popup) {
    t.popup->removeItemAtIndex(item);
    return;
  }
  if (auto* c = t.swellCombo) {
    syncIds(c);
    if (c->m_ignore_selchg == item)
      c->m_ignore_selchg = -1;
    else if (c->m_ignore_selchg > item)
      --c->m_ignore_selchg;
    c->m_ids.erase(c->m_ids.begin() + item);
  }
  t.combo->removeItemAtIndex(item);
}

int currentSelection(const ComboTarget& t) {
  return t.popup ? t.popup->indexOfSelectedItem() : t.combo->indexOfSelectedItem();
}

void setSelection(const ComboTarget& t, int item) {
  bool valid = item >= 0 && item < count(t);
  if (t.popup) {
    t.popup->selectItemAtIndex(valid ? item : -1);
    return;
  }
  // Remembered first, so the selection notification the change itself raises is taken
  // as no change: a program's selection is not the user's.
  if (t.swellCombo) t.swellCombo->m_ignore_selchg = valid ? item : -1;
  if (valid)
    t.combo->selectItemAtIndex(item);
  else
    t.combo->deselectItemAtIndex(t.combo->indexOfSelectedItem());
}

void empty(const ComboTarget& t) {
  if (t.popup) {
    t.popup->removeAllItems();
    return;
  }
  if (t.swellCombo) {
    t.swellCombo->m_ignore_selchg = -1;
    t.swellCombo->m_ids.clear();
  }
  t.combo->removeAllItems();
}

int itemText(const ComboTarget& t, int item, char* buf, int bufsz) {
  if (buf && bufsz > 0) buf[0] = 0;
  if (!t || item < 0 || item >= count(t)) return -1;
  std::string text = entryText(t, item);
  if (!buf) return static_cast<int>(std::min<std::size_t>(text.size() + kTextLengthSlack, INT_MAX));
  if (bufsz < 1) return -1;
  base::copyUtf8(text, buf, static_cast<std::size_t>(bufsz));
  return 1;
}

LONG_PTR itemData(const ComboTarget& t, int item) {
  if (item < 0 || item >= count(t)) return 0;
  if (t.popup) {
    auto* holder =
        dynamic_cast<Swell_vCorvaneBrisko_sdh*>(t.popup->itemAtIndex(item)->representedObject());
    return holder ? holder->getValue() : 0;
  }
  if (t.swellCombo && static_cast<std::size_t>(item) < t.swellCombo->m_ids.size())
    return static_cast<LONG_PTR>(t.swellCombo->m_ids[static_cast<std::size_t>(item)]);
  return 0;
}

void setItemData(const ComboTarget& t, int item, LONG_PTR value) {
  if (item < 0 || item >= count(t)) return;
  if (t.popup) {
    Ref<Swell_vCorvaneBrisko_sdh> holder =
        Ref<Swell_vCorvaneBrisko_sdh>::adopt(new Swell_vCorvaneBrisko_sdh);
    holder->initWithVal(value);
    t.popup->itemAtIndex(item)->setRepresentedObject(holder.get());
    return;
  }
  if (t.swellCombo) {
    syncIds(t.swellCombo);
    t.swellCombo->m_ids[static_cast<std::size_t>(item)] = value;
  }
}

bool equalsIgnoringAsciiCase(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca - 'A' + 'a');
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb - 'A' + 'a');
    if (ca != cb) return false;
  }
  return true;
}

// Compares whole entries, however long, not a fixed-size copy of them.
int findString(const ComboTarget& t, int startAfter, const char* str, bool exact) {
  if (!t || !str) return -1;
  std::size_t wanted = std::strlen(str);
  int n = count(t);
  // A start at or past the end finds nothing (and startAfter + 1 cannot overflow).
  if (startAfter >= n) return -1;
  for (int i = startAfter < 0 ? 0 : startAfter + 1; i < n; ++i) {
    std::string entry = entryText(t, i);
    bool lengthFits = exact ? entry.size() == wanted : entry.size() >= wanted;
    if (lengthFits && equalsIgnoringAsciiCase(entry.c_str(), str, wanted)) return i;
  }
  return -1;
}

// A wParam carrying an index: anything beyond int is no index at all.
int indexParam(WPARAM w) {
  return w > static_cast<WPARAM>(INT_MAX) ? -1 : static_cast<int>(w);
}

// A wParam carrying an insert position, read as a signed number and kept within int
// (insertion clamps it to the entries).
int positionParam(WPARAM w) {
  auto v = static_cast<std::int64_t>(w);
  return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

}  // namespace

int SWELL_CB_AddString(HWND hwnd, int idx, const char* str) {
  return SWELL_CB_InsertString(hwnd, idx, kAppendPosition, str);
}

int SWELL_CB_InsertString(HWND hwnd, int idx, int pos, const char* str) {
  ComboTarget t = resolve(hwnd, idx);
  if (!t) return static_cast<int>(CB_ERR);
  return insertString(t, pos, str);
}

void SWELL_CB_DeleteString(HWND hwnd, int idx, int item) {
  if (ComboTarget t = resolve(hwnd, idx)) deleteString(t, item);
}

int SWELL_CB_GetNumItems(HWND hwnd, int idx) {
  ComboTarget t = resolve(hwnd, idx);
  return t ? count(t) : 0;
}

int SWELL_CB_GetCurSel(HWND hwnd, int idx) {
  ComboTarget t = resolve(hwnd, idx);
  return t ? currentSelection(t) : -1;
}

void SWELL_CB_SetCurSel(HWND hwnd, int idx, int item) {
  if (ComboTarget t = resolve(hwnd, idx)) setSelection(t, item);
}

int SWELL_CB_GetItemText(HWND hwnd, int idx, int item, char* buf, int bufsz) {
  return itemText(resolve(hwnd, idx), item, buf, bufsz);
}

void SWELL_CB_Empty(HWND hwnd, int idx) {
  if (ComboTarget t = resolve(hwnd, idx)) empty(t);
}

LONG_PTR SWELL_CB_GetItemData(HWND hwnd, int idx, int item) {
  ComboTarget t = resolve(hwnd, idx);
  return t ? itemData(t, item) : 0;
}

void SWELL_CB_SetItemData(HWND hwnd, int idx, int item, LONG_PTR value) {
  if (ComboTarget t = resolve(hwnd, idx)) setItemData(t, item, value);
}

int SWELL_CB_FindString(HWND hwnd, int idx, int startAfter, const char* str, bool exact) {
  return findString(resolve(hwnd, idx), startAfter, str, exact);
}

namespace swell {

bool emulateComboMessage(NSObject* object, UINT msg, WPARAM wParam, LPARAM lParam,
                         LRESULT* result) {
  if (msg < kFirstComboMessage || msg > kLastComboMessage) return false;
  ComboTarget t = targetOf(object);
  if (!t) return false;
  Ref<NSObject> keep(object);
  auto text = reinterpret_cast<const char*>(lParam);
  int index = indexParam(wParam);
  switch (msg) {
    case CB_ADDSTRING:
      *result = insertString(t, kAppendPosition, text);
      break;
    case CB_DELETESTRING:
      deleteString(t, index);
      *result = 1;
      break;
    case CB_GETCOUNT:
      *result = count(t);
      break;
    case CB_GETCURSEL:
      *result = currentSelection(t);
      break;
    case CB_GETLBTEXT:
      *result =
          text ? itemText(t, index, reinterpret_cast<char*>(lParam), kLbTextBufferSize) : CB_ERR;
      break;
    case CB_GETLBTEXTLEN:
      *result = itemText(t, index, nullptr, 0);
      break;
    case CB_INSERTSTRING:
      *result = insertString(t, positionParam(wParam), text);
      break;
    case CB_RESETCONTENT:
      empty(t);
      *result = 0;
      break;
    case CB_FINDSTRING:
    case CB_FINDSTRINGEXACT:
      *result = findString(t, index, text, msg == CB_FINDSTRINGEXACT);
      break;
    case CB_SETCURSEL:
      setSelection(t, index);
      *result = 0;
      break;
    case CB_GETITEMDATA:
      *result = itemData(t, index);
      break;
    case CB_SETITEMDATA:
      setItemData(t, index, lParam);
      *result = 0;
      break;
    default:
      *result = 0;
      break;
  }
  return true;
}

}  // namespace swell
