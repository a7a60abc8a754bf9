#include "platform/core/ScrollView.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/controls/detail/ViewFactories.h"
#include "windowing/views/ListView.h"
#include "windowing/views/ListViewCells.h"

using platform::Ref;

namespace {
// The one column of a list that is not in report form leaves this much of the width.
constexpr double kSingleColumnInset = 4;
// Report form: the report style without the no-header style.
constexpr LONG kReportStyleMask = LVS_REPORT | LVS_NOCOLUMNHEADER;
}  // namespace

namespace swell {

HWND makeListViewControl(int id, bool listBox, int style, int x, int y, int w, int h) {
  const platform::NSRect frame = SWELL_MakeControlFrame(x, y, w, h, false, false);
  Ref<platform::NSScrollView> scroll =
      Ref<platform::NSScrollView>::adopt(new platform::NSScrollView(frame));
  Ref<Swell_vCorvaneBrisko_listview> list =
      Ref<Swell_vCorvaneBrisko_listview>::adopt(new Swell_vCorvaneBrisko_listview);
  list->setTag(id);
  list->swellSetStyle(style);
  setCommandTarget(list.get(), 0);
  list->setDelegate(controlLayout().parent);
  list->setDoubleAction(kSwellDoubleClickAction);
  bool report = !listBox && (style & kReportStyleMask) == LVS_REPORT;
  if (listBox) {
    list->setSwellNotificationMode(1);
    list->setHeaderView(nullptr);
    list->setAllowsMultipleSelection((style & LBS_EXTENDEDSEL) != 0);
  } else {
    if (!report) list->setHeaderView(nullptr);
    list->setAllowsMultipleSelection(!(style & LVS_SINGLESEL));
  }
  scroll->setDocumentView(list.get());
  HWND handle = handleFromObject(list.get());
  if (!report) {
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    column.cx = static_cast<int>(frame.size.width - kSingleColumnInset);
    ListView_InsertColumn(handle, 0, &column);
    if (listBox && (style & LBS_OWNERDRAWFIXED)) {
      Ref<Swell_vCorvaneBrisko_ODlistviewcell> cell =
          Ref<Swell_vCorvaneBrisko_ODlistviewcell>::adopt(new Swell_vCorvaneBrisko_ODlistviewcell);
      cell->setOwnerControl(list.get());
      list->logicalColumn(0)->setDataCell(cell.get());
    }
  }
  finishControl(scroll.get(), style);
  return handle;
}

}  // namespace swell
