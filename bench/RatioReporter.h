#pragma once

// Runs a benchmark program's benchmarks and reports its ratios against baselines measured in
// the same run, each by the rule of bench/PairedRatios.h: the median of paired samples.
//
// A program declares its ratios first (Goal, Info, CounterGoal), then calls RunAndReport, which
// takes the samples itself, in rounds (--rounds=N, 10 by default): in each round every benchmark a
// ratio names runs once, and the benchmarks that share a ratio run one right after the other,
// in the opposite order in every other round, so the two samples of a pair meet the same load.
// Google Benchmark's own repetitions cannot give that: with random interleaving it shuffles
// the repetitions of all the program's benchmarks together, so sample i of a side and sample
// i of its baseline may lie seconds apart. A benchmark no ratio names does not run.
//
// Each sample is one Google Benchmark run of its own, as --benchmark_min_time and the
// benchmark's settings ask; --benchmark_filter keeps the ratios of which a benchmark matches.
// Times are taken per iteration in seconds, by the reporter's clock or the one a ratio names:
// wall time by default; the processor time of the thread that runs the benchmark suits work
// done on that thread alone.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "bench/PairedRatios.h"

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  enum class Clock { Wall, Processor };
  // One side of a ratio: benchmarks by their full names as reported. Most sides are one
  // benchmark; a side of several takes the fastest of them in each round.
  using Side = std::vector<std::string>;

  explicit RatioReporter(Clock clock = Clock::Wall) : mClock(clock) {}

  // A ratio of the measured side's time over its baseline's, with the most it may be.
  void Goal(std::string name, Side measured, Side baseline, double goal) {
    Goal(std::move(name), std::move(measured), std::move(baseline), goal, mClock);
  }
  void Goal(std::string name, Side measured, Side baseline, double goal, Clock clock) {
    mRatios.push_back({std::move(name), std::move(measured), std::move(baseline), goal, clock});
  }
  // A ratio kept for information: printed, judged against nothing.
  void Info(std::string name, Side measured, Side baseline) {
    mRatios.push_back({std::move(name), std::move(measured), std::move(baseline), {}, mClock});
  }
  // A ratio that one benchmark measures within each of its samples, its two sides taking
  // turns inside it: two of its counters, one sample of each per round, paired alike.
  void CounterGoal(std::string name, const std::string& benchmark, std::string measuredCounter,
                   std::string baselineCounter, double goal) {
    mRatios.push_back({std::move(name),
                       {benchmark},
                       {benchmark},
                       goal,
                       mClock,
                       std::move(measuredCounter),
                       std::move(baselineCounter)});
  }
  // How far a ratio may climb over the same ratio at a reference point (the cost per row of
  // a list ten times longer, say): judged round by round, as CompareClimb does.
  void ClimbGoal(std::string name, Side measured, Side baseline, Side referenceMeasured,
                 Side referenceBaseline, double goal) {
    mRatios.push_back({std::move(name), std::move(measured), std::move(baseline), goal, mClock, "",
                       "", std::move(referenceMeasured), std::move(referenceBaseline)});
  }

  // Runs the rounds, then prints each ratio as its GOAL or INFO line. Returns how many ratios
  // were not measured (a side that failed or did not run in any round).
  int RunAndReport(int argc, char** argv) {
    mRounds = roundsAsked(argc, argv);
    const std::vector<std::vector<std::string>> groups = selectedGroups();
    for (const std::vector<std::string>& group : groups)
      for (const std::string& name : group)
        mWidth = std::max(mWidth, name.size());
    for (mRound = 0; mRound < mRounds; ++mRound) {
      for (const std::vector<std::string>& group : groups) {
        for (std::size_t k = 0; k < group.size(); ++k) {
          const std::string& name = group[mRound % 2 == 0 ? k : group.size() - 1 - k];
          if (benchmark::RunSpecifiedBenchmarks(this, alone(name)) == 0 && mRound == 0)
            std::fprintf(stderr, "no benchmark is named %s\n", name.c_str());
        }
      }
    }
    int unmeasured = 0;
    for (const Ratio& ratio : mRatios) {
      if (!selected(ratio)) continue;
      const RatioFigures figures = figuresOf(ratio);
      unmeasured += figures.pairs == 0;
      std::printf("%s\n", RatioLine(ratio.name, figures, ratio.goal).c_str());
    }
    std::fflush(stdout);
    return unmeasured;
  }

  // The context is printed once, for the first sample, with room for every name.
  bool ReportContext(const Context& context) override {
    if (!mPrintedContext) ConsoleReporter::ReportContext(context);
    mPrintedContext = true;
    name_field_width_ = std::max(name_field_width_, mWidth);
    return true;
  }

  void ReportRuns(const std::vector<Run>& runs) override {
    // A failed run carries no time; the library's aggregate rows are not samples.
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Iteration) continue;
      Samples& samples = mSamples[run.run_name.str()];
      if (samples.taken.size() < mRounds) {
        samples.taken.resize(mRounds, false);
        samples.wall.resize(mRounds, 0.0);
        samples.processor.resize(mRounds, 0.0);
      }
      // A benchmark that repeats itself within a round gives its first sample there.
      if (mRound >= mRounds || samples.taken[mRound]) continue;
      samples.taken[mRound] = true;
      const double perSecond = benchmark::GetTimeUnitMultiplier(run.time_unit);
      samples.wall[mRound] = run.GetAdjustedRealTime() / perSecond;
      samples.processor[mRound] = run.GetAdjustedCPUTime() / perSecond;
      for (const auto& [counter, value] : run.counters) {
        std::vector<double>& values = samples.counters[counter];
        values.resize(mRounds, 0.0);
        values[mRound] = value.value;
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }

 private:
  static constexpr std::size_t kDefaultRounds = 10;

  struct Ratio {
    std::string name;
    Side measured, baseline;
    std::optional<double> goal;
    Clock clock;
    // Set for a ratio of two counters of one benchmark.
    std::string measuredCounter = {}, baselineCounter = {};
    // Set for a climb over the same ratio at a reference point.
    Side referenceMeasured = {}, referenceBaseline = {};

    std::vector<const Side*> sides() const {
      return {&measured, &baseline, &referenceMeasured, &referenceBaseline};
    }
  };

  struct Samples {
    std::vector<bool> taken;
    std::vector<double> wall, processor;
    std::map<std::string, std::vector<double>> counters;
  };

  static std::size_t roundsAsked(int argc, char** argv) {
    constexpr const char* kFlag = "--rounds=";
    for (int i = 1; i < argc; ++i) {
      if (std::strncmp(argv[i], kFlag, std::strlen(kFlag)) != 0) continue;
      const long rounds = std::strtol(argv[i] + std::strlen(kFlag), nullptr, 10);
      if (rounds > 0) return static_cast<std::size_t>(rounds);
    }
    return kDefaultRounds;
  }

  // A regular expression that matches the name alone. Built by appending: GCC 12's overlap
  // check misreads "literal" + a temporary string once inlined.
  static std::string alone(const std::string& name) {
    std::string pattern = "^";
    for (char c : name) {
      if (std::strchr(".[]()*+?{}|^$\\", c)) pattern += '\\';
      pattern += c;
    }
    return pattern.append("$");
  }

  // Whether --benchmark_filter keeps the ratio: one of its benchmarks matches it (or, for a
  // filter led by '-', none does).
  static bool selected(const Ratio& ratio) {
    std::string filter = benchmark::GetBenchmarkFilter();
    if (filter.empty() || filter == "." || filter == "all") return true;
    const bool negative = filter.front() == '-';
    if (negative) filter.erase(0, 1);
    std::regex pattern;
    try {
      pattern.assign(filter);
    } catch (const std::regex_error&) {
      // The library says so too, and runs nothing.
      return false;
    }
    bool matched = false;
    for (const Side* side : ratio.sides())
      for (const std::string& name : *side)
        matched = matched || std::regex_search(name, pattern);
    return matched != negative;
  }

  // The benchmarks to run, grouped so that those sharing a ratio run together, each group in
  // the order the ratios first name them.
  std::vector<std::vector<std::string>> selectedGroups() const {
    std::vector<std::vector<std::string>> groups;
    std::map<std::string, std::size_t> groupOf;
    for (const Ratio& ratio : mRatios) {
      if (!selected(ratio)) continue;
      std::optional<std::size_t> into;
      for (const Side* side : ratio.sides())
        for (const std::string& name : *side)
          if (const auto it = groupOf.find(name); it != groupOf.end()) {
            // A ratio that joins two groups merges the later into the earlier.
            if (into && *into != it->second) {
              const std::size_t from = std::max(*into, it->second);
              into = std::min(*into, it->second);
              for (const std::string& moved : groups[from])
                groupOf[moved] = *into;
              groups[*into].insert(groups[*into].end(), groups[from].begin(), groups[from].end());
              groups[from].clear();
            } else {
              into = it->second;
            }
          }
      if (!into) {
        into = groups.size();
        groups.emplace_back();
      }
      for (const Side* side : ratio.sides())
        for (const std::string& name : *side)
          if (groupOf.emplace(name, *into).second) groups[*into].push_back(name);
    }
    std::erase_if(groups, [](const std::vector<std::string>& g) { return g.empty(); });
    return groups;
  }

  // A side's sample in each round, 0 where it measured nothing.
  std::vector<double> sideSamples(const Side& side, Clock clock, const std::string& counter) const {
    std::vector<std::vector<double>> ways;
    for (const std::string& name : side) {
      const auto it = mSamples.find(name);
      if (it == mSamples.end()) return {};
      const Samples& s = it->second;
      if (!counter.empty()) {
        const auto c = s.counters.find(counter);
        if (c == s.counters.end()) return {};
        ways.push_back(c->second);
      } else {
        ways.push_back(clock == Clock::Wall ? s.wall : s.processor);
      }
    }
    return FastestInEachRound(ways);
  }

  RatioFigures figuresOf(const Ratio& ratio) const {
    if (!ratio.referenceMeasured.empty())
      return CompareClimb(sideSamples(ratio.measured, ratio.clock, ""),
                          sideSamples(ratio.baseline, ratio.clock, ""),
                          sideSamples(ratio.referenceMeasured, ratio.clock, ""),
                          sideSamples(ratio.referenceBaseline, ratio.clock, ""));
    return CompareSamples(sideSamples(ratio.measured, ratio.clock, ratio.measuredCounter),
                          sideSamples(ratio.baseline, ratio.clock, ratio.baselineCounter));
  }

  Clock mClock;
  std::vector<Ratio> mRatios;
  std::map<std::string, Samples> mSamples;
  std::size_t mRounds = kDefaultRounds;
  std::size_t mRound = 0;
  std::size_t mWidth = 0;
  bool mPrintedContext = false;
};

// The "/a/b" that Google Benchmark appends to a benchmark's name for its arguments. Built by
// appending: GCC 12's overlap check misreads "literal" + a temporary string once inlined.
inline std::string BenchArgs(std::initializer_list<long long> args) {
  std::string text;
  for (long long a : args)
    text.append("/").append(std::to_string(a));
  return text;
}
