// The open panel over real folders, used as a user uses it: entries listed and greyed by
// type, folders entered by a double click and left by Up, several files chosen with Shift,
// links resolved; folders it cannot read, names that are no UTF-8, and a huge folder.

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/Button.h"
#include "platform/core/TextField.h"
#include "platform/panels/Alert.h"
#include "platform/panels/FileList.h"
#include "platform/panels/OpenPanel.h"
#include "support/PanelAnswers.h"
#include "support/PlatformHarness.h"
#include "support/TempFiles.h"

using namespace platform;
using testsupport::clickView;
using testsupport::PanelAnswers;

namespace {

// While alive, this thread reads folders by their permission bits alone, as a user does:
// a test run as root gives up (for this thread only) the capabilities that pass over them.
class AsAUser {
 public:
  AsAUser() {
    mHeader.version = _LINUX_CAPABILITY_VERSION_3;
    if (syscall(SYS_capget, &mHeader, mSaved) != 0) return;
    __user_cap_data_struct reduced[2] = {mSaved[0], mSaved[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
      reduced[0].effective &= ~(1u << cap);
    mDropped = syscall(SYS_capset, &mHeader, reduced) == 0;
  }
  ~AsAUser() {
    if (mDropped) syscall(SYS_capset, &mHeader, mSaved);
  }

 private:
  __user_cap_header_struct mHeader{};
  __user_cap_data_struct mSaved[2]{};
  bool mDropped = false;
};

class OpenPanelTest : public ::testing::Test {
 protected:
  void SetUp() override { panel->setDirectory(dir.path()); }
  void TearDown() override { panel->close(); }

  // Clicks a listed entry of the panel being browsed by name, as the pointer would.
  void clickEntry(const std::string& name, std::uint64_t modifiers = 0, int clicks = 1) {
    FileListView* list = browsed->fileList();
    int row = list->rowNamed(name);
    ASSERT_GE(row, 0) << name << " is not listed";
    NSRect r = list->rectOfRow(row);
    NSPoint at = list->convertPointToView({r.midX(), r.midY()}, nullptr);
    for (int n = 1; n <= clicks; ++n)
      h.click(browsed, at, modifiers, n);
  }
  std::vector<std::string> listed() {
    std::vector<std::string> names;
    for (const FileListEntry& e : panel->fileList()->entries())
      names.push_back(e.name + (e.isDirectory ? "/" : "") + (e.enabled ? "" : " (greyed)"));
    return names;
  }

  testsupport::PlatformHarness h;
  PanelAnswers answers{h};
  testsupport::TempDir dir;
  Ref<NSOpenPanel> panel = Ref<NSOpenPanel>::adopt(new NSOpenPanel);
  NSSavePanel* browsed = panel.get();
};

TEST_F(OpenPanelTest, ABrowsingUserChoosesFilesOfTheAllowedTypes) {
  mkdir(dir.file("sub").c_str(), 0755);
  mkdir(dir.file("locked").c_str(), 0);
  for (const char* name : {"sub/x.wav", "sub/y.txt", "a.wav", "b.WAV", "c.txt", "bad\xFF.wav"})
    testsupport::writeFile(dir.file(name), "");
  ASSERT_EQ(symlink(dir.file("sub/x.wav").c_str(), dir.file("link.wav").c_str()), 0);
  panel->setAllowedFileTypes({"wav"});
  panel->setAllowsMultipleSelection(true);
  AsAUser user;
  answers.add([&](NSWindow* w) {
    EXPECT_EQ(listed(), (std::vector<std::string>{"locked/", "sub/", "a.wav", "b.WAV",
                                                  "bad\xFF.wav", "c.txt (greyed)", "link.wav"}));
    // A folder that cannot be read is not entered: the list stays where it was.
    clickEntry("locked", 0, 2);
    h.perform([&, w] {
      EXPECT_EQ(panel->fileList()->folder(), dir.path());
      EXPECT_EQ(panel->fileList()->entries().size(), 7u);
      clickEntry("sub", 0, 2);
      h.perform([&, w] {
        EXPECT_EQ(listed(), (std::vector<std::string>{"x.wav", "y.txt (greyed)"}));
        clickEntry("y.txt");  // greyed: not chosen
        EXPECT_TRUE(panel->fileList()->selectedRows().empty());
        clickView(h, panel->upButton());
        h.perform([&, w] {
          clickEntry("a.wav");
          clickEntry("link.wav", NSEventModifierFlagShift);
          h.key(w, 36, "\r");
        });
      });
    });
  });
  ASSERT_EQ(panel->runModal(), NSModalResponseOK);
  EXPECT_EQ(panel->paths(), (std::vector<std::string>{dir.file("a.wav"), dir.file("sub/x.wav")}));
  EXPECT_TRUE(h.logged("cannot list folder"));
}

TEST_F(OpenPanelTest, AStartingFolderThatCannotBeReadGivesWayToTheHomeFolder) {
  mkdir(dir.file("home").c_str(), 0755);
  testsupport::writeFile(dir.file("home/h.wav"), "");
  mkdir(dir.file("locked").c_str(), 0);
  const char* previousHome = std::getenv("HOME");
  const std::string keptHome = previousHome ? previousHome : "";
  setenv("HOME", dir.file("home").c_str(), 1);
  panel->setDirectory(dir.file("locked"));
  {
    AsAUser user;
    answers.add([&](NSWindow* w) {
      EXPECT_EQ(panel->fileList()->folder(), dir.file("home"));
      EXPECT_EQ(listed(), (std::vector<std::string>{"h.wav"}));
      h.key(w, 53, "\x1b");
    });
    EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
  }
  EXPECT_TRUE(panel->paths().empty());
  if (previousHome)
    setenv("HOME", keptHome.c_str(), 1);
  else
    unsetenv("HOME");
}

TEST_F(OpenPanelTest, AHugeFolderIsListedWholeInOrder) {
  constexpr int kFiles = 5000;
  for (int i = 0; i < kFiles; ++i)
    testsupport::writeFile(dir.file("f" + std::to_string(100000 + i) + ".wav"), "");
  answers.add([&](NSWindow* w) {
    ASSERT_EQ(panel->fileList()->entries().size(), std::size_t(kFiles));
    EXPECT_EQ(panel->fileList()->entries().front().name, "f100000.wav");
    EXPECT_EQ(panel->fileList()->entries().back().name,
              "f" + std::to_string(100000 + kFiles - 1) + ".wav");
    panel->display();
    clickEntry("f100002.wav");
    h.key(w, 36, "\r");
  });
  ASSERT_EQ(panel->runModal(), NSModalResponseOK);
  EXPECT_EQ(panel->paths(), (std::vector<std::string>{dir.file("f100002.wav")}));
}

// Folders as a user picks them: Return on a folder that cannot be chosen enters it, a click
// below the entries selects nothing, and Return with nothing chosen leaves the panel up, unless
// folders can be chosen: then the folder shown is the choice.
TEST_F(OpenPanelTest, ReturnEntersOrChoosesFoldersAsThePanelAllows) {
  mkdir(dir.file("sub").c_str(), 0755);
  testsupport::writeFile(dir.file("sub/a.txt"), "");
  auto clickBelowTheEntries = [&] {
    FileListView* list = panel->fileList();
    NSRect last = list->rectOfRow(static_cast<int>(list->entries().size()) - 1);
    h.click(panel.get(), list->convertPointToView({last.midX(), last.maxY() + 5}, nullptr));
  };
  answers.add([&](NSWindow* w) {
    clickEntry("sub");
    h.key(w, 36, "\r");  // a folder alone: entered
    h.perform([&, w] {
      EXPECT_EQ(panel->fileList()->folder(), dir.file("sub"));
      clickEntry("a.txt");
      clickBelowTheEntries();
      EXPECT_TRUE(panel->fileList()->selectedRows().empty());
      h.key(w, 36, "\r");  // nothing chosen: the panel stays
      h.perform([&, w] {
        EXPECT_TRUE(panel->isVisible());
        h.key(w, 53, "\x1b");
      });
    });
  });
  EXPECT_EQ(panel->runModal(), NSModalResponseCancel);
  EXPECT_TRUE(panel->paths().empty());

  panel->setDirectory(dir.path());
  panel->setCanChooseFiles(false);
  panel->setCanChooseDirectories(true);
  answers.add([&](NSWindow* w) {
    clickEntry("sub", 0, 2);
    h.perform([&, w] {
      EXPECT_EQ(panel->fileList()->entries().front().enabled, false);  // a.txt, greyed
      h.key(w, 36, "\r");
    });
  });
  ASSERT_EQ(panel->runModal(), NSModalResponseOK);
  EXPECT_EQ(panel->paths(), (std::vector<std::string>{dir.file("sub")}));
}

// What a user meets saving over a file: double clicks enter a folder and pick the file, the
// panel asks before replacing it and stays up when told not to; an owner refusing the name
// keeps it up too.
class RefusingDelegate : public NSSavePanelDelegate {
 public:
  std::string panelUserEnteredPath(NSSavePanel*, const std::string& path) override {
    asked.push_back(path);
    return path.find("forbidden") != std::string::npos ? "" : path + ".bak";
  }
  std::vector<std::string> asked;
};

TEST_F(OpenPanelTest, SavingOverAFileAsksFirstAndCanBeToldNo) {
  mkdir(dir.file("docs").c_str(), 0755);
  testsupport::writeFile(dir.file("docs/song.txt"), "kept");
  auto save = Ref<NSSavePanel>::adopt(new NSSavePanel);
  browsed = save.get();
  save->setDirectory(dir.path());
  save->setAllowedFileTypes({"txt"});
  std::vector<std::string> asked;
  auto answerAlert = [&](bool replace) {
    answers.add([&, replace](NSWindow* w) {
      auto* alert = static_cast<NSAlertPanel*>(w);
      asked.push_back(alert->message());
      if (replace)
        clickView(h, alert->button(NSAlertAlternateReturn));
      else
        h.key(w, 53, "\x1b");  // Escape: Cancel
    });
  };
  answers.add([&](NSWindow*) {
    clickEntry("docs", 0, 2);
    h.perform([&] {
      EXPECT_EQ(save->fileList()->folder(), dir.file("docs"));
      clickEntry("song.txt", 0, 2);  // asked, and told not to replace
      h.perform([&] {
        EXPECT_TRUE(save->isVisible());
        EXPECT_EQ(save->nameField()->stringValue(), "song.txt");
        clickEntry("song.txt", 0, 2);  // asked again, and told to replace
      });
    });
  });
  answerAlert(false);
  answerAlert(true);
  ASSERT_EQ(save->runModal(), NSModalResponseOK);
  EXPECT_EQ(save->path(), dir.file("docs/song.txt"));
  const std::string question = "\"song.txt\" already exists. Do you want to replace it?";
  EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
  EXPECT_EQ(testsupport::readFile(dir.file("docs/song.txt")), "kept");

  // The owner decides the path: an empty one keeps the panel up, silently.
  RefusingDelegate owner;
  save->setSavePanelDelegate(&owner);
  answers.add([&](NSWindow* w) {
    h.key(w, 0, "a", NSEventModifierFlagCommand);
    h.typeText(w, "forbidden");
    h.key(w, 36, "\r");
    h.perform([&, w] {
      EXPECT_TRUE(save->isVisible());
      h.key(w, 0, "a", NSEventModifierFlagCommand);
      h.typeText(w, "new");
      h.key(w, 36, "\r");
    });
  });
  ASSERT_EQ(save->runModal(), NSModalResponseOK);
  EXPECT_EQ(owner.asked,
            (std::vector<std::string>{dir.file("docs/forbidden"), dir.file("docs/new")}));
  EXPECT_EQ(save->path(), dir.file("docs/new.bak"));
  EXPECT_EQ(answers.pending(), 0u);
  save->setSavePanelDelegate(nullptr);
  save->close();
}

}  // namespace
