#pragma once

#include <cstdarg>

#include "framework/WDLHeapBuf.h"

#if defined(__GNUC__)
#define WDL_STRING_PRINTF_FORMAT(fmtArg, firstVarArg) \
  __attribute__((format(printf, fmtArg, firstVarArg)))
#else
#define WDL_STRING_PRINTF_FORMAT(fmtArg, firstVarArg)
#endif

// A growable NUL-terminated byte string (UTF-8 by convention), grown in steps of 128 bytes.
//
// Lengths and positions are bytes. Where a length limit cuts a text, the cut never falls inside
// a UTF-8 sequence: the partial character is dropped. Source texts may point into the string
// itself. Operations that need more storage return false and leave the string as it was when the
// storage cannot be had.
class WDL_String {
 public:
  static constexpr int kGranularity = 128;

  WDL_String() : mBuf(kGranularity) {}
  explicit WDL_String(const char* text, int maxlen = 0) : mBuf(kGranularity) { Set(text, maxlen); }
  WDL_String(const WDL_String& other) = default;
  WDL_String(WDL_String&& other) noexcept = default;
  WDL_String& operator=(const WDL_String& other) = default;
  WDL_String& operator=(WDL_String&& other) noexcept = default;
  ~WDL_String() = default;

  // The text; never null ("" when empty).
  const char* Get() const;
  // Writable storage of GetLength() + 1 bytes (see SetLen to make room before writing).
  char* Get();
  int GetLength() const;

  // Replaces the text with text (null counts as ""); maxlen > 0 takes at most maxlen bytes.
  bool Set(const char* text, int maxlen = 0);
  bool Append(const char* text, int maxlen = 0);
  // Inserts text before byte position (clamped to 0..length).
  bool Insert(const char* text, int position, int maxlen = 0);
  // Removes up to length bytes starting at position; a range outside the text is ignored.
  void DeleteSub(int position, int length);

  // Makes the text length bytes long: a longer text is cut there, a shorter one is padded with
  // NUL bytes so the caller can write up to length bytes into Get(). A negative length is
  // refused. Returns the writable storage, or null on failure.
  char* SetLen(int length, bool allowShrink = false);

  // printf-style formatting of at most maxlen bytes; SetFormatted with maxlen <= 0 gives "" and
  // AppendFormatted with maxlen <= 0 appends nothing. A format error leaves the string as it was
  // and returns false.
  bool SetFormatted(int maxlen, const char* fmt, ...) WDL_STRING_PRINTF_FORMAT(3, 4);
  bool AppendFormatted(int maxlen, const char* fmt, ...) WDL_STRING_PRINTF_FORMAT(3, 4);
  bool SetFormattedV(int maxlen, const char* fmt, va_list args);
  bool AppendFormattedV(int maxlen, const char* fmt, va_list args);

 private:
  bool Replace(int position, int removeLength, const char* text, int textLength);

  WDL_HeapBuf mBuf;  // empty, or GetLength() + 1 bytes ending in NUL
};
