#include "windowing/ini/detail/IniReadout.h"

#include <cstdint>
#include <cstring>

namespace swell {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The C locale's isspace, without depending on the process locale.
bool isCSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isUtf8Continuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Longest prefix of at most `limit` bytes that does not end inside a UTF-8 sequence. A run
// of more than three continuation bytes is not UTF-8; it is cut at the limit.
std::size_t utf8SafeLength(std::string_view text, std::size_t limit) {
  if (text.size() <= limit) return text.size();
  std::size_t cut = limit;
  while (cut > 0 && limit - cut < 3 && isUtf8Continuation(text[cut]))
    --cut;
  return isUtf8Continuation(text[cut]) ? limit : cut;
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

std::size_t copyIniText(std::string_view text, char* buffer, std::size_t size) {
  const std::size_t length = utf8SafeLength(text, size - 1);
  // memmove: callers may pass their buffer as the default text too.
  if (length > 0) std::memmove(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

std::size_t copyIniNameList(std::string_view list, char* buffer, std::size_t size) {
  // Without the last name's NUL; the two final NULs follow whatever was copied.
  const std::size_t body = list.empty() ? 0 : list.size() - 1;
  const std::size_t length = body < size - 2 ? body : size - 2;
  if (length > 0) std::memcpy(buffer, list.data(), length);
  buffer[length] = '\0';
  buffer[length + 1] = '\0';
  return length;
}

std::size_t copyIniEntryList(const IniSection& section, char* buffer, std::size_t size) {
  std::string list;
  for (const auto& [key, value] : section.entries()) {
    if (key.empty()) continue;
    list += key;
    list += '=';
    list += iniValueAsRead(value);
    list += '\0';
  }
  if (list.size() + 1 <= size) {
    if (!list.empty()) std::memcpy(buffer, list.data(), list.size());
    buffer[list.size()] = '\0';
    if (list.empty() && size >= 2) buffer[1] = '\0';
    return list.size();
  }
  std::memcpy(buffer, list.data(), size - 2);
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
