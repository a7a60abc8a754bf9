// Pixel doubling for retina Metal frames (each source pixel written as a 2 x 2 block) at
// several frame sizes up to 2048 x 1536 (a 48 MiB destination), against the write floor, the
// least any doubling must spend writing its destination: whichever of two fills of the same
// destination is faster in each round, ordinary stores (fastest while the destination stays in
// the core's cache) or streaming stores (fastest past it), both a cache line per step in the
// 16-byte vectors the doubling uses. Goal: within 1.5x of the floor. The same doubling done
// plainly, one destination pixel at a time, is measured for information.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#if defined(__SSE2__)
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

// The frames of the benchmark's size, made once: each sample is a run of its own, and making
// a 48 MiB destination for each would take longer than the sample.
Frames& framesOf(const benchmark::State& state) {
  static std::map<std::pair<int, int>, Frames> frames;
  const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
  return frames.try_emplace({w, h}, w, h).first->second;
}

void SwellDoublePixels(benchmark::State& state) {
  Frames& f = framesOf(state);
  for (auto _ : state) {
    SWELL_Metal_DoublePixels(f.doubled.data(), f.source.data(), f.w, f.h, f.w, 2 * f.w);
    benchmark::DoNotOptimize(f.doubled.data());
    benchmark::ClobberMemory();
  }
}

void PlainDoubling(benchmark::State& state) {
  Frames& f = framesOf(state);
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

// Fills n pixels a cache line per step in four aligned 16-byte stores, the vectors the
// doubling itself uses: ordinary stores, or streaming ones (which write whole lines to memory
// without reading them first). The unaligned head and the tail short of a line are stored
// plainly.
template <bool Stream>
void fillInLines(std::uint32_t* d, std::size_t n, std::uint32_t pixel) {
  std::size_t i = 0;
#if defined(__SSE2__)
  constexpr std::size_t kLinePixels = 16;
  const __m128i v = _mm_set1_epi32(static_cast<int>(pixel));
  for (; i < n && reinterpret_cast<std::uintptr_t>(d + i) % sizeof(__m128i) != 0; ++i)
    d[i] = pixel;
  for (; i + kLinePixels <= n; i += kLinePixels) {
    auto* line = reinterpret_cast<__m128i*>(d + i);
    for (int k = 0; k < 4; ++k) {
      if constexpr (Stream)
        _mm_stream_si128(line + k, v);
      else
        _mm_store_si128(line + k, v);
    }
  }
#endif
  std::fill(d + i, d + n, pixel);
#if defined(__SSE2__)
  // Streaming stores are weakly ordered: the fill is done once they are visible.
  if constexpr (Stream) _mm_sfence();
#endif
}

template <bool Stream>
void FillDestination(benchmark::State& state) {
  Frames& f = framesOf(state);
  std::uint32_t pixel = 0;
  for (auto _ : state) {
    fillInLines<Stream>(f.doubled.data(), f.doubled.size(), ++pixel);
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
BENCHMARK(FillDestination<false>)->Name("FillDestination")->Apply(sizes);
BENCHMARK(FillDestination<true>)->Name("StreamFillDestination")->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  for (const auto& s : kSizes) {
    const std::string size = BenchArgs({s[0], s[1]});
    reporter.Goal("SwellDoublePixels" + size + " / write floor" + size,
                  {"SwellDoublePixels" + size},
                  {"FillDestination" + size, "StreamFillDestination" + size}, kTarget);
    reporter.Info("SwellDoublePixels" + size + " / PlainDoubling" + size,
                  {"SwellDoublePixels" + size}, {"PlainDoubling" + size});
  }
  reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return 0;
}
