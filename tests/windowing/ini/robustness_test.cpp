#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "support/TempFiles.h"
#include "windowing/Win32.h"
#include "windowing/ini/detail/IniParser.h"

namespace {

using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

class IniRobustnessTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir.file("settings.ini");
  const std::string original = "[s]\nk=v\n\n";

  void SetUp() override { writeFile(file, original); }
};

TEST_F(IniRobustnessTest, NamesAndValuesThatWouldBreakLinesAreRefused) {
  struct Case {
    const char* section;
    const char* key;
    const char* value;
  };
  const std::vector<Case> refused = {
      {"", "k", "v"},
      {"a\nb", "k", "v"},
      {"a\rb", "k", "v"},
      {"a]b", "k", "v"},
      {"s", "", "v"},
      {"s", "k\n[x]", "v"},
      {"s", "k=x", "v"},
      {"s", " k", "v"},
      {"s", "\tk", "v"},
      {"s", "[x]", "v"},
      {"s", "k", "v\ninjected=1"},
      {"s", "k", "v\r"},
      {nullptr, "k", "v"},
      {"a]b", nullptr, nullptr},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(WritePrivateProfileString(c.section, c.key, c.value, file.c_str()), FALSE)
        << (c.section ? c.section : "(null)") << " / " << (c.key ? c.key : "(null)");
  }
  const char badList[] = "a=1\0b=2\nc=3\0";
  EXPECT_EQ(WritePrivateProfileSection("s", badList, file.c_str()), FALSE);
  EXPECT_EQ(WritePrivateProfileSection("s]", "a=1\0", file.c_str()), FALSE);
  EXPECT_EQ(readFile(file), original);
  // Blanks inside or after a key, and brackets past its start, store fine.
  EXPECT_EQ(WritePrivateProfileString("s", "a b ]", " x ", file.c_str()), TRUE);
  char buffer[16];
  GetPrivateProfileString("s", "a b ]", "", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "x");
}

// What a write accepts, a process that has never read the file reads back whole; what it
// could not, the write refuses, leaving the file as it was. Both sides of each reading limit.
TEST_F(IniRobustnessTest, WritesAcceptOnlyWhatAnotherProcessReadsWhole) {
  // A file's first line counts towards the bytes read before a header: "[", "]", line feed.
  const std::size_t longestName = swell::kIniHeaderlessLimit - 3;
  // A line is "key=value".
  const std::size_t longestValue = swell::kIniMaxLineLength - 2;
  const std::string longName(longestName + 1, 'a');
  struct Case {
    const char* what;
    std::string before;  // the file
    std::string section;
    const char* key;
    std::string value;  // written when `key` is not null
    bool accepted;
  };
  const Case cases[] = {
      {"longest section name", original, std::string(longestName, 'a'), "k", "v", true},
      {"section name one byte longer", original, longName, "k", "v", false},
      {"longest line", original, "s", "k", std::string(longestValue, 'x'), true},
      {"line one byte longer", original, "s", "k", std::string(longestValue + 1, 'x'), false},
      // The file read whole only while another section comes before the long one.
      {"deleting the section before a long name", "[0]\nk=v\n\n[" + longName + "]\nk=v\n\n", "0",
       nullptr, "", false},
  };
  // A path to the same file that no process has read yet, so it is loaded from the disk.
  const std::string freshPath = dir.path() + "/./settings.ini";
  for (const Case& c : cases) {
    writeFile(file, c.before);
    const BOOL written = WritePrivateProfileString(c.section.c_str(), c.key,
                                                   c.key ? c.value.c_str() : nullptr, file.c_str());
    EXPECT_EQ(written, c.accepted ? TRUE : FALSE) << c.what;
    if (!c.accepted) {
      EXPECT_TRUE(readFile(file) == c.before) << c.what << ": the file changed";
      continue;
    }
    const pid_t reader = fork();
    if (reader == 0) {
      std::string value(c.value.size() + 1, '\0');
      GetPrivateProfileString(c.section.c_str(), c.key, "", value.data(),
                              static_cast<int>(value.size()), freshPath.c_str());
      const bool readWhole = value.c_str() == c.value;
      const bool writes = WritePrivateProfileString("other", "k", "v", freshPath.c_str()) == TRUE;
      _exit((readWhole ? 0 : 1) | (writes ? 0 : 2));
    }
    int status = -1;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    EXPECT_EQ(status, 0) << c.what << ": 1 = not read back whole, 2 = not writable";
  }
  EXPECT_EQ(WritePrivateProfileStruct("s", "k", original.data(), INT_MAX, file.c_str()), FALSE);
}

TEST_F(IniRobustnessTest, FileReadOnlyInPartIsNeverWrittenOver) {
  std::string headerless;
  while (headerless.size() <= swell::kIniHeaderlessLimit)
    headerless += std::string(99, 'j') + "\n";
  const std::string content = headerless + "[s]\nk=v\n";
  writeFile(file, content);
  char buffer[16];
  GetPrivateProfileString("s", "k", "default", buffer, sizeof buffer, file.c_str());
  EXPECT_STREQ(buffer, "default");
  EXPECT_EQ(WritePrivateProfileString("s", "k", "new", file.c_str()), FALSE);
  EXPECT_EQ(readFile(file), content);

  std::string overlong = "[s]\nbig=" + std::string(swell::kIniMaxLineLength, 'x') + "\nk=v\n";
  writeFile(file, overlong);
  EXPECT_EQ(WritePrivateProfileString("s", "k", "new", file.c_str()), FALSE);
  EXPECT_EQ(readFile(file).size(), overlong.size());

  const std::string utf16("\xFF\xFE[\0s\0]\0\n\0k\0=\0v\0\n\0", 18);
  writeFile(file, utf16);
  EXPECT_EQ(WritePrivateProfileString("s", "k", "new", file.c_str()), FALSE);
  EXPECT_EQ(readFile(file), utf16);
}

TEST_F(IniRobustnessTest, PathsThatAreNotRegularFilesReadEmptyAndAreNotReplaced) {
  const std::string folder = dir.file("folder.ini");
  ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  const std::string fifo = dir.file("fifo.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  for (const std::string& path : {folder, fifo}) {
    char buffer[16];
    GetPrivateProfileString("s", "k", "d", buffer, sizeof buffer, path.c_str());
    EXPECT_STREQ(buffer, "d");
    EXPECT_EQ(WritePrivateProfileString("s", "k", "v", path.c_str()), FALSE) << path;
  }
  struct stat info;
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(WritePrivateProfileString("s", "k", "v", dir.file("no/such/dir.ini").c_str()), FALSE);
}

TEST_F(IniRobustnessTest, PermissionBitsAreKeptAndNewFilesFollowTheUmask) {
  ASSERT_EQ(chmod(file.c_str(), 0640), 0);
  ASSERT_EQ(WritePrivateProfileString("s", "k", "new", file.c_str()), TRUE);
  struct stat info;
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const mode_t mask = umask(027);
  const std::string fresh = dir.file("fresh.ini");
  EXPECT_EQ(WritePrivateProfileString("s", "k", "v", fresh.c_str()), TRUE);
  umask(mask);
  ASSERT_EQ(stat(fresh.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(IniRobustnessTest, RootRewritingAnotherUsersFileKeepsItsOwnerGroupAndMode) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  constexpr uid_t kOtherUser = 65534;  // nobody
  constexpr gid_t kOtherGroup = 65534;
  ASSERT_EQ(chown(file.c_str(), kOtherUser, kOtherGroup), 0);
  ASSERT_EQ(chmod(file.c_str(), 0604), 0);
  ASSERT_EQ(WritePrivateProfileString("s", "k", "by root", file.c_str()), TRUE);
  struct stat info;
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kOtherUser);
  EXPECT_EQ(info.st_gid, kOtherGroup);
  EXPECT_EQ(info.st_mode & 07777, 0604u);
}

TEST_F(IniRobustnessTest, WritesGoThroughASymlinkToItsTarget) {
  const std::string link = dir.file("link.ini");
  ASSERT_EQ(symlink("settings.ini", link.c_str()), 0);
  EXPECT_EQ(WritePrivateProfileString("s", "k", "via link", link.c_str()), TRUE);
  struct stat info;
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(readFile(file), "[s]\nk=via link\n\n");
  // No file is left behind but the ini file, its link and the writers' lock file.
  EXPECT_EQ(dir.list(),
            (std::vector<std::string>{".settings.ini.lock", "link.ini", "settings.ini"}));
}

TEST_F(IniRobustnessTest, LongPathsWorkWhole) {
  std::string path = dir.path();
  while (path.size() < 1200) {
    path += "/" + std::string(200, 'd');
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
  }
  const std::string longFile = path + "/settings.ini";
  EXPECT_EQ(WritePrivateProfileString("s", "k", "deep", longFile.c_str()), TRUE);
  EXPECT_EQ(readFile(longFile), "[s]\nk=deep\n\n");
  char buffer[16];
  GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, longFile.c_str());
  EXPECT_STREQ(buffer, "deep");
}

TEST_F(IniRobustnessTest, TheBufferMayBeTheDefaultText) {
  char buffer[16] = "fallback";
  EXPECT_EQ(GetPrivateProfileString("s", "missing", buffer, buffer, 5, file.c_str()), 4u);
  EXPECT_STREQ(buffer, "fall");
}

}  // namespace
