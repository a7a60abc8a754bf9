// Ini-file costs against what the file system alone costs for the same work:
// - a cached GetPrivateProfileString of a settings-sized file against a bare stat() of the
//   same file (target: within 3x), since a cached read must stay about one status query;
// - WritePrivateProfileString against writing the same bytes to a temporary file with
//   fsync and rename (target: within 1.5x), since a write must stay about one safe rewrite.
// Prints both ratios after the runs.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/RatioReporter.h"
#include "windowing/Win32.h"

namespace {

struct BenchFiles {
  std::string dir;
  std::string readFile;      // aged settings file, served from the cache
  std::string writeFile;     // settings file rewritten by WritePrivateProfileString
  std::string baselineFile;  // replaced by the fsync-and-rename baseline
  std::string baselineText;  // the bytes WritePrivateProfileString writes
};

BenchFiles gFiles;

// About what the host keeps: two device sections and a few more, some 2 KB.
std::string settingsText() {
  std::ostringstream text;
  text << "[audio]\n";
  for (int i = 0; i < 20; ++i)
    text << "audio_setting_" << i << "=Built-in Output " << i << "\n";
  text << "device=Built-in Output\n\n[midi]\n";
  for (int i = 0; i < 20; ++i)
    text << "midi_setting_" << i << "=Pedal Port " << i << "\n";
  text << "\n[window]\nx=100\ny=200\nw=800\nh=600\n\n";
  return text.str();
}

void writeWhole(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string readWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A settings file at rest: its modification time a minute back, as for a file not being
// edited, so the cache may trust it.
void age(const std::string& path) {
  timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 60;
  times[1] = times[0];
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

void StatBaseline(benchmark::State& state) {
  struct stat info;
  for (auto _ : state)
    benchmark::DoNotOptimize(stat(gFiles.readFile.c_str(), &info));
}

void CachedGetPrivateProfileString(benchmark::State& state) {
  char buffer[256];
  for (auto _ : state) {
    GetPrivateProfileString("midi", "midi_setting_7", "", buffer, sizeof buffer,
                            gFiles.readFile.c_str());
    benchmark::DoNotOptimize(buffer);
  }
}

void FsyncRenameBaseline(benchmark::State& state) {
  const std::string temporary = gFiles.baselineFile + ".new";
  const std::string& text = gFiles.baselineText;
  for (auto _ : state) {
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()) ||
        fsync(fd) != 0 || close(fd) != 0 ||
        rename(temporary.c_str(), gFiles.baselineFile.c_str()) != 0) {
      state.SkipWithError("baseline write failed");
      break;
    }
  }
}

void WriteProfileString(benchmark::State& state) {
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    if (!WritePrivateProfileString("audio", "device", flip ? "Built-in Output" : "External Output",
                                   gFiles.writeFile.c_str())) {
      state.SkipWithError("WritePrivateProfileString failed");
      break;
    }
  }
}

void printRatio(const RatioReporter& reporter, const char* what, const std::string& measured,
                const std::string& baseline, double target) {
  const double m = reporter.Time(measured);
  const double b = reporter.Time(baseline);
  if (m <= 0 || b <= 0) {
    std::printf("ratio %s: not measured\n", what);
    return;
  }
  const double ratio = m / b;
  std::printf("ratio %s: %.2f (target <= %.1f)%s\n", what, ratio, target,
              ratio <= target ? "" : "  OVER TARGET");
}

bool setUp() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ini_bench.XXXXXX";
  if (!mkdtemp(pattern.data())) return false;
  gFiles.dir = pattern;
  gFiles.readFile = gFiles.dir + "/read.ini";
  gFiles.writeFile = gFiles.dir + "/write.ini";
  gFiles.baselineFile = gFiles.dir + "/baseline.ini";
  writeWhole(gFiles.readFile, settingsText());
  age(gFiles.readFile);
  writeWhole(gFiles.writeFile, settingsText());
  if (!WritePrivateProfileString("audio", "device", "External Output", gFiles.writeFile.c_str())) {
    return false;
  }
  gFiles.baselineText = readWhole(gFiles.writeFile);
  return true;
}

void tearDown() {
  if (!gFiles.dir.empty()) std::system(("rm -rf '" + gFiles.dir + "'").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (!setUp()) {
    std::fprintf(stderr, "ini_bench: cannot set up its files\n");
    tearDown();
    return 1;
  }
  benchmark::RegisterBenchmark("StatBaseline", StatBaseline);
  benchmark::RegisterBenchmark("CachedGetPrivateProfileString", CachedGetPrivateProfileString);
  benchmark::RegisterBenchmark("FsyncRenameBaseline", FsyncRenameBaseline);
  benchmark::RegisterBenchmark("WritePrivateProfileString", WriteProfileString);

  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printRatio(reporter, "cached GetPrivateProfileString / stat", "CachedGetPrivateProfileString",
             "StatBaseline", 3.0);
  printRatio(reporter, "WritePrivateProfileString / write+fsync+rename",
             "WritePrivateProfileString", "FsyncRenameBaseline", 1.5);
  tearDown();
  benchmark::Shutdown();
  return 0;
}
