#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/Application.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/panels/ColorPanel.h"
#include "platform/panels/FontPanel.h"
#include "support/PanelAnswers.h"
#include "support/WindowTest.h"
#include "windowing/Win32.h"

using testsupport::clickView;
using testsupport::PanelAnswers;

namespace {

class ColorFontTest : public testsupport::WindowTest {
 protected:
  // Presses the OK (IDOK) or Cancel (IDCANCEL) button under the panel.
  void press(platform::NSWindow* panel, int id) {
    auto* host = dynamic_cast<platform::AccessoryViewHost*>(panel);
    ASSERT_TRUE(host && host->accessoryView());
    HWND button = GetDlgItem(swell::handleFromObject(host->accessoryView()), id);
    ASSERT_NE(button, nullptr);
    clickView(h, swell::objectFromHandleAs<platform::NSView>(button));
  }
  // Replaces a field's text as a user would: a click selects it all, typing replaces it.
  void type(platform::NSTextField* field, const std::string& text) {
    clickView(h, field);
    h.typeText(field->window(), text);
  }

  PanelAnswers answers{h};
};

LOGFONT dejaVu(LONG height) {
  LOGFONT font;
  font.lfHeight = height;
  font.lfWeight = 400;
  std::strcpy(font.lfFaceName, "DejaVu Sans");
  return font;
}

}  // namespace

TEST_F(ColorFontTest, ChooseColorTakesTheTypedColourOnOkOnly) {
  using platform::NSColorPanel;
  struct Row {
    const char* name;
    std::function<void(NSColorPanel*)> act;
    bool accepted;
    COLORREF result;
  };
  const std::vector<Row> rows = {
      {"hex",
       [&](NSColorPanel* p) {
         type(p->hexField(), "336699");
         press(p, IDOK);
       },
       true, 0x336699},
      {"fields",
       [&](NSColorPanel* p) {
         type(p->redField(), "255");
         type(p->blueField(), "1");
         type(p->greenField(), "x");  // no component: ignored
         press(p, IDOK);
       },
       true, 0xFF2001},
      {"unchanged", [&](NSColorPanel* p) { press(p, IDOK); }, true, 0x102030},
      {"cancel",
       [&](NSColorPanel* p) {
         type(p->hexField(), "#FFFFFF");
         press(p, IDCANCEL);
       },
       false, 0x102030},
      {"closed", [&](NSColorPanel* p) { h.closeBox(p); }, false, 0x102030},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    COLORREF color = 0x102030;
    std::string shown;
    answers.add([&](platform::NSWindow* w) {
      auto* panel = dynamic_cast<NSColorPanel*>(w);
      ASSERT_NE(panel, nullptr);
      shown = panel->hexField()->stringValue();
      row.act(panel);
    });
    EXPECT_EQ(SWELL_ChooseColor(nullptr, &color), row.accepted);
    EXPECT_EQ(color, row.result);
    EXPECT_EQ(shown, "#102030");
    EXPECT_FALSE(NSColorPanel::sharedColorPanel()->isVisible());
    EXPECT_EQ(NSColorPanel::sharedColorPanel()->accessoryView(), nullptr);
  }
  EXPECT_FALSE(SWELL_ChooseColor(nullptr, nullptr));
  EXPECT_TRUE(h.logged("SWELL_ChooseColor without a colour"));
  EXPECT_FALSE(h.watchdogFired());
}

TEST_F(ColorFontTest, ChooseFontOpensAtTheRecordAndWritesBackWhatChanged) {
  using platform::NSFontPanel;
  std::string family, style, size;
  auto look = [&](NSFontPanel* p) {
    family = p->familyButton()->titleOfSelectedItem();
    style = p->styleButton()->titleOfSelectedItem();
    size = p->sizeField()->stringValue();
  };
  // Opened at 12 points and accepted as it was: nothing changed.
  LOGFONT font = dejaVu(-12);
  answers.add([&](platform::NSWindow* w) {
    look(dynamic_cast<NSFontPanel*>(w));
    press(w, IDOK);
  });
  EXPECT_FALSE(SWELL_ChooseFont(nullptr, &font));
  EXPECT_EQ(family, "DejaVu Sans");
  EXPECT_EQ(size, "12");
  EXPECT_EQ(font.lfHeight, -12);

  // Bold at 14: the size, weight and face come back.
  answers.add([&](platform::NSWindow* w) {
    auto* panel = dynamic_cast<NSFontPanel*>(w);
    h.menus().add({"Bold"});
    clickView(h, panel->styleButton());
    type(panel->sizeField(), "14");
    press(w, IDOK);
  });
  EXPECT_TRUE(SWELL_ChooseFont(nullptr, &font));
  EXPECT_EQ(font.lfHeight, 14);
  EXPECT_EQ(font.lfWidth, 0);
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfItalic, 0);
  EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");

  // A bold italic record opens at the family's bold oblique face; cancelling keeps it.
  LOGFONT slanted = dejaVu(10);
  slanted.lfWeight = 700;
  slanted.lfItalic = 1;
  LOGFONT before = slanted;
  answers.add([&](platform::NSWindow* w) {
    look(dynamic_cast<NSFontPanel*>(w));
    press(w, IDCANCEL);
  });
  EXPECT_FALSE(SWELL_ChooseFont(nullptr, &slanted));
  EXPECT_EQ(style, "Bold Oblique");
  EXPECT_EQ(std::memcmp(&before, &slanted, sizeof slanted), 0);
}

TEST_F(ColorFontTest, ChooseFontRefusesBadRecordsAndReadsFaceNamesWithinTheirField) {
  EXPECT_FALSE(SWELL_ChooseFont(nullptr, nullptr));
  LOGFONT huge = dejaVu(INT_MIN);
  EXPECT_FALSE(SWELL_ChooseFont(nullptr, &huge));
  EXPECT_EQ(answers.answered(), 0);
  EXPECT_TRUE(h.logged("is no size"));

  // A face name filling its 32 bytes without a NUL is read no further; the family
  // written back is cut to 31 bytes and a NUL.
  LOGFONT unterminated = dejaVu(-11);
  std::memset(unterminated.lfFaceName, 'Z', sizeof unterminated.lfFaceName);
  answers.add([&](platform::NSWindow* w) { press(w, IDOK); });
  EXPECT_TRUE(SWELL_ChooseFont(nullptr, &unterminated));
  EXPECT_LT(strnlen(unterminated.lfFaceName, 32), 32u);
  EXPECT_EQ(unterminated.lfHeight, -11);
}

// The choosers open over the window they are asked for, else over the key window, rather
// than at the screen's corner.
TEST_F(ColorFontTest, ChoosersOpenCentredOverTheirOwner) {
  HWND key = bareWindow();
  platform::NSWindow* keyWindow = viewOf(key)->window();
  keyWindow->setFrame(platform::NSMakeRect(300, 150, 600, 500), false);
  ShowWindow(key, SW_SHOW);
  HWND other = bareWindow();
  platform::NSWindow* otherWindow = viewOf(other)->window();
  otherWindow->setFrame(platform::NSMakeRect(200, 100, 700, 600), false);
  COLORREF color = 0;
  LOGFONT font = dejaVu(12);
  char path[256];
  struct Case {
    const char* chooser;
    platform::NSWindow* over;
    std::function<bool()> run;
  };
  const Case cases[] = {
      {"colour, given a window's view", otherWindow,
       [&] { return SWELL_ChooseColor(other, &color); }},
      {"font, given a window", otherWindow,
       [&] { return SWELL_ChooseFont(swell::handleFromObject(otherWindow), &font); }},
      {"colour, given none", keyWindow, [&] { return SWELL_ChooseColor(nullptr, &color); }},
      {"save", keyWindow,
       [&] { return BrowseForSaveFile("Save", nullptr, nullptr, nullptr, path, sizeof path); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chooser);
    platform::NSRect seen{};
    answers.add([&](platform::NSWindow* w) {
      seen = w->frame();
      platform::NSApp()->abortModal();
    });
    EXPECT_FALSE(c.run());
    EXPECT_NEAR(seen.midX(), c.over->frame().midX(), 0.5);
    EXPECT_NEAR(seen.midY(), c.over->frame().midY(), 0.5);
  }
  DestroyWindow(other);
  DestroyWindow(key);
}
