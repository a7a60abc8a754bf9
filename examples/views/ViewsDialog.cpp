#include "ViewsDialog.h"

#include <cairo.h>

#include <cstdint>

#include "platform/View.h"
#include "platform/Window.h"

namespace viewsdialog {

namespace {

constexpr std::uintptr_t kDialogId = 9100;
constexpr int kWidth = 430;
constexpr int kHeight = 250;
constexpr int kTabsId = 1001;
constexpr int kProgressId = 1002;
constexpr int kTreeId = 1003;
constexpr int kGroupId = 1004;
constexpr int kEtchedId = 1005;
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

void CreateViews(HWND dialog, int) {
  SWELL_MakeSetCurParms(dialog, false, false, 1, 1, 0, 0);
  SWELL_MakeGroupBox("Views", kGroupId, 5, 5, 420, 240, 0);
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
