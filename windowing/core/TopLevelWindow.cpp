#include "windowing/core/TopLevelWindow.h"

#include <cmath>
#include <vector>

#include "platform/Application.h"
#include "platform/Menu.h"
#include "platform/View.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/Painting.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/kernel/OsVersion.h"

using platform::NSObject;
using platform::NSWindow;
using platform::Ref;

namespace {
NSObject* gLastResigned = nullptr;

// The size limits asked of the procedure are capped here.
constexpr LONG kMaxTrackSize = 1000000;

LONG clampTrack(double v) {
  if (v < 1) return 1;
  if (v > kMaxTrackSize) return kMaxTrackSize;
  return static_cast<LONG>(v);
}
}  // namespace

template <class Base>
SwellTopLevelWindowBase<Base>::SwellTopLevelWindowBase(const platform::NSRect& contentRect,
                                                       platform::NSWindowStyleMask style)
    : Base(contentRect, style) {
  this->setDelegate(this);
  this->setAcceptsMouseMovedEvents(true);
  // Tab follows the controls in reading order, whatever order they were made in.
  this->setAutorecalculatesKeyViewLoop(true);
  if (SWELL_GetOSXVersion() >= 0x1060) this->setCollectionBehavior(swell::kCollectionBehavior);
}

template <class Base>
void SwellTopLevelWindowBase<Base>::dealloc() {
  swellDoDestroyStuff();
  Base::dealloc();
}

template <class Base>
void SwellTopLevelWindowBase<Base>::swellAddOwnedWindow(NSObject* window) {
  if (!window) return;
  for (OwnedWindowListRec* r = m_ownedwnds; r; r = r->_next)
    if (r->hwnd == window) return;
  m_ownedwnds = new OwnedWindowListRec{window, m_ownedwnds};
  if (auto* top = dynamic_cast<SwellTopLevelWindow*>(window)) top->swellSetOwner(this);
}

template <class Base>
void SwellTopLevelWindowBase<Base>::swellRemoveOwnedWindow(NSObject* window) {
  for (OwnedWindowListRec** link = &m_ownedwnds; *link; link = &(*link)->_next) {
    if ((*link)->hwnd == window) {
      OwnedWindowListRec* r = *link;
      *link = r->_next;
      delete r;
      return;
    }
  }
}

template <class Base>
void SwellTopLevelWindowBase<Base>::swellDestroyAllOwnedWindows() {
  // Detached first: destroying an owned window must not edit the list being walked.
  OwnedWindowListRec* list = m_ownedwnds;
  m_ownedwnds = nullptr;
  while (OwnedWindowListRec* r = list) {
    list = r->_next;
    if (platform::isLiveObject(r->hwnd)) DestroyWindow(swell::handleFromObject(r->hwnd));
    delete r;
  }
}

template <class Base>
NSObject* SwellTopLevelWindowBase<Base>::swellGetOwner() const {
  return platform::isLiveObject(m_owner) ? m_owner : nullptr;
}

template <class Base>
void SwellTopLevelWindowBase<Base>::swellDoDestroyStuff() {
  Ref<NSObject> keep(this);
  if (gLastResigned == this) gLastResigned = nullptr;
  swellDestroyAllOwnedWindows();
  if (NSObject* owner = swellGetOwner()) {
    if (auto* top = dynamic_cast<SwellTopLevelWindow*>(owner)) top->swellRemoveOwnedWindow(this);
    if (this->isKeyWindow()) {
      NSWindow* ownerWindow = dynamic_cast<NSWindow*>(owner);
      if (auto* view = dynamic_cast<platform::NSView*>(owner)) ownerWindow = view->window();
      if (ownerWindow) ownerWindow->makeKeyWindow();
    }
  }
  m_owner = nullptr;
}

template <class Base>
void SwellTopLevelWindowBase<Base>::setFrame(const platform::NSRect& frame, bool display) {
  Base::setFrame(frame, display);
  platform::NSSize size{std::trunc(frame.size.width), std::trunc(frame.size.height)};
  // Sizes that truncate alike are one size: no second WM_SIZE.
  if (size == lastFrameSize) return;
  lastFrameSize = size;
  platform::NSView* content = this->contentView();
  if (!content) return;
  Ref<platform::NSView> keep(content);
  SendMessage(contentHandle(), WM_SIZE, 0, 0);
  if (content->isOpaque()) InvalidateRect(contentHandle(), nullptr, 0);
}

template <class Base>
void SwellTopLevelWindowBase<Base>::windowDidMove(NSWindow*) {
  platform::NSPoint origin = this->frame().origin;
  SendMessage(contentHandle(), WM_MOVE, 0,
              swell::packPoint(swell::roundCoordinate(origin.x), swell::roundCoordinate(origin.y)));
}

template <class Base>
void SwellTopLevelWindowBase<Base>::resignKeyWindow() {
  Base::resignKeyWindow();
  if (swell::isQuitting()) return;
  SendMessage(contentHandle(), WM_ACTIVATE, 0, 0);
  gLastResigned = this;
}

template <class Base>
void SwellTopLevelWindowBase<Base>::becomeKeyWindow() {
  Base::becomeKeyWindow();
  if (swell::isQuitting()) return;
  Ref<NSObject> keep(this);
  HWND previousContent = nullptr;
  if (gLastResigned && IsWindow(swell::handleFromObject(gLastResigned))) {
    if (auto* previous = dynamic_cast<NSWindow*>(gLastResigned)) {
      auto* data = dynamic_cast<SwellWindowObject*>(previous->contentView());
      if (previous->contentView() && (!data || !data->swellHasBeenDestroyed()))
        previousContent = swell::handleFromObject(previous->contentView());
    }
  }
  auto* ownData = dynamic_cast<SwellWindowObject*>(this->contentView());
  if (ownData && ownData->swellHasBeenDestroyed()) return;
  auto* menu = platform::liveObjectAs<platform::NSMenu>(menuForKeyStatus());
  if (menu && platform::NSApp()->mainMenu() != menu) platform::NSApp()->setMainMenu(menu);
  SendMessage(contentHandle(), WM_ACTIVATE, 1, reinterpret_cast<LPARAM>(previousContent));
  SendMessage(contentHandle(), WM_MOUSEACTIVATE, 0, 0);
}

template <class Base>
bool SwellTopLevelWindowBase<Base>::windowShouldClose(NSWindow*) {
  HWND content = contentHandle();
  if (SendMessage(content, WM_CLOSE, 0, 0) == 0) SendMessage(content, WM_COMMAND, IDCANCEL, 0);
  // Windows of this layer close only through DestroyWindow or EndDialog.
  return false;
}

template <class Base>
bool SwellTopLevelWindowBase<Base>::canBecomeKeyWindow() const {
  return !swell::isQuitting() && m_enabled != 0;
}

template <class Base>
platform::NSSize SwellTopLevelWindowBase<Base>::minSize() const {
  MINMAXINFO info{};
  platform::NSSize own = Base::minSize();
  info.ptMinTrackSize = {static_cast<LONG>(own.width), static_cast<LONG>(own.height)};
  SendMessage(contentHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {static_cast<double>(info.ptMinTrackSize.x), static_cast<double>(info.ptMinTrackSize.y)};
}

template <class Base>
platform::NSSize SwellTopLevelWindowBase<Base>::maxSize() const {
  MINMAXINFO info{};
  platform::NSSize own = Base::maxSize();
  info.ptMaxTrackSize = {clampTrack(own.width), clampTrack(own.height)};
  SendMessage(contentHandle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMaxTrackSize.x < kMaxTrackSize ? info.ptMaxTrackSize.x : own.width,
          info.ptMaxTrackSize.y < kMaxTrackSize ? info.ptMaxTrackSize.y : own.height};
}

template class SwellTopLevelWindowBase<platform::NSWindow>;
template class SwellTopLevelWindowBase<platform::NSPanel>;
