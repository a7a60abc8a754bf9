#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Window.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/core/ControlComboBox.h"
#include "windowing/core/ControlPopupButton.h"
#include "windowing/core/WindowObject.h"

using platform::NSMakeRect;
using platform::Ref;
using testsupport::MessageLog;
using testsupport::resid;

namespace {

LPARAM text(const char* s) {
  return reinterpret_cast<LPARAM>(s);
}

constexpr int kSortedList = 101;
constexpr int kPlainList = 102;
constexpr int kCombo = 103;

// Adds a drop-down list (a popup button) or an editable combo box to a dialog view.
template <class T>
T* addCombo(HWND dialog, int id, int style) {
  auto* view = swell::objectFromHandleAs<platform::NSView>(dialog);
  auto* control = new T(NSMakeRect(10, 10 + 30 * (id % 10), 150, 22));
  control->setTag(id);
  control->setSwellStyle(style);
  view->addSubview(control);
  control->release();
  return control;
}

void makeCombos(HWND dialog, int) {
  addCombo<Swell_vCorvaneBrisko_pub>(dialog, kSortedList, CBS_DROPDOWNLIST | CBS_SORT);
  addCombo<Swell_vCorvaneBrisko_pub>(dialog, kPlainList, CBS_DROPDOWNLIST);
  addCombo<Swell_vCorvaneBrisko_cbox>(dialog, kCombo, CBS_DROPDOWN);
}

// Records whether each selection notification would be dropped by the parent as
// unchanged: the selected index equals the one the combo box last knew.
class SelectionWatcher : public platform::NSObject, public platform::NSComboBoxDelegate {
 public:
  void comboBoxSelectionDidChange(platform::NSComboBox* box) override {
    auto* own = static_cast<Swell_vCorvaneBrisko_cbox*>(box);
    unchanged.push_back(own->indexOfSelectedItem() == own->m_ignore_selchg);
  }
  std::vector<bool> unchanged;
};

class ComboMessageTest : public testsupport::WindowTest {
 protected:
  SWELL_DialogResourceIndex res{resid(7101), "Lists", SWELL_DLG_WS_FLIPPED, makeCombos, 300, 200};
  HWND dlg = nullptr;

  void SetUp() override {
    h.registerResource(&res);
    dlg = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(7101), nullptr, MessageLog::dialogProc,
                             0);
    ASSERT_NE(dlg, nullptr);
  }
  void TearDown() override { DestroyWindow(dlg); }

  HWND item(int id) { return GetDlgItem(dlg, id); }
  std::vector<std::string> entries(int id) {
    std::vector<std::string> out;
    char buf[64];
    for (int i = 0; i < SWELL_CB_GetNumItems(dlg, id); ++i) {
      SWELL_CB_GetItemText(dlg, id, i, buf, sizeof buf);
      out.push_back(buf);
    }
    return out;
  }
  Swell_vCorvaneBrisko_cbox* combo() {
    return swell::objectFromHandleAs<Swell_vCorvaneBrisko_cbox>(item(kCombo));
  }
};

TEST_F(ComboMessageTest, AppendingSortsOnlyWhenTheStyleAsks) {
  std::vector<LRESULT> sortedAt, plainAt;
  for (const char* s : {"b", "a", "c"}) {
    sortedAt.push_back(SendMessage(item(kSortedList), CB_ADDSTRING, 0, text(s)));
    plainAt.push_back(SendMessage(item(kPlainList), CB_ADDSTRING, 0, text(s)));
  }
  EXPECT_EQ(sortedAt, (std::vector<LRESULT>{0, 0, 2}));
  EXPECT_EQ(entries(kSortedList), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(plainAt, (std::vector<LRESULT>{0, 1, 2}));
  EXPECT_EQ(entries(kPlainList), (std::vector<std::string>{"b", "a", "c"}));
  // Sorting is case-sensitive; an equal text goes before its twin; positions clamp.
  EXPECT_EQ(SWELL_CB_AddString(dlg, kSortedList, "B"), 0);
  EXPECT_EQ(SWELL_CB_AddString(dlg, kSortedList, "b"), 2);
  EXPECT_EQ(SendMessage(item(kSortedList), CB_INSERTSTRING, 99, text("z")), 5);
  EXPECT_EQ(SendMessage(item(kSortedList), CB_INSERTSTRING, static_cast<WPARAM>(-7), text("0")), 0);
  EXPECT_EQ(entries(kSortedList), (std::vector<std::string>{"0", "B", "a", "b", "b", "c", "z"}));
  // Appending never selects an entry of a drop-down list.
  EXPECT_EQ(SendMessage(item(kPlainList), CB_GETCURSEL, 0, 0), -1);
}

TEST_F(ComboMessageTest, FindingComparesWholeEntriesIgnoringAsciiCase) {
  HWND list = item(kPlainList);
  for (const char* s : {"Alpha", "alphabet", "Beta"})
    SWELL_CB_AddString(dlg, kPlainList, s);
  EXPECT_EQ(SendMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text("ALPHABET")), 1);
  EXPECT_EQ(SendMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text("alp")), -1);
  EXPECT_EQ(SendMessage(list, CB_FINDSTRING, static_cast<WPARAM>(-1), text("alp")), 0);
  EXPECT_EQ(SendMessage(list, CB_FINDSTRING, 0, text("alp")), 1);   // after entry 0
  EXPECT_EQ(SendMessage(list, CB_FINDSTRING, 1, text("alp")), -1);  // no wrapping
  EXPECT_EQ(SendMessage(list, CB_FINDSTRING, 5, text("b")), -1);
  EXPECT_EQ(SWELL_CB_FindString(dlg, kPlainList, INT_MAX, "b", false), -1);
  EXPECT_EQ(SendMessage(list, CB_FINDSTRING, 0, 0), -1);

  // Entries longer than any fixed buffer: they differ only after 5000 bytes.
  std::string lead(5000, 'x');
  SWELL_CB_AddString(dlg, kPlainList, (lead + "1").c_str());
  SWELL_CB_AddString(dlg, kPlainList, (lead + "2").c_str());
  EXPECT_EQ(SWELL_CB_FindString(dlg, kPlainList, -1, (lead + "2").c_str(), true), 4);
  EXPECT_EQ(SWELL_CB_FindString(dlg, kPlainList, -1, lead.c_str(), true), -1);
  EXPECT_EQ(SWELL_CB_FindString(dlg, kPlainList, -1, (lead + "2").c_str(), false), 4);
}

TEST_F(ComboMessageTest, EntryTextLengthAndCopies) {
  HWND list = item(kPlainList);
  SWELL_CB_AddString(dlg, kPlainList, "abc");
  SWELL_CB_AddString(dlg, kPlainList, "h\xC3\xA9llo");  // é is two bytes
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXTLEN, 0, 0), 67);
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXTLEN, 2, 0), -1);
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(1) << 32, 0), -1);
  char buf[8] = "junk";
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXT, 0, text(buf)), 1);
  EXPECT_STREQ(buf, "abc");
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXT, 5, text(buf)), -1);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(SendMessage(list, CB_GETLBTEXT, 0, 0), -1);
  // A cut never splits a character.
  char small[3] = "zz";
  EXPECT_EQ(SWELL_CB_GetItemText(dlg, kPlainList, 1, small, 3), 1);
  EXPECT_STREQ(small, "h");
}

TEST_F(ComboMessageTest, SelectionAndItemDataFollowInsertAndDelete) {
  HWND box = item(kCombo);
  for (const char* s : {"a", "b", "c"})
    SendMessage(box, CB_ADDSTRING, 0, text(s));
  for (int i = 0; i < 3; ++i)
    SendMessage(box, CB_SETITEMDATA, i, 100 + i);
  SendMessage(box, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(combo()->m_ignore_selchg, 2);
  EXPECT_EQ(combo()->stringValue(), "c");

  // Deleting before the remembered selection moves it down with the entry.
  SendMessage(box, CB_DELETESTRING, 0, 0);
  EXPECT_EQ(combo()->m_ignore_selchg, 1);
  EXPECT_EQ(SendMessage(box, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessage(box, CB_GETITEMDATA, 1, 0), 102);
  // Inserting at or before it moves it up; the new entry's value is 0.
  SendMessage(box, CB_INSERTSTRING, 1, text("x"));
  EXPECT_EQ(combo()->m_ignore_selchg, 2);
  EXPECT_EQ(combo()->m_ids, (std::vector<std::int64_t>{101, 0, 102}));
  EXPECT_EQ(combo()->numberOfVisibleItems(), 3);
  EXPECT_EQ(SendMessage(box, CB_GETITEMDATA, 7, 0), 0);

  SendMessage(box, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(SendMessage(box, CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(combo()->m_ignore_selchg, -1);
  SendMessage(box, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(box, CB_GETCOUNT, 0, 0), 0);
  EXPECT_TRUE(combo()->m_ids.empty());

  // Drop-down lists keep values in their items.
  HWND list = item(kPlainList);
  SendMessage(list, CB_ADDSTRING, 0, text("p"));
  SendMessage(list, CB_ADDSTRING, 0, text("q"));
  SendMessage(list, CB_SETITEMDATA, 1, -5);
  SendMessage(list, CB_INSERTSTRING, 0, text("o"));
  EXPECT_EQ(SendMessage(list, CB_GETITEMDATA, 2, 0), -5);
  EXPECT_EQ(SendMessage(list, CB_GETITEMDATA, 1, 0), 0);
  SendMessage(list, CB_SETCURSEL, 2, 0);
  EXPECT_EQ(SendMessage(list, CB_GETCURSEL, 0, 0), 2);
  SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(SendMessage(list, CB_GETCURSEL, 0, 0), -1);
  EXPECT_EQ(SendMessage(list, 0x160, 0, 0), 0);  // an unemulated combo message
}

TEST_F(ComboMessageTest, TheProgramsSelectionNeverLooksLikeTheUsers) {
  Ref<SelectionWatcher> watcher = Ref<SelectionWatcher>::adopt(new SelectionWatcher);
  combo()->setDelegate(watcher.get());
  for (const char* s : {"a", "b"})
    SWELL_CB_AddString(dlg, kCombo, s);
  SWELL_CB_SetCurSel(dlg, kCombo, 1);
  SWELL_CB_SetCurSel(dlg, kCombo, -1);
  combo()->chooseItemAtIndex(0);  // the user's pick is a change
  EXPECT_EQ(watcher->unchanged, (std::vector<bool>{true, true, false}));
  combo()->setDelegate(nullptr);
}

TEST_F(ComboMessageTest, NullStaleAndForeignTargetsFail) {
  EXPECT_EQ(SWELL_CB_AddString(nullptr, 0, "a"), -1);
  EXPECT_EQ(SWELL_CB_InsertString(dlg, 999, 0, "a"), -1);
  EXPECT_EQ(SWELL_CB_FindString(dlg, 999, -1, "a", true), -1);
  EXPECT_EQ(SWELL_CB_GetCurSel(dlg, 999), -1);
  EXPECT_EQ(SWELL_CB_GetNumItems(dlg, 999), 0);
  EXPECT_EQ(SWELL_CB_GetItemData(dlg, 999, 0), 0);
  char buf[4] = "x";
  EXPECT_EQ(SWELL_CB_GetItemText(dlg, 999, 0, buf, 4), -1);
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(SWELL_CB_AddString(dlg, kPlainList, nullptr), -1);
  EXPECT_TRUE(h.logged("without text"));
  // The dialog itself is no combo box: its procedure gets the message instead.
  log.clear();
  EXPECT_EQ(SWELL_CB_GetNumItems(dlg, 0), 0);
  SendMessage(dlg, CB_GETCOUNT, 0, 0);
  EXPECT_EQ(log.count(CB_GETCOUNT, dlg), 1);

  HWND stale = item(kPlainList);
  DestroyWindow(stale);
  ASSERT_FALSE(platform::isLiveObject(stale));
  EXPECT_EQ(SendMessage(stale, CB_ADDSTRING, 0, text("a")), 0);
  EXPECT_EQ(SWELL_CB_GetCurSel(stale, 0), -1);
  SWELL_CB_SetCurSel(stale, 0, 0);
  SWELL_CB_Empty(stale, 0);
  EXPECT_EQ(SendMessage(nullptr, CB_GETCOUNT, 0, 0), 0);
}

// The "Preferences" dialog's road: fill and select two drop-down lists while
// initialising, then read the choice back.
TEST_F(ComboMessageTest, DialogFillsAndSelectsItsDeviceLists) {
  log.answer([](HWND hwnd, UINT msg, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (msg != WM_INITDIALOG) return std::nullopt;
    for (int id : {kSortedList, kPlainList}) {
      HWND list = GetDlgItem(hwnd, id);
      SendMessage(list, CB_RESETCONTENT, 0, 0);
      int n = 0;
      for (const char* name : {"Synth Out", "Loopback", "USB MIDI"}) {
        auto at = SendMessage(list, CB_ADDSTRING, 0, text(name));
        SendMessage(list, CB_SETITEMDATA, static_cast<WPARAM>(at), n++);
      }
      auto found = SendMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), text("usb midi"));
      SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    }
    return 1;
  });
  HWND prefs =
      SWELL_CreateDialog(SWELL_DialogResourceHead, resid(7101), nullptr, MessageLog::dialogProc, 0);
  ASSERT_NE(prefs, nullptr);
  for (int id : {kSortedList, kPlainList}) {
    HWND list = GetDlgItem(prefs, id);
    auto sel = SendMessage(list, CB_GETCURSEL, 0, 0);
    std::vector<char> buf(static_cast<std::size_t>(SendMessage(list, CB_GETLBTEXTLEN, sel, 0)));
    ASSERT_EQ(SendMessage(list, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(buf.data())), 1);
    EXPECT_STREQ(buf.data(), "USB MIDI");
    EXPECT_EQ(SendMessage(list, CB_GETITEMDATA, sel, 0), 2);
  }
  EXPECT_EQ(SendMessage(GetDlgItem(prefs, kSortedList), CB_GETCURSEL, 0, 0), 2);
  DestroyWindow(prefs);
}

}  // namespace
