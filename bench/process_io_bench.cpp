// A child that writes its input file to its output, read to the end and waited for:
// through the layer's process calls (a process handle over a task with pipes), and
// directly through posix_spawn, read and waitpid.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/RatioReporter.h"
#include "windowing/Win32.h"

extern char** environ;

namespace {

constexpr const char* kCat = "/bin/cat";
constexpr int kRuns = 200;
constexpr int kReadChunk = 65536;

// An input file of the size, made once per size.
std::string inputFile(long bytes) {
  std::string path =
      "/tmp/process_io_bench_" + std::to_string(getpid()) + "_" + std::to_string(bytes);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  std::string block(4096, 'x');
  for (long written = 0; written < bytes; written += static_cast<long>(block.size()))
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
  return path;
}

void BM_ReadWriteProcessIO(benchmark::State& state) {
  std::string path = inputFile(state.range(0));
  const char* args[] = {path.c_str()};
  std::vector<char> buffer(kReadChunk);
  for (auto _ : state) {
    HANDLE h = SWELL_CreateProcessIO(kCat, 1, args, true);
    if (!h) {
      state.SkipWithError("cannot start cat");
      break;
    }
    long total = 0;
    for (int n; (n = SWELL_ReadWriteProcessIO(h, 1, buffer.data(), kReadChunk)) > 0;)
      total += n;
    WaitForSingleObject(h, INFINITE);
    CloseHandle(h);
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  unlink(path.c_str());
}

void BM_PosixSpawnReadWaitpid(benchmark::State& state) {
  std::string path = inputFile(state.range(0));
  std::vector<char> buffer(kReadChunk);
  for (auto _ : state) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      state.SkipWithError("no pipe");
      break;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    char* argv[] = {const_cast<char*>(kCat), path.data(), nullptr};
    pid_t pid = -1;
    int error = posix_spawn(&pid, kCat, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error) {
      close(fds[0]);
      state.SkipWithError("cannot start cat");
      break;
    }
    long total = 0;
    for (ssize_t n; (n = read(fds[0], buffer.data(), buffer.size())) > 0;)
      total += n;
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
  unlink(path.c_str());
}

constexpr long kSizes[] = {64 << 10, 1 << 20};
BENCHMARK(BM_ReadWriteProcessIO)->Arg(kSizes[0])->Arg(kSizes[1])->Iterations(kRuns)->UseRealTime();
BENCHMARK(BM_PosixSpawnReadWaitpid)
    ->Arg(kSizes[0])
    ->Arg(kSizes[1])
    ->Iterations(kRuns)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  for (long size : kSizes) {
    std::string suffix = BenchArgs({size});
    suffix.append("/iterations:").append(std::to_string(kRuns)).append("/real_time");
    reporter.Goal(
        "SWELL_ReadWriteProcessIO / posix_spawn+read+waitpid at " + std::to_string(size) + " bytes",
        {"BM_ReadWriteProcessIO" + suffix}, {"BM_PosixSpawnReadWaitpid" + suffix}, 1.2);
  }
  const int missing = reporter.RunAndReport(argc, argv);
  benchmark::Shutdown();
  return missing ? 1 : 0;
}
