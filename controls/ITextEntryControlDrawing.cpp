// How the text-entry control measures and paints its text: character widths measured with pair
// kerning, the x of each position, then the background, the selection, the text and the caret.

#include <algorithm>
#include <cmath>
#include <string>

#include "base/Utf8.h"
#include "controls/ITextEntryControl.h"
#include "controls/detail/TextEntryEditor.h"
#include "graphics/IGraphics.h"

namespace iplug {
namespace igraphics {

void ITextEntryControl::MeasureWidths() const {
  mCharWidths.assign(mEditString.size(), 0.f);
  const IGraphics* g = GetUI();
  if (!g) return;
  // Each width is measured after the character before it, so pair kerning is counted. The
  // second unit of a surrogate pair takes no width: its character is measured on the first.
  std::string prev;
  for (size_t i = 0; i < mEditString.size(); ++i) {
    size_t units = 1;
    if (base::isHighSurrogate(mEditString[i]) && i + 1 < mEditString.size() &&
        base::isLowSurrogate(mEditString[i + 1]))
      units = 2;
    const std::string cur = base::utf16ToUtf8(std::u16string_view(mEditString).substr(i, units));
    IRECT box;
    float w = 0.f;
    if (prev.empty()) {
      w = g->MeasureText(mText, cur.c_str(), box);
    } else {
      const std::string pair = prev + cur;
      w = g->MeasureText(mText, pair.c_str(), box) - g->MeasureText(mText, prev.c_str(), box);
    }
    mCharWidths[i] = std::isfinite(w) ? w : 0.f;
    prev = cur;
    i += units - 1;
  }
}

float ITextEntryControl::CharWidth(int idx) const {
  if (mCharWidths.size() != mEditString.size()) MeasureWidths();
  if (idx < 0 || static_cast<size_t>(idx) >= mCharWidths.size()) return 0.f;
  return mCharWidths[static_cast<size_t>(idx)];
}

float ITextEntryControl::PositionX(int pos) const {
  StbTexteditRow row;
  Editor::LayoutRow(&row, this, 0);
  pos = std::clamp(pos, 0, Editor::Length(this));
  float x = row.x0;
  for (int i = 0; i < pos; ++i)
    x += CharWidth(i);
  return x;
}

void ITextEntryControl::Draw(IGraphics& g) {
  g.FillRect(mText.mTextEntryBGColor, mRECT);

  StbTexteditRow row;
  Editor::LayoutRow(&row, this, 0);
  const float size = mText.mSize;
  const float top = mRECT.T + row.ymin + 0.1f * size;
  const float bottom = mRECT.T + row.ymax - 0.1f * size;
  const STB_TexteditState& s = mEditor->state;

  if (s.select_start != s.select_end) {
    const float x1 = PositionX(std::min(s.select_start, s.select_end));
    const float x2 = PositionX(std::max(s.select_start, s.select_end));
    const IBlend blend(EBlend::Default, 0.2f);
    g.FillRect(mText.mTextEntryFGColor, IRECT(x1, top, x2, bottom), &blend);
  }

  const std::string text = GetText();
  g.DrawText(mText, text.c_str(), mRECT);

  if (mCaretShown && s.select_start == s.select_end) {
    const float x = PositionX(std::max(s.cursor, 0));
    g.FillRect(mText.mTextEntryFGColor, IRECT(std::round(x - 1.f), top, std::round(x), bottom));
  }
}

}  // namespace igraphics
}  // namespace iplug
