#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ButtonCell.h"
#include "platform/Color.h"
#include "platform/Control.h"

namespace platform {

// A push button, check box (switch) or radio button. It draws through its cell, which
// holds the button's kind, state, image and looks; the title (the string value), font,
// alignment and the enabled and highlighted flags stay the control's and are handed to
// the cell before it draws or measures. A click inside the button (press and release
// over it) moves the state on by the cell's nextState and then sends the action; so does
// Space while an enabled button has the keyboard focus, which it takes from a click or
// Tab. Grouping radios is the caller's business.
class NSButton : public NSControl {
 public:
  using NSControl::NSControl;
  ~NSButton() override;
  bool isOpaque() const override { return cell()->isOpaque(); }

  // The cell, holding the button's current title, font and flags.
  NSButtonCell* cell() const;
  // Replaces the cell (retained); the new cell is what the button shows and holds from
  // now on. A null cell is refused and logged.
  void setCell(NSButtonCell* cell);

  const std::string& title() const { return stringValue(); }
  void setTitle(std::string title) { setStringValue(std::move(title)); }
  NSButtonType buttonType() const { return mCell->buttonType(); }
  void setButtonType(NSButtonType type);

  int state() const { return mCell->state(); }
  // Positive values mean on; negative mean mixed, which becomes on unless mixed is
  // allowed.
  void setState(int state);
  bool allowsMixedState() const { return mCell->allowsMixedState(); }
  // Forbidding mixed turns a mixed button on.
  void setAllowsMixedState(bool allows);
  // The state a click moves to.
  int nextState() const { return mCell->nextState(); }

  NSObject* image() const { return mCell->image(); }
  void setImage(NSObject* image);
  NSCellImagePosition imagePosition() const { return mCell->imagePosition(); }
  void setImagePosition(NSCellImagePosition position);
  std::optional<NSColor> titleColor() const { return mCell->titleColor(); }
  void setTitleColor(std::optional<NSColor> color);
  int bezelStyle() const { return mCell->bezelStyle(); }
  void setBezelStyle(int style);
  bool isBordered() const { return mCell->isBordered(); }
  void setBordered(bool bordered);
  bool isTransparent() const { return mCell->isTransparent(); }
  void setTransparent(bool transparent);

  const std::string& keyEquivalent() const { return mKeyEquivalent; }
  void setKeyEquivalent(std::string key) { mKeyEquivalent = std::move(key); }
  std::uint64_t keyEquivalentModifierMask() const { return mKeyMask; }
  void setKeyEquivalentModifierMask(std::uint64_t mask) { mKeyMask = mask; }
  // Clicks the button when the key event matches its key equivalent and modifiers
  // and the button is enabled and shown; returns whether it did.
  bool performKeyEquivalent(const NSEvent& event);

  // What a completed click does: next state, then the action. Nothing when disabled.
  void performClick();

  void mouseDown(const NSEvent& e) override;
  void mouseDragged(const NSEvent& e) override;
  void mouseUp(const NSEvent& e) override;
  void keyDown(const NSEvent& e) override;
  bool acceptsFirstResponder() const override { return isEnabled(); }
  bool becomesFirstResponderOnClick() const override { return false; }

  NSSize fittingSize() const override;
  void drawRect(const NSRect& dirtyRect) override;

 protected:
  void dealloc() override;

 private:
  bool containsWindowPoint(NSPoint p) const;
  // Hands the cell the control's title, font, alignment and flags.
  void syncCell() const;

  NSButtonCell* mCell = newCellFor(this);  // retained
  bool mTracking = false;
  std::string mKeyEquivalent;
  std::uint64_t mKeyMask = 0;

  static NSButtonCell* newCellFor(NSButton* button);
};

}  // namespace platform
