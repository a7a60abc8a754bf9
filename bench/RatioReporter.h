#pragma once

// A console reporter that also keeps each benchmark's time per iteration, so a benchmark
// program can print its ratios against a baseline measured in the same run.
//
// On a shared machine one sample of a benchmark can be off by a factor of two, so scripts/bench
// runs every benchmark several times, in random order (measured and baseline interleave, and a
// burst of load elsewhere falls on both); a benchmark that ran more than once is kept as its
// fastest sample, under its plain name. Interference on such a machine only ever adds time (a
// quiet machine measured here still swung one benchmark's samples from 3.5 to 7 ms of processor
// time), so the fastest sample is the one nearest the work's own cost, and it is taken alike for
// the measured side and its baseline. Counters, which a benchmark computes itself (a ratio of
// its own samples, say), are kept as their median. The library's own aggregate rows (_mean,
// _median, _stddev, _cv) are not kept as benchmarks; their median stands in only when the
// samples themselves were not reported.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
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
    // Failed runs carry no time to compare. Repetitions of one benchmark share its plain name
    // (run_name), and may arrive in several calls when repetitions are interleaved.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Iteration)
        add(mSamples[run.run_name.str()], run);
      else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        add(mMedianAggregates[run.run_name.str()], run);
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // The time per iteration of the named benchmark, in its own unit, by the reporter's clock
  // or the one given (the fastest of its repetitions); 0 when it did not run or failed.
  double Time(const std::string& name) const { return Time(name, mClock); }
  double Time(const std::string& name, Clock clock) const {
    const Samples* s = find(name);
    if (!s) return 0.0;
    const std::vector<double>& times = clock == Clock::Wall ? s->wall : s->processor;
    return times.empty() ? 0.0 : *std::min_element(times.begin(), times.end());
  }

  // A counter the named benchmark set, as reported (averaged where it asked), the median over
  // its repetitions; 0 when absent.
  double Counter(const std::string& name, const std::string& counter) const {
    const Samples* s = find(name);
    if (!s) return 0.0;
    const auto c = s->counters.find(counter);
    return c == s->counters.end() ? 0.0 : median(c->second);
  }

 private:
  struct Samples {
    std::vector<double> wall;
    std::vector<double> processor;
    std::map<std::string, std::vector<double>> counters;
  };

  static void add(Samples& s, const Run& run) {
    s.wall.push_back(run.GetAdjustedRealTime());
    s.processor.push_back(run.GetAdjustedCPUTime());
    for (const auto& [counter, value] : run.counters)
      s.counters[counter].push_back(value.value);
  }

  const Samples* find(const std::string& name) const {
    if (const auto it = mSamples.find(name); it != mSamples.end()) return &it->second;
    if (const auto it = mMedianAggregates.find(name); it != mMedianAggregates.end())
      return &it->second;
    return nullptr;
  }

  // The middle sample, or the mean of the middle two.
  static double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    const std::size_t mid = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + mid, values.end());
    if (values.size() % 2 == 1) return values[mid];
    const double upper = values[mid];
    const double lower = *std::max_element(values.begin(), values.begin() + mid);
    return (lower + upper) / 2.0;
  }

  Clock mClock;
  std::map<std::string, Samples> mSamples;
  // The library's median rows, for when only aggregates are reported.
  std::map<std::string, Samples> mMedianAggregates;
};

// The "/a/b" that Google Benchmark appends to a benchmark's name for its arguments. Built by
// appending: GCC 12's overlap check misreads "literal" + a temporary string once inlined.
inline std::string BenchArgs(std::initializer_list<long long> args) {
  std::string text;
  for (long long a : args)
    text.append("/").append(std::to_string(a));
  return text;
}

// Reports one ratio, the measured time over its baseline's, against its goal (the most it may
// be), as the one line that scripts/bench gathers into its closing table; every ratio a
// benchmark prints goes through here, so none can pass unseen:
//   GOAL | <name> | <ratio> | <= <goal> | met
// A ratio whose times are missing (a benchmark did not run or failed) shows "-" and is MISSED.
// Returns whether the goal was met.
inline bool ReportRatio(std::string name, double measured, double baseline, double goal) {
  // The separator may not appear inside a field.
  std::replace(name.begin(), name.end(), '|', '/');
  const bool measuredBoth = measured > 0.0 && baseline > 0.0;
  const double ratio = measuredBoth ? measured / baseline : 0.0;
  const bool met = measuredBoth && ratio <= goal;
  char value[32] = "-";
  if (measuredBoth) std::snprintf(value, sizeof value, "%.2f", ratio);
  std::printf("GOAL | %s | %s | <= %.2f | %s\n", name.c_str(), value, goal, met ? "met" : "MISSED");
  return met;
}
