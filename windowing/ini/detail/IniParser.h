#pragma once

// Reads ini file text into an IniSectionTable in place: the bytes go into the table's own
// buffer once, as they are read from disk, and its sections and entries point into them.
// Loading finds the sections; each section's entries are read from its lines when it is first
// used. The result does not depend on how the bytes arrive.

#include <cstddef>
#include <string_view>
#include <vector>

#include "windowing/ini/detail/IniSectionTable.h"

namespace swell {

// The longest line content (its line end not counted) that is read whole. A longer line
// is cut there and the rest of it skipped; writers refuse to make such lines.
inline constexpr std::size_t kIniMaxLineLength = 33554432 - 1;

// Bytes of lines (line ends included) read before the first section header after which a
// file is taken not to be an ini file, and reading stops.
inline constexpr std::size_t kIniHeaderlessLimit = 262144;

// The longest section name that can begin a file that is still read: its header line, "[",
// the name, "]" and the line feed, is counted towards the headerless limit. Writers hold every
// name to it, wherever it sorts, as the section that comes first changes as others come and go.
inline constexpr std::size_t kIniMaxSectionNameLength = kIniHeaderlessLimit - 3;

class IniParser {
 public:
  // Fills `table`, which is emptied first and must outlive the parser.
  explicit IniParser(IniSectionTable& table);

  // Room for at least `bytes` more bytes of text, to be read straight into it; take() then
  // takes in the first `count` of them. take() returns false once no more input is wanted.
  char* room(std::size_t bytes) { return mTable.mText.room(bytes); }
  bool take(std::size_t count);
  // Takes the next bytes of the text from elsewhere.
  bool feed(std::string_view bytes);

  // Ends the text: takes an unterminated last line and orders the sections.
  void finish();

  // Reads the lines `lines` of `text`, the lines of one section, into `entries`, as loading
  // the whole text reads them.
  static void readEntries(const IniText& text, IniSpan lines,
                          std::vector<IniSection::Entry>& entries);

  // True when part of the text was not taken in (a cut line, reading stopped at the
  // headerless limit, or UTF-16 text): such a table must not be written back over its file.
  bool incomplete() const { return mIncomplete; }

 private:
  // Decides on a byte-order mark; false while too few bytes have arrived to tell.
  bool takeTextStart(bool atEnd);
  // Takes the complete lines (and, at the end, the last one) after mCursor.
  void scan(bool atEnd);
  // Once a header was read, only a line whose first byte other than a blank is '[' can
  // change anything: skips from `at` (inside the line at mCursor) over the lines before the
  // next such line, searching for '[' alone. Returns where the careful scan goes on: the
  // '[' of such a line, where the text ends, or `at` itself when the line at mCursor, read
  // only up to `at`, may be such a line.
  std::size_t skipLines(std::size_t at);
  // Ends the line at mCursor where its end (of `terminator` bytes) is found; false when
  // reading stops there.
  bool endLine(std::size_t end, std::size_t terminator);
  // Stops reading when the bytes up to `end` lie before any header and pass the limit.
  bool overHeaderlessLimit(std::size_t end);
  // Starts a section when the line [from, to), followed by the line at `next`, is a header.
  void lookForHeader(std::size_t from, std::size_t to, std::size_t next);
  // Ends the section being read, whose lines end at `linesEnd`.
  void closeSection(std::size_t linesEnd);
  void stop();

  static constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

  IniSectionTable& mTable;
  std::size_t mCursor = 0;     // the start of the first line not yet taken
  std::size_t mTextStart = 0;  // where the text begins, after a byte-order mark
  // How far the text has been searched for line ends, so that a line arriving in pieces is
  // searched once.
  std::size_t mSearched = 0;
  IniSection mSection;  // the section being read, while mHaveCurrent
  bool mHaveCurrent = false;
  bool mSeenHeader = false;    // a named section header was read
  bool mAtTextStart = true;    // the first bytes are still being looked at
  bool mSkippingRest = false;  // inside the cut-off rest of an overlong line
  bool mStopped = false;
  bool mIncomplete = false;
};

}  // namespace swell
