// A window's keyboard focus: the first responder, the key-view loop that Tab walks, the
// focus ring drawn round the focused control and the window's field editor.

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/core/TextField.h"
#include "platform/core/TextView.h"
#include "platform/core/View.h"
#include "platform/core/Window.h"

namespace platform {

namespace {
const NSColor kFocusRing{0.25, 0.46, 0.85, 0.85};
}  // namespace

NSResponder* NSWindow::firstResponder() const {
  return mFirstResponder ? mFirstResponder : const_cast<NSWindow*>(this);
}

bool NSWindow::makeFirstResponder(NSResponder* responder) {
  NSResponder* target = responder == this ? nullptr : responder;
  if (target == mFirstResponder) return true;
  if (auto* view = dynamic_cast<NSView*>(target); view && view->window() != this) return false;
  // The ring leaves the control losing the focus and goes round the one taking it.
  Ref<NSView> ringBefore(focusedKeyView());
  const bool made = changeFirstResponder(target);
  if (ringBefore && ringBefore->window() == this) ringBefore->setNeedsDisplay(true);
  focusRingNeedsDisplay();
  return made;
}

bool NSWindow::changeFirstResponder(NSResponder* target) {
  if (mFirstResponder && !mFirstResponder->resignFirstResponder()) return false;
  mFirstResponder = nullptr;
  if (!target) return true;
  if (!target->acceptsFirstResponder()) return false;
  Ref<NSObject> keep(target);
  if (!target->becomeFirstResponder()) return false;
  // A responder may hand the role on while becoming it (a text field to its field
  // editor); the one that took it last keeps it.
  if (!mFirstResponder) mFirstResponder = target;
  return true;
}

namespace {

void collectKeyViews(NSView* view, std::vector<NSView*>& loop) {
  for (NSView* sub : view->subviews()) {
    if (sub->isHidden()) continue;
    if (sub->canBecomeKeyView()) loop.push_back(sub);
    // A text field's subview is its field editor, which stands for the field.
    if (!dynamic_cast<NSTextField*>(sub)) collectKeyViews(sub, loop);
  }
}

}  // namespace

std::vector<NSView*> NSWindow::keyViewLoop() const {
  std::vector<NSView*> loop;
  if (!mContentView) return loop;
  collectKeyViews(mContentView, loop);
  if (mAutorecalculatesKeyViewLoop) {
    // Reading order: rows from the top (window coordinates run up), then left to right.
    auto place = [](const NSView* v) {
      const NSRect r = v->convertRectToView(v->bounds(), nullptr);
      return std::make_pair(-std::round(r.maxY()), std::round(r.minX()));
    };
    std::stable_sort(loop.begin(), loop.end(),
                     [&](const NSView* a, const NSView* b) { return place(a) < place(b); });
  }
  return loop;
}

NSView* NSWindow::focusedKeyView() const {
  auto* view = dynamic_cast<NSView*>(mFirstResponder);
  if (!view || view == mContentView) return nullptr;
  for (NSView* v = view; v && v != mContentView; v = v->superview())
    if (dynamic_cast<NSTextField*>(v)) return v;
  return view;
}

void NSWindow::selectNextKeyView() {
  selectKeyView(1);
}

void NSWindow::selectPreviousKeyView() {
  selectKeyView(-1);
}

void NSWindow::selectKeyView(int step) {
  Ref<NSWindow> keep(this);
  const std::vector<NSView*> loop = keyViewLoop();
  const int count = static_cast<int>(loop.size());
  if (count == 0) return;
  std::vector<Ref<NSView>> held(loop.begin(), loop.end());
  NSView* focused = focusedKeyView();
  auto at = std::find(loop.begin(), loop.end(), focused);
  int i = at == loop.end() ? -1 : static_cast<int>(at - loop.begin());
  for (int tries = 0; tries < count; ++tries) {
    i = i < 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
    if (held[i]->window() == this && makeFirstResponder(held[i].get())) return;
  }
}

void NSWindow::keyDown(const NSEvent& e) {
  if (e.keyCode == kVK_Tab && !(e.modifierFlags & kCommandKeyModifiers)) {
    if (e.modifierFlags & NSEventModifierFlagShift)
      selectPreviousKeyView();
    else
      selectNextKeyView();
    return;
  }
  NSResponder::keyDown(e);
}

void NSWindow::focusRingNeedsDisplay() {
  if (NSView* view = focusedKeyView(); view && view->showsFocusRing()) view->setNeedsDisplay(true);
}

void NSWindow::drawFocusRing(cairo_t* cr) {
  NSView* view = isKeyWindow() ? focusedKeyView() : nullptr;
  if (!view || !view->showsFocusRing() || view->isHiddenOrHasHiddenAncestor()) return;
  // Inside the control's edges, so that marking the control redraws the whole ring.
  const NSRect r = view->convertRectToView(view->bounds(), nullptr);
  if (r.size.width < 4 || r.size.height < 4) return;
  cairo_rectangle(cr, r.origin.x + 1, r.origin.y + 1, r.size.width - 2, r.size.height - 2);
  cairo_set_source_rgba(cr, kFocusRing.red, kFocusRing.green, kFocusRing.blue, kFocusRing.alpha);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
}

NSText* NSWindow::fieldEditor(bool create, NSObject* forObject) {
  if (!mFieldEditor && create) {
    auto* editor = new NSTextView;
    editor->setFieldEditor(true);
    mFieldEditor = editor;
  }
  return mFieldEditor;
}

}  // namespace platform
