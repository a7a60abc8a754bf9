#pragma once

// How a benchmark program turns the samples of a measured side and its baseline into one
// ratio, and the line that reports it; plain functions of numbers, so the rule can be checked
// without running a benchmark.
//
// The two sides are sampled in rounds: in each round the two run one right after the other,
// so both meet the same load elsewhere on the machine, and sample i of one is paired with
// sample i of the other. A goal is judged on the median of the pairs' ratios, which a burst
// of load on a few samples cannot move, and which a side slow in most samples cannot hide.
// The ratio of each side's fastest sample is printed beside it, for information only: one
// quiet sample of either side decides it.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

// The middle value, or the mean of the middle two; 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  const std::size_t mid = values.size() / 2;
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid), values.end());
  if (values.size() % 2 == 1) return values[mid];
  const double upper = values[mid];
  const double lower =
      *std::max_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(mid));
  return (lower + upper) / 2.0;
}

// One ratio of a measured side over its baseline: the median of the paired samples' ratios,
// the ratio of the sides' fastest samples among those pairs, and how many pairs there were
// (0: none, the ratio was not measured).
struct RatioFigures {
  double paired = 0.0;
  double fastest = 0.0;
  std::size_t pairs = 0;
};

// Samples of two sides, one per round; a sample of 0 (or less) is a round in which that side
// measured nothing, and the pair of that round is left out.
inline RatioFigures CompareSamples(const std::vector<double>& measured,
                                   const std::vector<double>& baseline) {
  RatioFigures figures;
  std::vector<double> ratios;
  double fastestMeasured = 0.0, fastestBaseline = 0.0;
  for (std::size_t i = 0; i < std::min(measured.size(), baseline.size()); ++i) {
    if (!(measured[i] > 0.0) || !(baseline[i] > 0.0)) continue;
    ratios.push_back(measured[i] / baseline[i]);
    if (ratios.size() == 1 || measured[i] < fastestMeasured) fastestMeasured = measured[i];
    if (ratios.size() == 1 || baseline[i] < fastestBaseline) fastestBaseline = baseline[i];
  }
  if (ratios.empty()) return figures;
  figures.paired = Median(ratios);
  figures.fastest = fastestMeasured / fastestBaseline;
  figures.pairs = ratios.size();
  return figures;
}

// How much a ratio climbs over the same ratio at a reference point (a size ten times smaller,
// say): in each round, the pair's ratio over the reference pair's ratio of that round, so all
// four samples of a round meet the same load. A round in which any of the four measured nothing
// is left out. The fastest figure is the ratio of the fastest samples over the reference's.
inline RatioFigures CompareClimb(const std::vector<double>& measured,
                                 const std::vector<double>& baseline,
                                 const std::vector<double>& referenceMeasured,
                                 const std::vector<double>& referenceBaseline) {
  const std::size_t rounds = std::min(
      {measured.size(), baseline.size(), referenceMeasured.size(), referenceBaseline.size()});
  std::vector<double> climbs, m, b, rm, rb;
  for (std::size_t i = 0; i < rounds; ++i) {
    if (!(measured[i] > 0.0) || !(baseline[i] > 0.0) || !(referenceMeasured[i] > 0.0) ||
        !(referenceBaseline[i] > 0.0))
      continue;
    climbs.push_back((measured[i] / baseline[i]) / (referenceMeasured[i] / referenceBaseline[i]));
    m.push_back(measured[i]);
    b.push_back(baseline[i]);
    rm.push_back(referenceMeasured[i]);
    rb.push_back(referenceBaseline[i]);
  }
  RatioFigures figures;
  if (climbs.empty()) return figures;
  const auto least = [](const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
  };
  figures.paired = Median(climbs);
  figures.fastest = (least(m) / least(b)) / (least(rm) / least(rb));
  figures.pairs = climbs.size();
  return figures;
}

// A side made of several benchmarks that do the same work different ways (a floor that is
// whichever of two fills is faster, say): its sample in each round is the fastest of theirs
// in that round, or 0 when one of them measured nothing there.
inline std::vector<double> FastestInEachRound(const std::vector<std::vector<double>>& ways) {
  std::size_t rounds = ways.empty() ? 0 : ways.front().size();
  for (const std::vector<double>& way : ways)
    rounds = std::min(rounds, way.size());
  std::vector<double> fastest(rounds, 0.0);
  for (std::size_t i = 0; i < rounds; ++i) {
    bool all = true;
    for (const std::vector<double>& way : ways) {
      all = all && way[i] > 0.0;
      if (all && (fastest[i] == 0.0 || way[i] < fastest[i])) fastest[i] = way[i];
    }
    if (!all) fastest[i] = 0.0;
  }
  return fastest;
}

// Whether a measured ratio is within its goal (the most it may be).
inline bool MeetsGoal(const RatioFigures& figures, double goal) {
  return figures.pairs > 0 && figures.paired <= goal;
}

// The one line that scripts/bench gathers into its closing table: for a ratio with a goal
//   GOAL | <name> | <median of pairs> | <fastest samples> | <= <goal> | met|MISSED
// and for one kept for information
//   INFO | <name> | <median of pairs> | <fastest samples> | - | info
// A ratio that was not measured shows "-" for both figures, and misses its goal.
inline std::string RatioLine(std::string name, const RatioFigures& figures,
                             std::optional<double> goal) {
  // The separator may not appear inside a field.
  std::replace(name.begin(), name.end(), '|', '/');
  char paired[32] = "-", fastest[32] = "-", limit[32] = "-";
  if (figures.pairs > 0) {
    std::snprintf(paired, sizeof paired, "%.2f", figures.paired);
    std::snprintf(fastest, sizeof fastest, "%.2f", figures.fastest);
  }
  if (goal) std::snprintf(limit, sizeof limit, "<= %.2f", *goal);
  const char* verdict = !goal ? "info" : MeetsGoal(figures, *goal) ? "met" : "MISSED";
  return std::string(goal ? "GOAL" : "INFO") + " | " + name + " | " + paired + " | " + fastest +
         " | " + limit + " | " + verdict;
}
