#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <optional>
#include <string>

#include "base/Finite.h"
#include "base/Log.h"
#include "base/Utf8.h"
#include "platform/core/Application.h"
#include "platform/core/RunLoop.h"
#include "platform/core/View.h"
#include "platform/drawing/FontCollection.h"
#include "platform/objects/Object.h"
#include "platform/panels/ColorPanel.h"
#include "platform/panels/FontPanel.h"
#include "platform/system/Clock.h"
#include "platform/system/MainThread.h"
#include "windowing/controls/ControlFactories.h"
#include "windowing/controls/detail/ControlLayout.h"
#include "windowing/core/WindowApi.h"
#include "windowing/core/WindowInterfaces.h"
#include "windowing/dialogs/DialogPlacement.h"
#include "windowing/dialogs/DialogResources.h"
#include "windowing/stddialogs/StandardDialogs.h"

namespace {

// The OK/Cancel accessory under the colour and font panels: its window field 0 holds the
// answer (0 while none, else the id of the button pressed).
constexpr int kAnswerField = 0;
constexpr int kAnswerWidth = 166, kAnswerHeight = 30;
constexpr float kAnswerScale = 1.7f;
constexpr int kButtonWidth = 44, kButtonHeight = 14, kButtonTop = 2;
constexpr int kOkLeft = 48, kCancelLeft = 2;
// How long the modal step waits on the event queue between polls of the answer.
constexpr double kPollIntervalMs = 3;
constexpr int kMaxComponent = 255;
constexpr LONG kBoldWeight = 700, kRegularWeight = 400;
constexpr std::size_t kMaxFontName = 1024;

void createAnswerButtons(HWND hwnd, int) {
  swell::ControlLayoutState saved = swell::controlLayout();
  SWELL_MakeSetCurParms(hwnd, false, false, kAnswerScale, kAnswerScale, 0, 0);
  SWELL_MakeButton(1, "OK", IDOK, kOkLeft, kButtonTop, kButtonWidth, kButtonHeight, 0);
  SWELL_MakeButton(1, "Cancel", IDCANCEL, kCancelLeft, kButtonTop, kButtonWidth, kButtonHeight, 0);
  swell::controlLayout() = saved;
}

INT_PTR answerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) {
    SetWindowLong(hwnd, kAnswerField, 0);
    return 1;
  }
  int id = static_cast<int>(wParam & 0xFFFF);
  if (msg == WM_COMMAND && (id == IDOK || id == IDCANCEL)) {
    SetWindowLong(hwnd, kAnswerField, id);
    return 1;
  }
  return 0;
}

SWELL_DialogResourceIndex& answerResource() {
  static SWELL_DialogResourceIndex resource{reinterpret_cast<const char*>(std::uintptr_t{1}),
                                            "",
                                            SWELL_DLG_WS_CHILD,
                                            createAnswerButtons,
                                            kAnswerWidth,
                                            kAnswerHeight,
                                            nullptr};
  return resource;
}

// Runs a shared panel modally over its owner with the OK/Cancel accessory under it, one step
// at a time, until a button answers or the panel goes away. True for OK. Without the accessory
// there is no way to accept, so the run counts as cancelled.
template <class Panel>
bool runWithAnswerButtons(Panel* panel, HWND owner) {
  platform::NSApplication* app = platform::NSApp();
  HWND accessory = SWELL_CreateDialog(&answerResource(), answerResource().resid,
                                      swell::handleFromObject(panel), answerProc, 0);
  if (!accessory) base::warn("swell-cocoa", "the chooser's OK and Cancel buttons are missing");
  swell::centreDialogOverOwner(panel, swell::dialogOwnerOf(owner));
  platform::NSModalSession* session = app->beginModalSession(panel);
  LONG_PTR answer = 0;
  while (app->runModalSession(session) == platform::NSModalResponseContinue && panel->isVisible()) {
    if (accessory && (answer = GetWindowLong(accessory, kAnswerField)) != 0) break;
    app->nextEvent(platform::NSEventMaskAny, platform::nowMs() + kPollIntervalMs,
                   platform::NSModalPanelRunLoopMode, false);
  }
  app->endModalSession(session);
  if (accessory) {
    platform::Ref<platform::NSView> keep(swell::objectFromHandleAs<platform::NSView>(accessory));
    DestroyWindow(accessory);
    panel->setAccessoryView(nullptr);
  }
  panel->close();
  return accessory && answer == IDOK;
}

bool refusedOffMainThread(const char* function) {
  if (platform::isMainThread()) return false;
  base::warn("swell-cocoa", "%s called off the main thread; nothing shown", function);
  return true;
}

COLORREF componentBits(double c, int shift) {
  double byte = std::clamp(std::floor(c * kMaxComponent + 0.5), 0.0, double(kMaxComponent));
  return static_cast<COLORREF>(byte) << shift;
}

}  // namespace

bool SWELL_ChooseColor(HWND owner, COLORREF* color) {
  if (!color) {
    base::warn("swell-cocoa", "SWELL_ChooseColor without a colour to start from");
    return false;
  }
  if (refusedOffMainThread("SWELL_ChooseColor")) return false;
  platform::NSAutoreleasePool pool;
  platform::NSColorPanel* panel = platform::NSColorPanel::sharedColorPanel();
  panel->setShowsAlpha(false);
  panel->setColor({((*color >> 16) & 0xFF) / 255.0, ((*color >> 8) & 0xFF) / 255.0,
                   (*color & 0xFF) / 255.0, 1});
  if (!runWithAnswerButtons(panel, owner)) return false;
  platform::NSColor chosen = panel->color();
  if (!base::isFinite(chosen.red, chosen.green, chosen.blue)) return false;
  *color = componentBits(chosen.red, 16) | componentBits(chosen.green, 8) |
           componentBits(chosen.blue, 0);
  return true;
}

bool SWELL_ChooseFont(HWND owner, LOGFONT* font) {
  if (!font) {
    base::warn("swell-cocoa", "SWELL_ChooseFont without a font record");
    return false;
  }
  if (font->lfHeight == INT_MIN) {
    base::warn("swell-cocoa", "SWELL_ChooseFont: a font height of %d is no size", INT_MIN);
    return false;
  }
  if (refusedOffMainThread("SWELL_ChooseFont")) return false;
  platform::NSAutoreleasePool pool;
  LONG size = font->lfHeight >= 1  ? font->lfHeight
              : font->lfHeight < 0 ? -font->lfHeight
                                   : font->lfWidth;
  std::string family(font->lfFaceName, strnlen(font->lfFaceName, sizeof font->lfFaceName));
  bool bold = font->lfWeight >= kBoldWeight;
  bool italic = font->lfItalic != 0;
  std::string name = family + (bold ? " Bold" : "") + (italic ? " Italic" : "");
  name.resize(base::utf8PrefixLength(name, kMaxFontName - 1));

  // The face of that name; else the family's face nearest in weight and slant (whose
  // italic face may be called oblique); else the system font.
  std::optional<platform::NSFont> start = platform::fontcollection::fontWithName(name, size);
  if (!start)
    if (auto face = platform::fontcollection::faceName(family, bold, italic))
      start = platform::fontcollection::fontWithName(*face, size);
  platform::NSFontPanel* panel = platform::NSFontPanel::sharedFontPanel();
  panel->setPanelFont(start.value_or(platform::NSFont::systemFontOfSize(size)));
  if (!runWithAnswerButtons(panel, owner)) return false;

  LOGFONT before = *font;
  platform::NSFont chosen = panel->panelFont();
  double rounded = std::floor(chosen.pointSize() + 0.5);
  if (base::isFinite(rounded) && rounded != size && rounded < INT_MAX) {
    font->lfWidth = 0;
    font->lfHeight = static_cast<LONG>(rounded);
  }
  std::string chosenFamily = platform::fontcollection::familyName(chosen);
  std::memset(font->lfFaceName, 0, sizeof font->lfFaceName);
  base::copyUtf8(chosenFamily, font->lfFaceName, sizeof font->lfFaceName);
  std::string display = platform::fontcollection::displayName(chosen);
  bool chosenItalic =
      display.find("Italic") != std::string::npos || display.find("Oblique") != std::string::npos;
  font->lfItalic = chosenItalic ? 1 : 0;
  font->lfWeight = display.find("Bold") != std::string::npos ? kBoldWeight : kRegularWeight;
  // The face names count up to their NUL: bytes after it are not the name.
  auto faceOf = [](const LOGFONT& f) {
    return std::string(f.lfFaceName, strnlen(f.lfFaceName, sizeof f.lfFaceName));
  };
  return std::memcmp(&before, font, offsetof(LOGFONT, lfFaceName)) != 0 ||
         faceOf(before) != faceOf(*font);
}
