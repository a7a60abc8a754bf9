#include <cstdlib>
#include <cstring>

#include "platform/core/ScrollView.h"
#include "windowing/controls/ControlClasses.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ButtonKinds.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/core/WindowMenus.h"

using platform::Ref;

namespace {

// Fields lower than this (in units, by absolute value) are one line that scrolls.
constexpr int kSingleLineHeight = 20;
// Labels higher than this wrap.
constexpr int kLabelWrapHeight = 12;
constexpr DWORD kStaticKindMask = 31;
constexpr DWORD kStaticHidden = 4;

// A label: neither editable, selectable, bordered nor bezelled, without background.
Ref<Swell_vCorvaneBrisko_textfield> makeLabelField(const char* text) {
  Ref<Swell_vCorvaneBrisko_textfield> label =
      Ref<Swell_vCorvaneBrisko_textfield>::adopt(new Swell_vCorvaneBrisko_textfield);
  label->setEditable(false);
  label->setSelectable(false);
  label->setBordered(false);
  label->setBezeled(false);
  label->setDrawsBackground(false);
  swell::applyFontRule(label.get());
  label->setStringValue(swell::controlText(text));
  return label;
}

HWND makeTextView(int id, int x, int y, int w, int h, int style) {
  const DWORD bits = static_cast<DWORD>(style);
  Ref<Swell_vCorvaneBrisko_textview> text =
      Ref<Swell_vCorvaneBrisko_textview>::adopt(new Swell_vCorvaneBrisko_textview);
  text->setEditable(!(bits & ES_READONLY));
  swell::applyFontRule(text.get());
  text->setTag(id);
  text->setDelegate(swell::controlLayout().parent);
  const platform::NSRect frame = SWELL_MakeControlFrame(x, y, w, h, true, false);
  if (!(bits & WS_VSCROLL)) {
    text->setFrame(frame);
    swell::finishControl(text.get(), style);
    return swell::handleFromObject(text.get());
  }
  Ref<platform::NSScrollView> scroll =
      Ref<platform::NSScrollView>::adopt(new platform::NSScrollView(frame));
  scroll->setHasVerticalScroller(true);
  if (bits & WS_HSCROLL) scroll->setHasHorizontalScroller(true);
  const platform::NSSize content = scroll->contentSize();
  text->setFrame(platform::NSMakeRect(0, 0, content.width, content.height));
  scroll->setDocumentView(text.get());
  swell::finishControl(scroll.get(), style);
  return swell::handleFromObject(scroll.get());
}

}  // namespace

HWND SWELL_MakeEditField(int id, int x, int y, int w, int h, int style) {
  const DWORD bits = static_cast<DWORD>(style);
  if (bits & (WS_VSCROLL | WS_HSCROLL)) return makeTextView(id, x, y, w, h, style);
  Ref<platform::NSTextField> field;
  if (bits & ES_PASSWORD) {
    field = Ref<platform::NSTextField>::adopt(new platform::NSSecureTextField);
  } else {
    auto* own = new Swell_vCorvaneBrisko_textfield;
    field = Ref<platform::NSTextField>::adopt(own);
  }
  field->setEditable(!(bits & ES_READONLY));
  if (bits & ES_READONLY) field->setSelectable(true);
  swell::applyFontRule(field.get());
  if (auto* own = dynamic_cast<Swell_vCorvaneBrisko_textfield*>(field.get())) own->initColors(0);
  if (bits & ES_CENTER) field->setAlignment(platform::NSTextAlignmentCenter);
  if (bits & ES_RIGHT) field->setAlignment(platform::NSTextAlignmentRight);
  field->setWraps(std::abs(h) >= kSingleLineHeight);
  field->setTag(id);
  swell::setCommandTarget(field.get(), kSwellCommandAction);
  field->setDelegate(swell::controlLayout().parent);
  field->setFrame(SWELL_MakeControlFrame(x, y, w, h, true, false));
  swell::finishControl(field.get(), style);
  return swell::handleFromObject(field.get());
}

HWND SWELL_MakeLabel(int align, const char* text, int id, int x, int y, int w, int h, int style) {
  Ref<Swell_vCorvaneBrisko_textfield> label = makeLabelField(text);
  if (static_cast<DWORD>(style) & SS_NOTIFY)
    swell::setCommandTarget(label.get(), kSwellCommandAction);
  label->setAlignment(align < 0    ? platform::NSTextAlignmentLeft
                      : align == 0 ? platform::NSTextAlignmentCenter
                                   : platform::NSTextAlignmentRight);
  label->setWraps(h > kLabelWrapHeight);
  label->setTag(id);
  label->setFrame(SWELL_MakeControlFrame(x, y, w, h, true, false));
  if (swell::controlLayout().sizetofit && text && std::strlen(text) >= 2) label->sizeToFit();
  swell::finishControl(label.get(), style);
  return swell::handleFromObject(label.get());
}

namespace swell {

HWND makeStaticControl(const char* text, int id, int style, int x, int y, int w, int h) {
  const DWORD kind = static_cast<DWORD>(style) & kStaticKindMask;
  ControlLayoutState& state = controlLayout();
  if (kind >= SS_ETCHEDHORZ && kind <= SS_ETCHEDFRAME) {
    Ref<Swell_vCorvaneBrisko_box> box =
        Ref<Swell_vCorvaneBrisko_box>::adopt(new Swell_vCorvaneBrisko_box);
    box->setEtchMode(static_cast<int>(kind));
    box->setTag(id);
    box->setFrame(SWELL_MakeControlFrame(x, y, w, h, false, false));
    if (static_cast<DWORD>(style) & SWELL_HIDDEN_STYLE) box->setHidden(true);
    if (state.parent) state.parent->addSubview(box.get());
    return swell::handleFromObject(box.get());
  }
  Ref<Swell_vCorvaneBrisko_textfield> label = makeLabelField(text);
  label->setAlignment(kind == SS_CENTER  ? platform::NSTextAlignmentCenter
                      : kind == SS_RIGHT ? platform::NSTextAlignmentRight
                                         : platform::NSTextAlignmentLeft);
  label->setWraps(kind != SS_LEFTNOWORDWRAP);
  label->setTag(id);
  label->setFrame(SWELL_MakeControlFrame(x, y, w, h, true, false));
  if (kind == kStaticHidden || (static_cast<DWORD>(style) & SWELL_HIDDEN_STYLE))
    label->setHidden(true);
  // This label leaves the row's pending shift alone.
  if (state.parent) state.parent->addSubview(label.get());
  return swell::handleFromObject(label.get());
}

}  // namespace swell
