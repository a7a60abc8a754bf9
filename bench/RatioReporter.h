#pragma once

// A console reporter that also keeps each benchmark's time per iteration, so a benchmark
// program can print its ratios against a baseline measured in the same run.

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    // Aggregates and failed runs carry no time to compare.
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        mTimes[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }

  // The time per iteration of the named benchmark, in its own unit; 0 when it did not run
  // or failed.
  double Time(const std::string& name) const {
    const auto it = mTimes.find(name);
    return it == mTimes.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> mTimes;
};
