// Pixel doubling for retina Metal frames (each source pixel written as a 2 x 2 block) at
// several frame sizes up to 2048 x 1536 (a 48 MiB destination), against two baselines: the
// same doubling done plainly, one destination pixel at a time, and std::fill of the same
// destination, the least any doubling must write. Target: within 1.5x of each. Prints the
// ratios after the runs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "windowing/drawing/MetalSurface.h"

namespace {

constexpr double kTarget = 1.5;
constexpr int kSizes[][2] = {{256, 192}, {1024, 768}, {2048, 1536}};

struct Frames {
  int w, h;
  std::vector<std::uint32_t> source, doubled;
  Frames(int width, int height)
      : w(width),
        h(height),
        source(static_cast<std::size_t>(width) * height),
        doubled(source.size() * 4) {
    for (std::size_t i = 0; i < source.size(); ++i)
      source[i] = static_cast<std::uint32_t>(i * 2654435761u);
  }
};

void SwellDoublePixels(benchmark::State& state) {
  Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) {
    SWELL_Metal_DoublePixels(f.doubled.data(), f.source.data(), f.w, f.h, f.w, 2 * f.w);
    benchmark::DoNotOptimize(f.doubled.data());
    benchmark::ClobberMemory();
  }
}

void PlainDoubling(benchmark::State& state) {
  Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  const int dw = 2 * f.w, dh = 2 * f.h;
  for (auto _ : state) {
    for (int y = 0; y < dh; ++y)
      for (int x = 0; x < dw; ++x)
        f.doubled[static_cast<std::size_t>(y) * dw + x] =
            f.source[static_cast<std::size_t>(y / 2) * f.w + x / 2];
    benchmark::DoNotOptimize(f.doubled.data());
    benchmark::ClobberMemory();
  }
}

void FillDestination(benchmark::State& state) {
  Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::uint32_t pixel = 0;
  for (auto _ : state) {
    std::fill(f.doubled.begin(), f.doubled.end(), ++pixel);
    benchmark::DoNotOptimize(f.doubled.data());
    benchmark::ClobberMemory();
  }
}

void sizes(benchmark::internal::Benchmark* b) {
  for (const auto& s : kSizes)
    b->Args({s[0], s[1]});
}

BENCHMARK(SwellDoublePixels)->Apply(sizes);
BENCHMARK(PlainDoubling)->Apply(sizes);
BENCHMARK(FillDestination)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const auto& s : kSizes) {
    const std::string size = BenchArgs({s[0], s[1]});
    for (const char* baseline : {"PlainDoubling", "FillDestination"})
      ReportRatio("SwellDoublePixels" + size + " / " + baseline + size,
                  reporter.Time("SwellDoublePixels" + size), reporter.Time(baseline + size),
                  kTarget);
  }
  benchmark::Shutdown();
  return 0;
}
