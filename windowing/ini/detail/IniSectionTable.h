#pragma once

// The in-memory form of an ini file: the file's bytes, read into one buffer, and tables of
// sections and entries that point into it, so that loading a file allocates nothing per key.
// Sections are kept in order of case-insensitive name, which is how lookups find them and how
// the file is written back. A section's entries are read from its lines when it is first used,
// and keep the file's order until something needs them ordered (a second lookup, a listing, an
// edit or a write); then they are sorted once and stay so. Names and values set later are
// appended to the same buffer.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace swell {

// Compares two names as the ini tables order them: bytes, with ASCII letters folded to
// lower case (the C locale's strcasecmp). Returns <0, 0 or >0.
int compareIniNames(std::string_view a, std::string_view b);

// A run of bytes of a table's text.
struct IniSpan {
  std::size_t at = 0;
  std::size_t size = 0;
};

// A growing byte buffer that never clears the room it makes: what is read lands in it once.
class IniText {
 public:
  const char* data() const { return mBytes.get(); }
  char* data() { return mBytes.get(); }
  std::size_t size() const { return mSize; }
  // At least `bytes` of room after the end; what is written there joins through commit.
  char* room(std::size_t bytes);
  void commit(std::size_t bytes) { mSize += bytes; }
  IniSpan append(std::string_view bytes);
  // Takes bytes [from, to) out, moving the rest down.
  void erase(std::size_t from, std::size_t to);
  void clear();

 private:
  std::unique_ptr<char[]> mBytes;
  std::size_t mSize = 0;
  std::size_t mCapacity = 0;
};

// One section of a table: its name and its entries, the (key, value) pairs of its lines.
struct IniSection {
  struct Entry {
    IniSpan key;
    IniSpan value;  // as stored in the file (untrimmed)
  };

  IniSpan name;
  IniSpan lines;  // the section's lines in the text, read into entries on first use
  std::vector<Entry> entries;
  bool read = true;      // entries holds what the lines hold
  bool ordered = false;  // entries sorted by key, keys unique
  bool scanned = false;  // one lookup was answered by a scan in the file's order
};

// The sections of a file, in order of name, and the text they point into.
class IniSectionTable {
 public:
  IniSectionTable() = default;
  IniSectionTable(const IniSectionTable&) = delete;
  IniSectionTable& operator=(const IniSectionTable&) = delete;

  void clear();
  bool empty() const { return mSections.empty(); }
  std::size_t sectionCount() const { return mSections.size(); }
  std::string_view text(IniSpan span) const {
    return std::string_view(mText.data() + span.at, span.size);
  }
  std::string_view sectionName(std::size_t s) const { return text(mSections[s].name); }
  // The bytes the table holds: the text read and the names and values set since.
  std::size_t textSize() const { return mText.size(); }

  // The index of the named section, if there is one.
  std::optional<std::size_t> findSection(std::string_view name) const;
  // The value stored under the key: of equal keys the first in the file.
  std::optional<std::string_view> findValue(std::string_view section, std::string_view key);
  // The section's entries in key order (sorted first when they are not yet).
  const std::vector<IniSection::Entry>& orderedEntries(std::size_t s);

  // Edits. The index of the named section, made (empty) when missing.
  std::size_t insertSection(std::string_view name);
  void eraseSection(std::size_t s) {
    mSections.erase(mSections.begin() + static_cast<std::ptrdiff_t>(s));
  }
  void clearSection(std::size_t s);
  // Sets the key's value; an existing key keeps its stored spelling. False when the key held
  // exactly that value already.
  bool setValue(std::size_t s, std::string_view key, std::string_view value);
  // False when there was no such key.
  bool eraseValue(std::size_t s, std::string_view key);

 private:
  friend class IniParser;

  // The position of the entry with the key in an ordered section, or where it would go.
  std::size_t lowerBound(const IniSection& section, std::string_view key) const;
  std::size_t lowerBoundSection(std::string_view name) const;
  void readSection(IniSection& section);
  void orderSection(IniSection& section);
  // After loading: the sections in order, of equal names the first spelling with the last
  // one's entries (a repeated header replaces what was read for it before).
  void orderSections();

  IniText mText;
  std::vector<IniSection> mSections;
};

// The file text of a table: each section as "[name]", its "key=value" lines and one empty
// line, in table order. Entries with an empty key are left out.
std::string formatIniText(IniSectionTable& table);

}  // namespace swell
