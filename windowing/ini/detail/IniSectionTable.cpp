#include "windowing/ini/detail/IniSectionTable.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "windowing/ini/detail/IniParser.h"

namespace swell {

namespace {

unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

int compareIniNames(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    // Names mostly differ in few bytes, and equal bytes fold alike.
    if (a[i] == b[i]) continue;
    const int ca = foldAscii(static_cast<unsigned char>(a[i]));
    const int cb = foldAscii(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// --- IniText ---

char* IniText::room(std::size_t bytes) {
  if (mCapacity - mSize < bytes) {
    const std::size_t capacity = std::max(mSize + bytes, 2 * mCapacity);
    std::unique_ptr<char[]> grown(new char[capacity]);
    if (mSize > 0) std::memcpy(grown.get(), mBytes.get(), mSize);
    mBytes = std::move(grown);
    mCapacity = capacity;
  }
  return mBytes.get() + mSize;
}

IniSpan IniText::append(std::string_view bytes) {
  char* to = room(bytes.size());
  if (!bytes.empty()) std::memcpy(to, bytes.data(), bytes.size());
  const IniSpan span{mSize, bytes.size()};
  commit(bytes.size());
  return span;
}

void IniText::erase(std::size_t from, std::size_t to) {
  std::memmove(mBytes.get() + from, mBytes.get() + to, mSize - to);
  mSize -= to - from;
}

void IniText::clear() {
  mBytes.reset();
  mSize = mCapacity = 0;
}

// --- IniSectionTable ---

void IniSectionTable::clear() {
  mSections.clear();
  mText.clear();
}

std::size_t IniSectionTable::lowerBoundSection(std::string_view name) const {
  const auto it = std::lower_bound(mSections.begin(), mSections.end(), name,
                                   [this](const IniSection& section, std::string_view wanted) {
                                     return compareIniNames(text(section.name), wanted) < 0;
                                   });
  return static_cast<std::size_t>(it - mSections.begin());
}

std::optional<std::size_t> IniSectionTable::findSection(std::string_view name) const {
  const std::size_t s = lowerBoundSection(name);
  if (s == mSections.size() || compareIniNames(sectionName(s), name) != 0) return std::nullopt;
  return s;
}

std::size_t IniSectionTable::lowerBound(const IniSection& section, std::string_view key) const {
  const auto it = std::lower_bound(section.entries.begin(), section.entries.end(), key,
                                   [this](const IniSection::Entry& entry, std::string_view wanted) {
                                     return compareIniNames(text(entry.key), wanted) < 0;
                                   });
  return static_cast<std::size_t>(it - section.entries.begin());
}

void IniSectionTable::readSection(IniSection& section) {
  if (section.read) return;
  section.read = true;
  IniParser::readEntries(mText, section.lines, section.entries);
  section.ordered = section.entries.size() < 2;
}

void IniSectionTable::orderSection(IniSection& section) {
  readSection(section);
  if (section.ordered) return;
  section.ordered = true;
  auto before = [this](const IniSection::Entry& a, const IniSection::Entry& b) {
    return compareIniNames(text(a.key), text(b.key)) < 0;
  };
  std::vector<IniSection::Entry>& entries = section.entries;
  // A file this table wrote is in order already: one pass tells.
  if (std::adjacent_find(entries.begin(), entries.end(),
                         [&](const IniSection::Entry& a, const IniSection::Entry& b) {
                           return !before(a, b);
                         }) == entries.end()) {
    return;
  }
  // Of equal keys the first in the file stays.
  std::stable_sort(entries.begin(), entries.end(), before);
  entries.erase(std::unique(entries.begin(), entries.end(),
                            [&](const IniSection::Entry& a, const IniSection::Entry& b) {
                              return !before(a, b);
                            }),
                entries.end());
}

void IniSectionTable::orderSections() {
  std::size_t s = 1;
  while (s < mSections.size() && compareIniNames(sectionName(s - 1), sectionName(s)) < 0)
    ++s;
  if (s >= mSections.size()) return;
  // The names are sorted as folded copies side by side, which compare as plain bytes and stay
  // in the cache, with their sections' indices, so that of equal names the first in the file
  // comes first; the sections then move once.
  std::size_t total = 0;
  for (const IniSection& section : mSections)
    total += section.name.size;
  std::string folded;
  folded.reserve(total);
  for (const IniSection& section : mSections) {
    for (const char c : text(section.name))
      folded += static_cast<char>(foldAscii(static_cast<unsigned char>(c)));
  }
  std::vector<std::pair<std::string_view, std::size_t>> order;
  order.reserve(mSections.size());
  std::size_t at = 0;
  for (const IniSection& section : mSections) {
    order.emplace_back(std::string_view(folded).substr(at, section.name.size), order.size());
    at += section.name.size;
  }
  std::sort(order.begin(), order.end());
  std::vector<IniSection> ordered;
  ordered.reserve(order.size());
  for (auto run = order.begin(); run != order.end();) {
    auto next = run + 1;
    while (next != order.end() && next->first == run->first)
      ++next;
    // Of a repeated header the first spelling, with what the last one holds.
    IniSection& last = mSections[(next - 1)->second];
    last.name = mSections[run->second].name;
    ordered.push_back(std::move(last));
    run = next;
  }
  mSections = std::move(ordered);
}

std::optional<std::string_view> IniSectionTable::findValue(std::string_view section,
                                                           std::string_view key) {
  const std::optional<std::size_t> s = findSection(section);
  if (!s) return std::nullopt;
  IniSection& found = mSections[*s];
  readSection(found);
  if (!found.ordered && !found.scanned) {
    // A file read for one lookup is not worth sorting: the first equal key in the file's
    // order is the one sorting would keep.
    found.scanned = true;
    for (const IniSection::Entry& entry : found.entries)
      if (compareIniNames(text(entry.key), key) == 0) return text(entry.value);
    return std::nullopt;
  }
  orderSection(found);
  const std::size_t at = lowerBound(found, key);
  if (at == found.entries.size() || compareIniNames(text(found.entries[at].key), key) != 0)
    return std::nullopt;
  return text(found.entries[at].value);
}

const std::vector<IniSection::Entry>& IniSectionTable::orderedEntries(std::size_t s) {
  orderSection(mSections[s]);
  return mSections[s].entries;
}

std::size_t IniSectionTable::insertSection(std::string_view name) {
  const std::size_t s = lowerBoundSection(name);
  if (s < mSections.size() && compareIniNames(sectionName(s), name) == 0) return s;
  IniSection section;
  section.name = mText.append(name);
  section.ordered = true;
  mSections.insert(mSections.begin() + static_cast<std::ptrdiff_t>(s), std::move(section));
  return s;
}

void IniSectionTable::clearSection(std::size_t s) {
  mSections[s].entries.clear();
  mSections[s].read = true;
  mSections[s].ordered = true;
}

bool IniSectionTable::setValue(std::size_t s, std::string_view key, std::string_view value) {
  IniSection& section = mSections[s];
  orderSection(section);
  const std::size_t at = lowerBound(section, key);
  if (at < section.entries.size() && compareIniNames(text(section.entries[at].key), key) == 0) {
    if (text(section.entries[at].value) == value) return false;
    section.entries[at].value = mText.append(value);
    return true;
  }
  const IniSpan keySpan = mText.append(key);
  const IniSpan valueSpan = mText.append(value);
  section.entries.insert(section.entries.begin() + static_cast<std::ptrdiff_t>(at),
                         IniSection::Entry{keySpan, valueSpan});
  return true;
}

bool IniSectionTable::eraseValue(std::size_t s, std::string_view key) {
  IniSection& section = mSections[s];
  orderSection(section);
  const std::size_t at = lowerBound(section, key);
  if (at == section.entries.size() || compareIniNames(text(section.entries[at].key), key) != 0)
    return false;
  section.entries.erase(section.entries.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

std::string formatIniText(IniSectionTable& table) {
  std::size_t total = 0;
  for (std::size_t s = 0; s < table.sectionCount(); ++s) {
    total += table.sectionName(s).size() + 4;
    for (const IniSection::Entry& entry : table.orderedEntries(s))
      total += entry.key.size + entry.value.size + 2;
  }
  std::string text;
  text.reserve(total);
  for (std::size_t s = 0; s < table.sectionCount(); ++s) {
    text += '[';
    text += table.sectionName(s);
    text += "]\n";
    // Entries read from lines that already say "key=value" one after another, as in a file
    // this table wrote, are copied as one run of those lines.
    IniSpan run;
    auto flush = [&] {
      text += table.text(run);
      run = IniSpan();
    };
    for (const IniSection::Entry& entry : table.orderedEntries(s)) {
      if (entry.key.size == 0) continue;
      const std::size_t keyEnd = entry.key.at + entry.key.size;
      const std::size_t lineEnd = entry.value.at + entry.value.size;
      const bool asRead = entry.value.at == keyEnd + 1 && table.text({keyEnd, 1}) == "=" &&
                          lineEnd < table.textSize() && table.text({lineEnd, 1}) == "\n";
      if (asRead && run.size > 0 && run.at + run.size == entry.key.at) {
        run.size = lineEnd + 1 - run.at;
        continue;
      }
      flush();
      if (asRead) {
        run = IniSpan{entry.key.at, lineEnd + 1 - entry.key.at};
        continue;
      }
      text += table.text(entry.key);
      text += '=';
      text += table.text(entry.value);
      text += '\n';
    }
    flush();
    text += '\n';
  }
  return text;
}

}  // namespace swell
