#include "windowing/ini/detail/IniReadout.h"

#include <cstdint>
#include <cstring>

#include "base/Utf8.h"

namespace swell {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The C locale's isspace, without depending on the process locale.
bool isCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Copies the first `length` bytes of a list that does not fit whole, but never the part of
// a character that a cut there would split: the bytes of it left out become NULs, so the
// list ends before it and the length reported stays that of a full buffer.
void copyCutList(std::string_view list, char* buffer, std::size_t length) {
  const std::size_t whole = base::utf8PrefixLength(list, length);
  if (whole > 0) std::memcpy(buffer, list.data(), whole);
  std::memset(buffer + whole, 0, length - whole);
}

}  // namespace

std::string_view iniValueAsRead(std::string_view stored) {
  while (!stored.empty() && isBlank(stored.front()))
    stored.remove_prefix(1);
  while (!stored.empty() && isBlank(stored.back()))
    stored.remove_suffix(1);
  if (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') &&
      stored.back() == stored.front()) {
    stored = stored.substr(1, stored.size() - 2);
  }
  return stored;
}

std::size_t copyIniNameList(std::string_view list, char* buffer, std::size_t size) {
  // Without the last name's NUL; the two final NULs follow whatever was copied.
  const std::size_t body = list.empty() ? 0 : list.size() - 1;
  const std::size_t length = body < size - 2 ? body : size - 2;
  copyCutList(list, buffer, length);
  buffer[length] = '\0';
  buffer[length + 1] = '\0';
  return length;
}

std::string iniSectionNames(const IniSectionTable& table) {
  std::string list;
  for (std::size_t s = 0; s < table.sectionCount(); ++s) {
    if (table.sectionName(s).empty()) continue;
    list += table.sectionName(s);
    list += '\0';
  }
  return list;
}

std::string iniKeyNames(IniSectionTable& table, std::size_t s) {
  std::string list;
  for (const IniSection::Entry& entry : table.orderedEntries(s)) {
    if (entry.key.size == 0) continue;
    list += table.text(entry.key);
    list += '\0';
  }
  return list;
}

std::size_t copyIniEntryList(IniSectionTable& table, std::size_t s, char* buffer,
                             std::size_t size) {
  std::string list;
  for (const IniSection::Entry& entry : table.orderedEntries(s)) {
    if (entry.key.size == 0) continue;
    list += table.text(entry.key);
    list += '=';
    list += iniValueAsRead(table.text(entry.value));
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    if (!list.empty()) std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size >= 2) buffer[1] = '\0';
    return list.size();
  }
  copyCutList(list, buffer, size - 2);
  buffer[size - 2] = '\0';
  buffer[size - 1] = '\0';
  return size - 2;
}

int iniTextToInt(std::string_view text, int fallback) {
  if (text.empty()) return fallback;
  std::size_t i = 0;
  while (i < text.size() && isCSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Unsigned arithmetic wraps, so any length of digits has a defined 32-bit result.
  std::uint32_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = magnitude * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  const int value = static_cast<int>(negative ? 0u - magnitude : magnitude);
  return (value != 0 || text.front() == '0') ? value : fallback;
}

}  // namespace swell
