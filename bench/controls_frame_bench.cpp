// A frame of an editor holding 300 attached vector controls (buttons and labels), drawn through
// IGraphicsNanoVG: once with every control dirty and once with 5 of them dirty. Prints both
// times and their ratio; the baseline is the all-dirty frame of the same run. The cost of a
// frame should follow the dirty controls, not the attached ones: a 5-dirty frame should cost
// no more than 5/300 of a full one plus a fixed overhead under 0.1 ms.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "bench/RatioReporter.h"
#include "controls/Controls.h"
#include "framework/IPlugEditorDelegate.h"
#include "graphics/IGraphicsNanoVG.h"

namespace {

using namespace iplug::igraphics;

constexpr int kWidth = 800, kHeight = 600;
constexpr int kColumns = 20, kRows = 15;  // 300 controls
constexpr int kControls = kColumns * kRows;
constexpr int kFewDirty = 5;
// Targets for this hardware class.
constexpr double kFullFrameTargetMs = 5.0;
constexpr double kFixedOverheadTargetMs = 0.1;

// An editor of buttons and labels in a grid, alternating.
struct Editor {
  Editor() : delegate(0), graphics(delegate, kWidth, kHeight) {
    const float cw = static_cast<float>(kWidth) / kColumns;
    const float ch = static_cast<float>(kHeight) / kRows;
    const IVStyle style = DEFAULT_STYLE.WithRoundness(0.4f).WithShowLabel(false);
    for (int i = 0; i < kControls; ++i) {
      const IRECT cell =
          IRECT::MakeXYWH((i % kColumns) * cw, (i / kColumns) * ch, cw, ch).GetPadded(-2.f);
      IControl* c = nullptr;
      if (i % 2 == 0) {
        c = new IVButtonControl(cell, SplashClickActionFunc, "B", style, true, false);
      } else {
        c = new IVLabelControl(cell, "42", style);
      }
      controls.push_back(graphics.AttachControl(c));
    }
    DrawFrame();
  }
  void DrawFrame() {
    IRECTList dirty;
    if (graphics.IsDirty(dirty)) graphics.Draw(dirty);
  }

  iplug::IEditorDelegate delegate;
  IGraphicsNanoVG graphics;
  std::vector<IControl*> controls;
};

void BM_AllDirtyFrame(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    editor.graphics.SetAllControlsDirty();
    editor.DrawFrame();
  }
}
BENCHMARK(BM_AllDirtyFrame)->Unit(benchmark::kMillisecond);

void BM_FiveDirtyFrame(benchmark::State& state) {
  Editor editor;
  for (auto _ : state) {
    // Spread over the grid, so the regions do not merge into one.
    for (int i = 0; i < kFewDirty; ++i)
      editor.controls[static_cast<size_t>(i * (kControls / kFewDirty) + 7)]->SetDirty(false);
    editor.DrawFrame();
  }
}
BENCHMARK(BM_FiveDirtyFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double full = reporter.Time("BM_AllDirtyFrame");
  const double few = reporter.Time("BM_FiveDirtyFrame");
  if (full > 0.0 && few > 0.0) {
    const double share = full * kFewDirty / kControls;
    std::printf("all %d dirty: %.3f ms (target %.1f ms or less)\n", kControls, full,
                kFullFrameTargetMs);
    std::printf("%d dirty: %.3f ms\n", kFewDirty, few);
    std::printf("ratio %d-dirty / all-dirty: %.4f (%d/%d = %.4f)\n", kFewDirty, few / full,
                kFewDirty, kControls, static_cast<double>(kFewDirty) / kControls);
    std::printf("fixed overhead beyond the dirty share: %.3f ms (target below %.1f ms)\n",
                few - share, kFixedOverheadTargetMs);
  }
  benchmark::Shutdown();
  return 0;
}
