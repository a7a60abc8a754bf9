// Several processes sharing one ini file: each test forks real processes, since the
// guarantees under test (locks, atomic replacement) hold between processes.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "support/TempFiles.h"
#include "windowing/Win32.h"
#include "windowing/ini/detail/IniCache.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

// Runs `body` in a child process; its result is the child's exit status.
pid_t spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int exitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string randomValue(std::mt19937& random) {
  std::uniform_int_distribution<int> length(1, 4000);
  std::uniform_int_distribution<int> character(' ', '~');
  std::string value(static_cast<std::size_t>(length(random)), ' ');
  for (char& c : value)
    c = static_cast<char>(character(random));
  // A value is stored as given, but one that starts or ends with a blank would be
  // compared after trimming by readers; keep the ends visible.
  value.front() = 'a';
  value.back() = 'z';
  return value;
}

// A whole file as the writers make it: the header, one line of the key, the empty line.
bool isWholeFile(const std::string& content) {
  const std::string head = "[s]\nk=";
  if (content.compare(0, head.size(), head) != 0) return false;
  if (content.size() < head.size() + 3 || content.compare(content.size() - 2, 2, "\n\n") != 0) {
    return false;
  }
  return std::count(content.begin(), content.end(), '\n') == 3;
}

TEST(IniProcesses, ReadersOfTheRawFileOnlyEverSeeWholeFiles) {
  TempDir dir;
  const std::string file = dir.file("settings.ini");
  ASSERT_EQ(WritePrivateProfileString("s", "k", "start", file.c_str()), TRUE);

  int done[2];
  ASSERT_EQ(pipe(done), 0);
  const pid_t reader = spawn([&] {
    close(done[1]);
    int snapshots = 0;
    for (;;) {
      pollfd finished{done[0], POLLIN, 0};
      if (poll(&finished, 1, 0) > 0) break;  // the pipe closed: the writers are done
      if (!isWholeFile(readFile(file))) return 1;
      ++snapshots;
    }
    return snapshots >= 100 ? 0 : 2;
  });
  close(done[0]);

  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = spawn([&, w] {
      std::mt19937 random(1234u + static_cast<unsigned>(w));
      for (int i = 0; i < 500; ++i) {
        if (WritePrivateProfileString("s", "k", randomValue(random).c_str(), file.c_str()) !=
            TRUE) {
          return 3;
        }
      }
      return 0;
    });
  }
  EXPECT_EQ(exitStatus(writers[0]), 0);
  EXPECT_EQ(exitStatus(writers[1]), 0);
  close(done[1]);
  EXPECT_EQ(exitStatus(reader), 0) << "1: a snapshot was not a whole file; 2: too few snapshots";
  EXPECT_TRUE(isWholeFile(readFile(file)));
}

TEST(IniProcesses, WritersOfDifferentKeysLoseNoneOfThem) {
  TempDir dir;
  const std::string file = dir.file("settings.ini");
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = spawn([&, w] {
      for (int i = 0; i < 200; ++i) {
        const std::string key = "w" + std::to_string(w) + "_" + std::to_string(i);
        if (WritePrivateProfileString("shared", key.c_str(), "1", file.c_str()) != TRUE) return 1;
      }
      return 0;
    });
  }
  EXPECT_EQ(exitStatus(writers[0]), 0);
  EXPECT_EQ(exitStatus(writers[1]), 0);

  std::string keys(16384, '\0');
  GetPrivateProfileString("shared", nullptr, nullptr, keys.data(), static_cast<int>(keys.size()),
                          file.c_str());
  int count = 0;
  for (const char* p = keys.data(); *p; p += std::strlen(p) + 1)
    ++count;
  EXPECT_EQ(count, 400);
  const std::string content = readFile(file);
  EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 402);
}

TEST(IniProcesses, AnotherProcessWritingWithinTheSameSecondIsSeen) {
  TempDir dir;
  const std::string file = dir.file("settings.ini");
  char buffer[16];
  for (int round = 0; round < 3; ++round) {
    // Of one length, so the file keeps its size.
    const std::string mine = "mine" + std::to_string(round);
    const std::string theirs = "them" + std::to_string(round);
    ASSERT_EQ(WritePrivateProfileString("s", "k", mine.c_str(), file.c_str()), TRUE);
    GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, file.c_str());
    ASSERT_EQ(buffer, mine);
    struct stat written;
    ASSERT_EQ(stat(file.c_str(), &written), 0);
    // The child starts with this process's cache, trusting the same version.
    const pid_t child = spawn([&] {
      return WritePrivateProfileString("s", "k", theirs.c_str(), file.c_str()) == TRUE ? 0 : 1;
    });
    ASSERT_EQ(exitStatus(child), 0);
    struct stat changed;
    ASSERT_EQ(stat(file.c_str(), &changed), 0);
    EXPECT_LE(changed.st_mtim.tv_sec - written.st_mtim.tv_sec, 1);
    GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, file.c_str());
    EXPECT_EQ(buffer, theirs);
  }
}

TEST(IniProcesses, WritersKilledMidWriteLeaveAtMostOneTemporaryAndReadersClearIt) {
  TempDir dir;
  const std::string file = dir.file("settings.ini");
  // Beside it, files that only look like its temporaries, or are another file's.
  writeFile(dir.file(".settings.ini.notes.new"), "mine");
  writeFile(dir.file(".other.ini.7fffffff.1.new"), "theirs");
  const std::vector<std::string> kept = {".other.ini.7fffffff.1.new", ".settings.ini.lock",
                                         ".settings.ini.notes.new", "settings.ini"};
  auto temporaries = [&] {
    std::vector<std::string> names = dir.list();
    std::vector<std::string> extra;
    std::set_difference(names.begin(), names.end(), kept.begin(), kept.end(),
                        std::back_inserter(extra));
    return extra;
  };
  const std::string padding(300000, 'v');
  std::mt19937 random(99);
  int killedMidWrite = 0;
  for (int round = 0; round < 20; ++round) {
    int acks[2];
    ASSERT_EQ(pipe(acks), 0);
    const pid_t writer = spawn([&] {
      close(acks[0]);
      for (int i = 1;; ++i) {
        const std::string value = std::to_string(i) + ":" + padding;
        if (WritePrivateProfileString("s", "n", value.c_str(), file.c_str()) != TRUE) return 1;
        if (write(acks[1], &i, sizeof i) != sizeof i) return 2;
      }
    });
    close(acks[1]);
    // Killed once it is writing, however slowly this build runs: at a random moment, or
    // while a temporary of its stands beside the file, in the middle of a write.
    int acked = 0;
    const bool writing = read(acks[0], &acked, sizeof acked) == sizeof acked;
    if (writing && round % 2 == 0) {
      usleep(std::uniform_int_distribution<useconds_t>(0, 10000)(random));
    } else if (writing) {
      for (int look = 0; look < 100000 && temporaries().empty(); ++look) {
      }
    }
    kill(writer, SIGKILL);
    const int status = exitStatus(writer);
    ASSERT_TRUE(writing) << "the writer ended before its first write, status " << status;
    EXPECT_EQ(status, 128 + SIGKILL);
    for (int i; read(acks[0], &i, sizeof i) == sizeof i;)
      acked = i;
    close(acks[0]);

    const std::vector<std::string> left = temporaries();
    EXPECT_LE(left.size(), 1u) << "round " << round;
    killedMidWrite += left.empty() ? 0 : 1;
    // Every acknowledged value survived, in a file that reads whole.
    char value[16] = "";
    GetPrivateProfileString("s", "n", "", value, sizeof value, file.c_str());
    EXPECT_GE(std::atoi(value), acked) << "round " << round;
  }
  EXPECT_GT(killedMidWrite, 0) << "no kill landed during a write: the test proved nothing";
  // A process reading the file for the first time clears what the last writer left. (A
  // forked child shares this process's cache, which has read the file under its plain name.)
  const std::string firstTime = dir.path() + "/./settings.ini";
  const pid_t reader = spawn([&] {
    char value[16];
    GetPrivateProfileString("s", "n", "", value, sizeof value, firstTime.c_str());
    return 0;
  });
  EXPECT_EQ(exitStatus(reader), 0);
  EXPECT_EQ(dir.list(), kept);
}

TEST(IniProcesses, AWriteThatFailsPartWayLeavesTheFileAsItWas) {
  TempDir dir;
  const std::string file = dir.file("settings.ini");
  const std::string original = "[s]\nk=old\n\n";
  writeFile(file, original);

  const pid_t child = spawn([&] {
    signal(SIGXFSZ, SIG_IGN);  // so the oversized write fails with EFBIG instead
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    if (WritePrivateProfileString("s", "small", "1", file.c_str()) != TRUE) return 11;
    if (WritePrivateProfileString("s", "small", nullptr, file.c_str()) != TRUE) return 12;

    const std::string big(8000, 'b');
    if (WritePrivateProfileString("s", "k", big.c_str(), file.c_str()) != FALSE) return 13;
    // The cache took the change, but the next read must come from the disk.
    const std::uint64_t loadsBefore = swell::IniCache::instance().loadCount();
    char buffer[16];
    GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, file.c_str());
    if (std::strcmp(buffer, "old") != 0) return 14;
    if (swell::IniCache::instance().loadCount() == loadsBefore) return 15;
    return 0;
  });
  EXPECT_EQ(exitStatus(child), 0);
  EXPECT_EQ(readFile(file), original);
  EXPECT_EQ(dir.list(), (std::vector<std::string>{".settings.ini.lock", "settings.ini"}));
}

}  // namespace
