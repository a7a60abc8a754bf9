#include "platform/panels/Alert.h"

#include <algorithm>

#include "platform/core/Button.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/TextField.h"
#include "platform/objects/Screen.h"
#include "platform/panels/PanelParts.h"

namespace platform {

namespace {

constexpr double kMessageMinHeight = 34;
// What a label keeps between its frame and its text, above and below.
constexpr double kMessageInset = 2;
constexpr std::uint16_t kReturnKeyCode = 36;
constexpr std::uint16_t kKeypadEnterKeyCode = 76;
constexpr std::uint16_t kEscapeKeyCode = 53;

bool isReturn(const NSEvent& e) {
  return e.keyCode == kReturnKeyCode || e.keyCode == kKeypadEnterKeyCode ||
         e.charactersIgnoringModifiers == "\r" || e.charactersIgnoringModifiers == "\x03";
}

bool isEscape(const NSEvent& e) {
  return e.keyCode == kEscapeKeyCode || e.charactersIgnoringModifiers == "\x1b";
}

}  // namespace

NSAlertPanel::NSAlertPanel(std::string title, std::string message, std::string defaultButton,
                           std::string alternateButton, std::string otherButton)
    : NSPanel(NSMakeRect(0, 0, kWidth, 100), NSWindowStyleMaskTitled),
      mMessage(std::move(message)) {
  setReleasedWhenClosed(false);
  setTitle(std::move(title));
  setLevel(NSModalPanelWindowLevel);
  auto* content = new NSView(NSMakeRect(0, 0, kWidth, 100));
  setContentView(content);
  content->release();

  // The message wraps to the panel's width, and the panel grows to show all its lines.
  const double textWidth = kWidth - 2 * kMargin;
  NSTextField* text = addLabel(contentView(), mMessage, NSMakeRect(0, 0, textWidth, 0));
  text->setWraps(true);
  const double lines = static_cast<double>(text->shownLines().size());
  const double textHeight = std::max(
      kMessageMinHeight,
      lines * (text->font().lineHeight() + controldrawing::kWrappedLineGap) + 2 * kMessageInset);
  const double height = kMargin + textHeight + kMargin + kButtonHeight + kMargin;
  setContentSize({kWidth, height});
  text->setFrame(NSMakeRect(kMargin, height - kMargin - textHeight, textWidth, textHeight));

  // Without a button the user could not end the run: an alert always has one.
  if (defaultButton.empty() && alternateButton.empty() && otherButton.empty()) defaultButton = "OK";
  double right = kWidth - kMargin;
  if ((mDefault = addButton(defaultButton, NSAlertDefaultReturn, right)))
    right = mDefault->frame().origin.x - kButtonGap;
  mAlternate = addButton(alternateButton, NSAlertAlternateReturn, right);
  mOther = addButton(otherButton, NSAlertOtherReturn, 0);
  if (mDefault) setDefaultButtonCell(mDefault);

  if (const NSScreen* screen = NSScreen::mainScreen()) {
    const NSRect& area = screen->visibleFrame;
    NSRect f = frame();
    setFrameOrigin({area.origin.x + (area.size.width - f.size.width) / 2,
                    area.origin.y + (area.size.height - f.size.height) * 2 / 3});
  }
}

NSButton* NSAlertPanel::addButton(const std::string& title, NSModalResponse answer, double right) {
  if (title.empty()) return nullptr;
  auto* b = new NSButton(NSMakeRect(0, 0, kButtonMinWidth, kButtonHeight));
  b->setTitle(title);
  b->setButtonType(NSButtonTypeMomentaryPushIn);
  double width = std::max(kButtonMinWidth, b->fittingSize().width);
  // The other button sits at the left edge; the rest line up from the right.
  double x = answer == NSAlertOtherReturn ? kMargin : right - width;
  b->setFrame(NSMakeRect(x, kMargin, width, kButtonHeight));
  b->setTag(answer);
  b->setTarget(this);
  if (answer == NSAlertDefaultReturn) b->setKeyEquivalent("\r");
  contentView()->addSubview(b);
  b->release();
  return b;
}

NSButton* NSAlertPanel::button(NSModalResponse which) const {
  switch (which) {
    case NSAlertDefaultReturn:
      return mDefault;
    case NSAlertAlternateReturn:
      return mAlternate;
    case NSAlertOtherReturn:
      return mOther;
    default:
      return nullptr;
  }
}

void NSAlertPanel::sendEvent(const NSEvent& event) {
  if (event.type == NSEventTypeKeyDown && event.window == this) {
    if (isReturn(event) && mDefault) {
      mDefault->performClick();
      return;
    }
    if (isEscape(event)) {
      for (NSButton* b : {mDefault, mAlternate, mOther})
        if (b && b->title() == "Cancel") {
          b->performClick();
          return;
        }
    }
  }
  NSPanel::sendEvent(event);
}

void NSAlertPanel::performAction(int, NSObject* sender) {
  auto* b = dynamic_cast<NSButton*>(sender);
  if (b && NSApp()->isInModalRun(this)) NSApp()->stopModalWithCode(b->tag());
}

NSModalResponse NSAlertPanel::runModal() {
  Ref<NSAlertPanel> keep(this);
  NSModalResponse r = NSApp()->runModalForWindow(this);
  orderOut();
  bool answered =
      r == NSAlertDefaultReturn || r == NSAlertAlternateReturn || r == NSAlertOtherReturn;
  return answered ? r : NSAlertErrorReturn;
}

NSModalResponse NSRunAlertPanel(const std::string& title, const std::string& message,
                                const std::string& defaultButton,
                                const std::string& alternateButton,
                                const std::string& otherButton) {
  Ref<NSAlertPanel> panel = Ref<NSAlertPanel>::adopt(
      new NSAlertPanel(title, message, defaultButton, alternateButton, otherButton));
  NSModalResponse r = panel->runModal();
  panel->close();
  return r;
}

}  // namespace platform
