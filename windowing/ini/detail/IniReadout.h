#pragma once

// How values and listings of an ini file reach a caller's buffer: the value as callers
// see it, the truncation rules of the Win32 profile functions, and integer conversion.

#include <cstddef>
#include <string>
#include <string_view>

#include "windowing/ini/detail/IniSectionTable.h"

namespace swell {

// A stored value as it is read: spaces and tabs around it cut, then one pair of equal
// quotes (double or single) around the rest removed.
std::string_view iniValueAsRead(std::string_view stored);

// Copies a list of names, each followed by a NUL in `list`, into a buffer of `size` bytes
// (size >= 2) and ends it with a second NUL. A list that does not fit is cut to size - 2
// bytes and ended with two NULs. Returns the bytes before the two final NULs.
std::size_t copyIniNameList(std::string_view list, char* buffer, std::size_t size);

// Copies the entries of section `s` as "key=value" strings, each followed by a NUL, and a
// final NUL, into a buffer of `size` bytes (size >= 2). Returns the bytes before the final NUL,
// or size - 2 when the list had to be cut (the buffer then ends in two NULs).
std::size_t copyIniEntryList(IniSectionTable& table, std::size_t s, char* buffer, std::size_t size);

// The NUL-separated names of a table's sections, or of the non-empty keys of its section `s`,
// in order, for copyIniNameList.
std::string iniSectionNames(const IniSectionTable& table);
std::string iniKeyNames(IniSectionTable& table, std::size_t s);

// The integer a value text stands for, wrapped to 32 bits, or `fallback` when the text is
// empty or does not start with a number (a leading '0' marks a real zero).
int iniTextToInt(std::string_view text, int fallback);

}  // namespace swell
