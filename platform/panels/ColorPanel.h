#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/core/TextDelegates.h"
#include "platform/objects/Color.h"
#include "platform/panels/PanelParts.h"

namespace platform {

class NSTextField;

// The colour chooser: a swatch of the colour, its red, green and blue (0 to 255) and hex
// ("#RRGGBB") fields, and an optional accessory view of the caller's at the bottom. An
// edit of a field that reads as a colour makes it the panel's colour; other text leaves
// the colour as it was.
//
// runModal() runs a real modal loop on the panel; the answer comes from the installed
// script (tests), called from inside that loop. With no script there is nobody to answer
// on the headless backend, and the panel is cancelled. Callers that want the user's
// answer run the panel themselves, with buttons in the accessory view.
class NSColorPanel : public ChooserPanel, public NSControlTextEditingDelegate {
 public:
  using Script = std::function<std::optional<NSColor>(NSColorPanel* panel, NSColor initial)>;
  static constexpr double kWidth = 220;
  static constexpr double kMargin = 10;
  static constexpr double kSwatchHeight = 100;
  static constexpr double kFieldHeight = 22;

  static NSColorPanel* sharedColorPanel();
  static void setScript(Script script);

  NSColor color() const { return mColor; }
  // Also shows the colour in the fields.
  void setColor(NSColor color);
  bool showsAlpha() const { return mShowsAlpha; }
  void setShowsAlpha(bool shows) { mShowsAlpha = shows; }

  // The chosen colour, or nothing when cancelled.
  std::optional<NSColor> runModal(NSColor initial);

  NSTextField* redField() const { return mFields[0]; }
  NSTextField* greenField() const { return mFields[1]; }
  NSTextField* blueField() const { return mFields[2]; }
  NSTextField* hexField() const { return mHex; }
  // The colour's hex text, "#RRGGBB".
  static std::string hexString(NSColor color);
  // The colour of "#RRGGBB" or "RRGGBB" (opaque), or nothing.
  static std::optional<NSColor> colorFromHexString(const std::string& text);

  void controlTextDidChange(NSControl* control) override;

 private:
  NSColorPanel();
  void layoutPanel() override;
  void showColorInFields(const NSTextField* except);

  NSColor mColor;
  bool mShowsAlpha = false;
  NSView* mSwatch = nullptr;
  NSTextField* mFields[3] = {};
  NSTextField* mHex = nullptr;
  NSTextField* mLabels[3] = {};
};

}  // namespace platform
