// List-view costs against a baseline doing the same work:
// - rows of three texts inserted, sorted with ListView_SortItems, scrolled to the middle
//   and a 800 x 600 screenful drawn, against a std::vector of the same records, sorted
//   stably by the same compare and moved once each into their sorted places, and the same
//   rectangles and texts shaped and drawn through the platform's text path into one kept
//   bitmap (target within 2x at every size). The sizes span a thousandfold, so a list cost
//   that grows faster than the rows shows as a ratio that climbs: at 100k and 1M rows the
//   ratio may be at most 1.3 times the one at 10k. At 1M rows both sides touch more memory
//   than the allocator keeps between iterations and pay the kernel for every fresh page,
//   the baseline for about twice as many as the list;
// - an owner-data list of a million rows scrolled to its middle drawing a screenful,
//   against the same list of a thousand rows (target within 1.1x); the parent counts the
//   texts it is asked for, which must be only the shown cells.
// Prints the ratios after the runs, of processor time: all of it is this thread's work, and
// processor time stays steady on a machine busy with other work.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "platform/core/Window.h"
#include "platform/drawing/CoreText.h"
#include "platform/drawing/Font.h"
#include "platform/drawing/GraphicsContext.h"
#include "platform/tables/TableView.h"
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
// The row counts the insert, sort and draw runs at.
constexpr std::int64_t kSortRows[] = {1000, 10000, 100000, 1000000};
// The size whose ratio the larger ones are held to, and how far they may climb above it.
constexpr std::int64_t kGrowthBaseRows = 10000;
constexpr double kGrowthGoal = 1.3;
constexpr double kOwnerDataGoal = 1.1;
// Room between a cell's edges and its text.
constexpr double kTextInset = 2;

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

struct SortKey {
  LPARAM key = 0;
  std::size_t place = 0;
};

// The baseline draws the same screenful by hand: the list's cell rectangles, each text
// shaped and drawn through the platform's one text path (CTFont and CTLine: HarfBuzz
// shapes, Cairo draws) in the list cells' font and colour, into one bitmap kept across
// iterations as the list's window keeps its backing store.
void VectorSortCairoDraw(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0));
  const double pitch = platform::NSTableView::kDefaultRowHeight +
                       platform::NSTableView::kDefaultIntercellSpacing.height;
  const platform::NSSize spacing = platform::NSTableView::kDefaultIntercellSpacing;
  const platform::NSColor ink = platform::NSColor::textColor();
  std::vector<std::string> texts;
  for (int i = 0; i < rows * kColumns; ++i)
    texts.push_back("cell " + std::to_string(i));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
  cairo_t* cr = cairo_create(surface);
  auto cg = std::make_unique<platform::CGContext>(cr);
  for (auto _ : state) {
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i) {
      Record r;
      for (int c = 0; c < kColumns; ++c)
        r.texts[c] = texts[static_cast<std::size_t>(i * kColumns + c)];
      r.key = keyOf(i);
      records.push_back(std::move(r));
    }
    // The keys are sorted with their places and each record then moved once: sorting the
    // records themselves moves every one at each level of the merge, which past the cache's
    // size costs more per row the more rows there are.
    std::vector<SortKey> keys(records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
      keys[i] = {records[i].key, i};
    std::stable_sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
      return compareKeys(a.key, b.key, 0) < 0;
    });
    std::vector<Record> sorted;
    sorted.reserve(records.size());
    for (const SortKey& key : keys)
      sorted.push_back(std::move(records[key.place]));
    records = std::move(sorted);
    // The screenful from the middle row down, top down, with the same cell rectangles.
    const platform::NSColor paper = platform::NSColor::controlColor();
    cg->setFillColor(paper.red, paper.green, paper.blue, paper.alpha);
    cg->fillRect(platform::NSMakeRect(0, 0, kWidth, kHeight));
    platform::Ref<platform::CTFont> face =
        platform::Ref<platform::CTFont>::adopt(platform::NSFont().createCTFont());
    if (!face) {
      state.SkipWithError("the cells' font is not installed");
      break;
    }
    const int first = rows / 2;
    for (int row = first; row < rows && (row - first) * pitch < kHeight; ++row) {
      const double y = (row - first) * pitch;
      for (int c = 0; c < kColumns; ++c) {
        const platform::NSRect cell =
            platform::NSMakeRect(c * (kColumnWidth + spacing.width) + spacing.width / 2,
                                 y + spacing.height / 2, kColumnWidth, pitch - spacing.height);
        platform::Ref<platform::CTLine> line =
            platform::Ref<platform::CTLine>::adopt(platform::CTLine::create(
                records[static_cast<std::size_t>(row)].texts[c], face.get(), ink));
        cg->saveGState();
        cg->clipToRect(cell);
        cg->setTextMatrix({1, 0, 0, -1, 0, 0});
        cg->setTextPosition(cell.origin.x + kTextInset,
                            cell.origin.y + kTextInset + face->ascent());
        line->draw(cg.get());
        cg->restoreGState();
      }
    }
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
  }
  cg.reset();
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
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

void sortSizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t rows : kSortRows)
    b->Arg(rows);
  b->Unit(benchmark::kMillisecond);
}

BENCHMARK(ListInsertSortDraw)->Apply(sortSizes);
BENCHMARK(VectorSortCairoDraw)->Apply(sortSizes);
BENCHMARK(OwnerDataScreenful)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void reportRatio(RatioReporter& reporter, const std::string& measured, const std::string& baseline,
                 double goal) {
  reporter.Goal(measured + " / " + baseline, {measured}, {baseline}, goal);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter(RatioReporter::Clock::Processor);
  for (std::int64_t rows : kSortRows) {
    const std::string size = BenchArgs({rows});
    reportRatio(reporter, std::string("ListInsertSortDraw").append(size),
                std::string("VectorSortCairoDraw").append(size), kSortGoal);
  }
  // The ratio's climb from 10k rows to each larger size: a ratio of the two ratios.
  const std::string base = BenchArgs({kGrowthBaseRows});
  for (std::int64_t rows : kSortRows) {
    if (rows <= kGrowthBaseRows) continue;
    const std::string size = BenchArgs({rows});
    reporter.ClimbGoal("ListInsertSortDraw ratio at " + std::to_string(rows) + " / at " +
                           std::to_string(kGrowthBaseRows),
                       {std::string("ListInsertSortDraw").append(size)},
                       {std::string("VectorSortCairoDraw").append(size)},
                       {std::string("ListInsertSortDraw").append(base)},
                       {std::string("VectorSortCairoDraw").append(base)}, kGrowthGoal);
  }
  reportRatio(reporter, "OwnerDataScreenful/1000000", "OwnerDataScreenful/1000", kOwnerDataGoal);
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
