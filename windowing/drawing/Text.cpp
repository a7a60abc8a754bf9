#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8.h"
#include "platform/drawing/CoreText.h"
#include "windowing/drawing/detail/DrawingRecords.h"

using platform::CTFont;
using platform::CTLine;
using platform::NSMakeRect;
using platform::Ref;

namespace {

constexpr double kDefaultPointSize = 10;
constexpr long long kMaxFontSize = 8192;
constexpr long long kMinFontSize = 2;
constexpr std::size_t kMaxFaceNameBytes = 899;
constexpr std::size_t kMaxDrawTextBytes = 4095;
constexpr int kBoldWeight = 700;
constexpr int kOpaqueMode = 1;

// The label font at 10 points, made once (a failure is not retried).
CTFont* defaultFont() {
  static CTFont* font = CTFont::createUIFont(kDefaultPointSize);
  return font;
}

// Request names to the names handed to the font engine (a PostScript name, or the
// request itself), kept for the life of the process.
struct FontNameCache {
  std::mutex mutex;
  std::map<std::string, std::string> names;
};

FontNameCache& fontNameCache() {
  static FontNameCache* cache = new FontNameCache;
  return *cache;
}

std::string resolvedFontName(const std::string& request) {
  FontNameCache& cache = fontNameCache();
  {
    std::lock_guard<std::mutex> lock(cache.mutex);
    if (auto it = cache.names.find(request); it != cache.names.end()) return it->second;
  }
  // Resolved outside the lock: two threads may resolve one name, the later one wins.
  std::string resolved = request;
  if (Ref<CTFont> probe = Ref<CTFont>::adopt(CTFont::createWithName(request, kDefaultPointSize)))
    if (!probe->postScriptName().empty()) resolved = probe->postScriptName();
  std::lock_guard<std::mutex> lock(cache.mutex);
  cache.names[request] = resolved;
  return resolved;
}

// The font a context draws and measures with: its selected font, else the default.
CTFont* contextFont(HDC hdc) {
  HGDIOBJ font = swell::selectedObject(hdc, swell::kFontObject);
  return font && font->fontptr ? font->fontptr : defaultFont();
}

struct TextLine {
  Ref<CTLine> line;
  double width = 0;   // typographic, unrounded
  double height = 0;  // ascent + descent + leading
};

}  // namespace

HFONT CreateFont(int height, int width, int escapement, int orientation, int weight, int italic,
                 int underline, int strikeout, int charset, int outprec, int clipprec, int quality,
                 int pitchandfamily, const char* facename) {
  long long magnitude = std::llabs(static_cast<long long>(height ? height : width));
  double size = magnitude > kMaxFontSize || magnitude < kMinFontSize
                    ? kDefaultPointSize
                    : static_cast<double>(magnitude);
  // No face name (null or empty) asks for the default face, still at the asked size and
  // weight.
  std::string request(facename ? facename : "",
                      base::utf8PrefixLength(facename, kMaxFaceNameBytes));
  if (request.empty()) request = CTFont::kSystemFamily;
  const bool bold = weight >= kBoldWeight;
  if (bold) request += " Bold";
  if (italic) request += " Italic";
  HGDIOBJ font = swell::allocObject();
  if (!font) return nullptr;
  font->type = swell::kFontObject;
  CTFont* ct = CTFont::createWithName(resolvedFontName(request), size);
  font->fontptr = ct ? ct : CTFont::createUIFont(size, bold);
  return font;
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  if (!lf) return nullptr;
  char face[sizeof lf->lfFaceName + 1] = {};
  std::memcpy(face, lf->lfFaceName, sizeof lf->lfFaceName);
  return CreateFont(lf->lfHeight, lf->lfWidth, 0, lf->lfOrientation, lf->lfWeight, lf->lfItalic, 0,
                    0, 0, 0, 0, 0, 0, face);
}

void SetTextColor(HDC hdc, COLORREF color) {
  if (!swell::isLiveDC(hdc)) return;
  hdc->curtextcol = color;
  hdc->curtextcolor = swell::colorFromRef(color);
}

COLORREF GetTextColor(HDC hdc) {
  return swell::isLiveDC(hdc) ? hdc->curtextcol : 0xFFFFFFFF;
}

void SetBkColor(HDC hdc, COLORREF color) {
  if (swell::isLiveDC(hdc)) hdc->curbkcol = color;
}

void SetBkMode(HDC hdc, int mode) {
  if (swell::isLiveDC(hdc)) hdc->curbkmode = mode;
}

int SWELL_DrawText(HDC hdc, const char* text, int count, RECT* r, int flags) {
  if (!swell::isLiveDC(hdc) || !text || !r) return 0;
  if (!hdc->ctx && !(flags & DT_CALCRECT)) return 0;
  const std::size_t length =
      count < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(count));
  std::string buffer;
  buffer.reserve(std::min(length, kMaxDrawTextBytes));
  bool multiline = false;
  for (std::size_t i = 0; i < length && buffer.size() < kMaxDrawTextBytes + 4; ++i) {
    char c = text[i];
    if (c == '&' && !(flags & DT_NOPREFIX)) {
      if (++i >= length) break;  // a trailing '&' ends the text
      c = text[i];
    }
    if (c == '\r') continue;
    if (c == '\n') {
      if (flags & DT_SINGLELINE)
        c = ' ';
      else
        multiline = true;
    }
    buffer += c;
  }
  // The working buffer's limit, cut on a whole sequence.
  buffer.resize(base::utf8PrefixLength(buffer, kMaxDrawTextBytes));
  if (buffer.empty()) return 0;
  CTFont* font = contextFont(hdc);
  if (!font) return 0;
  platform::NSColor colour = hdc->curtextcolor.value_or(platform::NSColor::blackColor());

  std::vector<TextLine> lines;
  std::size_t start = 0;
  while (start <= buffer.size()) {
    std::size_t end = multiline ? buffer.find('\n', start) : std::string::npos;
    if (end == std::string::npos) end = buffer.size();
    if (end == buffer.size() && start == end && !lines.empty()) break;  // after a final LF
    TextLine l;
    l.line = Ref<CTLine>::adopt(
        CTLine::create(std::string_view(buffer).substr(start, end - start), font, colour));
    l.width = l.line->width();
    l.height = l.line->ascent() + l.line->descent() + l.line->leading();
    lines.push_back(std::move(l));
    start = end + 1;
  }
  int width = 0;
  long long heights = 0;
  for (const TextLine& l : lines) {
    width = std::max(width, static_cast<int>(std::floor(l.width + 0.5)));
    heights += static_cast<long long>(std::floor(l.height + 1.5));
  }
  int h = heights ? static_cast<int>(std::min<long long>(heights + 1, INT32_MAX)) : 0;
  if (flags & DT_CALCRECT) {
    r->right = r->left + width;
    r->bottom = r->top + h;
    return h;
  }
  int x = r->left, y = r->top;
  if (flags & DT_RIGHT)
    x = r->right - width;
  else if (flags & DT_CENTER)
    x = r->left + ((r->right - r->left) / 2 - width / 2);
  if (flags & DT_BOTTOM)
    y = r->bottom - h;
  else if (flags & DT_VCENTER)
    y = r->top + ((r->bottom - r->top) / 2 - h / 2);

  platform::CGContext* cg = hdc->ctx;
  cg->saveGState();
  cg->setTextMatrix({1, 0, 0, -1, 0, 0});
  if (!(flags & DT_NOCLIP))
    cg->clipToRect(
        NSMakeRect(r->left, r->top, double(r->right) - r->left, double(r->bottom) - r->top));
  bool opaque = hdc->curbkmode == kOpaqueMode;
  if (opaque) {
    platform::NSColor bk = swell::colorFromRef(hdc->curbkcol);
    cg->setFillColor(bk.red, bk.green, bk.blue, bk.alpha);
    if (lines.size() == 1) cg->fillRect(NSMakeRect(x, y, width, h));
  }
  double lineY = y;
  for (const TextLine& l : lines) {
    if (opaque && lines.size() > 1) cg->fillRect(NSMakeRect(x, lineY, l.width, l.height));
    cg->setTextPosition(x, lineY + l.line->ascent());
    l.line->draw(cg);
    lineY += std::floor(l.height + 0.5);
  }
  cg->restoreGState();
  return h;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  if (tm) {
    tm->tmHeight = 16;
    tm->tmAscent = 12;
    tm->tmDescent = 4;
    tm->tmInternalLeading = 3;
    tm->tmAveCharWidth = 10;
  }
  if (!tm || !swell::isLiveDC(hdc)) return FALSE;
  CTFont* font = contextFont(hdc);
  if (!font) return TRUE;
  tm->tmInternalLeading = static_cast<LONG>(font->leading());
  tm->tmAscent = static_cast<LONG>(font->ascent());
  tm->tmDescent = static_cast<LONG>(font->descent());
  tm->tmHeight = tm->tmDescent + tm->tmInternalLeading + tm->tmAscent;
  tm->tmAveCharWidth = tm->tmHeight * 2 / 3;
  if (tm->tmHeight) ++tm->tmHeight;
  return TRUE;
}

int GetTextFace(HDC hdc, int size, char* buffer) {
  if (!swell::isLiveDC(hdc) || size <= 0 || !buffer) return 0;
  CTFont* font = contextFont(hdc);
  if (!font) return 0;
  std::string name = font->displayName();
  if (name.empty()) return 0;
  return static_cast<int>(base::copyUtf8(name, buffer, static_cast<std::size_t>(size)));
}

int GetGlyphIndicesW(HDC hdc, const wchar_t* text, int n, WORD* glyphs, DWORD flags) {
  if (!swell::isLiveDC(hdc) || !text || !glyphs || n < 1) return 0;
  HGDIOBJ font = swell::selectedObject(hdc, swell::kFontObject);
  // Characters beyond the 16-bit range have no single glyph here and count as unmapped.
  std::vector<char16_t> units(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    units[static_cast<std::size_t>(i)] =
        static_cast<std::uint32_t>(text[i]) <= 0xFFFF ? static_cast<char16_t>(text[i]) : 0;
  std::vector<std::uint16_t> mapped(static_cast<std::size_t>(n), 0);
  bool all = font && font->fontptr &&
             font->fontptr->glyphsForCharacters(units.data(), mapped.data(), units.size());
  if (all) {
    std::copy(mapped.begin(), mapped.end(), glyphs);
    return n;
  }
  // Mapped characters keep their glyphs; only the unmapped ones are marked.
  const WORD missing = flags == GGI_MARK_NONEXISTING_GLYPHS ? 0xFFFF : 0;
  for (int i = 0; i < n; ++i)
    glyphs[i] = mapped[static_cast<std::size_t>(i)] ? mapped[static_cast<std::size_t>(i)] : missing;
  return 0;
}

int AddFontResourceEx(const char* path, DWORD flags, void* reserved) {
  return path && CTFont::registerFontFile(path) ? 1 : 0;
}
