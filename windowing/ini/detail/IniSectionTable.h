#pragma once

// The in-memory form of an ini file: a table of sections, each a table of key=value
// pairs. Both are arrays kept sorted by case-insensitive name, so lookups are binary
// searches and the file is written back in that order.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace swell {

// Compares two names as the ini tables order them: bytes, with ASCII letters folded to
// lower case (the C locale's strcasecmp). Returns <0, 0 or >0.
int compareIniNames(std::string_view a, std::string_view b);

// An array of (name, value) pairs ordered by compareIniNames, names unique under it.
template <typename Value>
class IniKeyedArray {
 public:
  using Entry = std::pair<std::string, Value>;

  Value* find(std::string_view name) {
    auto it = lowerBound(name);
    return (it != mEntries.end() && compareIniNames(it->first, name) == 0) ? &it->second : nullptr;
  }
  const Value* find(std::string_view name) const {
    return const_cast<IniKeyedArray*>(this)->find(name);
  }

  // Inserts in order. An existing equal name keeps its stored spelling and takes the
  // new value.
  Value& insert(std::string_view name, Value value) {
    auto it = lowerBound(name);
    if (it != mEntries.end() && compareIniNames(it->first, name) == 0) {
      it->second = std::move(value);
      return it->second;
    }
    return mEntries.insert(it, Entry(std::string(name), std::move(value)))->second;
  }

  // Appends without ordering; sortAndUnify() must follow before any lookup.
  void append(std::string name, Value value) {
    mEntries.emplace_back(std::move(name), std::move(value));
  }

  // Orders appended entries. Of several equal names the first in appending order keeps
  // its spelling; its value is the first one's, or the last one's with keepLastValue.
  void sortAndUnify(bool keepLastValue = false) {
    std::stable_sort(mEntries.begin(), mEntries.end(), [](const Entry& a, const Entry& b) {
      return compareIniNames(a.first, b.first) < 0;
    });
    auto out = mEntries.begin();
    for (auto run = mEntries.begin(); run != mEntries.end();) {
      auto next = run + 1;
      while (next != mEntries.end() && compareIniNames(next->first, run->first) == 0)
        ++next;
      if (keepLastValue && next - run > 1) run->second = std::move((next - 1)->second);
      if (out != run) *out = std::move(*run);
      ++out;
      run = next;
    }
    mEntries.erase(out, mEntries.end());
  }

  bool erase(std::string_view name) {
    auto it = lowerBound(name);
    if (it == mEntries.end() || compareIniNames(it->first, name) != 0) return false;
    mEntries.erase(it);
    return true;
  }

  void clear() { mEntries.clear(); }
  bool empty() const { return mEntries.empty(); }
  std::size_t size() const { return mEntries.size(); }
  const std::vector<Entry>& entries() const { return mEntries; }

 private:
  typename std::vector<Entry>::iterator lowerBound(std::string_view name) {
    return std::lower_bound(mEntries.begin(), mEntries.end(), name,
                            [](const Entry& entry, std::string_view key) {
                              return compareIniNames(entry.first, key) < 0;
                            });
  }

  std::vector<Entry> mEntries;
};

// The keys of one section with their values as stored in the file (untrimmed).
using IniSection = IniKeyedArray<std::string>;

// Every section of one file.
using IniSectionTable = IniKeyedArray<IniSection>;

// The file text of a table: each section as "[name]", its "key=value" lines and one empty
// line, in table order. Entries with an empty key are left out.
std::string formatIniText(const IniSectionTable& table);

}  // namespace swell
