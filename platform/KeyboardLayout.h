#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Event.h"

namespace platform {

// The keyboard layout in use: what text a key gives. Key codes are the platform's
// (those NSEvent carries). A display backend installs the layout of the real
// keyboard; headless, and until one is installed, the layout is US English.
class NSKeyboardLayout {
 public:
  virtual ~NSKeyboardLayout() = default;

  // The text of a key-down of `keyCode` with no modifiers, given the dead-key state
  // left by the previous keystroke (0: none). A dead key gives no text and sets the
  // state; a key the layout does not know gives no text and clears it.
  virtual std::u16string translate(std::uint16_t keyCode, std::uint32_t& deadKeyState) const = 0;

  // The layout in use, held by the caller for as long as it translates with it.
  static std::shared_ptr<const NSKeyboardLayout> current();
  // Installs a layout (null restores US English).
  static void setCurrent(std::shared_ptr<const NSKeyboardLayout> layout);
};

// US English on a US ANSI keyboard; no dead keys.
class USKeyboardLayout final : public NSKeyboardLayout {
 public:
  std::u16string translate(std::uint16_t keyCode, std::uint32_t& deadKeyState) const override;
};

}  // namespace platform
