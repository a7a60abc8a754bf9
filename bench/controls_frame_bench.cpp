// Frames of an editor of 300, 1,000, 3,000 and 10,000 attached vector controls of five kinds
// (label, button, knob, slider, number box with its own label and buttons) on a 1,920 x 1,080
// surface, where 1 or 5 controls are dirty, cycling through the kinds. The baseline is the same
// frame in an editor holding only the controls that are dirtied (the same cells), so the ratio is
// what the controls that stay clean cost. Goal: at most 1.3 at every size, since a frame must
// cost what is dirty, not what is attached.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/RatioReporter.h"
#include "controls/Controls.h"
#include "framework/IPlugAPIBase.h"
#include "graphics/Graphics.h"

namespace {

using namespace iplug::igraphics;

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kControlCounts[] = {300, 1000, 3000, 10000};
constexpr int kDirtyCounts[] = {1, 5};
constexpr int kKinds = 5;
constexpr double kAmongAllGoal = 1.3;

// The controls dirtied each frame: `dirty` probes spread over the grid, each probe cycling
// through the five cells (one of each kind) that start at it.
std::vector<int> ProbeCells(int count, int dirty) {
  std::vector<int> cells;
  for (int p = 0; p < dirty; ++p)
    for (int k = 0; k < kKinds; ++k)
      cells.push_back(p * (count / dirty) + 7 + k);
  return cells;
}

IControl* MakeControl(const IRECT& cell, int kind, const IVStyle& style) {
  switch (kind) {
    case 0:
      return new IVLabelControl(cell, "42", style);
    case 1:
      return new IVButtonControl(cell, SplashClickActionFunc, "B", style, true, false);
    case 2:
      return new IVKnobControl(cell, kNoParameter, "", style);
    case 3:
      return new IVSliderControl(cell, kNoParameter, "", style, false, EDirection::Horizontal);
    default:
      return new IVNumberBoxControl(cell, kNoParameter, nullptr, "", style);
  }
}

// Controls attached for each five cells: a number box brings a label and two buttons along.
constexpr int kControlsPerKindCycle = 8;

// Cells enough for `controls` attached controls.
int CellsFor(int controls) {
  return (controls * kKinds + kControlsPerKindCycle / 2) / kControlsPerKindCycle;
}

// An editor of `count` cells in a grid; with `only`, just those cells get their control.
struct Editor {
  Editor(int count, const std::vector<int>* only)
      : delegate(0), graphics(delegate, kWidth, kHeight) {
    int columns = 1;
    while (columns * columns * kHeight < count * kWidth)
      ++columns;
    const int rows = (count + columns - 1) / columns;
    const float cw = static_cast<float>(kWidth) / columns;
    const float ch = static_cast<float>(kHeight) / rows;
    const IVStyle style =
        DEFAULT_STYLE.WithRoundness(0.4f).WithShowLabel(false).WithDrawShadows(false);
    controls.assign(static_cast<size_t>(count), nullptr);
    auto attach = [&](int i) {
      const IRECT cell =
          IRECT::MakeXYWH((i % columns) * cw, (i / columns) * ch, cw, ch).GetPadded(-1.f);
      controls[static_cast<size_t>(i)] =
          graphics.AttachControl(MakeControl(cell, i % kKinds, style));
    };
    if (only) {
      for (int i : *only)
        attach(i);
    } else {
      for (int i = 0; i < count; ++i)
        attach(i);
    }
    DrawFrame();
  }
  void DrawFrame() {
    dirty.Clear();
    if (graphics.IsDirty(dirty)) graphics.Draw(dirty);
  }

  iplug::IPlugAPIBase delegate;
  IGraphicsNanoVG graphics;
  std::vector<IControl*> controls;
  IRECTList dirty;
};

// The editor of `count` cells, all attached or only those of the probes, made once: each
// sample is a run of its own, and making an editor of 10,000 controls costs more than many
// frames.
Editor& EditorOf(int count, const std::vector<int>& probes, bool alone) {
  static std::map<std::pair<int, std::vector<int>>, std::unique_ptr<Editor>> editors;
  std::unique_ptr<Editor>& editor = editors[{count, alone ? probes : std::vector<int>()}];
  if (!editor) editor = std::make_unique<Editor>(count, alone ? &probes : nullptr);
  return *editor;
}

void RunFrames(benchmark::State& state, int controls, int dirty, bool alone) {
  const int count = CellsFor(controls);
  const std::vector<int> probes = ProbeCells(count, dirty);
  Editor& editor = EditorOf(count, probes, alone);
  state.counters["attached"] = editor.graphics.NControls();
  int frame = 0;
  for (auto _ : state) {
    for (int p = 0; p < dirty; ++p)
      editor
          .controls[static_cast<size_t>(probes[static_cast<size_t>(p * kKinds + frame % kKinds)])]
          ->SetDirty(false);
    editor.DrawFrame();
    ++frame;
  }
}

std::string Name(const char* what, int count, int dirty) {
  return std::string(what).append(BenchArgs({count, dirty}));
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int count : kControlCounts) {
    for (int dirty : kDirtyCounts) {
      benchmark::RegisterBenchmark(Name("DirtyAmongAll", count, dirty).c_str(),
                                   [=](benchmark::State& s) { RunFrames(s, count, dirty, false); })
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(Name("DirtyAlone", count, dirty).c_str(),
                                   [=](benchmark::State& s) { RunFrames(s, count, dirty, true); })
          ->Unit(benchmark::kMicrosecond);
    }
  }
  RatioReporter reporter(RatioReporter::Clock::Processor);
  for (int count : kControlCounts) {
    for (int dirty : kDirtyCounts) {
      reporter.Goal("frame, " + std::to_string(dirty) + " dirty among " + std::to_string(count) +
                        " controls / the same alone",
                    {Name("DirtyAmongAll", count, dirty)}, {Name("DirtyAlone", count, dirty)},
                    kAmongAllGoal);
    }
  }
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
