#include <gtest/gtest.h>
#include <sys/stat.h>
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

TEST_F(IniRobustnessTest, LinesTooLongToReadBackAreRefused) {
  const std::string huge(swell::kIniMaxLineLength, 'x');
  EXPECT_EQ(WritePrivateProfileString("s", "k", huge.c_str(), file.c_str()), FALSE);
  EXPECT_EQ(WritePrivateProfileStruct("s", "k", huge.data(), INT_MAX, file.c_str()), FALSE);
  EXPECT_EQ(readFile(file), original);
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
