#pragma once

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/Event.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/views/ListView.h"

namespace testsupport {

// A dialog with a report list, two list boxes (extended and single selection) and an
// owner-data list. Its procedure notes what the lists tell it, as short words
// ("N-101 i2 s0", "C1 202", "menu"), and answers from the fixture's settings.
class ListViewTest : public WindowTest {
 public:
  static constexpr int kReport = 201;
  static constexpr int kListBox = 202;
  static constexpr int kSingleBox = 203;
  static constexpr int kOwnerData = 204;

 protected:
  SWELL_DialogResourceIndex res{resid(7201), "Lists", SWELL_DLG_WS_FLIPPED, makeLists, 400, 240};
  HWND dlg = nullptr;
  std::vector<std::string> notes;
  // Answers: to NM_RCLICK, the text colour of custom drawing, the owner-data texts.
  LRESULT rightClickAnswer = 0;
  COLORREF customTextColor = CLR_NONE;
  std::vector<int> ownerDataRowsAsked;
  bool noteCustomDraw = false;

  static void makeLists(HWND view, int) {
    SWELL_MakeSetCurParms(view, false, false, 1, 1, 0, 0);
    SWELL_MakeControl("", kReport, "SysListView32", LVS_REPORT, 10, 10, 200, 120, 0);
    SWELL_MakeListBox(kListBox, 220, 10, 80, 120, LBS_EXTENDEDSEL);
    SWELL_MakeListBox(kSingleBox, 310, 10, 80, 120, 0);
    SWELL_MakeControl("", kOwnerData, "SysListView32", LVS_REPORT | LVS_OWNERDATA, 10, 140, 200, 90,
                      0);
  }

  void SetUp() override {
    h.registerResource(&res);
    dlg = SWELL_CreateDialog(SWELL_DialogResourceHead, resid(7201), nullptr, MessageLog::dialogProc,
                             0);
    ASSERT_NE(dlg, nullptr);
    log.answer([this](HWND, UINT msg, WPARAM w, LPARAM l) { return note(msg, w, l); });
    ShowWindow(dlg, SW_SHOW);
    viewOf(dlg)->window()->makeKeyAndOrderFront();
    h.runUntilIdle();
  }
  void TearDown() override { DestroyWindow(dlg); }

  HWND item(int id) const { return GetDlgItem(dlg, id); }
  Swell_vCorvaneBrisko_listview* list(int id) const { return swell::listViewOf(item(id)); }
  std::vector<std::string> take() { return std::exchange(notes, {}); }

  // Report list columns "a", "b", "c" and rows "r0".."r<n-1>" whose item data is
  // 100 + the row.
  void fillReport(int rows) {
    HWND lv = item(kReport);
    for (const char* name : {"a", "b", "c"}) {
      LVCOLUMN column;
      column.mask = LVCF_WIDTH | LVCF_TEXT;
      column.cx = 60;
      column.pszText = const_cast<char*>(name);
      ListView_InsertColumn(lv, 99, &column);
    }
    for (int i = 0; i < rows; ++i) {
      std::string text = "r" + std::to_string(i);
      LVITEM it;
      it.mask = LVIF_TEXT | LVIF_PARAM;
      it.iItem = i;
      it.pszText = text.data();
      it.lParam = 100 + i;
      ListView_InsertItem(lv, &it);
      ListView_SetItemText(lv, i, 1, ("b" + std::to_string(i)).c_str());
    }
    h.runUntilIdle();
  }

  // The middle of a cell (logical column) in window coordinates.
  platform::NSPoint cell(int id, int row, int column = 0) const {
    Swell_vCorvaneBrisko_listview* lv = list(id);
    platform::NSRect r = lv->frameOfCellAtColumn(lv->getColumnPos(column), row);
    return lv->convertPointToView({r.midX(), r.midY()}, nullptr);
  }
  platform::NSPoint header(int id, int column) const {
    Swell_vCorvaneBrisko_listview* lv = list(id);
    platform::NSTableHeaderView* view = lv->headerView();
    platform::NSRect r = view->headerRectOfColumn(lv->getColumnPos(column));
    return view->convertPointToView({r.midX(), r.midY()}, nullptr);
  }
  platform::NSWindow* window() const { return viewOf(dlg)->window(); }

 private:
  std::optional<LRESULT> note(UINT msg, WPARAM w, LPARAM l) {
    if (msg == WM_NOTIFY) {
      auto* hdr = reinterpret_cast<NMHDR*>(l);
      int code = static_cast<int>(hdr->code);
      if (hdr->code == NM_CUSTOMDRAW) {
        auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(l);
        if (noteCustomDraw)
          notes.push_back("draw i" + std::to_string(cd->nmcd.dwItemSpec) + " s" +
                          std::to_string(cd->iSubItem));
        cd->clrText = customTextColor;
        return 0;
      }
      if (hdr->code == LVN_GETDISPINFO) {
        auto* info = reinterpret_cast<NMLVDISPINFO*>(l);
        ownerDataRowsAsked.push_back(info->item.iItem);
        // An answer as long as the buffer, unterminated.
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText)
          std::memset(info->item.pszText, 'x', static_cast<std::size_t>(info->item.cchTextMax));
        return 0;
      }
      auto* nm = reinterpret_cast<NMLISTVIEW*>(l);
      notes.push_back("N" + std::to_string(code) + " i" + std::to_string(nm->iItem) + " s" +
                      std::to_string(nm->iSubItem));
      return hdr->code == NM_RCLICK ? rightClickAnswer : 0;
    }
    if (msg == WM_COMMAND && l) {
      notes.push_back("C" + std::to_string(highWord(w)) + " " + std::to_string(w & 0xFFFF));
      return 0;
    }
    if (msg == WM_CONTEXTMENU) notes.push_back("menu");
    if (msg == WM_MOUSEMOVE) notes.push_back("move");
    if (msg == WM_LBUTTONUP) notes.push_back("up");
    return std::nullopt;
  }
  static WPARAM highWord(WPARAM w) { return (w >> 16) & 0xFFFF; }
};

}  // namespace testsupport
