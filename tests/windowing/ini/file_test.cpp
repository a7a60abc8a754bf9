#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "support/TempFiles.h"
#include "windowing/Win32.h"
#include "windowing/ini/detail/IniCache.h"

namespace {

using namespace std::string_literals;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::writeFile;

std::string getString(const std::string& file, const char* section, const char* key,
                      const char* fallback = "") {
  char buffer[256];
  GetPrivateProfileString(section, key, fallback, buffer, sizeof buffer, file.c_str());
  return buffer;
}

std::uint64_t loads() {
  return swell::IniCache::instance().loadCount();
}

class IniFileTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string file = dir.file("settings.ini");
};

TEST_F(IniFileTest, WrittenValuesReadBackAndTheFileIsSorted) {
  EXPECT_EQ(WritePrivateProfileString("midi", "out", "Port B", file.c_str()), TRUE);
  EXPECT_EQ(WritePrivateProfileString("audio", "rate", "48000", file.c_str()), TRUE);
  EXPECT_EQ(WritePrivateProfileString("audio", "Device", "Built-in", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[audio]\nDevice=Built-in\nrate=48000\n\n[midi]\nout=Port B\n\n");
  EXPECT_EQ(getString(file, "AUDIO", "device"), "Built-in");
  EXPECT_EQ(GetPrivateProfileInt("audio", "rate", 0, file.c_str()), 48000);
  EXPECT_EQ(GetPrivateProfileInt("audio", "device", 7, file.c_str()), 7);
  EXPECT_EQ(getString(file, "audio", "missing", "fallback"), "fallback");
  EXPECT_EQ(getString(file, "nope", "rate", nullptr), "");
  // Quotes and blanks around a value go when it is read; the file keeps it as given.
  EXPECT_EQ(WritePrivateProfileString("midi", "out", "  \"a b\"  ", file.c_str()), TRUE);
  EXPECT_EQ(getString(file, "midi", "out"), "a b");
  EXPECT_NE(readFile(file).find("out=  \"a b\"  \n"), std::string::npos);
}

TEST_F(IniFileTest, RewriteDropsCommentsAndKeepsTheFirstSpelling) {
  writeFile(file, "; settings\r\n[Audio]\r\nRate=44100\r\n# old\r\n[midi]\nin=1\n");
  EXPECT_EQ(WritePrivateProfileString("AUDIO", "RATE", "48000", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[Audio]\nRate=48000\n\n[midi]\nin=1\n\n");
}

TEST_F(IniFileTest, WritingTheSameValueLeavesTheFileAlone) {
  ASSERT_EQ(WritePrivateProfileString("s", "k", "v", file.c_str()), TRUE);
  struct stat before;
  ASSERT_EQ(stat(file.c_str(), &before), 0);
  EXPECT_EQ(WritePrivateProfileString("S", "K", "v", file.c_str()), TRUE);
  struct stat after;
  ASSERT_EQ(stat(file.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  // A change of case is a change.
  EXPECT_EQ(WritePrivateProfileString("s", "k", "V", file.c_str()), TRUE);
  EXPECT_EQ(getString(file, "s", "k"), "V");
}

TEST_F(IniFileTest, WhatThisProcessWroteIsNotReadAgain) {
  ASSERT_EQ(WritePrivateProfileString("s", "a", "1", file.c_str()), TRUE);
  const std::uint64_t before = loads();
  for (int i = 0; i < 5; ++i) {
    const std::string value = std::to_string(i);
    ASSERT_EQ(WritePrivateProfileString("s", "b", value.c_str(), file.c_str()), TRUE);
    EXPECT_EQ(getString(file, "s", "a"), "1");
    EXPECT_EQ(getString(file, "s", "b"), value);
  }
  EXPECT_EQ(loads(), before) << "a file just written here is known without parsing it";
  EXPECT_EQ(readFile(file), "[s]\na=1\nb=4\n\n");
}

TEST_F(IniFileTest, DeletingKeysAndSections) {
  writeFile(file, "[a]\nx=1\ny=2\n[b]\nz=3\n");
  EXPECT_EQ(WritePrivateProfileString("a", "x", nullptr, file.c_str()), TRUE);
  EXPECT_EQ(WritePrivateProfileString("b", nullptr, "ignored", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[a]\ny=2\n\n");
  // Deleting what is not there succeeds without touching the disk.
  const std::string missing = dir.file("missing.ini");
  EXPECT_EQ(WritePrivateProfileString("a", "x", nullptr, missing.c_str()), TRUE);
  EXPECT_EQ(WritePrivateProfileString("a", nullptr, nullptr, missing.c_str()), TRUE);
  struct stat info;
  EXPECT_NE(stat(missing.c_str(), &info), 0);
}

TEST_F(IniFileTest, ListingsOfSectionsAndKeys) {
  writeFile(file, "[b]\nk2=1\nk1=2\n[a]\n");
  char buffer[64];
  EXPECT_EQ(GetPrivateProfileString(nullptr, "ignored", "d", buffer, 64, file.c_str()), 3u);
  EXPECT_EQ(std::string(buffer, 5), "a\0b\0\0"s);
  EXPECT_EQ(GetPrivateProfileString("b", nullptr, nullptr, buffer, 5, file.c_str()), 3u);
  EXPECT_EQ(std::string(buffer, 5), "k1\0\0\0"s) << "cut to size - 2, then two NULs";
  EXPECT_EQ(GetPrivateProfileString("none", nullptr, nullptr, buffer, 64, file.c_str()), 0u);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
  buffer[0] = 'x';
  EXPECT_EQ(GetPrivateProfileString("b", "k1", "d", buffer, 0, file.c_str()), 0u);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(GetPrivateProfileString("b", "k1", "d", nullptr, 10, file.c_str()), 0u);
}

// A list cut to the buffer ends before a character the cut would split; the bytes of it
// are NULs, so the length still tells that the list was cut.
TEST_F(IniFileTest, ListingsCutToTheBufferKeepCharactersWhole) {
  writeFile(file, "[s]\nk\xC3\xA9=\xE2\x82\xAC\n");
  struct Case {
    const char* what;
    const char* section;
    bool entries;
    int size;
    DWORD length;
    std::string bytes;
  };
  const Case cases[] = {
      {"key names", "s", false, 4, 2, "k\0\0\0"s},
      {"entries", "s", true, 7, 5, "k\xC3\xA9=\0\0\0"s},
  };
  for (const Case& c : cases) {
    char buffer[16];
    std::memset(buffer, 'x', sizeof buffer);
    const DWORD length =
        c.entries ? GetPrivateProfileSection(c.section, buffer, c.size, file.c_str())
                  : GetPrivateProfileString(c.section, nullptr, "", buffer, c.size, file.c_str());
    EXPECT_EQ(length, c.length) << c.what;
    EXPECT_EQ(std::string(buffer, c.size), c.bytes) << c.what;
  }
}

TEST_F(IniFileTest, SectionEntries) {
  writeFile(file, "[s]\nb= 'two' \na=1\n");
  char buffer[64];
  EXPECT_EQ(GetPrivateProfileSection("S", buffer, sizeof buffer, file.c_str()), 10u);
  EXPECT_EQ(std::string(buffer, 11), "a=1\0b=two\0\0"s);
  EXPECT_EQ(GetPrivateProfileSection("s", buffer, 8, file.c_str()), 6u);
  EXPECT_EQ(std::string(buffer, 8), "a=1\0b=\0\0"s);
  EXPECT_EQ(GetPrivateProfileSection("none", buffer, sizeof buffer, file.c_str()), 0u);
  EXPECT_EQ(std::string(buffer, 2), "\0\0"s);
  EXPECT_EQ(GetPrivateProfileSection(nullptr, buffer, sizeof buffer, file.c_str()), 0u);
}

TEST_F(IniFileTest, WholeSectionWrites) {
  writeFile(file, "[s]\nold=1\n[t]\nkeep=1\n");
  const char list[] = "b=2\0a=1\0noequals\0=empty key\0B=3\0long=x=y\0";
  EXPECT_EQ(WritePrivateProfileSection("s", list, file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\na=1\nb=3\nlong=x=y\n\n[t]\nkeep=1\n\n");
  char buffer[64];
  EXPECT_EQ(GetPrivateProfileString("s", nullptr, nullptr, buffer, 64, file.c_str()), 8u);
  EXPECT_EQ(std::string(buffer, 10), "a\0b\0long\0\0"s) << "an empty key is not cached either";

  EXPECT_EQ(WritePrivateProfileSection("t", "", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\na=1\nb=3\nlong=x=y\n\n[t]\n\n");
  EXPECT_EQ(WritePrivateProfileSection("u", "", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\na=1\nb=3\nlong=x=y\n\n[t]\n\n");
  EXPECT_EQ(WritePrivateProfileSection(nullptr, "a=1\0", file.c_str()), FALSE);
}

TEST_F(IniFileTest, StructsRoundTripOnlyAtTheirOwnSize) {
  const unsigned char data[6] = {1, 2, 250, 0, 9, 128};
  EXPECT_EQ(WritePrivateProfileStruct("s", "blob", data, sizeof data, file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\nblob=0102FA00098086\n\n");
  unsigned char out[6] = {};
  EXPECT_EQ(GetPrivateProfileStruct("s", "blob", out, sizeof out, file.c_str()), TRUE);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 6),
            std::string(reinterpret_cast<const char*>(data), 6));
  unsigned char other[5] = {7, 7, 7, 7, 7};
  EXPECT_EQ(GetPrivateProfileStruct("s", "blob", other, sizeof other, file.c_str()), FALSE);
  EXPECT_EQ(other[0], 7);
  EXPECT_EQ(GetPrivateProfileStruct("s", "blob", out, -1, file.c_str()), FALSE);
  EXPECT_EQ(GetPrivateProfileStruct("s", "blob", out, 0x7fffffff, file.c_str()), FALSE);

  // A null data deletes the key, a null key the section.
  EXPECT_EQ(WritePrivateProfileStruct("s", "blob", nullptr, 6, file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\n\n");
  EXPECT_EQ(WritePrivateProfileStruct("s", nullptr, data, 6, file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "");
}

TEST_F(IniFileTest, BareNamesResolveBesideTheDefaultFile) {
  const std::string base = dir.file("app.ini");
  SWELL_ExtendedAPI("INIFILE", const_cast<char*>(base.c_str()));
  EXPECT_EQ(WritePrivateProfileString("s", "k", "v", "extra"), TRUE);
  EXPECT_EQ(WritePrivateProfileString("s", "k", "base", nullptr), TRUE);
  SWELL_ExtendedAPI("INIFILE", nullptr);
  EXPECT_EQ(readFile(dir.file("app_extra.ini")), "[s]\nk=v\n\n");
  EXPECT_EQ(readFile(base), "[s]\nk=base\n\n");
  EXPECT_EQ(SWELL_ExtendedAPI("APPNAME", const_cast<char*>("x")), nullptr);
}

TEST_F(IniFileTest, LeastRecentlyUsedFileIsEvictedAndReadAgainLater) {
  std::vector<std::string> files;
  for (int i = 0; i < swell::kIniCacheSlots + 1; ++i) {
    files.push_back(dir.file("f" + std::to_string(i) + ".ini"));
    writeFile(files.back(), "[s]\nk=" + std::to_string(i) + "\n");
    testsupport::ageFile(files.back());
  }
  for (const std::string& f : files)
    getString(f, "s", "k");
  const std::uint64_t before = loads();
  for (std::size_t i = 1; i < files.size(); ++i)
    EXPECT_EQ(getString(files[i], "s", "k"), std::to_string(i));
  EXPECT_EQ(loads(), before) << "files at rest are served from the cache";
  EXPECT_EQ(getString(files[0], "s", "k"), "0");
  EXPECT_EQ(loads(), before + 1);
}

TEST_F(IniFileTest, AReplacementWithTheSameSizeAndTimeIsSeen) {
  writeFile(file, "[s]\nk=1\n");
  testsupport::ageFile(file);
  EXPECT_EQ(getString(file, "s", "k"), "1");
  struct stat old;
  ASSERT_EQ(stat(file.c_str(), &old), 0);
  const std::string other = dir.file("other");
  writeFile(other, "[s]\nk=2\n");
  const timespec times[2] = {old.st_mtim, old.st_mtim};
  ASSERT_EQ(utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
  ASSERT_EQ(rename(other.c_str(), file.c_str()), 0);
  EXPECT_EQ(getString(file, "s", "k"), "2");
}

TEST_F(IniFileTest, AnInPlaceChangeRightAfterReadingIsSeen) {
  writeFile(file, "[s]\nk=1\n");
  EXPECT_EQ(getString(file, "s", "k"), "1");
  writeFile(file, "[s]\nk=2\n");  // same inode, same size, likely the same timestamp tick
  EXPECT_EQ(getString(file, "s", "k"), "2");
  EXPECT_EQ(WritePrivateProfileString("s", "other", "x", file.c_str()), TRUE);
  EXPECT_EQ(readFile(file), "[s]\nk=2\nother=x\n\n");
}

TEST_F(IniFileTest, ThreadsWritingAtOnceLoseNothing) {
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 25; ++i) {
        const std::string key = "t" + std::to_string(t) + "_" + std::to_string(i);
        WritePrivateProfileString("s", key.c_str(), key.c_str(), file.c_str());
        getString(file, "s", key.c_str());
      }
    });
  }
  for (auto& thread : threads)
    thread.join();
  char buffer[4096];
  GetPrivateProfileSection("s", buffer, sizeof buffer, file.c_str());
  int count = 0;
  for (const char* p = buffer; *p; p += std::strlen(p) + 1)
    ++count;
  EXPECT_EQ(count, 100);
}

}  // namespace
