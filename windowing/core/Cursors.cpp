#include "windowing/core/Cursors.h"

#include <strings.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/Log.h"
#include "platform/core/Cursor.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"
#include "platform/display/CursorFile.h"
#include "platform/display/Event.h"
#include "platform/objects/Screen.h"
#include "windowing/core/EventSupport.h"
#include "windowing/core/MessageWords.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/detail/TestHooks.h"
#include "windowing/core/detail/WindowApiRules.h"
#include "windowing/kernel/detail/KernelBundle.h"

using platform::NSCursor;
using platform::NSView;

namespace {

// A name this long is taken as a path even without a '/'.
constexpr std::size_t kPathLength = 1024;
// No cursor picture comes near this; a larger file is not read.
constexpr long kMaxCursorFileBytes = 1 << 20;

struct CursorResource {
  UINT_PTR id;
  std::string name;
  int hotSpotX, hotSpotY;
  NSCursor* cursor = nullptr;  // retained once loaded
};

struct CursorState {
  std::mutex resourceMutex;
  std::vector<std::unique_ptr<CursorResource>> resources;  // newest first
  NSCursor* lastSet = nullptr;                             // retained
  int displayCount = 0;
  bool hidden = false;
  POINT remembered{};  // while hidden: the position reported, screen y up
};

CursorState& state() {
  static auto* s = new CursorState;
  return *s;
}

std::optional<std::vector<std::uint8_t>> readSmallFile(const std::string& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!f) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f.get())) > 0;) {
    if (static_cast<long>(bytes.size() + n) > kMaxCursorFileBytes) return std::nullopt;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  return bytes;
}

// The picture of a cursor file or image: a path, or a name looked for as
// Contents/Resources/<name>.cur in the application's bundle. Decoded in memory.
std::optional<platform::NSCursorImage> loadPicture(const char* name) {
  if (!name || !*name) return std::nullopt;
  std::string path = name;
  if (!std::strchr(name, '/') && path.size() < kPathLength)
    path = swell::mainBundleFolder() + "/Contents/Resources/" + path + ".cur";
  auto bytes = readSmallFile(path);
  if (!bytes) {
    base::warn("swell-cocoa", "cursor \"%s\" cannot be read", path.c_str());
    return std::nullopt;
  }
  auto picture = platform::decodeCursorPicture(bytes->data(), bytes->size());
  if (!picture) base::warn("swell-cocoa", "cursor \"%s\" is not a cursor picture", path.c_str());
  return picture;
}

NSCursor* cursorFromPicture(platform::NSCursorImage picture, std::optional<POINT> hotSpot) {
  platform::NSPoint spot =
      hotSpot ? platform::NSPoint{double(hotSpot->x), double(hotSpot->y)}
              : platform::NSPoint{double(picture.hotSpotX), double(picture.hotSpotY)};
  return new NSCursor(std::move(picture), spot);
}

HCURSOR handleOf(NSCursor* c) {
  return reinterpret_cast<HCURSOR>(c);
}

NSCursor* stockCursor(UINT_PTR id) {
  using Drawn = NSCursor::Drawn;
  switch (id) {
    case kCursorArrow:
      return NSCursor::arrowCursor();
    case kCursorIBeam:
      return NSCursor::IBeamCursor();
    case kCursorUpArrow:
      return NSCursor::resizeUpCursor();
    case kCursorSizeWE:
      return NSCursor::resizeLeftRightCursor();
    case kCursorSizeNS:
      return NSCursor::resizeUpDownCursor();
    case kCursorHand:
      return NSCursor::openHandCursor();
    case kCursorSizeAll:
      return NSCursor::drawnCursor(Drawn::Move);
    case kCursorSizeNWSE:
      return NSCursor::drawnCursor(Drawn::ResizeDiagonalDown);
    case kCursorSizeNESW:
      return NSCursor::drawnCursor(Drawn::ResizeDiagonalUp);
    case kCursorNo:
      return NSCursor::drawnCursor(Drawn::NotAllowed);
    default:
      return nullptr;
  }
}

POINT mouseLocation() {
  platform::NSPoint p = platform::NSEvent::mouseLocation();
  return {swell::roundCoordinate(std::floor(p.x)), swell::roundCoordinate(std::ceil(p.y))};
}

}  // namespace

namespace swell {

POINT cursorPos() {
  CursorState& s = state();
  return s.hidden ? s.remembered : mouseLocation();
}

LPARAM messagePos() {
  POINT p = cursorPos();
  return packPoint(p.x, p.y);
}

platform::NSPoint mouseEventToClientPoint(const NSView* view, const platform::NSEvent& e) {
  if (!view) return e.locationInWindow;
  return view->convertPointFromView(e.locationInWindow, nullptr);
}

void setCursor(NSCursor* cursor) {
  CursorState& s = state();
  if (cursor) cursor->retain();
  if (s.lastSet) s.lastSet->release();
  s.lastSet = cursor;
  (cursor ? cursor : NSCursor::arrowCursor())->set();
}

NSCursor* lastSetCursor() {
  return state().lastSet;
}

void setArrowCursorUnlessCurrent() {
  NSCursor* arrow = NSCursor::arrowCursor();
  if (NSCursor::currentCursor() != arrow) arrow->set();
}

}  // namespace swell

HCURSOR SWELL_LoadCursor(const char* id) {
  auto value = reinterpret_cast<UINT_PTR>(id);
  if (NSCursor* stock = stockCursor(value)) return handleOf(stock);
  CursorState& s = state();
  std::lock_guard<std::mutex> lock(s.resourceMutex);
  for (auto& r : s.resources) {
    if (r->id != value) continue;
    if (!r->cursor) {
      auto picture = loadPicture(r->name.c_str());
      if (!picture) return nullptr;
      r->cursor = cursorFromPicture(std::move(*picture), POINT{r->hotSpotX, r->hotSpotY});
    }
    return handleOf(r->cursor);
  }
  return nullptr;
}

HCURSOR SWELL_LoadCursorFromFile(const char* fn) {
  auto picture = loadPicture(fn);
  return picture ? handleOf(cursorFromPicture(std::move(*picture), std::nullopt)) : nullptr;
}

void SWELL_Register_Cursor_Resource(const char* id, const char* name, int hotspot_x,
                                    int hotspot_y) {
  if (!name) {
    base::warn("swell-cocoa", "SWELL_Register_Cursor_Resource: no picture name");
    return;
  }
  auto record = std::make_unique<CursorResource>();
  record->id = reinterpret_cast<UINT_PTR>(id);
  record->name = name;  // a copy: the caller's text may not outlive the registration
  record->hotSpotX = hotspot_x;
  record->hotSpotY = hotspot_y;
  CursorState& s = state();
  std::lock_guard<std::mutex> lock(s.resourceMutex);
  s.resources.insert(s.resources.begin(), std::move(record));
}

void SWELL_SetCursor(HCURSOR cursor) {
  swell::setCursor(platform::liveObjectAs<NSCursor>(cursor));
}

HCURSOR SWELL_GetCursor() {
  return handleOf(NSCursor::currentCursor());
}

HCURSOR SWELL_GetLastSetCursor() {
  return handleOf(state().lastSet);
}

void GetCursorPos(POINT* pt) {
  if (pt) *pt = swell::cursorPos();
}

DWORD GetMessagePos() {
  return static_cast<DWORD>(swell::messagePos());
}

int SWELL_ShowCursor(BOOL show) {
  CursorState& s = state();
  s.displayCount += show ? 1 : -1;
  if (!show && s.displayCount == -1) {
    if (!s.hidden) s.remembered = mouseLocation();
    NSCursor::hide();
    NSCursor::setMouseDetached(true);
    s.hidden = true;
  } else if (show && s.displayCount == 0) {
    NSCursor::unhide();
    NSCursor::setMouseDetached(false);
    s.hidden = false;
    NSCursor::warpCursorPosition({double(s.remembered.x), double(s.remembered.y)});
  }
  return s.displayCount;
}

bool SWELL_IsCursorVisible() {
  return state().displayCount >= 0;
}

bool SWELL_SetCursorPos(int x, int y) {
  CursorState& s = state();
  if (s.hidden)
    s.remembered = {x, y};
  else
    NSCursor::warpCursorPosition({double(x), double(y)});
  return true;
}

POINT MouseEventToClientPoint(UINT msg, HWND view, void* nsevent) {
  auto* v = platform::liveObjectAs<NSView>(view);
  const auto* e = static_cast<const platform::NSEvent*>(nsevent);
  if (!e) return {};
  CursorState& s = state();
  if (s.hidden) {
    // The pointer stays put while hidden: the position reported moves by the motion.
    if (msg == WM_MOUSEMOVE) {
      s.remembered.x = swell::roundCoordinate(s.remembered.x + e->deltaX);
      s.remembered.y = swell::roundCoordinate(s.remembered.y - e->deltaY);
    }
    POINT p = s.remembered;
    if (v) ScreenToClient(view, &p);
    return p;
  }
  platform::NSPoint p = swell::mouseEventToClientPoint(v, *e);
  return {swell::roundCoordinate(std::floor(p.x)), swell::roundCoordinate(std::floor(p.y))};
}
