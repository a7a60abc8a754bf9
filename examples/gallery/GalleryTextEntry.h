#pragma once

// The gallery's picture of a text entry in progress: a caption bound to a double parameter is
// clicked, which opens the text-entry control over it with the value selected (the drawing
// context has no native text field), and a new value is typed part way. Everything goes through
// the graphics context's events, as a user's would.

#include "controls/Controls.h"
#include "graphics/Graphics.h"

namespace gallery {

// Fills area (at least 40 high) with a titled caption and leaves an edit of it open, the caret
// after the typed text. Returns the caption whose value is being edited.
inline iplug::igraphics::IControl* AddTextEntryInProgress(iplug::igraphics::IGraphics& g,
                                                          const iplug::igraphics::IRECT& area,
                                                          int paramIdx, const char* typed) {
  using namespace iplug;
  using namespace iplug::igraphics;
  const IRECT title = area.GetFromTop(18.f);
  g.AttachControl(
      new ITextControl(title, "Text entry", IText(14.f, EAlign::Near), COLOR_TRANSPARENT));
  IText style(15.f, COLOR_BLACK, nullptr, EAlign::Center, EVAlign::Middle, 0.f, COLOR_WHITE,
              IColor(255, 20, 40, 120));
  const IRECT field = area.GetReducedFromTop(22.f).GetFromTop(26.f);
  IControl* caption = g.AttachControl(
      new ICaptionControl(field, paramIdx, style, IColor(255, 232, 222, 200), true));
  if (!caption) return nullptr;

  const IMouseMod left(true);
  g.OnMouseDown(field.MW(), field.MH(), left);
  g.OnMouseUp(field.MW(), field.MH(), left);
  for (const char* p = typed; p && *p; ++p) {
    const char s[2] = {*p, '\0'};
    const int vk = *p >= '0' && *p <= '9' ? kVK_0 + (*p - '0') : (*p == '.' ? 0xBE : 0xBD);
    g.OnKeyDown(field.MW(), field.MH(), IKeyPress(s, vk));
  }
  return caption;
}

}  // namespace gallery
