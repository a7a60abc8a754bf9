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

std::size_t IniParser::Finder::search(const IniText& text, std::size_t from) {
  const std::size_t start = std::max(from, searchedTo);
  const void* hit =
      start < text.size() ? std::memchr(text.data() + start, byte, text.size() - start) : nullptr;
  if (!hit) {
    found = kNone;
    searchedTo = text.size();
    return text.size();
  }
  found = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
  searchedTo = found + 1;
  return found;
}

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
  closeSection();
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

Marks marksOf(const char* bytes) {
  Marks marks;
#if defined(__SSE2__)
  const __m128i lineFeed = _mm_set1_epi8('\n'), carriageReturn = _mm_set1_epi8('\r'),
                equals = _mm_set1_epi8('=');
  for (int i = 0; i < 4; ++i) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + 16 * i));
    const auto ends = static_cast<std::uint32_t>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, lineFeed), _mm_cmpeq_epi8(block, carriageReturn))));
    const auto signs = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, equals)));
    marks.ends |= static_cast<std::uint64_t>(ends) << (16 * i);
    marks.equals |= static_cast<std::uint64_t>(signs) << (16 * i);
  }
#else
  for (int i = 0; i < 64; ++i) {
    marks.ends |= static_cast<std::uint64_t>(bytes[i] == '\n' || bytes[i] == '\r') << i;
    marks.equals |= static_cast<std::uint64_t>(bytes[i] == '=') << i;
  }
#endif
  return marks;
}

std::size_t lowestBit(std::uint64_t bits) {
  return static_cast<std::size_t>(__builtin_ctzll(bits));
}

}  // namespace

void IniParser::scan(bool atEnd) {
  IniText& text = mTable.mText;
  if (mAtTextStart && !mStopped && !takeTextStart(atEnd)) return;
  // A CR LF pair ends a line at the CR and leaves an empty line, which is nothing.
  std::size_t at = std::max(mSearched, mCursor);
  while (!mStopped && at < text.size()) {
    const std::size_t count = std::min<std::size_t>(64, text.size() - at);
    Marks marks;
    if (count == 64) {
      marks = marksOf(text.data() + at);
    } else {
      char last[64] = {};
      std::memcpy(last, text.data() + at, count);
      marks = marksOf(last);
    }
    while (marks.ends != 0) {
      const std::uint64_t end = marks.ends & (0 - marks.ends);
      const std::uint64_t before = marks.equals & (end - 1);
      if (mEquals == kNowhere && before != 0) mEquals = at + lowestBit(before);
      if (!endLine(at + lowestBit(end), 1)) return;
      marks.equals &= ~((end - 1) | end);
      marks.ends &= ~end;
    }
    if (mEquals == kNowhere && marks.equals != 0) mEquals = at + lowestBit(marks.equals);
    at += count;
  }
  mSearched = at;
  if (mStopped || mCursor == text.size()) return;

  // The line still open where the text so far ends.
  if (atEnd) {
    endLine(text.size(), 0);
  } else if (overHeaderlessLimit(text.size())) {
  } else if (!mSkippingRest && text.size() - mCursor > kIniMaxLineLength) {
    // Longer than a line may be: its first part is read now, and what follows it is not
    // kept while it arrives.
    takeLine(mCursor, mCursor + kIniMaxLineLength);
    mIncomplete = true;
    mSkippingRest = true;
    mCursor += kIniMaxLineLength;
  }
  if (mSkippingRest) {
    text.erase(mCursor, text.size());
    mNuls = Finder{'\0'};
    mSearched = mCursor;
  }
}

bool IniParser::endLine(std::size_t end, std::size_t terminator) {
  if (mSkippingRest) {
    // The rest of a cut line ends here: it is dropped rather than read as lines of its own (a
    // value's tail must not turn into entries or headers).
    mSkippingRest = false;
  } else if (overHeaderlessLimit(end + terminator)) {
    return false;
  } else if (end - mCursor > kIniMaxLineLength) {
    takeLine(mCursor, mCursor + kIniMaxLineLength);
    mIncomplete = true;
  } else {
    takeLine(mCursor, end);
  }
  mEquals = kNowhere;
  mCursor = end + terminator;
  return true;
}

void IniParser::takeLine(std::size_t from, std::size_t to) {
  const char* bytes = mTable.mText.data();
  std::size_t equals = mEquals;
  // Text after a NUL byte is not part of the line, as for any C string.
  to = std::min(to, mNuls.next(mTable.mText, from));
  if (equals >= to) equals = kNowhere;
  while (to > from && isBlank(bytes[to - 1]))
    --to;
  while (from < to && isBlank(bytes[from]))
    ++from;
  if (from == to) return;

  if (bytes[from] == '[') {
    const void* close = std::memchr(bytes + from, ']', to - from);
    if (!close) return;  // not a header; the section goes on
    closeSection();
    const std::size_t nameEnd = static_cast<std::size_t>(static_cast<const char*>(close) - bytes);
    if (nameEnd == from + 1) return;  // "[]" drops the lines up to the next header
    mSection.name = IniSpan{from + 1, nameEnd - from - 1};
    mSection.entries.reserve(mEntriesBefore);
    mHaveCurrent = true;
    mSeenHeader = true;
    return;
  }
  if (!mHaveCurrent || equals == kNowhere || equals == from) return;
  mSection.entries.push_back({IniSpan{from, equals - from}, IniSpan{equals + 1, to - equals - 1}});
}

void IniParser::closeSection() {
  if (!mHaveCurrent) return;
  mEntriesBefore = mSection.entries.size();
  mSection.ordered = mSection.entries.size() < 2;
  mTable.mSections.push_back(std::move(mSection));
  mSection = IniSectionTable::Section();
  mHaveCurrent = false;
}

}  // namespace swell
