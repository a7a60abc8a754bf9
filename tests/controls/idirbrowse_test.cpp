// The directory-browse base over real folders: the menu it builds item by item, the files its
// tags lead to, loops through links, deep and long paths, and folders that cannot be read.

#include <gtest/gtest.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "controls/Controls.h"
#include "framework/FailingRealloc.h"

using namespace iplug::igraphics;
namespace fs = std::filesystem;

namespace {

class Browser : public IDirBrowseControlBase {
 public:
  using IDirBrowseControlBase::IDirBrowseControlBase;
  void Draw(IGraphics&) override {}
};

class DirBrowse : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::path(testing::TempDir()) / ("dirbrowse_" + std::to_string(getpid()));
    fs::remove_all(root);
    for (const char* file : {"b_preset.csx", "A.csx", "a.csx.csx", "csx", "mycsx", ".hidden.csx",
                             "notes.txt", "Sub/z.csx", "sub/y.csx", ".git/x.csx"})
      Touch(file);
    fs::create_directories(root / "emptydir");
    fs::create_directories(root / "Sub/deep/empty");
    fs::create_symlink(root / "b_preset.csx", root / "link_file.csx");
    fs::create_symlink(root / "Sub", root / "link_dir");
    fs::create_symlink("..", root / "Sub/up");
    fs::create_symlink(root / "nowhere", root / "dangling.csx");
  }
  void TearDown() override {
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add);
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  void Touch(const fs::path& relative) {
    fs::create_directories((root / relative).parent_path());
    std::ofstream(root / relative) << "x";
  }
  // "text" for a file item, "text/" followed by the submenu's texts in brackets for a folder.
  static std::string Describe(const IPopupMenu& menu) {
    std::string out;
    for (int i = 0; i < menu.NItems(); ++i) {
      const IPopupMenu::Item* item = menu.GetItem(i);
      if (i) out += " ";
      out += item->GetText();
      if (item->GetSubmenu()) out += "/[" + Describe(*item->GetSubmenu()) + "]";
    }
    return out;
  }
  // Every item's tag leads to the file of its text.
  static void ExpectTagsLeadToTheirFiles(const Browser& b) {
    std::set<int> tags;
    for (int i = 0; i < b.NItems(); ++i) {
      const IPopupMenu::Item* item = b.GetItem(i);
      const char* file = b.GetFile(item->GetTag());
      ASSERT_NE(file, nullptr) << item->GetText();
      EXPECT_EQ(fs::path(file).stem().string(), item->GetText());
      EXPECT_TRUE(fs::exists(file)) << file;
      tags.insert(item->GetTag());
    }
    EXPECT_EQ(static_cast<int>(tags.size()), b.NFiles());
    EXPECT_EQ(b.GetFile(b.NFiles()), nullptr);
    EXPECT_EQ(b.GetFile(-1), nullptr);
  }

  fs::path root;
};

TEST_F(DirBrowse, MenuMirrorsTheTreeSortedWithoutLoopsHiddenOrEmptyFolders) {
  Browser b(IRECT(), "csx", false);
  b.AddPath(root.c_str(), "Presets");
  b.SetUpMenu();
  // "Sub" and "sub" are two folders; which comes first among equal texts is the scan's order.
  const std::string menu = Describe(b.GetMenu());
  const std::string subs[] = {"Sub/[z] sub/[y]", "sub/[y] Sub/[z]"};
  EXPECT_TRUE(menu == "A b_preset link_dir/[z] link_file " + subs[0] ||
              menu == "A b_preset link_dir/[z] link_file " + subs[1])
      << menu;
  EXPECT_EQ(b.NItems(), 6);
  EXPECT_EQ(b.NFiles(), 6);
  ExpectTagsLeadToTheirFiles(b);
  EXPECT_EQ(b.GetMenu().GetItem(0)->GetFlags(), 0);
  EXPECT_EQ(b.GetMenu().GetItem(2)->GetTag(), -1) << "folders keep no tag";

  // A rebuild finds a new file and forgets the selection.
  Touch("Sub/deep/empty/new.csx");
  b.SetUpMenu();
  EXPECT_EQ(b.NItems(), 8) << "the new file shows in Sub and through link_dir";
  EXPECT_EQ(b.GetSelectedItemIdx(), -1);
  ExpectTagsLeadToTheirFiles(b);
}

TEST_F(DirBrowse, ExtensionsShownAndEmptyFoldersKept) {
  Browser b(IRECT(), "csx", true, true);
  b.AddPath((root / "Sub/").c_str(), "");
  b.SetUpMenu();
  EXPECT_EQ(Describe(b.GetMenu()), "deep/[empty/[]] z.csx");
}

TEST_F(DirBrowse, TwoPathsGiveTwoSubmenusInTheOrderAdded) {
  Browser b(IRECT(), "csx", false);
  b.AddPath((root / "sub").c_str(), "Zed");
  b.AddPath((root / "Sub").c_str(), "alpha");
  b.AddPath((root / "missing").c_str(), "gone");
  base::LogCapture log;
  const std::size_t logged = log.count();
  b.SetUpMenu();
  EXPECT_GT(log.count(), logged) << "the missing folder";
  // The folders of the paths themselves stay, even empty.
  EXPECT_EQ(Describe(b.GetMenu()), "Zed/[y] alpha/[z] gone/[]");
  EXPECT_STREQ(b.GetFile(b.GetItem(0)->GetTag()), (root / "sub/y.csx").c_str());
}

TEST_F(DirBrowse, ARootReachedThroughALinkOrARelativePathEndsAtItsLoops) {
  fs::create_symlink(root, root.string() + "_link");
  const std::string relative = fs::relative(root, fs::current_path()).string();
  for (const std::string& path : {root.string() + "_link", relative}) {
    Browser b(IRECT(), "csx", false);
    b.AddPath(path.c_str(), "");
    b.SetUpMenu();
    EXPECT_EQ(b.NFiles(), 6) << path;
    ExpectTagsLeadToTheirFiles(b);
  }
  fs::remove(root.string() + "_link");
}

TEST_F(DirBrowse, DeepAndLongPathsAreWalkedWholeUpToTheDepthCap) {
  // Twelve folders of 200-byte names: the file's path is far beyond 2048 bytes.
  fs::path longPath = root / "long";
  for (int i = 0; i < 12; ++i)
    longPath /= std::string(200, static_cast<char>('a' + i));
  fs::create_directories(longPath);
  std::ofstream(longPath / "far.csx") << "x";
  fs::path deepPath = root / "deep";
  for (int i = 0; i <= IDirBrowseControlBase::kMaxScanDepth; ++i)
    deepPath /= "d";
  fs::create_directories(deepPath);
  std::ofstream(deepPath / "too_deep.csx") << "x";

  Browser b(IRECT(), "csx", false);
  b.AddPath(root.c_str(), "");
  base::LogCapture log;
  const std::size_t logged = log.count();
  b.SetUpMenu();
  EXPECT_EQ(log.count(), logged + 1) << "the depth cap";
  std::vector<std::string> files;
  for (int i = 0; i < b.NFiles(); ++i)
    files.push_back(fs::path(b.GetFile(i)).filename());
  EXPECT_NE(std::find(files.begin(), files.end(), "far.csx"), files.end());
  EXPECT_EQ(std::find(files.begin(), files.end(), "too_deep.csx"), files.end());
  ExpectTagsLeadToTheirFiles(b);
}

TEST_F(DirBrowse, AnUnreadableFolderIsLoggedAndSkipped) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
  Touch("locked/x.csx");
  fs::permissions(root / "locked", fs::perms::none);
  Browser b(IRECT(), "csx", false);
  b.AddPath(root.c_str(), "");
  base::LogCapture log;
  const std::size_t logged = log.count();
  b.SetUpMenu();
  fs::permissions(root / "locked", fs::perms::owner_all);
  EXPECT_EQ(log.count(), logged + 1);
  EXPECT_EQ(b.NFiles(), 6);
}

TEST_F(DirBrowse, AMenuThatCannotGrowDropsItsFoldersWithoutScanningThem) {
  // One path and two: the folders of either level that the menu refuses are neither kept
  // nor walked.
  for (int paths : {1, 2}) {
    Browser b(IRECT(), "csx", false);
    for (int i = 0; i < paths; ++i)
      b.AddPath(root.c_str(), "Presets");
    base::LogCapture log;
    {
      FailingRealloc noGrowth(0);
      b.SetUpMenu();
    }
    EXPECT_EQ(b.GetMenu().NItems(), 0) << paths;
    EXPECT_TRUE(log.contains("cannot grow")) << paths;
  }
}

TEST(DirectoryScannerPaths, OneTrailingSeparatorIsDroppedAndNothingOpensNothing) {
  DirectoryScanner s;
  EXPECT_EQ(s.First(nullptr), -1);
  EXPECT_EQ(s.First(""), -1);
  EXPECT_EQ(s.First("/"), 0);
  EXPECT_EQ(s.GetPath(), "/");
  EXPECT_EQ(s.First("/tmp/"), 0);
  EXPECT_EQ(s.GetPath(), "/tmp");
  EXPECT_EQ(s.GetCurrentFullFN(), std::string("/tmp/") + s.GetCurrentFN());
  EXPECT_EQ(s.First("/no/such/folder"), 1);
}

}  // namespace
