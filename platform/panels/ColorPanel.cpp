#include "platform/panels/ColorPanel.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/core/Application.h"
#include "platform/core/ControlDrawing.h"
#include "platform/core/RunLoop.h"
#include "platform/core/TextField.h"
#include "platform/core/Timer.h"
#include "platform/panels/PanelParts.h"

namespace platform {

namespace {

constexpr int kComponentMax = 255;
constexpr double kLabelWidth = 20;
constexpr std::size_t kHexDigits = 6;
constexpr double kHexFieldWidth = 90;

NSColorPanel::Script& script() {
  static NSColorPanel::Script s;
  return s;
}

// A component as a byte; one that is not a number shows as 0.
int componentByte(double c) {
  if (!std::isfinite(c)) return 0;
  return static_cast<int>(std::clamp(std::floor(c * kComponentMax + 0.5), 0.0, 255.0));
}

// The swatch: the panel's colour, filled.
class ColorSwatch : public NSView {
 public:
  ColorSwatch(const NSRect& frame, const NSColorPanel* panel) : NSView(frame), mPanel(panel) {}
  void drawRect(const NSRect&) override {
    controldrawing::topDown(this, [&](CGContext* cg) {
      controldrawing::fillRect(cg, bounds(), mPanel->color());
      controldrawing::strokeRect(cg, bounds(), NSColor::textColor());
    });
  }

 private:
  const NSColorPanel* mPanel;
};

NSTextField* addField(NSView* parent, NSObject* delegate) {
  auto* field = new NSTextField(NSMakeRect(0, 0, 40, NSColorPanel::kFieldHeight));
  field->setDelegate(delegate);
  parent->addSubview(field);
  field->release();
  return field;
}

}  // namespace

NSColorPanel::NSColorPanel() : ChooserPanel("Colors", kWidth, kMargin) {
  mSwatch = new ColorSwatch(NSMakeRect(0, 0, kWidth - 2 * kMargin, kSwatchHeight), this);
  contentView()->addSubview(mSwatch);
  mSwatch->release();
  const char* names[] = {"R", "G", "B"};
  for (int i = 0; i < 3; ++i) {
    mLabels[i] = addLabel(contentView(), names[i], NSMakeRect(0, 0, kLabelWidth, kFieldHeight));
    mFields[i] = addField(contentView(), this);
  }
  mHex = addField(contentView(), this);
  layoutPanel();
  showColorInFields(nullptr);
}

NSColorPanel* NSColorPanel::sharedColorPanel() {
  static NSColorPanel* panel = new NSColorPanel;
  return panel;
}

void NSColorPanel::setScript(Script s) {
  script() = std::move(s);
}

void NSColorPanel::layoutPanel() {
  double width = panelWidth();
  double rows = 2 * (kFieldHeight + kMargin);
  setContentSize({width, kMargin + accessoryHeight() + rows + kSwatchHeight + kMargin});
  double y = placeAccessory(width, kMargin);
  // The hex field alone on the lower row, the three components above it.
  mHex->setFrame(NSMakeRect(kMargin + kLabelWidth, y, kHexFieldWidth, kFieldHeight));
  y += kFieldHeight + kMargin;
  double fieldWidth = (width - 2 * kMargin - 3 * kLabelWidth) / 3;
  for (int i = 0; i < 3; ++i) {
    double x = kMargin + i * (kLabelWidth + fieldWidth);
    mLabels[i]->setFrame(NSMakeRect(x, y, kLabelWidth, kFieldHeight));
    mFields[i]->setFrame(NSMakeRect(x + kLabelWidth, y, fieldWidth, kFieldHeight));
  }
  y += kFieldHeight + kMargin;
  mSwatch->setFrame(NSMakeRect(kMargin, y, width - 2 * kMargin, kSwatchHeight));
}

std::string NSColorPanel::hexString(NSColor color) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", componentByte(color.red),
                componentByte(color.green), componentByte(color.blue));
  return text;
}

std::optional<NSColor> NSColorPanel::colorFromHexString(const std::string& text) {
  std::string digits = !text.empty() && text.front() == '#' ? text.substr(1) : text;
  if (digits.size() != kHexDigits) return std::nullopt;
  unsigned value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return NSColor{((value >> 16) & 0xFF) / 255.0, ((value >> 8) & 0xFF) / 255.0,
                 (value & 0xFF) / 255.0, 1};
}

void NSColorPanel::setColor(NSColor color) {
  mColor = color;
  showColorInFields(nullptr);
}

void NSColorPanel::showColorInFields(const NSTextField* except) {
  const double components[] = {mColor.red, mColor.green, mColor.blue};
  for (int i = 0; i < 3; ++i)
    if (mFields[i] != except)
      mFields[i]->setStringValue(std::to_string(componentByte(components[i])));
  if (mHex != except) mHex->setStringValue(hexString(mColor));
  mSwatch->setNeedsDisplay(true);
}

void NSColorPanel::controlTextDidChange(NSControl* control) {
  auto* field = dynamic_cast<NSTextField*>(control);
  if (!field) return;
  const std::string& text = field->stringValue();
  if (field == mHex) {
    std::optional<NSColor> color = colorFromHexString(text);
    if (!color) return;
    mColor = *color;
  } else {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > kComponentMax)
      return;
    double* components[] = {&mColor.red, &mColor.green, &mColor.blue};
    for (int i = 0; i < 3; ++i)
      if (field == mFields[i]) *components[i] = value / 255.0;
  }
  showColorInFields(field);
}

std::optional<NSColor> NSColorPanel::runModal(NSColor initial) {
  setColor(initial);
  std::optional<NSColor> answer;
  // The answer arrives from inside the modal loop, as a user's would.
  Ref<NSTimer> answerTimer = NSTimer::timerWithTimeInterval(0, false, [&](NSTimer*) {
    if (script()) answer = script()(this, initial);
    if (answer) setColor(*answer);
    NSApp()->stopModalWithCode(answer ? NSModalResponseOK : NSModalResponseCancel);
  });
  answerTimer->setFireDateMs(0);
  NSRunLoop::mainRunLoop().addTimer(answerTimer.get(), NSRunLoopCommonModes);
  NSApp()->runModalForWindow(this);
  answerTimer->invalidate();
  orderOut();
  return answer;
}

}  // namespace platform
