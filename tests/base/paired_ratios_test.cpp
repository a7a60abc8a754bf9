// The rule the benchmark programs judge their goals by (bench/PairedRatios.h), on samples
// made up to show what it must catch and what it must not be fooled by.

#include "bench/PairedRatios.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kGoal = 1.3;

TEST(PairedRatios, GoalsAreJudgedOnTheMedianOfPairedSamples) {
  struct Case {
    const char* what;
    std::vector<double> measured, baseline;
    double paired, fastest;
    bool met;
  };
  const std::vector<double> steady(10, 1.0);
  const Case cases[] = {
      // Slow in most samples: the fastest samples alone would show no difference.
      {"measured side 2x slower in 6 of 10 samples",
       {2, 1, 2, 2, 1, 2, 1, 2, 1, 2},
       steady,
       2.0,
       1.0,
       false},
      // One quiet sample of the baseline: the fastest samples alone would make it 4x.
      {"one fast sample of the baseline",
       steady,
       {1, 1, 1, 0.25, 1, 1, 1, 1, 1, 1},
       1.0,
       4.0,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const RatioFigures figures = CompareSamples(c.measured, c.baseline);
    EXPECT_DOUBLE_EQ(figures.paired, c.paired);
    EXPECT_DOUBLE_EQ(figures.fastest, c.fastest);
    EXPECT_EQ(MeetsGoal(figures, kGoal), c.met);
    // The same samples as a climb over a reference pair that stays level: the same verdict.
    const RatioFigures climb = CompareClimb(c.measured, c.baseline, steady, steady);
    EXPECT_DOUBLE_EQ(climb.paired, c.paired);
    EXPECT_EQ(MeetsGoal(climb, kGoal), c.met);
  }
}

TEST(PairedRatios, LinesCarryBothFiguresAndTheVerdict) {
  struct Case {
    std::string name;
    RatioFigures figures;
    std::optional<double> goal;
    const char* line;
  };
  // A ratio kept for information has no goal to meet or miss.
  const Case cases[] = {
      {"a / b", {1.234, 0.9, 10}, 1.5, "GOAL | a / b | 1.23 | 0.90 | <= 1.50 | met"},
      {"a / b", {0.2, 0.25, 10}, std::nullopt, "INFO | a / b | 0.20 | 0.25 | - | info"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RatioLine(c.name, c.figures, c.goal), c.line);
}

}  // namespace
