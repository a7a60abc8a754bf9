#include <gtest/gtest.h>

#include <string>

#include "support/TempFiles.h"
#include "windowing/ini/detail/IniPath.h"

namespace {

using swell::resolveIniPath;

TEST(IniPath, NamesWithASlashAreUsedAsTheyStand) {
  const std::string base = "/x/settings.ini";
  EXPECT_EQ(resolveIniPath("/abs/a.cfg", &base, "/home/u"), "/abs/a.cfg");
  EXPECT_EQ(resolveIniPath("./rel", nullptr, "/home/u"), "./rel");
}

TEST(IniPath, BareNamesLandBesideTheDefaultFileInHome) {
  EXPECT_EQ(resolveIniPath(nullptr, nullptr, "/home/u"), "/home/u/.libSwell.ini");
  EXPECT_EQ(resolveIniPath("", nullptr, "/home/u"), "/home/u/.libSwell.ini");
  EXPECT_EQ(resolveIniPath("reaper", nullptr, "/home/u"), "/home/u/.libSwell_reaper.ini");
  EXPECT_EQ(resolveIniPath("prefs.INI", nullptr, "/home/u"), "/home/u/.libSwell_prefs.INI");
  EXPECT_EQ(resolveIniPath("data.cfg", nullptr, "/home/u"), "/home/u/.libSwell_data.cfg.ini");
  EXPECT_EQ(resolveIniPath("x", nullptr, nullptr), "/tmp/.libSwell_x.ini");
  EXPECT_EQ(resolveIniPath("x", nullptr, ""), "/tmp/.libSwell_x.ini");
}

TEST(IniPath, BareNamesLandBesideASetDefaultFile) {
  const std::string base = "/data/app/settings.ini";
  EXPECT_EQ(resolveIniPath(nullptr, &base, "/home/u"), base);
  EXPECT_EQ(resolveIniPath("X", &base, "/home/u"), "/data/app/settings_X.ini");
  const std::string noExtension = "/data/app.d/settings";
  EXPECT_EQ(resolveIniPath("X", &noExtension, "/home/u"), "/data/app.d/settings_X.ini");
  const std::string empty;
  EXPECT_EQ(resolveIniPath(nullptr, &empty, "/home/u"), "/home/u/.libSwell.ini");
}

TEST(IniPath, LongPathsAreKeptWhole) {
  const std::string home = "/" + std::string(2000, 'h');
  const std::string name(300, 'n');
  const std::string path = resolveIniPath(name.c_str(), nullptr, home.c_str());
  EXPECT_EQ(path, home + "/.libSwell_" + name + ".ini");
}

TEST(IniPath, FilesBesideTheTargetAreHidden) {
  EXPECT_EQ(swell::iniLockPath("/d/settings.ini"), "/d/.settings.ini.lock");
  EXPECT_EQ(swell::iniTemporaryPath("/d/settings.ini"), "/d/.settings.ini.new");
  // Temporaries a killed writer may have left; no other name passes for one.
  for (const char* temporary : {".settings.ini.new", ".settings.ini.12.3.new"})
    EXPECT_TRUE(swell::isIniTemporary("/d/settings.ini", temporary)) << temporary;
  for (const char* other :
       {".settings.ini.notes.new", ".settings.ini.12.new", ".settings.ini..3.new",
        ".settings.ini.1x.3.new", ".settings.ini.1.3.4.new", ".settings.ini.new.new",
        ".other.ini.12.3.new", "settings.ini.12.3.new", ".settings.ini"})
    EXPECT_FALSE(swell::isIniTemporary("/d/settings.ini", other)) << other;
}

TEST(IniPath, WritesFollowSymlinksToTheirTarget) {
  testsupport::TempDir dir;
  ASSERT_EQ(mkdir(dir.file("real").c_str(), 0755), 0);
  ASSERT_EQ(symlink("real/settings.ini", dir.file("link.ini").c_str()), 0);
  ASSERT_EQ(symlink(dir.file("link.ini").c_str(), dir.file("chain.ini").c_str()), 0);
  // The final target need not exist yet.
  EXPECT_EQ(swell::resolveIniWriteTarget(dir.file("chain.ini")), dir.path() + "/real/settings.ini");
  EXPECT_EQ(swell::resolveIniWriteTarget(dir.file("plain.ini")), dir.file("plain.ini"));

  ASSERT_EQ(symlink("loop.ini", dir.file("loop.ini").c_str()), 0);
  EXPECT_FALSE(swell::resolveIniWriteTarget(dir.file("loop.ini")));
  EXPECT_FALSE(swell::resolveIniWriteTarget(dir.path() + "/"));
}

}  // namespace
