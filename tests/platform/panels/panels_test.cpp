// The modal panels: alerts, file panels, the colour and font panels, answered by injected
// events as a user would answer them.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "base/detail/TestHooks.h"
#include "platform/core/Button.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/drawing/FontCollection.h"
#include "platform/panels/Alert.h"
#include "platform/panels/ColorPanel.h"
#include "platform/panels/FileList.h"
#include "platform/panels/FontPanel.h"
#include "platform/panels/SavePanel.h"
#include "support/PanelAnswers.h"
#include "support/PlatformHarness.h"
#include "support/TempFiles.h"

using namespace platform;
using testsupport::clickView;
using testsupport::PanelAnswers;

namespace {

class PanelsTest : public ::testing::Test {
 protected:
  testsupport::PlatformHarness h;
  PanelAnswers answers{h};
};

}  // namespace

TEST_F(PanelsTest, AlertPlacesItsButtonsAndEndsOnlyByThem) {
  auto alert = Ref<NSAlertPanel>::adopt(
      new NSAlertPanel("Title", "Message", "Save", "Cancel", "Don't Save"));
  NSButton* save = alert->button(NSAlertDefaultReturn);
  NSButton* cancel = alert->button(NSAlertAlternateReturn);
  NSButton* dontSave = alert->button(NSAlertOtherReturn);
  ASSERT_TRUE(save && cancel && dontSave);
  EXPECT_LT(cancel->frame().maxX(), save->frame().origin.x);
  EXPECT_LT(dontSave->frame().maxX(), cancel->frame().origin.x);
  EXPECT_EQ(alert->defaultButtonCell(), save);
  EXPECT_FALSE(alert->styleMask() & NSWindowStyleMaskClosable);

  // A click beside the buttons changes nothing; the other button ends the run.
  answers.add([&](NSWindow* w) {
    EXPECT_EQ(w, alert.get());
    EXPECT_TRUE(alert->isKeyWindow());
    h.click(w, {5, 5});
    clickView(h, dontSave);
  });
  EXPECT_EQ(alert->runModal(), NSAlertOtherReturn);
  EXPECT_FALSE(alert->isVisible());

  answers.add([&](NSWindow* w) { h.key(w, 53, "\x1b"); });
  EXPECT_EQ(alert->runModal(), NSAlertAlternateReturn);
  answers.add([&](NSWindow*) { NSApp()->abortModal(); });
  EXPECT_EQ(alert->runModal(), NSAlertErrorReturn);
  alert->close();
}

TEST_F(PanelsTest, AlertShowsOnlyButtonsWithTitles) {
  auto alert = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", "", "OK", "", ""));
  EXPECT_NE(alert->button(NSAlertDefaultReturn), nullptr);
  EXPECT_EQ(alert->button(NSAlertAlternateReturn), nullptr);
  EXPECT_EQ(alert->button(NSAlertOtherReturn), nullptr);
  answers.add([&](NSWindow* w) { h.key(w, 76, "\x03"); });  // keypad Enter
  EXPECT_EQ(alert->runModal(), NSAlertDefaultReturn);
  alert->close();
  // No titles at all: the user still has a button to end the run with.
  auto bare = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", "Done.", "", "", ""));
  ASSERT_NE(bare->button(NSAlertDefaultReturn), nullptr);
  EXPECT_EQ(bare->button(NSAlertDefaultReturn)->title(), "OK");
  EXPECT_EQ(bare->button(NSAlertOtherReturn), nullptr);
  EXPECT_EQ(bare->button(7), nullptr);
  answers.add([&](NSWindow* w) { h.key(w, 36, "\r"); });
  EXPECT_EQ(bare->runModal(), NSAlertDefaultReturn);
  bare->close();
}

// A message longer than the panel is wide wraps at spaces, a word longer than a line (a path) is
// cut between characters, a line feed starts a new line, and the panel grows to show every line:
// nothing of the message is lost.
TEST_F(PanelsTest, AlertWrapsItsMessageAndGrowsToShowEveryLine) {
  const std::string path = "/" + std::string(120, 'p') + "/settings.ini";
  const std::string message =
      "The devices you chose could not be saved, so the program will not remember them.\n" + path;
  auto oneLine = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", "Saved.", "OK", "", ""));
  auto wrapped = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", message, "OK", "", ""));
  NSTextField* label = nullptr;
  for (NSView* v : wrapped->contentView()->subviews())
    if (auto* field = dynamic_cast<NSTextField*>(v)) label = field;
  ASSERT_NE(label, nullptr);
  const std::vector<std::string> lines = label->shownLines();
  ASSERT_GE(lines.size(), 4u);
  std::string kept;
  for (const std::string& line : lines) {
    EXPECT_LE(label->font().sizeOfString(line).width, label->frame().size.width) << line;
    kept += line;
  }
  std::string expected = message;
  std::erase_if(expected, [](char c) { return c == ' ' || c == '\n'; });
  std::erase_if(kept, [](char c) { return c == ' '; });
  EXPECT_EQ(kept, expected);
  const double lineHeight = label->font().lineHeight();
  EXPECT_GE(label->frame().size.height, static_cast<double>(lines.size()) * lineHeight);
  EXPECT_GE(wrapped->frame().size.height - oneLine->frame().size.height,
            static_cast<double>(lines.size() - 2) * lineHeight);
}

TEST(FileListView, ListsFoldersFirstByNameWithoutDotFiles) {
  testsupport::TempDir dir;
  for (const char* name : {"b.txt", "A.txt", "c.txt", ".hidden"})
    testsupport::writeFile(dir.file(name), "");
  for (const char* name : {"Zeta", "alpha"})
    mkdir(dir.file(name).c_str(), 0755);
  ASSERT_EQ(symlink(dir.file("alpha").c_str(), dir.file("link").c_str()), 0);
  auto list = Ref<FileListView>::adopt(new FileListView(NSMakeRect(0, 0, 200, 100)));
  ASSERT_TRUE(list->load(dir.path(), [](const std::string& name, bool isDirectory) {
    return isDirectory || name != "c.txt";
  }));
  std::vector<std::string> names;
  for (const FileListEntry& e : list->entries())
    names.push_back(e.name + (e.isDirectory ? "/" : "") + (e.enabled ? "" : " (greyed)"));
  EXPECT_EQ(names, (std::vector<std::string>{"alpha/", "link/", "Zeta/", "A.txt", "b.txt",
                                             "c.txt (greyed)"}));
  EXPECT_FALSE(list->selectRow(5, false));
  EXPECT_FALSE(list->selectRow(6, false));
  EXPECT_TRUE(list->selectRow(4, false));
  EXPECT_TRUE(list->selectRow(3, true));  // one at a time unless several are allowed
  EXPECT_EQ(list->selectedRows(), (std::vector<int>{3}));
  for (double y : {-1.0, 1e300, std::nan(""), HUGE_VAL})
    EXPECT_EQ(list->rowAtPoint({5, y}), -1) << y;
  EXPECT_EQ(list->rowAtPoint({5, FileListView::kRowHeight * 5.5}), 5);

  base::LogCapture log;
  EXPECT_FALSE(list->load(dir.file("missing"), nullptr));
  EXPECT_TRUE(list->entries().empty());
  EXPECT_TRUE(log.contains("cannot list folder"));
}

TEST(NSColorPanel, ReadsHexTextOfSixDigitsOnly) {
  struct Row {
    const char* text;
    std::optional<NSColor> color;
  };
  const Row rows[] = {
      {"#336699", NSColor{0.2, 0.4, 0.6, 1}},
      {"ff0000", NSColor{1, 0, 0, 1}},
      {"#33669", std::nullopt},
      {"#3366999", std::nullopt},
      {"zz6699", std::nullopt},
      {"-33669", std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows)
    EXPECT_EQ(NSColorPanel::colorFromHexString(row.text), row.color) << row.text;
  EXPECT_EQ(NSColorPanel::hexString({0.2, 0.4, 0.6, 1}), "#336699");
  EXPECT_EQ(NSColorPanel::hexString({-1, 2, 0.5, 1}), "#00FF80");
  EXPECT_EQ(NSColorPanel::hexString({NAN, 0, 0, 1}), "#000000");
}

TEST_F(PanelsTest, AnEventOutlivingItsWindowIsDroppedDuringAModalRun) {
  auto* gone = new NSPanel(NSMakeRect(0, 0, 50, 50), NSWindowStyleMaskTitled);
  h.click(gone, {5, 5});
  gone->close();  // released when closed: the queued click outlives it
  auto alert = Ref<NSAlertPanel>::adopt(new NSAlertPanel("", "", "OK", "", ""));
  answers.add([&](NSWindow* w) { clickView(h, alert->button(NSAlertDefaultReturn)); });
  EXPECT_EQ(alert->runModal(), NSAlertDefaultReturn);
  alert->close();
}

// A save panel on its own: a typed folder is entered, a name without an allowed type gets
// the first one, a missing folder or a folder's name is refused with a word to the user,
// and new folders are numbered past the names taken.
TEST_F(PanelsTest, SavePanelEntersFoldersAddsTheTypeAndRefusesWhatItCannotSaveTo) {
  testsupport::TempDir dir;
  mkdir(dir.file("untitled folder").c_str(), 0755);
  mkdir(dir.file("box.txt").c_str(), 0755);
  auto panel = Ref<NSSavePanel>::adopt(new NSSavePanel);
  panel->setDirectory(dir.path());
  panel->setAllowedFileTypes({"txt", "md"});
  std::vector<std::string> told;
  auto tell = [&](NSWindow* w) {
    told.push_back(static_cast<NSAlertPanel*>(w)->message());
    h.key(w, 36, "\r");
  };
  answers.add([&](NSWindow* w) {
    clickView(h, panel->newFolderButton());
    h.typeText(w, "untitled folder 2");
    h.key(w, 36, "\r");  // entered
    h.perform([&, w] {
      EXPECT_EQ(panel->fileList()->folder(), dir.file("untitled folder 2"));
      clickView(h, panel->upButton());
      h.typeText(w, "missing/x");
      h.key(w, 36, "\r");  // refused: no such folder
      h.perform([&, w] {
        h.key(w, 0, "a", NSEventModifierFlagCommand);  // the refused name, selected
        h.typeText(w, "box");                          // box.txt is a folder: refused
        h.key(w, 36, "\r");
        h.perform([&, w] {
          h.key(w, 0, "a", NSEventModifierFlagCommand);
          h.typeText(w, "notes");
          h.key(w, 36, "\r");
        });
      });
    });
  });
  answers.add(tell);
  answers.add(tell);
  EXPECT_EQ(panel->runModal(), NSModalResponseOK);
  EXPECT_EQ(panel->path(), dir.file("notes.txt"));
  EXPECT_EQ(told,
            (std::vector<std::string>{"The folder \"" + dir.file("missing") + "\" does not exist.",
                                      "\"box.txt\" is a folder."}));
  EXPECT_TRUE(h.logged("no folder to save"));
  panel->close();
}

namespace {

// Replaces a field's text by typing, as a user does: into the field, all selected first.
void typeInto(testsupport::PlatformHarness& h, NSPanel* panel, NSTextField* field,
              const std::string& text) {
  panel->makeFirstResponder(field);
  h.key(panel, 0, "a", NSEventModifierFlagCommand);
  if (text.empty())
    h.key(panel, 51, "\x7f");  // Backspace
  else
    h.typeText(panel, text);
  h.runUntilIdle();
}

}  // namespace

TEST_F(PanelsTest, TheChooserPanelsTakeWhatIsPickedAndTypedAndNothingElse) {
  NSFontPanel* fonts = NSFontPanel::sharedFontPanel();
  auto bold = fontcollection::fontWithName("DejaVu Sans Bold", 12);
  ASSERT_TRUE(bold) << "no DejaVu Sans Bold (fonts-dejavu-core)";
  fonts->setPanelFont(*bold);
  fonts->makeKeyAndOrderFront();
  EXPECT_EQ(fonts->familyButton()->titleOfSelectedItem(), "DejaVu Sans");
  EXPECT_EQ(fonts->styleButton()->titleOfSelectedItem(), "Bold");
  // Another family keeps the style where it has one.
  ASSERT_TRUE(fonts->familyButton()->selectItemByUser(
      fonts->familyButton()->indexOfItemWithTitle("DejaVu Serif")));
  EXPECT_EQ(fonts->styleButton()->titleOfSelectedItem(), "Bold");
  // Sizes: a number above 0 and up to 1000 is taken, other text leaves the size as it was.
  // Each keystroke counts: typing 5000 passes through 500.
  const std::pair<const char*, double> sizes[] = {
      {"14.5", 14.5}, {"abc", 14.5}, {"0", 14.5},   {"-3", 14.5},
      {"nan", 14.5},  {"", 14.5},    {"5000", 500}, {"9", 9},
  };
  for (const auto& [text, size] : sizes) {
    typeInto(h, fonts, fonts->sizeField(), text);
    EXPECT_EQ(fonts->panelFont().pointSize(), size) << '"' << text << '"';
  }
  EXPECT_EQ(fontcollection::displayName(fonts->panelFont()), "DejaVu Serif Bold");
  fonts->orderOut();

  NSColorPanel* colors = NSColorPanel::sharedColorPanel();
  colors->setColor({0, 0, 0, 1});
  colors->makeKeyAndOrderFront();
  // A component takes 0 to 255 (300 passes through 30), the hex field six digits; the other
  // fields follow.
  struct Row {
    NSTextField* field;
    const char* text;
    const char* hex;
  };
  const Row rows[] = {
      {colors->redField(), "128", "#800000"},  {colors->redField(), "300", "#1E0000"},
      {colors->greenField(), "-1", "#1E0000"}, {colors->greenField(), "2x", "#1E0200"},
      {colors->blueField(), "255", "#1E02FF"}, {colors->hexField(), "#00ff00", "#00FF00"},
      {colors->hexField(), "#12", "#00FF00"},
  };
  for (const Row& r : rows) {
    typeInto(h, colors, r.field, r.text);
    EXPECT_EQ(NSColorPanel::hexString(colors->color()), r.hex) << r.text;
  }
  EXPECT_EQ(colors->greenField()->stringValue(), "255");
  colors->orderOut();
}

// A caller's accessory view at the bottom of a chooser panel: the panel widens for a wider one,
// centres a narrower one, and is as before without one.
TEST_F(PanelsTest, ChooserPanelsMakeRoomForTheirAccessoryView) {
  struct Panel {
    ChooserPanel* panel;
    double width, margin;
  } panels[] = {{NSColorPanel::sharedColorPanel(), NSColorPanel::kWidth, NSColorPanel::kMargin},
                {NSFontPanel::sharedFontPanel(), NSFontPanel::kWidth, NSFontPanel::kMargin}};
  for (const Panel& p : panels) {
    SCOPED_TRACE(p.panel->title());
    const NSSize plain = p.panel->contentView()->frame().size;
    EXPECT_EQ(plain.width, p.width);
    auto accessory = Ref<NSView>::adopt(new NSView(NSMakeRect(0, 0, 500, 40)));
    p.panel->setAccessoryView(accessory.get());
    EXPECT_EQ(accessory->superview(), p.panel->contentView());
    EXPECT_EQ(p.panel->contentView()->frame().size, NSMakeSize(500, plain.height + 40 + p.margin));
    EXPECT_EQ(accessory->frame().origin, NSMakePoint(0, p.margin));
    // The same view made narrower, set again: laid out anew.
    accessory->setFrameSize({100, 40});
    p.panel->setAccessoryView(accessory.get());
    EXPECT_EQ(p.panel->contentView()->frame().size.width, p.width);
    EXPECT_EQ(accessory->frame().origin, NSMakePoint((p.width - 100) / 2, p.margin));
    // Every other part stays above it.
    for (NSView* part : p.panel->contentView()->subviews()) {
      if (part != accessory.get()) {
        EXPECT_GE(part->frame().minY(), accessory->frame().maxY());
      }
    }
    p.panel->setAccessoryView(nullptr);
    EXPECT_EQ(accessory->superview(), nullptr);
    EXPECT_EQ(p.panel->accessoryView(), nullptr);
    EXPECT_EQ(p.panel->contentView()->frame().size, plain);
  }
}
