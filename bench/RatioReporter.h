#pragma once

// A console reporter that also keeps each benchmark's time per iteration, so a benchmark
// program can print its ratios against a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Which time a ratio is made of. Wall time by default; the processor time of the thread
  // that runs the benchmark suits work done on that thread alone, and stays steady on a
  // machine busy with other work.
  enum class Clock { Wall, Processor };
  explicit RatioReporter(Clock clock = Clock::Wall) : mClock(clock) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    // Aggregates and failed runs carry no time to compare.
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      Measured& m = mRuns[run.benchmark_name()];
      m.wall = run.GetAdjustedRealTime();
      m.processor = run.GetAdjustedCPUTime();
      for (const auto& [counter, value] : run.counters)
        m.counters[counter] = value.value;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The time per iteration of the named benchmark, in its own unit, by the reporter's clock
  // or the one given; 0 when it did not run or failed.
  double Time(const std::string& name) const { return Time(name, mClock); }
  double Time(const std::string& name, Clock clock) const {
    const auto it = mRuns.find(name);
    if (it == mRuns.end()) return 0.0;
    return clock == Clock::Wall ? it->second.wall : it->second.processor;
  }

  // A counter the named benchmark set, as reported (averaged where it asked); 0 when absent.
  double Counter(const std::string& name, const std::string& counter) const {
    const auto it = mRuns.find(name);
    if (it == mRuns.end()) return 0.0;
    const auto c = it->second.counters.find(counter);
    return c == it->second.counters.end() ? 0.0 : c->second;
  }

 private:
  struct Measured {
    double wall = 0.0;
    double processor = 0.0;
    std::map<std::string, double> counters;
  };
  Clock mClock;
  std::map<std::string, Measured> mRuns;
};

// Prints a ratio as one line; with a goal (the most it may be) the line ends in "met" or
// "MISSED", and scripts/bench gathers such lines into its closing table. Returns whether the
// goal was met (true without one).
inline bool PrintRatio(const std::string& name, double ratio, double goal = 0.0) {
  if (goal <= 0.0) {
    std::printf("ratio %s: %.2f\n", name.c_str(), ratio);
    return true;
  }
  const bool met = ratio <= goal;
  std::printf("ratio %s: %.2f (goal at most %.2f) %s\n", name.c_str(), ratio, goal,
              met ? "met" : "MISSED");
  return met;
}

// As PrintRatio, for a goal set on a time rather than a ratio, in microseconds.
inline bool PrintTime(const std::string& name, double microseconds, double goalMicroseconds) {
  const bool met = microseconds <= goalMicroseconds;
  std::printf("time %s: %.1f us (goal at most %.1f us) %s\n", name.c_str(), microseconds,
              goalMicroseconds, met ? "met" : "MISSED");
  return met;
}
