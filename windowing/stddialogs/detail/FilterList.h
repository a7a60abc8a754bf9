#pragma once

#include <string>
#include <vector>

// Windows filter lists: NUL-terminated strings in pairs, a description then a pattern of
// ';'-separated parts ("*.txt;*.md"), ended by an empty string.

namespace swell {

// The longest extension taken from a pattern part.
inline constexpr std::size_t kMaxFilterExtension = 31;

// The extensions of every pattern, in order (repeats kept); one equal, ignoring case, to
// the preferred extension (up to its ';' or end) goes first. Parts without a '.', and
// extensions that are empty or begin with '*', are skipped. Null gives none.
std::vector<std::string> filterExtensions(const char* filters, const char* preferred);

// Calls the visitor with each pair's description and pattern, until it returns false.
template <class Visitor>
void forEachFilter(const char* filters, Visitor&& visit) {
  if (!filters) return;
  while (*filters) {
    const char* description = filters;
    const char* pattern = description + std::char_traits<char>::length(description) + 1;
    if (!*pattern) return;
    if (!visit(description, pattern)) return;
    filters = pattern + std::char_traits<char>::length(pattern) + 1;
  }
}

// The text of an extension inside a pattern, up to the next ';' or the pattern's end.
std::string extensionText(const char* extension);
// Whether two extensions are equal ignoring case, each up to its ';' or end.
bool sameExtension(const char* a, const char* b);

}  // namespace swell
