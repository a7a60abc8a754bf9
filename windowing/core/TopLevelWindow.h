#pragma once

#include "platform/Panel.h"
#include "platform/Window.h"
#include "windowing/core/WindowInterfaces.h"

// One owned window of a top-level window; the list is newest first, without duplicates.
struct OwnedWindowListRec {
  platform::NSObject* hwnd = nullptr;
  OwnedWindowListRec* _next = nullptr;
};

// What the modeless window and the dialog box share: they are their own delegates,
// keep an owner and owned windows, report moves, sizes, activation and the close box
// to their content view as messages, and never close themselves.
template <class Base>
class SwellTopLevelWindowBase : public Base,
                                public platform::NSWindowDelegate,
                                public SwellTopLevelWindow {
 public:
  SwellTopLevelWindowBase(const platform::NSRect& contentRect, platform::NSWindowStyleMask style);

  void swellAddOwnedWindow(platform::NSObject* window) override;
  void swellRemoveOwnedWindow(platform::NSObject* window) override;
  void swellDestroyAllOwnedWindows() override;
  platform::NSObject* swellGetOwner() const override;
  void swellSetOwner(platform::NSObject* owner) override { m_owner = owner; }
  void swellDoDestroyStuff() override;
  OwnedWindowListRec** swellGetOwnerWindowHead() { return &m_ownedwnds; }

  void setFrame(const platform::NSRect& frame, bool display) override;
  void windowDidMove(platform::NSWindow* window) override;
  void resignKeyWindow() override;
  void becomeKeyWindow() override;
  bool windowShouldClose(platform::NSWindow* window) override;
  bool canBecomeKeyWindow() const override;
  bool acceptsFirstResponder() const override { return m_enabled != 0; }
  platform::NSSize minSize() const override;
  platform::NSSize maxSize() const override;

 protected:
  void dealloc() override;
  // The menu to make the main menu when this window becomes key.
  virtual HMENU menuForKeyStatus() = 0;
  HWND contentHandle() const { return swell::handleFromObject(this->contentView()); }

  platform::NSSize lastFrameSize{0, 0};
  platform::NSObject* m_owner = nullptr;  // not retained
  OwnedWindowListRec* m_ownedwnds = nullptr;
  signed char m_enabled = 1;
};

extern template class SwellTopLevelWindowBase<platform::NSWindow>;
extern template class SwellTopLevelWindowBase<platform::NSPanel>;

namespace swell {
// Window collection behaviour: managed, and taking part in window cycling.
inline constexpr unsigned kCollectionBehavior = 36;
}  // namespace swell
