#include "windowing/ini/detail/IniSectionTable.h"

namespace swell {

namespace {

unsigned char foldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

int compareIniNames(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int ca = foldAscii(static_cast<unsigned char>(a[i]));
    const int cb = foldAscii(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::string formatIniText(const IniSectionTable& table) {
  std::size_t total = 0;
  for (const auto& [name, section] : table.entries()) {
    total += name.size() + 4;
    for (const auto& [key, value] : section.entries())
      total += key.size() + value.size() + 2;
  }
  std::string text;
  text.reserve(total);
  for (const auto& [name, section] : table.entries()) {
    text += '[';
    text += name;
    text += "]\n";
    for (const auto& [key, value] : section.entries()) {
      if (key.empty()) continue;
      text += key;
      text += '=';
      text += value;
      text += '\n';
    }
    text += '\n';
  }
  return text;
}

}  // namespace swell
