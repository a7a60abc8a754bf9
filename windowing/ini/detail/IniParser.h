#pragma once

// Turns ini file text into an IniSectionTable. The text arrives in pieces as it is read
// from disk; the result does not depend on where the pieces are split.

#include <cstddef>
#include <string>
#include <string_view>

#include "windowing/ini/detail/IniSectionTable.h"

namespace swell {

// The longest line content (its line end not counted) that is read whole. A longer line
// is cut there and the rest of it skipped; writers refuse to make such lines.
inline constexpr std::size_t kIniMaxLineLength = 33554432 - 1;

// Bytes of lines (line ends included) read before the first section header after which a
// file is taken not to be an ini file, and reading stops.
inline constexpr std::size_t kIniHeaderlessLimit = 262144;

class IniParser {
 public:
  // Fills `table`, which is emptied first and must outlive the parser.
  explicit IniParser(IniSectionTable& table);

  // Takes the next bytes of the text. Returns false once no more input is wanted.
  bool feed(std::string_view bytes);

  // Ends the text: takes an unterminated last line and orders the last section.
  void finish();

  // True when part of the text was not taken in (a cut line, or reading stopped at the
  // headerless limit): such a table must not be written back over its file.
  bool incomplete() const { return mIncomplete; }

 private:
  std::size_t skipByteOrderMark(std::string_view bytes);
  void appendToLine(std::string_view piece);
  void endLine(std::size_t terminatorLength);
  void countHeaderless(std::size_t bytes);
  void takeLine(std::string_view line);
  void closeSection();

  IniSectionTable& mTable;
  std::string mLine;         // content of the line being read, without its end
  std::string mSectionName;  // name of the section entries go to, when mHaveCurrent
  IniSection mSection;       // entries of that section read so far, unordered
  bool mHaveCurrent = false;
  bool mSeenHeader = false;            // a named section header was read
  std::size_t mByteOrderMarkSeen = 0;  // bytes of a leading byte-order mark read so far
  bool mAtTextStart = true;            // no byte past a leading byte-order mark was read
  bool mSkipLineFeed = false;          // the last line ended in CR; a following LF belongs to it
  bool mSkippingRest = false;          // inside the cut-off rest of an overlong line
  bool mStopped = false;
  bool mIncomplete = false;
  std::size_t mHeaderlessBytes = 0;
};

}  // namespace swell
