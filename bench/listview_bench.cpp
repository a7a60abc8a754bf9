// List-view costs against a baseline doing the same work:
// - rows of three texts inserted, sorted with ListView_SortItems, scrolled to the middle
//   and a 800 x 600 screenful drawn, against a std::vector of the same records sorted
//   with std::stable_sort and the same compare, and the same rectangles and texts drawn
//   in plain Cairo (target within 2x);
// - an owner-data list of a million rows scrolled to its middle drawing a screenful,
//   against the same list of a thousand rows (target within 1.1x); the parent counts the
//   texts it is asked for, which must be only the shown cells.
// Prints the ratios after the runs.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/core/TableView.h"
#include "platform/core/Window.h"
#include "windowing/Win32.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kColumns = 3;
constexpr int kColumnWidth = 200;
constexpr int kListId = 100;
constexpr std::uintptr_t kTitled = 2;
const int kListHeight = kHeight + static_cast<int>(platform::NSTableHeaderView::kHeight);
constexpr double kSortGoal = 2.0;
constexpr double kOwnerDataGoal = 1.1;

int gDispInfoCalls = 0;

// The sort key of row i: a scrambled number with many equal keys.
LPARAM keyOf(int i) {
  return static_cast<LPARAM>((static_cast<std::uint32_t>(i) * 2654435761u) % 997u);
}

int compareKeys(LPARAM a, LPARAM b, LPARAM) {
  return a < b ? -1 : a > b ? 1 : 0;
}

INT_PTR listParent(HWND, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_NOTIFY) return 0;
  auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  if (hdr->code != LVN_GETDISPINFO) return 0;
  auto* info = reinterpret_cast<NMLVDISPINFO*>(lParam);
  ++gDispInfoCalls;
  // Texts of one length at every size, so the sizes draw the same glyphs.
  if ((info->item.mask & LVIF_TEXT) && info->item.pszText)
    std::snprintf(info->item.pszText, static_cast<std::size_t>(info->item.cchTextMax),
                  "row %07d col %d", info->item.iItem, info->item.iSubItem);
  return 0;
}

// A top-level window with a report list filling it, and its columns.
HWND makeList(int style) {
  HWND dialog = SWELL_CreateDialog(SWELL_DialogResourceHead,
                                   reinterpret_cast<const char*>(kBareWindowRequest + kTitled),
                                   nullptr, listParent, 0);
  if (!dialog) return nullptr;
  SetWindowPos(dialog, nullptr, 0, 0, kWidth, kListHeight, SWP_NOMOVE);
  SWELL_MakeSetCurParms(dialog, false, false, 1, 1, 0, 0);
  HWND list = SWELL_MakeControl("", kListId, "SysListView32", LVS_REPORT | style, 0, 0, kWidth,
                                kListHeight, 0);
  for (int c = 0; c < kColumns; ++c) {
    LVCOLUMN column;
    column.mask = LVCF_WIDTH;
    column.cx = kColumnWidth;
    ListView_InsertColumn(list, c, &column);
  }
  ShowWindow(dialog, SW_SHOW);
  return list;
}

void drawScreenful(HWND list) {
  InvalidateRect(list, nullptr, FALSE);
  UpdateWindow(list);
}

void closeList(HWND list) {
  DestroyWindow(GetParent(list));
}

void ListInsertSortDraw(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  std::vector<std::string> texts;
  for (int i = 0; i < rows * kColumns; ++i)
    texts.push_back("cell " + std::to_string(i));
  HWND list = makeList(0);
  if (!list) {
    state.SkipWithError("the list could not be made");
    return;
  }
  for (auto _ : state) {
    // The rows of the iteration before go, as the baseline's vector does.
    ListView_DeleteAllItems(list);
    for (int i = 0; i < rows; ++i) {
      LVITEM item;
      item.mask = LVIF_TEXT | LVIF_PARAM;
      item.iItem = i;
      item.pszText = texts[static_cast<std::size_t>(i * kColumns)].data();
      item.lParam = keyOf(i);
      ListView_InsertItem(list, &item);
      for (int c = 1; c < kColumns; ++c)
        ListView_SetItemText(list, i, c, texts[static_cast<std::size_t>(i * kColumns + c)].c_str());
    }
    ListView_SortItems(list, compareKeys, 0);
    ListView_EnsureVisible(list, rows / 2, 0);
    drawScreenful(list);
  }
  closeList(list);
}

struct Record {
  std::string texts[kColumns];
  LPARAM key = 0;
};

void VectorSortCairoDraw(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const double pitch = platform::NSTableView::kDefaultRowHeight +
                       platform::NSTableView::kDefaultIntercellSpacing.height;
  std::vector<std::string> texts;
  for (int i = 0; i < rows * kColumns; ++i)
    texts.push_back("cell " + std::to_string(i));
  for (auto _ : state) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    std::vector<Record> records;
    for (int i = 0; i < rows; ++i) {
      Record r;
      for (int c = 0; c < kColumns; ++c)
        r.texts[c] = texts[static_cast<std::size_t>(i * kColumns + c)];
      r.key = keyOf(i);
      records.push_back(std::move(r));
    }
    std::stable_sort(records.begin(), records.end(), [](const Record& a, const Record& b) {
      return compareKeys(a.key, b.key, 0) < 0;
    });
    // The screenful from the middle row down, with the same cell rectangles.
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_font_size(cr, platform::NSFont::systemFontSize());
    const int first = rows / 2;
    for (int row = first; row < rows && (row - first) * pitch < kHeight; ++row) {
      const double y = (row - first) * pitch;
      for (int c = 0; c < kColumns; ++c) {
        const double x = c * (kColumnWidth + 3.0);
        cairo_save(cr);
        cairo_rectangle(cr, x + 1.5, y + 1, kColumnWidth, pitch - 2);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_move_to(cr, x + 3.5, y + 14);
        cairo_show_text(cr, records[static_cast<std::size_t>(row)].texts[c].c_str());
        cairo_restore(cr);
      }
    }
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
}

void OwnerDataScreenful(benchmark::State& state) {
  HWND list = makeList(LVS_OWNERDATA);
  if (!list) {
    state.SkipWithError("the list could not be made");
    return;
  }
  const int rows = static_cast<int>(state.range(0));
  ListView_SetItemCount(list, rows);
  ListView_EnsureVisible(list, rows / 2, 0);
  drawScreenful(list);
  gDispInfoCalls = 0;
  for (auto _ : state)
    drawScreenful(list);
  state.counters["texts asked per screenful"] =
      static_cast<double>(gDispInfoCalls) / static_cast<double>(state.iterations());
  closeList(list);
}

BENCHMARK(ListInsertSortDraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(VectorSortCairoDraw)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(OwnerDataScreenful)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void reportRatio(const RatioReporter& reporter, const std::string& measured,
                 const std::string& baseline, double goal) {
  ReportRatio(measured + " / " + baseline, reporter.Time(measured), reporter.Time(baseline), goal);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* size : {"/1000", "/10000"})
    reportRatio(reporter, std::string("ListInsertSortDraw") + size,
                std::string("VectorSortCairoDraw") + size, kSortGoal);
  reportRatio(reporter, "OwnerDataScreenful/1000000", "OwnerDataScreenful/1000", kOwnerDataGoal);
  benchmark::Shutdown();
  return 0;
}
