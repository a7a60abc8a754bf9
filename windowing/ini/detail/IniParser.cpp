#include "windowing/ini/detail/IniParser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace swell {

namespace {

// Editors on some systems start a UTF-8 text file with this mark; it is not part of the
// first line, which would otherwise not read as a header.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A file starting with one of these holds UTF-16 text, which this reader cannot take: read
// byte by byte it would look empty, and a write would replace it with the one new key.
constexpr std::string_view kUtf16ByteOrderMarks[] = {"\xFF\xFE", "\xFE\xFF"};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

IniParser::IniParser(IniSectionTable& table) : mTable(table) {
  mTable.clear();
}

bool IniParser::take(std::size_t count) {
  mTable.mText.commit(count);
  scan(false);
  return !mStopped;
}

bool IniParser::feed(std::string_view bytes) {
  if (!bytes.empty()) std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
  return take(bytes.size());
}

void IniParser::finish() {
  scan(true);
  closeSection(mTable.mText.size());
  mTable.orderSections();
}

void IniParser::stop() {
  mStopped = true;
  mIncomplete = true;
}

bool IniParser::takeTextStart(bool atEnd) {
  const std::string_view start(mTable.mText.data(), mTable.mText.size());
  auto couldStillBe = [&](std::string_view mark) {
    return start.size() < mark.size() && mark.substr(0, start.size()) == start;
  };
  for (std::string_view mark : kUtf16ByteOrderMarks) {
    if (start.substr(0, mark.size()) == mark) {
      stop();
      return true;
    }
  }
  if (start.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
    mTextStart = mCursor = kUtf8ByteOrderMark.size();
  } else if (!atEnd && (couldStillBe(kUtf8ByteOrderMark) || couldStillBe(kUtf16ByteOrderMarks[0]) ||
                        couldStillBe(kUtf16ByteOrderMarks[1]))) {
    return false;
  }
  mAtTextStart = false;
  return true;
}

bool IniParser::overHeaderlessLimit(std::size_t end) {
  if (mSeenHeader || end - mTextStart <= kIniHeaderlessLimit) return false;
  stop();
  return true;
}

namespace {

// The line ends (CR or LF) and the '=' signs among 64 bytes, one bit for each byte. The text
// is looked at 64 bytes at a time and each line found from these: lines are short, and a
// search call for each would cost more than the line.
struct Marks {
  std::uint64_t ends = 0;
  std::uint64_t equals = 0;
};

// With WithEquals false, only the line ends are found.
template <bool WithEquals>
Marks marksOf(const char* bytes) {
  Marks marks;
#if defined(__SSE2__)
  const __m128i lineFeed = _mm_set1_epi8('\n'), carriageReturn = _mm_set1_epi8('\r'),
                equals = _mm_set1_epi8('=');
  for (int i = 0; i < 4; ++i) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
    const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, lineFeed), _mm_cmpeq_epi8(block, carriageReturn))));
    marks.ends |= static_cast<std::uint64_t>(ends) << (16 * i);
    if (WithEquals) {
      const auto signs =
          static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, equals)));
      marks.equals |= static_cast<std::uint64_t>(signs) << (16 * i);
    }
  }
#else
  for (int i = 0; i < 64; ++i) {
    marks.ends |= static_cast<std::uint64_t>(bytes[i] == '\n' || bytes[i] == '\r') << i;
    if (WithEquals) marks.equals |= static_cast<std::uint64_t>(bytes[i] == '=') << i;
  }
#endif
  return marks;
}

// The marks of the `count` (at most 64) bytes at `bytes`.
template <bool WithEquals>
Marks marksOf(const char* bytes, std::size_t count) {
  if (count == 64) return marksOf<WithEquals>(bytes);
  char last[64] = {};
  std::memcpy(last, bytes, count);
  return marksOf<WithEquals>(last);
}

std::size_t lowestBit(std::uint64_t bits) {
  return static_cast<std::size_t>(__builtin_ctzll(bits));
}

}  // namespace

void IniParser::scan(bool atEnd) {
  IniText& text = mTable.mText;
  if (mAtTextStart && !mStopped && !takeTextStart(atEnd)) return;
  // Loading looks only for the section headers, and at how long lines are: a section's entries
  // are read from its lines when it is first used. A CR LF pair ends a line at the CR and
  // leaves an empty line, which is nothing.
  std::size_t at = std::max(mSearched, mCursor);
  while (!mStopped && at < text.size()) {
    if (mSeenHeader && !mSkippingRest && at - mCursor < kIniMaxLineLength) {
      const std::size_t skipped = skipLines(at);
      if (skipped != at) {
        at = skipped;
        continue;
      }
    }
    const std::size_t count = std::min<std::size_t>(64, text.size() - at);
    for (std::uint64_t ends = marksOf<false>(text.data() + at, count).ends; ends != 0;
         ends &= ends - 1) {
      const std::size_t end = at + lowestBit(ends);
      // Most lines are entries, or nothing, of a section: their first byte tells.
      const char first = text.data()[mCursor];
      if (mSeenHeader && !mSkippingRest && first != '[' && !isBlank(first) &&
          end - mCursor <= kIniMaxLineLength) {
        mCursor = end + 1;
        continue;
      }
      if (!endLine(end, 1)) return;
    }
    at += count;
  }
  mSearched = at;
  if (mStopped || mCursor == text.size()) return;

  // The line still open where the text so far ends.
  if (atEnd) {
    endLine(text.size(), 0);
  } else if (!overHeaderlessLimit(text.size()) && !mSkippingRest &&
             text.size() - mCursor > kIniMaxLineLength) {
    // Longer than a line may be: its first part is looked at now, and what follows it is not
    // kept while it arrives.
    lookForHeader(mCursor, mCursor + kIniMaxLineLength, mCursor + kIniMaxLineLength);
    mIncomplete = true;
    mSkippingRest = true;
    mCursor += kIniMaxLineLength;
  }
  if (mSkippingRest) {
    text.erase(mCursor, text.size());
    mSearched = mCursor;
  }
}

std::size_t IniParser::skipLines(std::size_t at) {
  const char* bytes = mTable.mText.data();
  // The line begun before `at` was looked at only up to it: led by a blank or '[', it may
  // still be a header.
  if (mCursor < at && (bytes[mCursor] == '[' || isBlank(bytes[mCursor]))) return at;
  // No line that ends before `window` is longer than a line may be.
  const std::size_t window = std::min(mTable.mText.size(), mCursor + kIniMaxLineLength);
  // The start of the line already found led by something other than '[': its later '['
  // bytes are text, and its leading blanks are not walked again for each of them.
  std::size_t textLine = kNowhere;
  while (at < window) {
    const void* found = std::memchr(bytes + at, '[', window - at);
    const std::size_t stop =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes) : window;
    // The line holding `stop` starts after the last line end before it.
    for (std::size_t i = stop; i > at; --i) {
      if (bytes[i - 1] == '\n' || bytes[i - 1] == '\r') {
        mCursor = i;
        break;
      }
    }
    if (!found) return stop;
    if (mCursor != textLine) {
      std::size_t first = mCursor;
      while (first < stop && isBlank(bytes[first]))
        ++first;
      if (first == stop) return stop;  // the '[' leads its line
      textLine = mCursor;
    }
    at = stop + 1;
  }
  return at;
}

bool IniParser::endLine(std::size_t end, std::size_t terminator) {
  if (mSkippingRest) {
    // The rest of a cut line ends here: it is dropped rather than read as lines of its own (a
    // value's tail must not turn into entries or headers). A section whose header was that
    // line starts after it.
    mSkippingRest = false;
    if (mHaveCurrent && mSection.lines.at == mCursor) mSection.lines.at = end + terminator;
  } else if (overHeaderlessLimit(end + terminator)) {
    return false;
  } else {
    if (end - mCursor > kIniMaxLineLength) mIncomplete = true;
    lookForHeader(mCursor, std::min(end, mCursor + kIniMaxLineLength), end + terminator);
  }
  mCursor = end + terminator;
  return true;
}

void IniParser::lookForHeader(std::size_t from, std::size_t to, std::size_t next) {
  const char* bytes = mTable.mText.data();
  const std::size_t lineStart = from;
  while (from < to && isBlank(bytes[from]))
    ++from;
  if (from == to || bytes[from] != '[') return;
  // Text after a NUL byte is not part of the line, as for any C string.
  if (const void* nul = std::memchr(bytes + from, '\0', to - from))
    to = static_cast<std::size_t>(static_cast<const char*>(nul) - bytes);
  const void* close = std::memchr(bytes + from, ']', to - from);
  if (!close) return;  // not a header; the section goes on
  closeSection(lineStart);
  const std::size_t nameEnd = static_cast<std::size_t>(static_cast<const char*>(close) - bytes);
  if (nameEnd == from + 1) return;  // "[]" drops the lines up to the next header
  mSection.name = IniSpan{from + 1, nameEnd - from - 1};
  mSection.lines.at = next;
  mHaveCurrent = true;
  mSeenHeader = true;
}

void IniParser::closeSection(std::size_t linesEnd) {
  if (!mHaveCurrent) return;
  mSection.lines.size = linesEnd - mSection.lines.at;
  mSection.read = mSection.lines.size == 0;
  mTable.mSections.push_back(std::move(mSection));
  mSection = IniSection();
  mHaveCurrent = false;
}

void IniParser::readEntries(const IniText& text, IniSpan lines,
                            std::vector<IniSection::Entry>& entries) {
  const char* bytes = text.data();
  const std::size_t end = lines.at + lines.size;
  // Where the next NUL byte of the lines is, `end` when there is none, searched for once for
  // all the lines before it.
  auto findNul = [&](std::size_t from) {
    const void* found = std::memchr(bytes + from, '\0', end - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes) : end;
  };
  std::size_t nul = findNul(lines.at);
  auto nextNul = [&](std::size_t from) {
    if (nul < from) nul = findNul(from);
    return nul;
  };
  // Takes the line [from, to) whose first '=' is at `equals` (kNowhere: none).
  auto takeLine = [&](std::size_t from, std::size_t to, std::size_t equals) {
    // Text after a NUL byte is not part of the line, as for any C string.
    to = std::min({to, from + kIniMaxLineLength, nextNul(from)});
    if (equals >= to) return;
    while (to > from && isBlank(bytes[to - 1]))
      --to;
    while (from < to && isBlank(bytes[from]))
      ++from;
    // A line led by '[' holds no entry: a header without its ']' is dropped whole.
    if (from == to || bytes[from] == '[' || equals == from) return;
    entries.push_back({IniSpan{from, equals - from}, IniSpan{equals + 1, to - equals - 1}});
  };
  std::size_t lineStart = lines.at;
  std::size_t equals = kNowhere;
  for (std::size_t at = lines.at; at < end; at += 64) {
    Marks marks = marksOf<true>(bytes + at, std::min<std::size_t>(64, end - at));
    while (marks.ends != 0) {
      const std::uint64_t lineEnd = marks.ends & (0 - marks.ends);
      const std::uint64_t before = marks.equals & (lineEnd - 1);
      if (equals == kNowhere && before != 0) equals = at + lowestBit(before);
      takeLine(lineStart, at + lowestBit(lineEnd), equals);
      lineStart = at + lowestBit(lineEnd) + 1;
      equals = kNowhere;
      marks.equals &= ~((lineEnd - 1) | lineEnd);
      marks.ends &= ~lineEnd;
    }
    if (equals == kNowhere && marks.equals != 0) equals = at + lowestBit(marks.equals);
  }
  if (lineStart < end) takeLine(lineStart, end, equals);
}

}  // namespace swell
