#include "ViewsDialog.h"

#include <cairo.h>

#include <cstdint>

#include "platform/core/View.h"
#include "platform/core/Window.h"

namespace viewsdialog {

namespace {

constexpr std::uintptr_t kDialogId = 9100;
constexpr int kWidth = 430;
constexpr int kHeight = 400;
constexpr int kTabsId = 1001;
constexpr int kProgressId = 1002;
constexpr int kTreeId = 1003;
constexpr int kGroupId = 1004;
constexpr int kEtchedId = 1005;
constexpr int kReportId = 1006;
constexpr int kListBoxId = 1007;
constexpr int kEtchedHorizontal = 16;
constexpr int kProgressPercent = 40;

const char* const kTabs[] = {"Audio", "MIDI", "Display"};

void AddTreeItems(HWND tree) {
  auto add = [&](HTREEITEM parent, const char* text, bool children) {
    TVINSERTSTRUCT ins;
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.cChildren = children ? 1 : 0;
    return TreeView_InsertItem(tree, &ins);
  };
  HTREEITEM presets = add(TVI_ROOT, "Presets", true);
  HTREEITEM bank = add(presets, "Bank A", true);
  add(bank, "Init", false);
  HTREEITEM lead = add(bank, "Lead", false);
  add(presets, "Bank B", false);
  add(TVI_ROOT, "Favourites", false);
  TreeView_Expand(tree, presets, TVE_EXPAND);
  TreeView_Expand(tree, bank, TVE_EXPAND);
  TreeView_SelectItem(tree, lead);
}

// A report list: two titled columns, the first sorted up, grid lines, one row selected.
void AddReportList() {
  HWND list = SWELL_MakeControl("", kReportId, "SysListView32", LVS_REPORT, 15, 255, 250, 130, 0);
  const char* const titles[] = {"Preset", "Bank"};
  for (int c = 0; c < 2; ++c) {
    LVCOLUMN column;
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 110;
    column.pszText = const_cast<char*>(titles[c]);
    ListView_InsertColumn(list, c, &column);
  }
  const char* const rows[][2] = {{"Init", "A"}, {"Lead", "A"}, {"Pad", "B"}};
  for (int r = 0; r < 3; ++r) {
    LVITEM item;
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = const_cast<char*>(rows[r][0]);
    ListView_InsertItem(list, &item);
    ListView_SetItemText(list, r, 1, rows[r][1]);
  }
  ListView_SetExtendedListViewStyleEx(list, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES);
  HDITEM sorted;
  sorted.mask = HDI_FORMAT;
  sorted.fmt = HDF_SORTUP;
  Header_SetItem(ListView_GetHeader(list), 0, &sorted);
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
}

void AddListBox() {
  HWND box = SWELL_MakeListBox(kListBoxId, 280, 255, 135, 130, 0);
  for (const char* text : {"Channel 1", "Channel 2", "Channel 10"})
    SendMessage(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void CreateViews(HWND dialog, int) {
  SWELL_MakeSetCurParms(dialog, false, false, 1, 1, 0, 0);
  SWELL_MakeGroupBox("Views", kGroupId, 5, 5, 420, 390, 0);
  HWND tabs = SWELL_MakeControl("", kTabsId, "SysTabControl32", 0, 15, 25, 190, 70, 0);
  for (int i = 0; i < static_cast<int>(std::size(kTabs)); ++i) {
    TCITEM item;
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTabs[i]);
    TabCtrl_InsertItem(tabs, i, &item);
  }
  TabCtrl_SetCurSel(tabs, 1);
  HWND progress = SWELL_MakeControl("", kProgressId, "msctls_progress32", 0, 15, 115, 190, 14, 0);
  SendMessage(progress, PBM_SETRANGE, 0, LPARAM{100} << 16);
  SendMessage(progress, PBM_SETPOS, kProgressPercent, 0);
  SWELL_MakeControl("", kEtchedId, "Static", kEtchedHorizontal, 15, 145, 190, 2, 0);
  AddTreeItems(SWELL_MakeControl("", kTreeId, "SysTreeView32", 0, 220, 25, 195, 210, 0));
  AddReportList();
  AddListBox();
}

SWELL_DialogResourceIndex gResource{
    reinterpret_cast<const char*>(kDialogId), "Views", 0, CreateViews, kWidth, kHeight};

}  // namespace

HWND Build() {
  static bool registered = false;
  if (!registered) SWELL_RegisterDialogResource(&gResource);
  registered = true;
  HWND dialog = SWELL_CreateDialog(
      SWELL_DialogResourceHead, gResource.resid, nullptr,
      [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return 0; }, 0);
  if (dialog) ShowWindow(dialog, SW_SHOW);
  return dialog;
}

std::vector<View> Views(HWND dialog) {
  return {{"group box", GetDlgItem(dialog, kGroupId)},
          {"tabs", GetDlgItem(dialog, kTabsId)},
          {"progress bar", GetDlgItem(dialog, kProgressId)},
          {"etched line", GetDlgItem(dialog, kEtchedId)},
          {"tree", GetDlgItem(dialog, kTreeId)}};
}

bool Render(HWND dialog, const std::string& path) {
  auto* view = platform::liveObjectAs<platform::NSView>(dialog);
  platform::NSWindow* window = view ? view->window() : nullptr;
  if (!window) return false;
  window->display();
  return cairo_surface_write_to_png(window->backingStore(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace viewsdialog
