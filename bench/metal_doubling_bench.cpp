// Pixel doubling for retina Metal frames (each source pixel written as a 2 x 2 block) at
// several frame sizes up to 2048 x 1536 (a 48 MiB destination), against two baselines: the
// same doubling done plainly, one destination pixel at a time, and the write floor, the least
// any doubling must spend writing its destination. The floor is the faster of two fills of the
// same destination, measured at each size: std::fill's ordinary stores, fastest while the
// destination stays in cache, and streaming stores past the caches (with the widest vector the
// compiler targets, then a fence), fastest once it does not. Target: within 1.5x of each.
// Prints the ratios after the runs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#if defined(__AVX__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Fills n pixels with streaming stores, which write whole lines to memory without reading
// them first; the unaligned head and the tail that fills no vector are stored plainly.
void streamFill(std::uint32_t* d, std::size_t n, std::uint32_t pixel) {
  std::size_t i = 0;
#if defined(__SSE2__)
#if defined(__AVX__)
  using Vector = __m256i;
  const Vector v = _mm256_set1_epi32(static_cast<int>(pixel));
  const auto stream = [](Vector* p, Vector x) { _mm256_stream_si256(p, x); };
#else
  using Vector = __m128i;
  const Vector v = _mm_set1_epi32(static_cast<int>(pixel));
  const auto stream = [](Vector* p, Vector x) { _mm_stream_si128(p, x); };
#endif
  constexpr std::size_t kVectorPixels = sizeof(Vector) / sizeof(std::uint32_t);
  for (; i < n && reinterpret_cast<std::uintptr_t>(d + i) % sizeof(Vector) != 0; ++i)
    d[i] = pixel;
  for (; i + kVectorPixels <= n; i += kVectorPixels)
    stream(reinterpret_cast<Vector*>(d + i), v);
#endif
  std::fill(d + i, d + n, pixel);
#if defined(__SSE2__)
  // Streaming stores are weakly ordered: the fill is done once they are visible.
  _mm_sfence();
#endif
}

void StreamFillDestination(benchmark::State& state) {
  Frames f(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  std::uint32_t pixel = 0;
  for (auto _ : state) {
    streamFill(f.doubled.data(), f.doubled.size(), ++pixel);
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
BENCHMARK(StreamFillDestination)->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const auto& s : kSizes) {
    const std::string size = BenchArgs({s[0], s[1]});
    const double doubling = reporter.Time("SwellDoublePixels" + size);
    ReportRatio("SwellDoublePixels" + size + " / PlainDoubling" + size, doubling,
                reporter.Time("PlainDoubling" + size), kTarget);
    // The floor is the faster fill at this size; a fill that did not run leaves none.
    const double ordinary = reporter.Time("FillDestination" + size);
    const double streaming = reporter.Time("StreamFillDestination" + size);
    const double writeFloor = ordinary > 0 && streaming > 0 ? std::min(ordinary, streaming) : 0;
    if (writeFloor > 0)
      std::printf("write floor%s: %s stores\n", size.c_str(),
                  writeFloor == streaming ? "streaming" : "ordinary");
    ReportRatio("SwellDoublePixels" + size + " / write floor" + size, doubling, writeFloor,
                kTarget);
  }
  benchmark::Shutdown();
  return 0;
}
