#pragma once

#include <string>

#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Panel.h"

namespace platform {

class NSButton;
class NSTextField;

// How an alert run ended: one of its three buttons, or an aborted run.
inline constexpr NSModalResponse NSAlertDefaultReturn = 1;
inline constexpr NSModalResponse NSAlertAlternateReturn = 0;
inline constexpr NSModalResponse NSAlertOtherReturn = -1;
inline constexpr NSModalResponse NSAlertErrorReturn = -2;

// A modal alert: a titled panel showing a message and up to three buttons, default at
// the right, alternate left of it, other at the left edge. A button given an empty title
// is not shown; with no title at all, the default button is "OK". Return presses the default button
// and Escape the button titled "Cancel"; the panel has no close box, so a run ends by a button or
// by being aborted.
class NSAlertPanel : public NSPanel, public ActionTarget {
 public:
  static constexpr double kWidth = 420;
  static constexpr double kMargin = 20;
  static constexpr double kButtonHeight = 24;
  static constexpr double kButtonMinWidth = 80;
  static constexpr double kButtonGap = 12;

  // The panel is not released when closed: its creator releases it.
  NSAlertPanel(std::string title, std::string message, std::string defaultButton,
               std::string alternateButton, std::string otherButton);

  // Runs the alert modally and orders it out: NSAlertDefaultReturn, NSAlertAlternateReturn
  // or NSAlertOtherReturn for the button pressed, NSAlertErrorReturn when the run was
  // aborted.
  NSModalResponse runModal();

  const std::string& message() const { return mMessage; }
  // The shown button answering with that return value, or null.
  NSButton* button(NSModalResponse which) const;

  void sendEvent(const NSEvent& event) override;
  void performAction(int action, NSObject* sender) override;

 private:
  NSButton* addButton(const std::string& title, NSModalResponse answer, double right);

  std::string mMessage;
  NSButton* mDefault = nullptr;  // each owned by the content view
  NSButton* mAlternate = nullptr;
  NSButton* mOther = nullptr;
};

// Shows an alert with these texts and buttons and returns the answer of its run.
NSModalResponse NSRunAlertPanel(const std::string& title, const std::string& message,
                                const std::string& defaultButton,
                                const std::string& alternateButton, const std::string& otherButton);

}  // namespace platform
