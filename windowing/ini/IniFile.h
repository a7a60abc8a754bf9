#pragma once

// The Win32 ini-file functions over plain text files. Every function takes the file's
// name last: a path when it holds a '/', else a name resolved beside the default ini
// file (see SWELL_ExtendedAPI). Files are cached per process and every change is written
// back at once, whole, by replacing the file. Safe from any thread and, for writers, from
// several processes at once.

#include "windowing/Win32Types.h"

// The value of `key` in `section`, blanks and one pair of quotes around it removed, or
// `defaultText` (empty when null; it may be `buffer` itself), copied into `buffer` as at
// most bufferSize - 1 bytes, never ending inside a UTF-8 character, and a NUL. Returns the
// length copied. With a null section: the section names; with a
// null key: the section's key names; each name NUL-terminated, the list ended by a second
// NUL, cut to bufferSize - 2 bytes when it does not fit; returns the bytes before the two
// final NULs.
DWORD GetPrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR defaultText, LPSTR buffer,
                              int bufferSize, LPCSTR fileName);

// The value of `key` as a decimal integer (wrapped to 32 bits), or `defaultValue` when the
// key is missing, empty or not a number.
int GetPrivateProfileInt(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName);

// Every entry of `section` as NUL-terminated "key=value" strings followed by a second NUL.
// Returns the bytes before the final NUL, or bufferSize - 2 when the list was cut.
DWORD GetPrivateProfileSection(LPCSTR section, LPSTR buffer, DWORD bufferSize, LPCSTR fileName);

// Reads a block stored by WritePrivateProfileStruct. TRUE only when a block of exactly
// `size` bytes with a matching checksum was found; `buffer` is left untouched otherwise.
BOOL GetPrivateProfileStruct(LPCSTR section, LPCSTR key, LPVOID buffer, int size, LPCSTR fileName);

// Sets `key` in `section` to `value`; a null value deletes the key, a null key the whole
// section. TRUE when the file holds the result, on disk (also when nothing had to change);
// FALSE for bad arguments or when the file could not be written, in which case it is
// unchanged, or in the rare case that its folder could not be synced after the replacement.
BOOL WritePrivateProfileString(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR fileName);

// Replaces the entries of `section` with `strings`: "key=value" strings, each ended by a
// NUL, the list ended by an empty string. Results as for WritePrivateProfileString.
BOOL WritePrivateProfileSection(LPCSTR section, LPCSTR strings, LPCSTR fileName);

// Stores `size` bytes of `data` as hexadecimal text with a checksum. A null key or data is
// passed on to WritePrivateProfileString (deleting the section or the key).
BOOL WritePrivateProfileStruct(LPCSTR section, LPCSTR key, const void* data, int size,
                               LPCSTR fileName);

// Settings of the windowing layer by name. "INIFILE" sets the default ini file (a copy of
// the text; null or empty restores ~/.libSwell.ini); "APPNAME" and "FONTPANGRAM" are kept
// as given. Returns null for every key.
void* SWELL_ExtendedAPI(const char* key, void* value);
