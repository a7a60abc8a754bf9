#include "support/PlatformHarness.h"

#include <cxxabi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <typeinfo>

#include "platform/core/ComboBox.h"
#include "platform/core/Cursor.h"
#include "platform/core/DisplaySwitch.h"
#include "platform/core/DragAndDrop.h"
#include "platform/core/DragSession.h"
#include "platform/core/Pasteboard.h"
#include "platform/core/PopUpButton.h"
#include "platform/core/RunLoop.h"
#include "platform/core/Slider.h"
#include "platform/core/Text.h"
#include "platform/core/detail/TestHooks.h"
#include "platform/display/KeyboardLayout.h"
#include "platform/display/detail/TestHooks.h"
#include "platform/objects/Object.h"
#include "platform/objects/Screen.h"

namespace testsupport {

using namespace platform;

namespace {

// Virtual time never goes back between tests, so timers that outlive a test (the
// process-wide ones) keep sensible fire dates.
double gLastVirtualTime = 1000.0;

std::string className(const NSObject* object) {
  const char* mangled = typeid(*object).name();
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> demangled(
      abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
  std::string name = status == 0 && demangled ? demangled.get() : mangled;
  if (name.rfind("platform::", 0) == 0) name = name.substr(10);
  return name;
}

std::string formatRect(const NSRect& r) {
  std::ostringstream out;
  out << "(" << r.origin.x << "," << r.origin.y << " " << r.size.width << "x" << r.size.height
      << ")";
  return out.str();
}

// The value a user sees in a control: its text, state, selection or position.
void describeControlValue(const NSView* v, std::ostringstream& out) {
  if (auto* text = dynamic_cast<const NSText*>(v)) {
    NSRange r = text->selectedRange();
    out << " text=\"" << text->string() << "\" sel=" << r.location << "+" << r.length;
  } else if (auto* popup = dynamic_cast<const NSPopUpButton*>(v)) {
    out << " selected=" << popup->indexOfSelectedItem() << " items=" << popup->numberOfItems();
  } else if (auto* button = dynamic_cast<const NSButton*>(v)) {
    out << " title=\"" << button->title() << "\"";
    if (button->buttonType() == NSButtonTypeSwitch || button->buttonType() == NSButtonTypeRadio)
      out << " state=" << button->state();
  } else if (auto* slider = dynamic_cast<const NSSlider*>(v)) {
    out << " value=" << slider->doubleValue() << " range=" << slider->minValue() << ".."
        << slider->maxValue();
  } else if (auto* combo = dynamic_cast<const NSComboBox*>(v)) {
    out << " text=\"" << combo->stringValue() << "\" selected=" << combo->indexOfSelectedItem()
        << " items=" << combo->numberOfItems();
  } else if (auto* field = dynamic_cast<const NSTextField*>(v)) {
    out << " text=\"" << field->stringValue() << "\"";
  }
  if (auto* control = dynamic_cast<const NSControl*>(v); control && !control->isEnabled())
    out << " disabled";
}

void describeView(const NSView* v, int depth, std::ostringstream& out) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << className(v) << " "
      << formatRect(v->frame());
  if (v->tag() != -1) out << " tag=" << v->tag();
  if (v->isFlipped()) out << " flipped";
  if (v->isHidden()) out << " hidden";
  describeControlValue(v, out);
  if (v->window() && v->window()->firstResponder() == v) out << " focus";
  out << "\n";
  for (const NSView* s : v->subviews())
    describeView(s, depth + 1, out);
}

}  // namespace

PlatformHarness::PlatformHarness() : mClock(gLastVirtualTime) {
  setClock(&mClock);
  // Tests run headless, whatever DISPLAY says, unless they install a display themselves.
  setDisplayBackend(nullptr);
  resetApplicationForTesting();
  NSScreen::resetToDefault();
  resetCursorForTesting();
  resetMouseStateForTesting();
  NSPasteboard::generalPasteboard().clearContents();
  NSSetOutsideDropFolder("");
  NSKeyboardLayout::setCurrent(nullptr);
  mWindowsAtStart = NSApp()->windows();
  setModalHookForTesting([this](NSWindow* w) { modalTick(w); });
}

PlatformHarness::~PlatformHarness() {
  // Windows the test left open are closed (and so released when they are meant to be).
  for (NSWindow* w : NSApp()->windows()) {
    if (std::find(mWindowsAtStart.begin(), mWindowsAtStart.end(), w) != mWindowsAtStart.end())
      continue;
    if (isLiveObject(w)) w->close();
  }
  resetApplicationForTesting();
  gLastVirtualTime = mClock.nowMs() + 1;
  setClock(nullptr);
}

NSEvent PlatformHarness::mouseEvent(NSEventType type, NSWindow* w, NSPoint p,
                                    std::uint64_t modifiers, int clicks) {
  NSEvent e;
  e.type = type;
  e.window = w;
  e.locationInWindow = p;
  e.modifierFlags = modifiers;
  e.clickCount = clicks;
  e.timestamp = now() / 1000.0;
  return e;
}

void PlatformHarness::post(NSEvent event) {
  if (event.timestamp == 0) event.timestamp = now() / 1000.0;
  NSApp()->postEvent(std::move(event), false);
}

void PlatformHarness::mouseDown(NSWindow* w, NSPoint p, std::uint64_t modifiers, int clicks) {
  post(mouseEvent(NSEventTypeLeftMouseDown, w, p, modifiers, clicks));
}

void PlatformHarness::mouseUp(NSWindow* w, NSPoint p, std::uint64_t modifiers, int clicks) {
  post(mouseEvent(NSEventTypeLeftMouseUp, w, p, modifiers, clicks));
}

void PlatformHarness::click(NSWindow* w, NSPoint p, std::uint64_t modifiers, int clickCount) {
  mouseDown(w, p, modifiers, clickCount);
  mouseUp(w, p, modifiers, clickCount);
}

void PlatformHarness::rightClick(NSWindow* w, NSPoint p, std::uint64_t modifiers) {
  NSEvent down = mouseEvent(NSEventTypeRightMouseDown, w, p, modifiers, 1);
  down.buttonNumber = 1;
  NSEvent up = down;
  up.type = NSEventTypeRightMouseUp;
  post(down);
  post(up);
}

void PlatformHarness::otherClick(NSWindow* w, NSPoint p) {
  NSEvent down = mouseEvent(NSEventTypeOtherMouseDown, w, p, 0, 1);
  down.buttonNumber = 2;
  NSEvent up = down;
  up.type = NSEventTypeOtherMouseUp;
  post(down);
  post(up);
}

void PlatformHarness::drag(NSWindow* w, NSPoint from, NSPoint to, int steps) {
  mouseDown(w, from);
  NSPoint last = from;
  for (int i = 1; i <= steps; ++i) {
    double t = static_cast<double>(i) / steps;
    NSPoint p{from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t};
    NSEvent e = mouseEvent(NSEventTypeLeftMouseDragged, w, p, 0, 1);
    e.deltaX = p.x - last.x;
    e.deltaY = -(p.y - last.y);  // the platform's deltas run down the screen
    post(e);
    last = p;
  }
  mouseUp(w, to);
}

void PlatformHarness::move(NSWindow* w, NSPoint p) {
  post(mouseEvent(NSEventTypeMouseMoved, w, p, 0, 0));
}

void PlatformHarness::exitWindow(NSWindow* w) {
  post(mouseEvent(NSEventTypeMouseExited, w, {-1, -1}, 0, 0));
}

void PlatformHarness::scroll(NSWindow* w, NSPoint p, double dx, double dy) {
  NSEvent e = mouseEvent(NSEventTypeScrollWheel, w, p, 0, 0);
  e.deltaX = dx;
  e.deltaY = dy;
  post(e);
}

void PlatformHarness::pinch(NSWindow* w, NSPoint p, double magnification) {
  NSEvent e = mouseEvent(NSEventTypeMagnify, w, p, 0, 0);
  e.magnification = magnification;
  e.deltaZ = magnification;
  post(e);
}

void PlatformHarness::rotate(NSWindow* w, NSPoint p, double degrees) {
  NSEvent e = mouseEvent(NSEventTypeRotate, w, p, 0, 0);
  e.rotation = degrees;
  post(e);
}

void PlatformHarness::swipe(NSWindow* w, NSPoint p, double dx, double dy) {
  NSEvent e = mouseEvent(NSEventTypeSwipe, w, p, 0, 0);
  e.deltaX = dx;
  e.deltaY = dy;
  post(e);
}

void PlatformHarness::key(NSWindow* w, std::uint16_t keyCode, const std::string& characters,
                          std::uint64_t modifiers, bool repeat) {
  NSEvent e;
  e.type = NSEventTypeKeyDown;
  e.window = w;
  e.keyCode = keyCode;
  e.characters = characters;
  e.charactersIgnoringModifiers = characters;
  e.modifierFlags = modifiers;
  e.isARepeat = repeat;
  post(e);
}

void PlatformHarness::keyUp(NSWindow* w, std::uint16_t keyCode, const std::string& characters,
                            std::uint64_t modifiers) {
  NSEvent e;
  e.type = NSEventTypeKeyUp;
  e.window = w;
  e.keyCode = keyCode;
  e.characters = characters;
  e.charactersIgnoringModifiers = characters;
  e.modifierFlags = modifiers;
  post(e);
}

void PlatformHarness::typeText(NSWindow* w, const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = 1;
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0xF0)
      len = 4;
    else if (c >= 0xE0)
      len = 3;
    else if (c >= 0xC0)
      len = 2;
    std::string ch = text.substr(i, len);
    key(w, 0, ch);
    keyUp(w, 0, ch);
    i += len;
  }
}

void PlatformHarness::activate() {
  NSEvent e;
  e.type = NSEventTypeAppKitDefined;
  e.subtype = NSEventSubtypeApplicationActivated;
  post(e);
}

void PlatformHarness::deactivate() {
  NSEvent e;
  e.type = NSEventTypeAppKitDefined;
  e.subtype = NSEventSubtypeApplicationDeactivated;
  post(e);
}

void PlatformHarness::perform(std::function<void()> action) {
  NSEvent e;
  e.type = NSEventTypeApplicationDefined;
  e.action = std::move(action);
  post(e);
}

void PlatformHarness::closeBox(NSWindow* w) {
  perform([w] {
    if (isLiveObject(w)) w->performClose();
  });
}

void PlatformHarness::resizeWindow(NSWindow* w, NSSize size) {
  perform([w, size] {
    if (isLiveObject(w)) w->resizeByUser(size);
  });
}

void PlatformHarness::moveWindow(NSWindow* w, NSPoint origin) {
  perform([w, origin] {
    if (isLiveObject(w)) w->setFrameOrigin(origin);
  });
}

void PlatformHarness::dropFiles(NSWindow* w, NSPoint p, std::vector<std::string> paths,
                                NSObject* source) {
  perform([this, w, p, paths = std::move(paths), source] {
    NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
    board.declareTypes({NSFilenamesPboardType});
    board.setFileList(paths);
    mLastDropOperation = NSPerformDrop(w, p, board, source);
  });
}

void PlatformHarness::dropPromisedFiles(NSWindow* w, NSPoint p, std::vector<std::string> types) {
  perform([this, w, p, types = std::move(types)] {
    NSPasteboard& board = NSPasteboard::pasteboardWithName(NSPasteboardNameDrag);
    board.declareTypes({NSFilesPromisePboardType});
    board.setPropertyList(types, NSFilesPromisePboardType);
    mLastDropOperation = NSPerformDrop(w, p, board, nullptr);
  });
}

void PlatformHarness::openFile(std::string path) {
  perform([path = std::move(path)] { NSApp()->openFile(path); });
}

void PlatformHarness::terminate() {
  perform([] { NSApp()->terminate(nullptr); });
}

int PlatformHarness::runUntilIdle() {
  int count = 0;
  // Timers and events both run; a bound keeps a self-feeding queue from hanging a test.
  for (int guard = 0; guard < 100000; ++guard) {
    NSAutoreleasePool pool;
    auto e = NSApp()->nextEvent(NSEventMaskAny, now(), NSDefaultRunLoopMode, true);
    if (!e) break;
    NSApp()->sendEvent(*e);
    ++count;
  }
  NSApp()->updateWindows();
  return count;
}

void PlatformHarness::onModal(std::function<void(NSWindow*)> hook) {
  mUserHook = std::move(hook);
}

void PlatformHarness::modalTick(NSWindow* w) {
  std::size_t depth = NSApp()->modalDepth();
  if (mModalStarts.size() > depth) mModalStarts.resize(depth);
  while (mModalStarts.size() < depth)
    mModalStarts.push_back({w, now()});
  if (depth > 0 && mModalStarts.back().first != w) mModalStarts.back() = {w, now()};
  if (depth > 0 && now() - mModalStarts.back().second > mWatchdogMs) {
    mWatchdogFired = true;
    ADD_FAILURE() << "modal loop still running after " << mWatchdogMs
                  << " ms of virtual time; aborted";
    NSApp()->abortModal();
    return;
  }
  if (mUserHook) {
    auto hook = mUserHook;
    hook(w);
  }
}

std::string PlatformHarness::describeWindows() {
  std::ostringstream out;
  NSApplication* app = NSApp();
  for (NSWindow* w : app->orderedWindows()) {
    out << className(w) << " \"" << w->title() << "\" " << formatRect(w->frame());
    if (w == app->keyWindow()) out << " key";
    if (w == app->mainWindow()) out << " main";
    if (w == app->modalWindow()) out << " modal";
    out << "\n";
  }
  return out.str();
}

std::string PlatformHarness::describeViewTree(const NSView* root) {
  std::ostringstream out;
  if (root) describeView(root, 0, out);
  return out.str();
}

bool PlatformHarness::renderPNG(NSWindow* w, const std::string& path) {
  if (!w) return false;
  w->display();
  return cairo_surface_write_to_png(w->backingStore(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

std::uint32_t PlatformHarness::pixelAt(NSWindow* w, double x, double y) {
  w->displayIfNeeded();
  cairo_surface_t* s = w->backingStore();
  cairo_surface_flush(s);
  double scale = w->backingScaleFactor();
  int px = static_cast<int>(std::floor(x * scale));
  int py = static_cast<int>(std::floor((w->drawnRect().size.height - y) * scale));
  int width = cairo_image_surface_get_width(s), height = cairo_image_surface_get_height(s);
  if (px < 0 || py < 0 || px >= width || py >= height) return 0;
  const unsigned char* row = cairo_image_surface_get_data(s) +
                             static_cast<std::ptrdiff_t>(py) * cairo_image_surface_get_stride(s);
  return reinterpret_cast<const std::uint32_t*>(row)[px];
}

bool PlatformHarness::chooseMenuItem(NSMenu* menu, const std::string& path) {
  NSMenuItem* item = findMenuItem(menu, path, true);
  if (!item || !item->isEnabled() || item->hasSubmenu()) return false;
  return item->sendAction();
}

}  // namespace testsupport
