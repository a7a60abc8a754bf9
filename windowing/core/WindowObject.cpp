#include "windowing/core/WindowObject.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/Utf8.h"
#include "platform/core/Application.h"
#include "platform/core/Menu.h"
#include "platform/core/Panel.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/ScrollView.h"
#include "platform/core/Window.h"
#include "platform/drawing/GraphicsContext.h"
#include "windowing/core/Capture.h"
#include "windowing/core/DefWindowProc.h"
#include "windowing/core/MessageQueue.h"
#include "windowing/core/RunLoopControl.h"
#include "windowing/core/SendMessage.h"
#include "windowing/core/Timers.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowMenus.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/drawing/DrawingContext.h"

using platform::NSRect;
using platform::NSView;
using platform::NSWindow;
using platform::Ref;

namespace {

// The value a dialog procedure returns from WM_INITDIALOG to keep the focus on the
// dialog view itself.
constexpr LRESULT kFocusDialogItself = 0xBEEF;

// The view that takes the focus first: the first subview that accepts it (a scroll
// view is represented by its document view).
NSView* focusCandidate(NSView* parent) {
  for (NSView* sub : parent->subviews()) {
    NSView* v = sub;
    if (auto* scroll = dynamic_cast<platform::NSScrollView*>(sub)) v = scroll->documentView();
    if (v && v->acceptsFirstResponder()) return v;
  }
  return nullptr;
}

}  // namespace

Swell_vCorvaneBrisko_hwnd::Swell_vCorvaneBrisko_hwnd()
    : NSView(platform::NSMakeRect(0, 0, 300, 200)) {}

Swell_vCorvaneBrisko_hwnd* Swell_vCorvaneBrisko_hwnd::initChild(
    const SWELL_DialogResourceIndex* resstate, platform::NSObject* parent, DLGPROC dlgproc,
    LPARAM param) {
  Ref<NSView> keep(this);
  if (resstate) setFrame(platform::NSMakeRect(0, 0, resstate->width, resstate->height));
  m_wndproc = SWELL_DialogWindowProc;
  int flags = resstate ? resstate->windowTypeFlags : 0;
  if (resstate) {
    m_isopaque = (flags & SWELL_DLG_WS_OPAQUE) ? 1 : 0;
    m_flip = (flags & SWELL_DLG_WS_FLIPPED) ? 1 : 0;
  } else {
    m_isopaque = 1;
    m_flip = 1;
  }
  setHidden(true);

  auto* accessoryHost = dynamic_cast<platform::AccessoryViewHost*>(parent);
  if (accessoryHost && dynamic_cast<platform::NSPanel*>(parent)) {
    accessoryHost->setAccessoryView(this);
    if (accessoryHost->isOpenPanel()) accessoryHost->setAccessoryViewDisclosed(true);
    setHidden(false);
  } else if (auto* w = dynamic_cast<NSWindow*>(parent)) {
    w->setContentView(this);
  } else if (auto* v = dynamic_cast<NSView*>(parent)) {
    v->addSubview(this);
  }

  if (resstate) {
    if (resstate->createFunc) resstate->createFunc(self(), flags);
    m_dlgproc = dlgproc;
    if (flags & SWELL_DLG_WS_DROPTARGET) swellSetExtendedStyle(WS_EX_ACCEPTFILES);
  } else {
    if (dlgproc) m_wndproc = dlgproc;
    callWindowProc(WM_CREATE, 0, param);
    return this;
  }

  if (m_dlgproc) {
    NSView* candidate = focusCandidate(this);
    LRESULT answer = m_dlgproc(self(), WM_INITDIALOG,
                               reinterpret_cast<WPARAM>(swell::handleFromObject(candidate)), param);
    NSWindow* win = window();
    if (answer) {
      if (answer == kFocusDialogItself) candidate = this;
      if (candidate && win && win->firstResponder() != candidate)
        win->makeFirstResponder(candidate);
      if (win && win == parent && !win->isVisible())
        if (auto* top = dynamic_cast<SwellTopLevelWindow*>(win))
          top->swellSetWantInitialKeyWindowOnShow(true);
    } else if (win && win == parent && candidate) {
      platform::NSResponder* fr = win->firstResponder();
      if (fr == win || fr == nullptr || fr == this) win->makeFirstResponder(candidate);
    }
    SWELL_ColorButtonSubviews(this, m_dlgproc, false);
  }
  return this;
}

LRESULT Swell_vCorvaneBrisko_hwnd::callWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  return m_wndproc ? m_wndproc(self(), msg, wParam, lParam) : 0;
}

LRESULT Swell_vCorvaneBrisko_hwnd::onSwellMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  // The procedure may destroy and release the window; keep it until the call returns.
  Ref<NSView> keep(this);
  switch (m_hashaddestroy) {
    case 2:
      return 0;
    case 1:
      if (msg == WM_DESTROY || msg == WM_CAPTURECHANGED) return 0;
      return callWindowProc(msg, wParam, lParam);
    default:
      if (msg == WM_DESTROY) return runDestroySequence(wParam, lParam);
      return callWindowProc(msg, wParam, lParam);
  }
}

void Swell_vCorvaneBrisko_hwnd::dropCaptureAndPostedMessages() {
  if (GetCapture() == self()) ReleaseCapture();
  SWELL_MessageQueue_Clear(self());
}

LRESULT Swell_vCorvaneBrisko_hwnd::runDestroySequence(WPARAM wParam, LPARAM lParam) {
  m_hashaddestroy = 1;
  dropCaptureAndPostedMessages();
  LRESULT result = callWindowProc(WM_DESTROY, wParam, lParam);
  if (NSWindow* w = window(); w && w->contentView() == this) {
    Ref<NSWindow> keepWindow(w);
    if (auto* top = dynamic_cast<SwellTopLevelWindow*>(w)) top->swellDestroyAllOwnedWindows();
  }
  dropCaptureAndPostedMessages();
  if (HMENU menu = m_menu) {
    m_menu = nullptr;
    auto* object = platform::liveObjectAs<platform::NSMenu>(menu);
    if (object && platform::NSApp()->mainMenu() == object && !swell::isQuitting())
      platform::NSApp()->setMainMenu(nullptr);
    SWELL_SetMenuDestination(menu, nullptr);
    if (object) object->release();
  }
  std::vector<Ref<NSView>> subviews(this->subviews().begin(), this->subviews().end());
  for (auto& sub : subviews)
    if (auto* entry = dynamic_cast<SwellMessageEntry*>(sub.get()))
      entry->onSwellMessage(WM_DESTROY, 0, 0);
  KillTimer(self(), static_cast<UINT_PTR>(-1));
  m_hashaddestroy = 2;
  return result;
}

void Swell_vCorvaneBrisko_hwnd::dealloc() {
  KillTimer(self(), static_cast<UINT_PTR>(-1));
  onSwellMessage(WM_DESTROY, 0, 0);
  if (GetCapture() == self()) ReleaseCapture();
  SWELL_MessageQueue_Clear(self());
  m_props.clear();
  m_glctx.reset();
  releaseMetalObjects();
  NSView::dealloc();
}

LONG_PTR Swell_vCorvaneBrisko_hwnd::getSwellExtraData(int index) const {
  // The window-long functions send every index they do not name here, negative ones
  // included; only 0..255 address a word.
  if (index < 0 || index >= kExtraBytes) return 0;
  return m_extradata[index / 8];
}

void Swell_vCorvaneBrisko_hwnd::setSwellExtraData(int index, LONG_PTR value) {
  if (index < 0 || index >= kExtraBytes) return;
  m_extradata[index / 8] = value;
}

void Swell_vCorvaneBrisko_hwnd::swellSetMenu(HMENU menu) {
  if (m_menu) SWELL_SetMenuDestination(m_menu, nullptr);
  m_menu = menu;
  if (m_menu) SWELL_SetMenuDestination(m_menu, self());
}

void Swell_vCorvaneBrisko_hwnd::onSwellSetText(const char* text) {
  // Cut at 1023 bytes, before a UTF-8 sequence that would not fit whole.
  base::copyUtf8(text, m_titlestr, kTextCapacity);
}

void Swell_vCorvaneBrisko_hwnd::SWELL_Timer(UINT_PTR id) {
  if (!swell::timerDeliveryAllowed(self())) return;
  if (m_wndproc && !m_hashaddestroy) {
    Ref<NSView> keep(this);
    m_wndproc(self(), WM_TIMER, id, 0);
  }
}

void Swell_vCorvaneBrisko_hwnd::setSwellClass(const char* name) {
  m_hasclassname = name != nullptr;
  m_classname = name ? name : "";
}

platform::NSObject* Swell_vCorvaneBrisko_hwnd::swellGetLastTopLevelOwner() const {
  return platform::isLiveObject(m_lastTopLevelOwner) ? m_lastTopLevelOwner : nullptr;
}

void Swell_vCorvaneBrisko_hwnd::swellSetExtendedStyle(LONG style) {
  m_supports_ddrop = (style & WS_EX_ACCEPTFILES) != 0;
  // A drop target takes file lists and file promises.
  if (m_supports_ddrop)
    registerForDraggedTypes({platform::NSFilenamesPboardType, platform::NSFilesPromisePboardType});
  else
    unregisterDraggedTypes();
}

bool Swell_vCorvaneBrisko_hwnd::acceptsFirstResponder() const {
  if (m_enabled > 0) return true;
  return m_enabled == -1 && window() && window()->contentView() == this;
}

bool Swell_vCorvaneBrisko_hwnd::becomeFirstResponder() {
  if (!acceptsFirstResponder()) return false;
  if (!NSView::becomeFirstResponder()) return false;
  SendMessage(self(), WM_MOUSEACTIVATE, 0, 0);
  return true;
}

bool Swell_vCorvaneBrisko_hwnd::acceptsFirstMouse(const platform::NSEvent*) {
  if (m_enabled == 0) return false;
  Ref<NSView> keep(this);
  SendMessage(self(), WM_MOUSEACTIVATE, 0, 0);
  if (NSView* parent = superview())
    SendMessage(swell::handleFromObject(parent), WM_MOUSEACTIVATE, 0, 0);
  return true;
}

int Swell_vCorvaneBrisko_hwnd::swellEnumProps(PROPENUMPROCEX proc, LPARAM lParam) {
  return m_props.enumerate(self(), proc, lParam);
}

bool Swell_vCorvaneBrisko_hwnd::getSwellPaintInfo(PAINTSTRUCT* ps) {
  if (!ps || !m_paintctx_hdc) return false;
  m_paintctx_used = true;
  ps->hdc = m_paintctx_hdc;
  ps->fErase = 0;
  const NSRect& r = m_paintctx_rect;
  ps->rcPaint.left = swell::roundCoordinate(r.origin.x);
  ps->rcPaint.top = swell::roundCoordinate(r.origin.y);
  ps->rcPaint.right = swell::roundCoordinate(r.maxX());
  ps->rcPaint.bottom = swell::roundCoordinate(r.maxY());
  RECT client;
  GetClientRect(self(), &client);
  ps->rcPaint.right = std::min(ps->rcPaint.right, client.right);
  ps->rcPaint.bottom = std::min(ps->rcPaint.bottom, client.bottom);
  return true;
}
