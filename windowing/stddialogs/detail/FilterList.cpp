#include "windowing/stddialogs/detail/FilterList.h"

#include <cctype>
#include <cstring>

#include "base/Utf8.h"

namespace swell {

std::string extensionText(const char* extension) {
  return std::string(extension, std::strcspn(extension, ";"));
}

bool sameExtension(const char* a, const char* b) {
  for (;; ++a, ++b) {
    bool endA = !*a || *a == ';', endB = !*b || *b == ';';
    if (endA || endB) return endA && endB;
    if (std::tolower(static_cast<unsigned char>(*a)) !=
        std::tolower(static_cast<unsigned char>(*b)))
      return false;
  }
}

std::vector<std::string> filterExtensions(const char* filters, const char* preferred) {
  std::vector<std::string> extensions;
  forEachFilter(filters, [&](const char*, const char* pattern) {
    for (const char* part = pattern; *part;) {
      std::size_t partLength = std::strcspn(part, ";");
      const char* dot = static_cast<const char*>(std::memchr(part, '.', partLength));
      if (dot) {
        std::string extension(dot + 1, part + partLength);
        extension.resize(base::utf8PrefixLength(extension, kMaxFilterExtension));
        if (!extension.empty() && extension.front() != '*') {
          if (preferred && sameExtension(extension.c_str(), preferred))
            extensions.insert(extensions.begin(), std::move(extension));
          else
            extensions.push_back(std::move(extension));
        }
      }
      part += partLength;
      if (*part == ';') ++part;
    }
    return true;
  });
  return extensions;
}

}  // namespace swell
