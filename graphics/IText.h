#pragma once

// A text style and the placing of a text box by its alignment.

#include <cstddef>
#include <cstring>

#include "graphics/IColor.h"
#include "graphics/IRECT.h"

namespace iplug {
namespace igraphics {

enum class EAlign { Near = 0, Center = 1, Far = 2 };
enum class EVAlign { Top = 0, Middle = 1, Bottom = 2 };

inline constexpr const char* DEFAULT_FONT = "Roboto-Regular";
inline constexpr float DEFAULT_TEXT_SIZE = 14.f;

// A text style. The font name is kept in a fixed buffer, cut at 63 bytes.
struct IText {
  static constexpr int kMaxFontNameLen = 63;

  char mFont[kMaxFontNameLen + 1] = {};
  float mSize = DEFAULT_TEXT_SIZE;
  IColor mFGColor = COLOR_BLACK;
  IColor mTextEntryBGColor = COLOR_WHITE;
  IColor mTextEntryFGColor = COLOR_BLACK;
  float mAngle = 0.f;
  EAlign mAlign = EAlign::Center;
  EVAlign mVAlign = EVAlign::Middle;

  IText(float size = DEFAULT_TEXT_SIZE, const IColor& color = COLOR_BLACK,
        const char* font = nullptr, EAlign align = EAlign::Center, EVAlign valign = EVAlign::Middle,
        float angle = 0.f, const IColor& teBG = COLOR_WHITE, const IColor& teFG = COLOR_BLACK)
      : mSize(size),
        mFGColor(color),
        mTextEntryBGColor(teBG),
        mTextEntryFGColor(teFG),
        mAngle(angle),
        mAlign(align),
        mVAlign(valign) {
    SetFont(font ? font : DEFAULT_FONT);
  }
  IText(float size, EVAlign valign, const IColor& color = COLOR_BLACK) : IText(size, color) {
    mVAlign = valign;
  }
  IText(float size, EAlign align, const IColor& color = COLOR_BLACK) : IText(size, color) {
    mAlign = align;
  }

  // Copies the name, cut at 63 bytes so it never runs past the buffer.
  void SetFont(const char* font) {
    if (!font) font = "";
    std::size_t n = std::strlen(font);
    if (n > static_cast<std::size_t>(kMaxFontNameLen)) n = kMaxFontNameLen;
    std::memcpy(mFont, font, n);
    mFont[n] = '\0';
  }

  IText WithFGColor(const IColor& c) const {
    IText t = *this;
    t.mFGColor = c;
    return t;
  }
  IText WithSize(float s) const {
    IText t = *this;
    t.mSize = s;
    return t;
  }
  IText WithAlign(EAlign a) const {
    IText t = *this;
    t.mAlign = a;
    return t;
  }
  IText WithVAlign(EVAlign a) const {
    IText t = *this;
    t.mVAlign = a;
    return t;
  }
  IText WithAngle(float a) const {
    IText t = *this;
    t.mAngle = a;
    return t;
  }
};

// Places a w x h text box inside bounds by the style's horizontal and vertical alignment.
inline IRECT AlignTextBox(const IText& text, const IRECT& bounds, float w, float h) {
  float x = bounds.L, y = bounds.T;
  switch (text.mAlign) {
    case EAlign::Near:
      x = bounds.L;
      break;
    case EAlign::Center:
      x = bounds.MW() - 0.5f * w;
      break;
    case EAlign::Far:
      x = bounds.R - w;
      break;
  }
  switch (text.mVAlign) {
    case EVAlign::Top:
      y = bounds.T;
      break;
    case EVAlign::Middle:
      y = bounds.MH() - 0.5f * h;
      break;
    case EVAlign::Bottom:
      y = bounds.B - h;
      break;
  }
  return IRECT(x, y, x + w, y + h);
}

inline const IText DEFAULT_TEXT{};
inline const IText DEFAULT_LABEL_TEXT{DEFAULT_TEXT_SIZE + 5.f, EVAlign::Top};
inline const IText DEFAULT_VALUE_TEXT{DEFAULT_TEXT_SIZE, EVAlign::Bottom};

}  // namespace igraphics
}  // namespace iplug
