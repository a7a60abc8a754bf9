#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/Pipe.h"
#include "platform/system/Task.h"
#include "platform/system/Thread.h"

using namespace platform;

namespace {

constexpr const char* kShell = "/bin/sh";
constexpr long kWaitMs = 10000;

// A task of `sh -c script`, with pipes on its three streams when asked.
Ref<NSTask> shell(const std::string& script, bool pipes = false) {
  auto task = Ref<NSTask>::adopt(new NSTask(kShell, {"-c", script}));
  if (pipes) {
    task->setStandardInput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
    task->setStandardOutput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
    task->setStandardError(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
  }
  return task;
}

std::string readToEnd(NSPipe* pipe) {
  std::string out;
  char buffer[4096];
  for (long n; (n = pipe->readWaiting(buffer, sizeof buffer)) > 0;)
    out.append(buffer, static_cast<std::size_t>(n));
  return out;
}

// The state letter of a process in /proc, or 0 when it is gone.
char processState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  auto close = line.rfind(')');
  return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

TEST(NSTask, ReportsExitStatusOrTheSignalThatEndedTheChild) {
  struct Case {
    const char* script;
    int status;
    bool signalled;
  } cases[] = {
      {"exit 0", 0, false},
      {"exit 3", 3, false},
      {"exit 255", 255, false},
      {"kill -TERM $$", SIGTERM, true},
      {"kill -KILL $$", SIGKILL, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    auto task = shell(c.script);
    ASSERT_TRUE(task->launch());
    EXPECT_GT(task->processIdentifier(), 0);
    ASSERT_TRUE(task->waitUntilExit(kWaitMs));
    EXPECT_FALSE(task->isRunning());
    EXPECT_EQ(task->terminationStatus(), c.status);
    EXPECT_EQ(task->wasSignalled(), c.signalled);
  }
}

TEST(NSTask, AProgramThatCannotRunFailsAtOnceWithNoChild) {
  std::string dir = ::testing::TempDir() + "/task_unrunnable";
  mkdir(dir.c_str(), 0700);
  std::string plain = dir + "/plain";
  std::ofstream(plain) << "#!/bin/sh\nexit 0\n";
  chmod(plain.c_str(), 0600);
  for (const std::string& path :
       {std::string("/nonexistent/program"), plain, dir, std::string("sh"), std::string()}) {
    SCOPED_TRACE(path);
    auto task = Ref<NSTask>::adopt(new NSTask(path, {}));
    EXPECT_FALSE(task->launch());  // "sh" too: no search of PATH
    EXPECT_FALSE(task->isRunning());
    EXPECT_FALSE(task->terminate());
  }
  auto task = shell("exit 0");
  ASSERT_TRUE(task->launch());
  EXPECT_FALSE(task->launch());  // a task runs once
  task->waitUntilExit(kWaitMs);
}

TEST(NSTask, PipesCarryDataBothWays) {
  auto task = Ref<NSTask>::adopt(new NSTask("/bin/cat", {}));
  task->setStandardInput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
  task->setStandardOutput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
  ASSERT_TRUE(task->launch());
  // Nothing written yet: a read that does not wait takes nothing.
  char b[8];
  EXPECT_EQ(task->standardOutput()->readAvailable(b, sizeof b), 0);
  EXPECT_EQ(task->standardInput()->writeAll("hello", 5), 5);
  EXPECT_EQ(task->standardOutput()->bytesReadyWaiting(), 5);
  task->standardInput()->closeWriteEnd();
  EXPECT_EQ(readToEnd(task->standardOutput()), "hello");
  EXPECT_TRUE(task->waitUntilExit(kWaitMs));
  EXPECT_EQ(task->terminationStatus(), 0);
  EXPECT_EQ(task->standardOutput()->bytesReadyWaiting(), 0);  // the end: nothing ready
}

TEST(NSTask, WritingToAChildThatClosedItsInputFailsWithoutKillingUs) {
  auto task = shell("exec 0<&-; exit 0", true);
  ASSERT_TRUE(task->launch());
  ASSERT_TRUE(task->waitUntilExit(kWaitMs));
  std::string block(65536, 'x');
  EXPECT_EQ(task->standardInput()->writeAll(block.data(), block.size()), 0);
  sigset_t pending;
  sigpending(&pending);
  EXPECT_FALSE(sigismember(&pending, SIGPIPE));  // consumed, not left behind
}

// The signals of a "Sig..." line of /proc/<pid>/status, less the C library's own two
// (32 and 33), which every child it spawns starts ignoring.
unsigned long long signalsOf(const std::string& status, const std::string& field) {
  auto at = status.find(field + ":\t");
  if (at == std::string::npos) return ~0ULL;
  constexpr unsigned long long kLibrarySignals = 3ULL << 31;
  return std::stoull(status.substr(at + field.size() + 2, 16), nullptr, 16) & ~kLibrarySignals;
}

TEST(NSTask, TheChildGetsOnlyTheStandardDescriptorsAndDefaultSignals) {
  // A descriptor of ours without close-on-exec, a blocked and an ignored signal must
  // not reach the child.
  int leaked = dup(STDERR_FILENO);
  sigset_t usr1, previous;
  sigemptyset(&usr1);
  sigaddset(&usr1, SIGUSR1);
  pthread_sigmask(SIG_BLOCK, &usr1, &previous);
  auto previousUsr2 = signal(SIGUSR2, SIG_IGN);
  auto listing = Ref<NSTask>::adopt(new NSTask("/bin/ls", {"/proc/self/fd"}));
  auto status = Ref<NSTask>::adopt(new NSTask("/bin/cat", {"/proc/self/status"}));
  for (NSTask* task : {listing.get(), status.get()}) {
    task->setStandardOutput(Ref<NSPipe>::adopt(NSPipe::pipe()).get());
    ASSERT_TRUE(task->launch());
  }
  signal(SIGUSR2, previousUsr2);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  close(leaked);
  // Descriptor 3 is the listing's own open directory.
  EXPECT_EQ(readToEnd(listing->standardOutput()), "0\n1\n2\n3\n");
  std::string text = readToEnd(status->standardOutput());
  EXPECT_EQ(signalsOf(text, "SigBlk"), 0u) << text;
  EXPECT_EQ(signalsOf(text, "SigIgn"), 0u) << text;
  listing->waitUntilExit(kWaitMs);
  status->waitUntilExit(kWaitMs);
}

TEST(NSTask, TerminateAndTimedWaits) {
  // exec: the signal reaches the sleeper itself, and no orphan keeps the test's output open.
  auto task = shell("exec sleep 30");
  ASSERT_TRUE(task->launch());
  EXPECT_TRUE(task->isRunning());
  EXPECT_FALSE(task->waitUntilExit(0));
  EXPECT_FALSE(task->waitUntilExit(20));
  EXPECT_TRUE(task->terminate());
  // A limit too long to count in the clock's units is as good as none.
  EXPECT_TRUE(task->waitUntilExit(std::numeric_limits<long>::max()));
  EXPECT_EQ(task->terminationStatus(), SIGTERM);
  // Reaped: the number may be anyone's now, so nothing is signalled.
  EXPECT_FALSE(task->terminate());
}

TEST(NSTask, AReleasedChildRunsOnAndIsReapedInTheBackground) {
  std::string marker = ::testing::TempDir() + "/task_released_marker";
  unlink(marker.c_str());
  pid_t pid;
  {
    auto task = shell("sleep 0.2; echo done > " + marker);
    ASSERT_TRUE(task->launch());
    pid = task->processIdentifier();
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processState(pid) != 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(processState(pid), 0) << "the child is left as a zombie";
  std::string text;
  std::getline(std::ifstream(marker), text);
  EXPECT_EQ(text, "done");  // it ran to its end after the release
}

TEST(NSTask, ChildrenFromSeveralThreads) {
  constexpr int kThreads = 4, kChildren = 8;
  std::atomic<int> right{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([t, &right] {
      for (int i = 0; i < kChildren; ++i) {
        int code = t * kChildren + i;
        auto task = shell("exit " + std::to_string(code));
        if (task->launch() && task->waitUntilExit(kWaitMs) && task->terminationStatus() == code)
          ++right;
      }
    });
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(right.load(), kThreads * kChildren);
}

TEST(NSTask, MebibytesCrossThePipesBothWaysAtOnce) {
  // The child echoes its input and writes as much to its error stream meanwhile: every
  // pipe fills many times over, so a reader left behind would stop them all.
  const std::string script = "tee /dev/stderr";
  std::string input;
  for (int i = 0; input.size() < (4u << 20); ++i)
    input += std::to_string(i) + (i % 7 ? " " : "\n");
  auto task = shell(script, true);
  ASSERT_TRUE(task->launch());
  std::string out, err;
  std::thread writer([&] {
    EXPECT_EQ(task->standardInput()->writeAll(input.data(), input.size()), long(input.size()));
    task->standardInput()->closeWriteEnd();
  });
  std::thread errors([&] { err = readToEnd(task->standardError()); });
  out = readToEnd(task->standardOutput());
  writer.join();
  errors.join();
  EXPECT_TRUE(out == input) << out.size() << " of " << input.size() << " bytes";
  EXPECT_TRUE(err == input) << err.size() << " of " << input.size() << " bytes";
  ASSERT_TRUE(task->waitUntilExit(kWaitMs));
  EXPECT_EQ(task->terminationStatus(), 0);
}

TEST(NSTask, AChildKilledFromOutsideEndsItsOutputAndSaysSo) {
  auto task = shell("echo started; exec sleep 30", true);
  ASSERT_TRUE(task->launch());
  char line[16] = {};
  ASSERT_GT(task->standardOutput()->readWaiting(line, sizeof line), 0);
  std::thread killer([pid = task->processIdentifier()] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    kill(pid, SIGKILL);
  });
  // The reader waiting on the output wakes at its end.
  EXPECT_EQ(readToEnd(task->standardOutput()), "");
  killer.join();
  ASSERT_TRUE(task->waitUntilExit(kWaitMs));
  EXPECT_TRUE(task->wasSignalled());
  EXPECT_EQ(task->terminationStatus(), SIGKILL);
}

namespace {
std::atomic<int> gAlarms{0};
void countAlarm(int) {
  ++gAlarms;
}
}  // namespace

TEST(NSTask, SignalsArrivingWhileItWaitsInterruptNothing) {
  // A handler without restarting, on a timer firing at this thread every millisecond:
  // every wait and read is cut short again and again.
  struct sigaction action {
  }, previous{};
  action.sa_handler = countAlarm;
  sigaction(SIGALRM, &action, &previous);
  sigevent toThisThread{};
  toThisThread.sigev_notify = SIGEV_THREAD_ID;
  toThisThread.sigev_signo = SIGALRM;
  toThisThread._sigev_un._tid = gettid();
  timer_t timer;
  ASSERT_EQ(timer_create(CLOCK_MONOTONIC, &toThisThread, &timer), 0);
  const itimerspec every{{0, 1000000}, {0, 1000000}};
  timer_settime(timer, 0, &every, nullptr);
  auto task = shell("sleep 0.2; echo late", true);
  ASSERT_TRUE(task->launch());
  std::string out = readToEnd(task->standardOutput());
  bool ended = task->waitUntilExit(kWaitMs);
  auto waiter = shell("sleep 0.1");
  ASSERT_TRUE(waiter->launch());
  bool waited = waiter->waitUntilExit(kWaitMs);
  timer_delete(timer);
  sigaction(SIGALRM, &previous, nullptr);
  EXPECT_GT(gAlarms.load(), 10);
  EXPECT_EQ(out, "late\n");
  EXPECT_TRUE(ended);
  EXPECT_TRUE(waited);
  EXPECT_EQ(task->terminationStatus(), 0);
}

TEST(NSThread, ADetachedThreadRunsAndMakesTheApplicationMultithreaded) {
  std::atomic<bool> ran{false};
  ASSERT_TRUE(NSThread::detachNewThread([&ran] { ran = true; }));
  EXPECT_TRUE(NSThread::isMultiThreaded());
  for (int i = 0; i < 1000 && !ran; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(ran);
}

}  // namespace

namespace {

// Waits, without reaping it, until the child has ended: it is then a zombie only the task
// may reap.
void waitUntilEndedUnreaped(pid_t pid) {
  siginfo_t info{};
  while (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
}

TEST(NSTask, AChildThatEndedUnaskedIsNotTerminatedAndReportsItsEnd) {
  auto task = shell("exit 3");
  ASSERT_TRUE(task->launch());
  waitUntilEndedUnreaped(task->processIdentifier());
  // Nobody asked yet, but it has ended: there is nothing to terminate.
  EXPECT_FALSE(task->terminate());
  EXPECT_FALSE(task->isRunning());
  EXPECT_EQ(task->terminationStatus(), 3);
  EXPECT_FALSE(task->wasSignalled());
}

TEST(NSTask, PipesSharedOrSpentAreHandledWithoutLosingOutput) {
  // Output and error into one pipe: both arrive, in the order written.
  auto merged = shell("echo out; echo err >&2; echo out2");
  auto pipe = Ref<NSPipe>::adopt(NSPipe::pipe());
  merged->setStandardOutput(pipe.get());
  merged->setStandardError(pipe.get());
  ASSERT_TRUE(merged->launch());
  EXPECT_EQ(readToEnd(pipe.get()), "out\nerr\nout2\n");
  EXPECT_TRUE(merged->waitUntilExit(kWaitMs));

  // The pipe's write end went to the first child: a second cannot have it, and no child starts.
  auto second = shell("echo lost");
  second->setStandardOutput(pipe.get());
  EXPECT_FALSE(second->launch());
  EXPECT_EQ(second->processIdentifier(), -1);
  EXPECT_FALSE(second->isRunning());
  EXPECT_TRUE(second->waitUntilExit(0));

  // A pipe at its end reads nothing, waiting or not, and writes nothing once closed.
  char byte;
  EXPECT_EQ(pipe->readAvailable(&byte, 1), 0);
  EXPECT_EQ(pipe->readWaiting(&byte, 1), 0);
  EXPECT_EQ(pipe->bytesReadyWaiting(), 0);
  pipe->closeReadEnd();
  EXPECT_EQ(pipe->readWaiting(&byte, 1), 0);
  EXPECT_EQ(pipe->writeAll("x", 1), 0);
}

}  // namespace
