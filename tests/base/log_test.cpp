// The logger: module prefixes, captures that nest and take lines from any thread, standard
// error when nothing captures.

#include "base/detail/TestHooks.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

TEST(Log, LinesCarryTheirModulePrefix) {
  base::LogCapture log;
  base::warn("graphics", "refusing scale %g", 0.5);
  base::log(base::LogLevel::Error, "swell-cocoa", "bad handle %p", static_cast<void*>(nullptr));
  base::log(base::LogLevel::Info, "", "no module");
  base::warn("platform", "%s", std::string(3000, 'x').c_str());
  const std::vector<std::string> lines = log.lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "graphics: refusing scale 0.5");
  EXPECT_EQ(lines[1].rfind("swell-cocoa: bad handle ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2], "no module");
  EXPECT_EQ(lines[3], "platform: " + std::string(3000, 'x')) << "long lines are not cut";
  EXPECT_TRUE(log.contains("scale 0.5"));
  EXPECT_FALSE(log.contains("scale 2"));
  log.clear();
  EXPECT_EQ(log.count(), 0u);
}

TEST(Log, TheInnermostCaptureTakesTheLines) {
  base::LogCapture outer;
  {
    base::LogCapture inner;
    base::warn("m", "inner");
    EXPECT_EQ(inner.lines(), std::vector<std::string>{"m: inner"});
  }
  base::warn("m", "outer");
  EXPECT_EQ(outer.lines(), std::vector<std::string>{"m: outer"});

  // A capture that ends before one made after it leaves the later one in place.
  auto early = std::make_unique<base::LogCapture>();
  base::LogCapture late;
  early.reset();
  base::warn("m", "late");
  EXPECT_EQ(late.count(), 1u);
  EXPECT_EQ(outer.count(), 1u);
}

TEST(Log, LinesFromManyThreadsArriveWhole) {
  constexpr int kThreads = 8, kLinesEach = 200;
  base::LogCapture log;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < kLinesEach; ++i)
        base::warn("thread", "%d of %d", i, t);
    });
  for (std::thread& t : threads)
    t.join();
  const std::vector<std::string> lines = log.lines();
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kThreads * kLinesEach));
  for (const std::string& line : lines)
    ASSERT_EQ(line.rfind("thread: ", 0), 0u) << line;
}

TEST(Log, WithoutACaptureLinesGoToStandardErrorAndTheSystemLogIsOptional) {
  base::setSystemLog(true);
  testing::internal::CaptureStderr();
  base::warn("controls", "to standard error");
  const std::string written = testing::internal::GetCapturedStderr();
  base::setSystemLog(false);
  EXPECT_EQ(written, "controls: to standard error\n");
}

}  // namespace
