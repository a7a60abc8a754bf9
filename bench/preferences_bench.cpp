// Creating and destroying the "Preferences" dialog from its resource (eight controls from
// a control list), against the same eight platform views made directly in a panel in the
// same run. Prints the ratio of the two (goal: within 1.5x).

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench/RatioReporter.h"
#include "host/AppResources.h"
#include "platform/Box.h"
#include "platform/Button.h"
#include "platform/Panel.h"
#include "platform/PopUpButton.h"
#include "platform/TextField.h"
#include "windowing/Win32.h"

namespace {

INT_PTR quietProc(HWND, UINT, WPARAM, LPARAM) {
  return 0;
}

void BM_PreferencesFromResource(benchmark::State& state) {
  host::RegisterAppResources();
  const char* resid =
      reinterpret_cast<const char*>(static_cast<std::uintptr_t>(host::kPreferencesDialogId));
  for (auto _ : state) {
    HWND view = SWELL_CreateDialog(SWELL_DialogResourceHead, resid, nullptr, quietProc, 0);
    if (!view) {
      state.SkipWithError("the dialog could not be made");
      return;
    }
    DestroyWindow(view);
  }
}

template <class View>
void add(platform::NSView* content, const platform::NSRect& frame) {
  auto* view = new View(frame);
  content->addSubview(view);
  view->release();
}

void BM_PanelWithEightViews(benchmark::State& state) {
  using platform::NSMakeRect;
  for (auto _ : state) {
    auto* panel =
        new platform::NSPanel(NSMakeRect(0, 0, 334, 195), platform::NSWindowStyleMaskTitled);
    auto* content = new platform::NSView(NSMakeRect(0, 0, 334, 195));
    panel->setContentView(content);
    content->release();
    add<platform::NSBox>(content, NSMakeRect(11, 9, 315, 140));
    add<platform::NSButton>(content, NSMakeRect(165, 158, 75, 21));
    add<platform::NSButton>(content, NSMakeRect(248, 158, 75, 21));
    add<platform::NSButton>(content, NSMakeRect(330, 158, 75, 21));
    add<platform::NSTextField>(content, NSMakeRect(23, 90, 120, 15));
    add<platform::NSTextField>(content, NSMakeRect(23, 45, 120, 15));
    add<platform::NSPopUpButton>(content, NSMakeRect(23, 105, 270, 18));
    add<platform::NSPopUpButton>(content, NSMakeRect(23, 60, 270, 18));
    // Drawn once, as the dialog is when it is made.
    panel->display();
    panel->close();
  }
}

BENCHMARK(BM_PreferencesFromResource)->MinTime(0.3);
BENCHMARK(BM_PanelWithEightViews)->MinTime(0.3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double dialog = reporter.Time("BM_PreferencesFromResource/min_time:0.300");
  const double direct = reporter.Time("BM_PanelWithEightViews/min_time:0.300");
  ReportRatio("Preferences from its resource / eight views in a panel", dialog, direct, 1.5);
  benchmark::Shutdown();
  return dialog > 0 && direct > 0 ? 0 : 1;
}
