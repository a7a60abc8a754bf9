#pragma once

#include <functional>
#include <optional>

#include "platform/Color.h"
#include "platform/Panel.h"

namespace platform {

// The colour chooser. runModal() runs a real modal loop on the panel; the answer comes
// from the installed script (tests), called from inside that loop. With no script
// there is nobody to answer on the headless backend, and the panel is cancelled.
class NSColorPanel : public NSPanel {
 public:
  using Script = std::function<std::optional<NSColor>(NSColorPanel* panel, NSColor initial)>;

  static NSColorPanel* sharedColorPanel();
  static void setScript(Script script);

  NSColor color() const { return mColor; }
  void setColor(NSColor color) { mColor = color; }
  bool showsAlpha() const { return mShowsAlpha; }
  void setShowsAlpha(bool shows) { mShowsAlpha = shows; }

  // The chosen colour, or nothing when cancelled.
  std::optional<NSColor> runModal(NSColor initial);

 private:
  NSColorPanel();
  NSColor mColor;
  bool mShowsAlpha = false;
};

}  // namespace platform
