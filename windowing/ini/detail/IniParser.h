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

  // True when part of the text was not taken in (a cut line, reading stopped at the
  // headerless limit, or UTF-16 text): such a table must not be written back over its file.
  bool incomplete() const { return mIncomplete; }

 private:
  // Takes a byte-order mark off the start of the text; returns the bytes it consumed.
  std::size_t takeTextStart(std::string_view bytes);
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
  bool mSeenHeader = false;    // a named section header was read
  std::string mTextStart;      // the first bytes, held back while they may be a byte-order mark
  bool mAtTextStart = true;    // the first bytes are still being looked at
  bool mSkipLineFeed = false;  // the last line ended in CR; a following LF belongs to it
  bool mSkippingRest = false;  // inside the cut-off rest of an overlong line
  bool mStopped = false;
  bool mIncomplete = false;
  std::size_t mHeaderlessBytes = 0;
};

}  // namespace swell
