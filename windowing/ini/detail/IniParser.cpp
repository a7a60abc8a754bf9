#include "windowing/ini/detail/IniParser.h"

#include <utility>

namespace swell {

namespace {

// Editors on some systems start a UTF-8 text file with this mark; it is not part of the
// first line, which would otherwise not read as a header.
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
// A file starting with one of these holds UTF-16 text, which this reader cannot take: read
// byte by byte it would look empty, and a write would replace it with the one new key.
constexpr std::string_view kUtf16ByteOrderMarks[] = {"\xFF\xFE", "\xFE\xFF"};

bool startsAMark(std::string_view start, std::string_view mark) {
  return mark.substr(0, start.size()) == start;
}

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isLineEnd(char c) {
  return c == '\n' || c == '\r';
}

}  // namespace

IniParser::IniParser(IniSectionTable& table) : mTable(table) {
  mTable.clear();
}

std::size_t IniParser::takeTextStart(std::string_view bytes) {
  std::size_t i = 0;
  while (mAtTextStart && i < bytes.size()) {
    mTextStart.push_back(bytes[i++]);
    for (std::string_view mark : kUtf16ByteOrderMarks) {
      if (mTextStart == mark) {
        mAtTextStart = false;
        mStopped = true;
        mIncomplete = true;
        return bytes.size();
      }
    }
    if (mTextStart == kUtf8ByteOrderMark) {
      mAtTextStart = false;
    } else if (!startsAMark(mTextStart, kUtf8ByteOrderMark) &&
               !startsAMark(mTextStart, kUtf16ByteOrderMarks[0]) &&
               !startsAMark(mTextStart, kUtf16ByteOrderMarks[1])) {
      // Not a mark after all: the bytes held back belong to the first line.
      mAtTextStart = false;
      appendToLine(mTextStart);
    }
  }
  return i;
}

bool IniParser::feed(std::string_view bytes) {
  std::size_t i = takeTextStart(bytes);
  const std::size_t n = bytes.size();
  while (i < n && !mStopped) {
    if (mSkipLineFeed) {
      mSkipLineFeed = false;
      if (bytes[i] == '\n') {
        countHeaderless(1);
        ++i;
        continue;
      }
    }
    std::size_t end = i;
    while (end < n && !isLineEnd(bytes[end]))
      ++end;
    if (!mSkippingRest) appendToLine(bytes.substr(i, end - i));
    if (mStopped || end == n) break;
    // A CR, LF or CR LF ends the line (or the skipped rest of a cut one).
    if (mSkippingRest) {
      mSkippingRest = false;
    } else {
      endLine(1);
    }
    mSkipLineFeed = bytes[end] == '\r';
    i = end + 1;
  }
  return !mStopped;
}

void IniParser::finish() {
  if (mAtTextStart) {
    mAtTextStart = false;
    appendToLine(mTextStart);
  }
  if (!mStopped && !mSkippingRest && !mLine.empty()) {
    countHeaderless(mLine.size());
    if (!mStopped) takeLine(mLine);
  }
  mLine.clear();
  closeSection();
  // A repeated header replaces what was read for that section before it, so of equal
  // names the last section read wins (under the first spelling).
  mTable.sortAndUnify(/*keepLastValue=*/true);
}

void IniParser::appendToLine(std::string_view piece) {
  // Checked while the line grows, so a headerless file never buffers more than the limit.
  if (!mSeenHeader && mHeaderlessBytes + mLine.size() + piece.size() > kIniHeaderlessLimit) {
    mStopped = true;
    mIncomplete = true;
    return;
  }
  if (mLine.size() + piece.size() > kIniMaxLineLength) {
    mLine.append(piece.substr(0, kIniMaxLineLength - mLine.size()));
    mIncomplete = true;
    takeLine(mLine);
    mLine.clear();
    // The rest is dropped rather than read as lines of its own: a value's tail must not
    // turn into entries or headers.
    mSkippingRest = true;
    return;
  }
  mLine.append(piece);
}

void IniParser::endLine(std::size_t terminatorLength) {
  countHeaderless(mLine.size() + terminatorLength);
  if (!mStopped) takeLine(mLine);
  mLine.clear();
}

void IniParser::countHeaderless(std::size_t bytes) {
  if (mSeenHeader) return;
  mHeaderlessBytes += bytes;
  if (mHeaderlessBytes > kIniHeaderlessLimit) {
    mStopped = true;
    mIncomplete = true;
  }
}

void IniParser::takeLine(std::string_view line) {
  // Text after a NUL byte is not part of the line, as for any C string.
  if (auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
  while (!line.empty() && (isBlank(line.back()) || isLineEnd(line.back())))
    line.remove_suffix(1);
  while (!line.empty() && isBlank(line.front()))
    line.remove_prefix(1);
  if (line.empty()) return;

  if (line.front() == '[') {
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return;  // not a header; the section goes on
    closeSection();
    std::string_view name = line.substr(1, close - 1);
    if (name.empty()) return;  // "[]" drops the lines up to the next header
    mSectionName.assign(name);
    mHaveCurrent = true;
    mSeenHeader = true;
    return;
  }
  if (!mHaveCurrent) return;
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return;
  mSection.append(std::string(line.substr(0, equals)), std::string(line.substr(equals + 1)));
}

void IniParser::closeSection() {
  if (!mHaveCurrent) return;
  mSection.sortAndUnify();
  mTable.append(std::move(mSectionName), std::move(mSection));
  mSection = IniSection();
  mSectionName.clear();
  mHaveCurrent = false;
}

}  // namespace swell
