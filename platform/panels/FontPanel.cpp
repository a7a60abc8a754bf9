#include "platform/panels/FontPanel.h"

#include <cstdlib>

#include "platform/core/PopUpButton.h"
#include "platform/core/TextField.h"
#include "platform/drawing/FontCollection.h"
#include "platform/panels/PanelParts.h"

namespace platform {

namespace {

enum FontPanelAction { kFamilyChosen = 1, kStyleChosen };

// The largest size the field takes; larger text is not a size.
constexpr double kMaxPointSize = 1000;

std::string sizeText(double size) {
  std::string text = std::to_string(size);
  text.erase(text.find_last_not_of('0') + 1);
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

NSFontPanel::NSFontPanel() : ChooserPanel("Fonts", kWidth, kMargin) {
  NSView* content = contentView();
  const char* labels[] = {"Family", "Style", "Size"};
  for (int i = 0; i < 3; ++i)
    mLabels[i] = addLabel(content, labels[i], NSMakeRect(0, 0, kLabelWidth, kRowHeight));
  mFamily = new NSPopUpButton(NSMakeRect(0, 0, 100, kRowHeight));
  mStyle = new NSPopUpButton(NSMakeRect(0, 0, 100, kRowHeight));
  for (auto [button, action] : {std::pair{mFamily, kFamilyChosen}, {mStyle, kStyleChosen}}) {
    button->setTarget(this);
    button->setAction(action);
    content->addSubview(button);
    button->release();
  }
  mSize = new NSTextField(NSMakeRect(0, 0, 60, kRowHeight));
  mSize->setDelegate(this);
  content->addSubview(mSize);
  mSize->release();
  for (const std::string& family : fontcollection::familyNames())
    mFamily->addItemWithTitle(family);
  setPanelFont(NSFont::systemFontOfSize(NSFont::systemFontSize()));
  layoutPanel();
}

NSFontPanel* NSFontPanel::sharedFontPanel() {
  static NSFontPanel* panel = new NSFontPanel;
  return panel;
}

void NSFontPanel::layoutPanel() {
  double width = panelWidth();
  setContentSize({width, kMargin + accessoryHeight() + 3 * (kRowHeight + kMargin)});
  double y = placeAccessory(width, kMargin);
  // Size at the bottom, style above it, family on top.
  NSView* rows[] = {mSize, mStyle, mFamily};
  for (int i = 0; i < 3; ++i) {
    mLabels[2 - i]->setFrame(NSMakeRect(kMargin, y, kLabelWidth, kRowHeight));
    double fieldWidth = rows[i] == mSize ? 60 : width - 3 * kMargin - kLabelWidth;
    rows[i]->setFrame(NSMakeRect(2 * kMargin + kLabelWidth, y, fieldWidth, kRowHeight));
    y += kRowHeight + kMargin;
  }
}

void NSFontPanel::fillStyles(const std::string& preferred) {
  mStyle->removeAllItems();
  for (const std::string& style : fontcollection::styleNames(mFamily->titleOfSelectedItem()))
    mStyle->addItemWithTitle(style);
  if (!mStyle->selectItemWithTitle(preferred)) mStyle->selectItemAtIndex(0);
}

void NSFontPanel::setPanelFont(const NSFont& font) {
  std::string family = fontcollection::familyName(font);
  std::string display = fontcollection::displayName(font);
  mFamily->selectItemWithTitle(family);
  // The style is what the full name adds to the family ("DejaVu Sans Bold": "Bold").
  std::string style;
  if (display.size() > family.size() + 1 && display.compare(0, family.size(), family) == 0)
    style = display.substr(family.size() + 1);
  fillStyles(style);
  if (style.empty() && mStyle->numberOfItems() > 0) {
    // The regular face: the one a family name alone resolves to.
    for (int i = 0; i < mStyle->numberOfItems(); ++i) {
      auto name = fontcollection::faceName(family, mStyle->itemTitleAtIndex(i));
      if (name && *name == display) mStyle->selectItemAtIndex(i);
    }
  }
  mPointSize = font.pointSize();
  mSize->setStringValue(sizeText(mPointSize));
}

NSFont NSFontPanel::panelFont() const {
  auto name =
      fontcollection::faceName(mFamily->titleOfSelectedItem(), mStyle->titleOfSelectedItem());
  if (name)
    if (auto font = fontcollection::fontWithName(*name, mPointSize)) return *font;
  return NSFont::systemFontOfSize(mPointSize);
}

void NSFontPanel::performAction(int action, NSObject*) {
  if (action == kFamilyChosen) fillStyles(mStyle->titleOfSelectedItem());
}

void NSFontPanel::controlTextDidChange(NSControl* control) {
  if (control != mSize) return;
  const std::string& text = mSize->stringValue();
  char* end = nullptr;
  double size = std::strtod(text.c_str(), &end);
  if (text.empty() || *end || !(size > 0) || size > kMaxPointSize) return;
  mPointSize = size;
}

}  // namespace platform
