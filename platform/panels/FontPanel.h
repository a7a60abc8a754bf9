#pragma once

#include "platform/core/Menu.h"
#include "platform/core/TextDelegates.h"
#include "platform/drawing/Font.h"
#include "platform/panels/PanelParts.h"

namespace platform {

class NSPopUpButton;
class NSTextField;

// The font chooser: pop-up buttons of the installed families and of the chosen family's
// styles, a size field, and an optional accessory view of the caller's at the bottom. The
// panel's font is the chosen family's face of the chosen style at the size.
class NSFontPanel : public ChooserPanel, public ActionTarget, public NSControlTextEditingDelegate {
 public:
  static constexpr double kWidth = 300;
  static constexpr double kMargin = 10;
  static constexpr double kRowHeight = 22;
  static constexpr double kLabelWidth = 50;

  static NSFontPanel* sharedFontPanel();

  // Shows the font: its face's family and style, and its size.
  void setPanelFont(const NSFont& font);
  // The font chosen (the system font when the family has no face of the style).
  NSFont panelFont() const;

  NSPopUpButton* familyButton() const { return mFamily; }
  NSPopUpButton* styleButton() const { return mStyle; }
  NSTextField* sizeField() const { return mSize; }

  void performAction(int action, NSObject* sender) override;
  void controlTextDidChange(NSControl* control) override;

 private:
  NSFontPanel();
  void layoutPanel() override;
  void fillStyles(const std::string& preferred);

  NSPopUpButton* mFamily = nullptr;
  NSPopUpButton* mStyle = nullptr;
  NSTextField* mSize = nullptr;
  NSTextField* mLabels[3] = {};
  double mPointSize = NSFont::systemFontSize();
};

}  // namespace platform
