// Ini-file costs against what the file system alone costs for the same work, on files of 10,
// 100, 1,000, 10,000 and 100,000 keys:
// - a cached GetPrivateProfileString of a file this process has just written, against a bare
//   stat() of it (goal: at most 3x), since a cached read must stay about one status query;
// - a GetPrivateProfileString right after another writer replaced the file, which must read
//   it again, against opening the file and reading its bytes into memory right after such a
//   replacement (goal: at most 3x), since parsing must stay about a pass over the bytes;
// - WritePrivateProfileString against writing the same bytes to a new file with fsync, rename
//   and a sync of the folder (goal: at most 1.5x), since a write must stay one safe rewrite;
// and 40 keys written one by one, each a rewrite of its own, against as many raw rewrites of
// the same bytes (goal: at most 1.5x), since each of them must stay one safe rewrite too.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "bench/RatioReporter.h"
#include "windowing/Win32.h"

namespace {

constexpr int kKeyCounts[] = {10, 100, 1000, 10000, 100000};
constexpr int kKeysPerSection = 100;
constexpr int kSingleKeyWrites = 40;
constexpr double kCachedReadGoal = 3.0;
constexpr double kChangedReadGoal = 3.0;
constexpr double kWriteGoal = 1.5;

std::string gDir;

std::string pathFor(const std::string& name) {
  return gDir + "/" + name;
}

// A settings file of `keys` keys, a hundred to a section.
std::string settingsText(int keys) {
  std::ostringstream text;
  for (int i = 0; i < keys; ++i) {
    if (i % kKeysPerSection == 0)
      text << (i ? "\n" : "") << "[section" << i / kKeysPerSection << "]\n";
    text << "setting_" << i << "=Pedal Port " << i << "\n";
  }
  text << "\n";
  return text.str();
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// What a program does to read a file's bytes without this library: open it, find its size,
// read it whole into memory, close it. Returns the bytes read.
std::size_t readBytes(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  std::size_t got = 0;
  struct stat info;
  if (fstat(fd, &info) == 0) {
    // A byte to spare, to see the end in the same read.
    const std::size_t room = static_cast<std::size_t>(info.st_size) + 1;
    std::unique_ptr<char[]> bytes(new char[room]);
    for (ssize_t n; got < room && (n = read(fd, bytes.get() + got, room - got)) > 0;)
      got += static_cast<std::size_t>(n);
    benchmark::DoNotOptimize(bytes.get());
  }
  close(fd);
  return got;
}

// What a careful writer does without this library: a new file beside the target, written,
// synced and renamed over it, then the folder synced. `sync` false: a writer that does not
// sync, standing for another program changing the file.
bool rawReplace(const std::string& target, const std::string& text, bool sync = true) {
  const std::string temporary = target + ".raw";
  const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = (!sync || fsync(fd) == 0) && ok;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
  if (ok && sync) {
    const int folder = open(gDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = folder >= 0 && fsync(folder) == 0;
    if (folder >= 0) close(folder);
  }
  return ok;
}

// Writes wait on the disk, whose speed drifts while a benchmark runs: the measured work and
// its baseline take turns within each iteration, and their times are kept apart, as the two
// counters of each sample that RatioReporter pairs. Work that does no waiting is timed by the
// processor time of the thread, steadier on a busy machine.
class Interleaved {
 public:
  enum class Clock { Wall, Thread };
  explicit Interleaved(Clock clock = Clock::Wall) : mClock(clock) {}

  template <typename Work>
  void Baseline(Work work) {
    mBaselineUs += Time(work);
  }
  template <typename Work>
  void Measured(Work work) {
    mMeasuredUs += Time(work);
  }
  void Report(benchmark::State& state) {
    if (mFailed) state.SkipWithError("a write failed");
    state.counters["baseline_us"] =
        benchmark::Counter(mBaselineUs, benchmark::Counter::kAvgIterations);
    state.counters["measured_us"] =
        benchmark::Counter(mMeasuredUs, benchmark::Counter::kAvgIterations);
  }

 private:
  double NowUs() const {
    timespec now{};
    clock_gettime(mClock == Clock::Wall ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
  }
  template <typename Work>
  double Time(Work work) {
    const double start = NowUs();
    mFailed = !work() || mFailed;
    return NowUs() - start;
  }

  Clock mClock;
  double mBaselineUs = 0.0;
  double mMeasuredUs = 0.0;
  bool mFailed = false;
};

std::string name(const char* what, int keys) {
  return std::string(what).append(BenchArgs({keys}));
}

// A file of `keys` keys written through the library, as a program's own settings file is.
std::string ownFile(int keys) {
  const std::string file = pathFor("own" + std::to_string(keys) + ".ini");
  rawReplace(file, settingsText(keys));
  WritePrivateProfileString("section0", "setting_0", "written here", file.c_str());
  return file;
}

void registerAt(int keys) {
  benchmark::RegisterBenchmark(name("Stat", keys).c_str(), [keys](benchmark::State& state) {
    const std::string file = ownFile(keys);
    struct stat info;
    for (auto _ : state)
      benchmark::DoNotOptimize(stat(file.c_str(), &info));
  });

  benchmark::RegisterBenchmark(name("CachedRead", keys).c_str(), [keys](benchmark::State& state) {
    const std::string file = ownFile(keys);
    char buffer[256];
    for (auto _ : state) {
      GetPrivateProfileString("section0", "setting_7", "", buffer, sizeof buffer, file.c_str());
      benchmark::DoNotOptimize(buffer);
    }
  });

  // Each read comes right after another writer replaced the file, the baseline's as the
  // library's, so both find it alike in the page cache.
  benchmark::RegisterBenchmark(name("ReadAfterOtherWriter", keys).c_str(), [keys](benchmark::State&
                                                                                      state) {
    const std::string file = ownFile(keys);
    const std::string text[2] = {settingsText(keys), settingsText(keys) + "[x]\ny=1\n"};
    char buffer[256];
    int round = 0;
    Interleaved timing(Interleaved::Clock::Thread);
    for (auto _ : state) {
      rawReplace(file, text[++round % 2], false);
      timing.Baseline([&] { return readBytes(file) > 0; });
      rawReplace(file, text[++round % 2], false);
      timing.Measured([&] {
        return GetPrivateProfileString("section0", "setting_7", "", buffer, sizeof buffer,
                                       file.c_str()) > 0;
      });
    }
    timing.Report(state);
  })->UseRealTime();

  benchmark::RegisterBenchmark(name("Write", keys).c_str(), [keys](benchmark::State& state) {
    const std::string file = ownFile(keys);
    const std::string text = readWhole(file);
    const std::string target = pathFor("raw" + std::to_string(keys) + ".ini");
    Interleaved timing;
    bool flip = false;
    for (auto _ : state) {
      flip = !flip;
      timing.Baseline([&] { return rawReplace(target, text); });
      timing.Measured([&] {
        return WritePrivateProfileString("section0", "setting_0", flip ? "value A" : "value B",
                                         file.c_str()) == TRUE;
      });
    }
    timing.Report(state);
  })->UseRealTime();
}

// Forty keys written one by one, each a rewrite of the file, every one taking turns with a raw
// rewrite of the same bytes.
void singleKeyWrites(benchmark::State& state) {
  const std::string file = pathFor("single.ini");
  for (int i = 0; i < kSingleKeyWrites; ++i)
    WritePrivateProfileString("keys", ("key" + std::to_string(i)).c_str(), "0", file.c_str());
  const std::string text = readWhole(file);
  const std::string target = pathFor("rawsingle.ini");
  Interleaved timing;
  int round = 0;
  for (auto _ : state) {
    const std::string value = std::to_string(++round % 2);
    for (int i = 0; i < kSingleKeyWrites; ++i) {
      timing.Baseline([&] { return rawReplace(target, text); });
      timing.Measured([&] {
        return WritePrivateProfileString("keys", ("key" + std::to_string(i)).c_str(), value.c_str(),
                                         file.c_str()) == TRUE;
      });
    }
  }
  timing.Report(state);
}

// Reads do no waiting, so their processor time is compared: steadier on a busy machine.
void readRatio(RatioReporter& reporter, const std::string& what, const std::string& measured,
               const std::string& baseline, double goal) {
  reporter.Goal(what, {measured}, {baseline}, goal, RatioReporter::Clock::Processor);
}

// The two sides timed in turns within each sample of one benchmark.
void interleavedRatio(RatioReporter& reporter, const std::string& what,
                      const std::string& benchmark, double goal) {
  reporter.CounterGoal(what, benchmark + "/real_time", "measured_us", "baseline_us", goal);
}

bool setUp() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ini_bench.XXXXXX";
  if (!mkdtemp(pattern.data())) return false;
  gDir = pattern;
  return true;
}

void tearDown() {
  if (!gDir.empty()) std::system(("rm -rf '" + gDir + "'").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!setUp()) {
    std::fprintf(stderr, "ini_bench: cannot make its folder\n");
    return 1;
  }
  for (int keys : kKeyCounts)
    registerAt(keys);
  benchmark::RegisterBenchmark("SingleKeyWrites", singleKeyWrites)->UseRealTime();

  RatioReporter reporter;
  for (int keys : kKeyCounts) {
    const std::string size = std::to_string(keys) + " keys";
    readRatio(reporter, "cached GetPrivateProfileString / stat, " + size, name("CachedRead", keys),
              name("Stat", keys), kCachedReadGoal);
    interleavedRatio(reporter,
                     "GetPrivateProfileString after another writer / reading the bytes, " + size,
                     name("ReadAfterOtherWriter", keys), kChangedReadGoal);
    interleavedRatio(reporter, "WritePrivateProfileString / write+fsync+rename, " + size,
                     name("Write", keys), kWriteGoal);
  }
  interleavedRatio(reporter,
                   "40 single-key writes / as many write+fsync+rename+folder syncs, per write",
                   "SingleKeyWrites", kWriteGoal);
  reporter.RunAndReport(argc, argv);
  tearDown();
  benchmark::Shutdown();
  return 0;
}
