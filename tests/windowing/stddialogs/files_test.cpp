#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Button.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/panels/Alert.h"
#include "platform/panels/FileList.h"
#include "platform/panels/OpenPanel.h"
#include "platform/panels/SavePanel.h"
#include "support/PanelAnswers.h"
#include "support/TempFiles.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"
#include "windowing/stddialogs/detail/FilterList.h"

using platform::NSSavePanel;
using testsupport::clickView;
using testsupport::PanelAnswers;

namespace {

// A filter list from its strings; the final empty string is added.
std::string filters(std::vector<std::string> parts) {
  std::string list;
  for (const std::string& part : parts)
    list += part + '\0';
  return list + '\0';
}

class FileChooserTest : public testsupport::WindowTest {
 protected:
  FileChooserTest() {
    for (const char* name : {"a.csx", "b.CSX", "notes.txt", ".hidden.csx"})
      testsupport::writeFile(dir.file(name), "x");
    mkdir(dir.file("sub").c_str(), 0755);
    testsupport::writeFile(dir.file("sub/inner.csx"), "x");
  }

  static NSSavePanel* panelOf(platform::NSWindow* w) {
    auto* panel = dynamic_cast<NSSavePanel*>(w);
    EXPECT_NE(panel, nullptr);
    return panel;
  }
  // Clicks the entry of that name in the panel's list.
  void clickEntry(NSSavePanel* panel, const std::string& name, std::uint64_t modifiers = 0,
                  int clicks = 1) {
    platform::FileListView* list = panel->fileList();
    int row = list->rowNamed(name);
    ASSERT_GE(row, 0) << name;
    platform::NSRect r = list->convertRectToView(list->rectOfRow(row), nullptr);
    h.click(panel, {r.origin.x + 20, r.origin.y + r.size.height / 2}, modifiers, clicks);
  }
  // A save answer: types the name and presses Save.
  PanelAnswers::Answer save(const std::string& name) {
    return [this, name](platform::NSWindow* w) {
      h.typeText(w, name);
      clickView(h, panelOf(w)->okButton());
    };
  }
  PanelAnswers::Answer cancel() {
    return [this](platform::NSWindow* w) { clickView(h, panelOf(w)->cancelButton()); };
  }

  testsupport::TempDir dir;
  PanelAnswers answers{h};
  char buffer[4096] = {};
};

}  // namespace

TEST(FilterList, GivesTheExtensionsOfEveryPatternPreferredFirst) {
  struct Row {
    std::string list;
    const char* preferred;
    std::vector<std::string> extensions;
  };
  const std::vector<Row> rows = {
      {filters({"Projects (*.csx)", "*.csx", "All files", "*.*"}), nullptr, {"csx"}},
      {filters({"Text", "*.txt;*.md", "Songs", "*.mid;*.csx"}), "CSX", {"csx", "txt", "md", "mid"}},
      {filters({"Text", "*.txt;*.md"}), "md;*.other", {"md", "txt"}},
      {filters({"Odd", "noext;*.;*.*;a*.x.y"}), nullptr, {"x.y"}},
      {filters({"Long", "*." + std::string(40, 'e')}), nullptr, {std::string(31, 'e')}},
      {filters({"Cut", "*." + std::string(30, 'e') + "\xC3\xA9"}), nullptr, {std::string(30, 'e')}},
      {filters({"Description without a pattern"}), nullptr, {}},
      {filters({}), nullptr, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.list);
    EXPECT_EQ(swell::filterExtensions(row.list.c_str(), row.preferred), row.extensions);
  }
  EXPECT_TRUE(swell::filterExtensions(nullptr, nullptr).empty());
}

// The extension a confirmed name gets is added before the panel looks for a file to
// replace; an allowed one is kept as typed.
TEST_F(FileChooserTest, SaveAddsTheExtensionItsTypesGiveBeforeAskingToReplace) {
  const std::string csxOnly = filters({"Project", "*.csx"});
  const std::string anyFile = filters({"All files", "*.*"});
  const std::string twoTypes = filters({"Project", "*.csx", "Other", "*.ccc", "All", "*.*"});
  struct Row {
    const std::string& list;
    std::string initialFile;  // "" for none
    std::string typed, saved;
    bool chooser;  // a "File type:" chooser is shown
  };
  const std::vector<Row> rows = {
      {csxOnly, "", "foo", "foo.csx", false},
      {csxOnly, "", "foo.CSX", "foo.CSX", false},
      {csxOnly, "", "foo.txt", "foo.txt.csx", false},
      {anyFile, ".csx", "bar", "bar.csx", false},
      {anyFile, "", "plain", "plain", false},
      {twoTypes, dir.file("x.ccc"), "n", "n.ccc", true},
      {twoTypes, "", "n", "n.csx", true},
      {twoTypes, "", "n.CCC", "n.CCC", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed + " of " + row.initialFile);
    bool sawChooser = false;
    answers.add([&](platform::NSWindow* w) {
      sawChooser = panelOf(w)->accessoryView() != nullptr;
      save(row.typed)(w);
    });
    const char* initialFile = row.initialFile.empty() ? nullptr : row.initialFile.c_str();
    ASSERT_TRUE(BrowseForSaveFile("Save", dir.path().c_str(), initialFile, row.list.c_str(), buffer,
                                  sizeof buffer));
    EXPECT_EQ(std::string(buffer), dir.file(row.saved));
    EXPECT_EQ(sawChooser, row.chooser);
  }

  // "a" becomes "a.csx", which exists: the user is asked, cancels, saves again and
  // replaces. The second Save is pressed once the first question is answered.
  std::vector<std::string> asked;
  NSSavePanel* panel = nullptr;
  auto alertOf = [](platform::NSWindow* w) {
    auto* alert = dynamic_cast<platform::NSAlertPanel*>(w);
    EXPECT_NE(alert, nullptr);
    return alert;
  };
  answers.add([&](platform::NSWindow* w) {
    panel = panelOf(w);
    save("a")(w);
  });
  answers.add([&](platform::NSWindow* w) {
    asked.push_back(alertOf(w)->message());
    clickView(h, alertOf(w)->button(platform::NSAlertDefaultReturn));  // Cancel
    h.perform([&] { clickView(h, panel->okButton()); });
  });
  answers.add([&](platform::NSWindow* w) {
    asked.push_back(alertOf(w)->message());
    clickView(h, alertOf(w)->button(platform::NSAlertAlternateReturn));  // Replace
  });
  ASSERT_TRUE(BrowseForSaveFile("Save", dir.path().c_str(), nullptr, csxOnly.c_str(), buffer,
                                sizeof buffer));
  EXPECT_EQ(std::string(buffer), dir.file("a.csx"));
  const std::string question = "\"a.csx\" already exists. Do you want to replace it?";
  EXPECT_EQ(asked, (std::vector<std::string>{question, question}));
  EXPECT_EQ(answers.pending(), 0u);
  EXPECT_FALSE(h.watchdogFired());
}

TEST_F(FileChooserTest, SaveStartsAtTheInitialFileAndRefusesBuffersTooSmall) {
  std::string initial = dir.file("sub/start.csx");
  answers.add([&](platform::NSWindow* w) {
    NSSavePanel* panel = panelOf(w);
    EXPECT_EQ(panel->fileList()->folder(), dir.file("sub"));
    EXPECT_EQ(panel->nameFieldStringValue(), "start.csx");
    clickView(h, panel->okButton());
  });
  char small[8] = "keep";
  EXPECT_FALSE(BrowseForSaveFile("Save", nullptr, initial.c_str(), nullptr, small, sizeof small));
  EXPECT_STREQ(small, "");
  EXPECT_TRUE(h.logged("does not fit"));

  // Cancelled, and no buffer at all: nothing written, 0.
  answers.add(cancel());
  EXPECT_FALSE(
      BrowseForSaveFile("Save", dir.path().c_str(), nullptr, nullptr, buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
  answers.add(save("x"));
  EXPECT_FALSE(BrowseForSaveFile("Save", dir.path().c_str(), nullptr, nullptr, nullptr, 0));
  EXPECT_EQ(answers.pending(), 0u);
}

TEST_F(FileChooserTest, OpenListsTheFolderAndReturnsOneFileOrSeveral) {
  const std::string csx = filters({"Project", "*.csx"});
  std::vector<std::string> listed;
  std::vector<bool> enabled;
  answers.add([&](platform::NSWindow* w) {
    NSSavePanel* panel = panelOf(w);
    for (const platform::FileListEntry& e : panel->fileList()->entries()) {
      listed.push_back(e.name);
      enabled.push_back(e.enabled);
    }
    clickEntry(panel, "notes.txt");  // greyed: not chosen
    clickEntry(panel, "b.CSX");
    clickView(h, panel->okButton());
  });
  char* one = BrowseForFiles("Open", dir.path().c_str(), nullptr, false, csx.c_str());
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(std::string(one, dir.file("b.CSX").size() + 2), dir.file("b.CSX") + '\0' + '\0');
  std::free(one);
  EXPECT_EQ(listed, (std::vector<std::string>{"sub", "a.csx", "b.CSX", "notes.txt"}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, true, false}));

  // Several: an empty string first, then each path, then the final NUL.
  answers.add([&](platform::NSWindow* w) {
    clickEntry(panelOf(w), "a.csx");
    clickEntry(panelOf(w), "b.CSX", platform::NSEventModifierFlagShift);
    clickView(h, panelOf(w)->okButton());
  });
  char* several = BrowseForFiles("Open", dir.path().c_str(), nullptr, true, csx.c_str());
  ASSERT_NE(several, nullptr);
  std::string expected = '\0' + dir.file("a.csx") + '\0' + dir.file("b.CSX") + '\0' + '\0';
  EXPECT_EQ(std::string(several, expected.size()), expected);
  std::free(several);

  // A double click enters a folder, and chooses a file; the initial file is selected.
  answers.add([&](platform::NSWindow* w) {
    EXPECT_EQ(panelOf(w)->fileList()->selectedRows(), (std::vector<int>{1}));
    clickEntry(panelOf(w), "sub", 0, 2);
    h.perform([&, w] { clickEntry(panelOf(w), "inner.csx", 0, 2); });
  });
  char* inner = BrowseForFiles("Open", nullptr, dir.file("a.csx").c_str(), false, nullptr);
  ASSERT_NE(inner, nullptr);
  EXPECT_STREQ(inner, dir.file("sub/inner.csx").c_str());
  std::free(inner);

  answers.add(cancel());
  EXPECT_EQ(BrowseForFiles("Open", dir.path().c_str(), nullptr, true, csx.c_str()), nullptr);
  EXPECT_EQ(answers.pending(), 0u);
}

TEST_F(FileChooserTest, DirectoryChooserEntersMakesAndChoosesFolders) {
  answers.add([&](platform::NSWindow* w) {
    NSSavePanel* panel = panelOf(w);
    EXPECT_FALSE(panel->fileList()->entries()[panel->fileList()->rowNamed("a.csx")].enabled);
    clickEntry(panel, "sub", 0, 2);
    clickView(h, panel->newFolderButton());
    clickView(h, panel->okButton());
  });
  ASSERT_TRUE(BrowseForDirectory("Folder", dir.path().c_str(), buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), dir.file("sub/untitled folder"));
  struct stat st {};
  EXPECT_EQ(stat(buffer, &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));

  // With nothing selected the shown folder is chosen; a buffer too small gets nothing.
  answers.add([&](platform::NSWindow* w) { clickView(h, panelOf(w)->okButton()); });
  char small[4] = "abc";
  EXPECT_FALSE(BrowseForDirectory("Folder", dir.path().c_str(), small, sizeof small));
  EXPECT_STREQ(small, "");
  answers.add([&](platform::NSWindow* w) { clickView(h, panelOf(w)->okButton()); });
  ASSERT_TRUE(BrowseForDirectory("Folder", dir.path().c_str(), buffer, sizeof buffer));
  EXPECT_EQ(std::string(buffer), dir.path());
}

TEST_F(FileChooserTest, TemplateIsShownInTheNextChooserOnly) {
  static SWELL_DialogResourceIndex extra{testsupport::resid(900),
                                         "",
                                         SWELL_DLG_WS_CHILD,
                                         [](HWND hwnd, int) {
                                           SWELL_MakeSetCurParms(hwnd, false, false, 1, 1, 0, 0);
                                           SWELL_MakeLabel(-1, "Extra", 901, 0, 0, 100, 20, 0);
                                         },
                                         200,
                                         40,
                                         nullptr};
  std::vector<bool> hadExtra;
  auto look = [&](platform::NSWindow* w) {
    platform::NSView* accessory = panelOf(w)->accessoryView();
    hadExtra.push_back(accessory && GetDlgItem(swell::handleFromObject(accessory), 901) != nullptr);
    clickView(h, panelOf(w)->cancelButton());
  };
  BrowseFile_SetTemplate(testsupport::resid(900), nullptr, &extra);
  answers.add(look);
  answers.add(look);
  EXPECT_EQ(BrowseForFiles("Open", dir.path().c_str(), nullptr, false, nullptr), nullptr);
  EXPECT_EQ(BrowseForFiles("Open", dir.path().c_str(), nullptr, false, nullptr), nullptr);
  EXPECT_EQ(hadExtra, (std::vector<bool>{true, false}));
}

TEST_F(FileChooserTest, FileTypeChooserListsTheTypesAndSetsTheDefaultExtension) {
  const std::string list = filters({"Project", "*.csx", "Other", "*.ccc;*.cc2", "All", "*.*"});
  std::vector<std::string> offered;
  answers.add([&](platform::NSWindow* w) {
    NSSavePanel* panel = panelOf(w);
    HWND accessory = swell::handleFromObject(panel->accessoryView());
    auto* combo = swell::objectFromHandleAs<platform::NSPopUpButton>(GetDlgItem(accessory, 1000));
    ASSERT_NE(combo, nullptr);
    offered = combo->itemTitles();
    EXPECT_EQ(panel->allowedFileTypes(), (std::vector<std::string>{"csx", "ccc", "cc2"}));
    h.menus().add({"Other"});
    clickView(h, combo);
    h.perform([&, panel] {
      EXPECT_EQ(panel->allowedFileTypes(), (std::vector<std::string>{"ccc", "csx", "cc2"}));
    });
    // The click gave the list the keyboard: the name is typed after a click into its field.
    clickView(h, panel->nameField());
    save("song")(w);
  });
  ASSERT_TRUE(
      BrowseForSaveFile("Save", dir.path().c_str(), nullptr, list.c_str(), buffer, sizeof buffer));
  EXPECT_EQ(offered, (std::vector<std::string>{"Project", "Other"}));
  EXPECT_EQ(std::string(buffer), dir.file("song.ccc"));
}

TEST_F(FileChooserTest, ChoosersRefuseToRunOffTheMainThread) {
  bool saved = true, chose = true;
  char* files = reinterpret_cast<char*>(1);
  std::thread([&] {
    saved = BrowseForSaveFile("Save", nullptr, nullptr, nullptr, buffer, sizeof buffer);
    files = BrowseForFiles("Open", nullptr, nullptr, false, nullptr);
    chose = BrowseForDirectory("Folder", nullptr, buffer, sizeof buffer);
  }).join();
  EXPECT_FALSE(saved || chose || files);
  EXPECT_EQ(answers.answered(), 0);
  EXPECT_TRUE(h.logged("BrowseForSaveFile called off the main thread"));
}

TEST_F(FileChooserTest, ACopyOfTheModalMenuIsTheMainMenuWhileAChooserRuns) {
  HMENU modal = CreatePopupMenuEx("Modal");
  HMENU normal = CreatePopupMenuEx("Normal");
  SWELL_SetDefaultModalWindowMenu(modal);
  SWELL_SetDefaultWindowMenu(normal);
  platform::NSMenu* during = nullptr;
  std::string duringTitle;
  answers.add([&](platform::NSWindow* w) {
    during = platform::NSApp()->mainMenu();
    if (during) duringTitle = during->title();
    clickView(h, panelOf(w)->cancelButton());
  });
  EXPECT_FALSE(BrowseForDirectory("Folder", dir.path().c_str(), buffer, sizeof buffer));
  ASSERT_NE(during, nullptr);
  EXPECT_NE(during, platform::liveObjectAs<platform::NSMenu>(modal));
  EXPECT_EQ(duringTitle, "Modal");
  EXPECT_FALSE(platform::isLiveObject(during));  // the copy is gone
  EXPECT_EQ(platform::NSApp()->mainMenu(), platform::liveObjectAs<platform::NSMenu>(normal));
  SWELL_SetDefaultModalWindowMenu(nullptr);
  SWELL_SetDefaultWindowMenu(nullptr);
  platform::NSApp()->setMainMenu(nullptr);
  DestroyMenu(modal);
  DestroyMenu(normal);
}
