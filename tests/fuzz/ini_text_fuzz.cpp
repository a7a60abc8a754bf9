// Loads arbitrary text as an ini file and reads every name and value out of it through
// the buffer-copy rules, with buffers of the exact size so that any overrun is caught.
// Input: one byte choosing the buffer size, one choosing where the text is split into
// pieces, then the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "base/Utf8.h"
#include "windowing/ini/detail/IniParser.h"
#include "windowing/ini/detail/IniReadout.h"
#include "windowing/ini/detail/IniSectionTable.h"

namespace {

using swell::IniParser;
using swell::IniSection;
using swell::IniSectionTable;

void check(bool condition) {
  if (!condition) std::abort();
}

bool parseInPieces(std::string_view text, std::size_t split, IniSectionTable& table) {
  IniParser parser(table);
  // Three pieces, the middle one a single byte when there is room: line ends split
  // across reads are the interesting case.
  const std::size_t first = split % (text.size() + 1);
  const std::size_t second = first < text.size() ? first + 1 : first;
  parser.feed(text.substr(0, first));
  parser.feed(text.substr(first, second - first));
  parser.feed(text.substr(second));
  parser.finish();
  return parser.incomplete();
}

void checkText(std::string_view text, std::size_t size) {
  std::vector<char> buffer(size);
  const std::size_t length = base::copyUtf8(text, buffer.data(), size);
  check(length < size && buffer[length] == '\0' && length <= text.size());
  check(std::string_view(buffer.data(), length) == text.substr(0, length));
}

void checkNameList(const std::string& list, std::size_t size) {
  std::vector<char> buffer(size);
  const std::size_t length = swell::copyIniNameList(list, buffer.data(), size);
  check(length + 2 <= size && buffer[length] == '\0' && buffer[length + 1] == '\0');
}

void checkEntryList(IniSectionTable& table, std::size_t s, std::size_t size) {
  std::vector<char> buffer(size);
  const std::size_t length = swell::copyIniEntryList(table, s, buffer.data(), size);
  check(length + 1 <= size && buffer[length] == '\0');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t bufferSize = 2 + data[0] % 64;
  const std::size_t split = data[1];
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  IniSectionTable whole;
  IniParser parser(whole);
  parser.feed(text);
  parser.finish();
  const std::string formatted = swell::formatIniText(whole);

  // How the text arrives must not matter.
  IniSectionTable pieces;
  check(parseInPieces(text, split, pieces) == parser.incomplete());
  check(swell::formatIniText(pieces) == formatted);

  // What is written back reads back as the same table.
  if (!parser.incomplete()) {
    IniSectionTable reread;
    IniParser again(reread);
    again.feed(formatted);
    again.finish();
    check(!again.incomplete());
    check(swell::formatIniText(reread) == formatted);
  }

  checkNameList(swell::iniSectionNames(whole), bufferSize);
  for (std::size_t s = 0; s < whole.sectionCount(); ++s) {
    const std::string name(whole.sectionName(s));
    check(!name.empty() && whole.findSection(name) == s);
    checkNameList(swell::iniKeyNames(whole, s), bufferSize);
    checkEntryList(whole, s, bufferSize);
    for (const IniSection::Entry& entry : whole.orderedEntries(s)) {
      const std::string_view value = whole.text(entry.value);
      check(whole.findValue(name, whole.text(entry.key)) == value);
      const std::string_view read = swell::iniValueAsRead(value);
      checkText(read, bufferSize - 1);
      swell::iniTextToInt(read, 0);
    }
  }
  // The first lookup in a section as read, before anything ordered it, finds what ordering
  // keeps: one key of each section, chosen by the split byte.
  IniSectionTable asRead;
  IniParser once(asRead);
  once.feed(text);
  once.finish();
  for (std::size_t s = 0; s < whole.sectionCount(); ++s) {
    const std::vector<IniSection::Entry>& entries = whole.orderedEntries(s);
    if (entries.empty()) continue;
    const IniSection::Entry& entry = entries[split % entries.size()];
    check(asRead.findValue(whole.sectionName(s), whole.text(entry.key)) == whole.text(entry.value));
  }
  return 0;
}
