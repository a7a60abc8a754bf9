#include "framework/WDLString.h"

#include <cstdio>
#include <cstring>
#include <limits>

#include "base/Utf8.h"

namespace {

// The number of bytes of text to take under a limit of maxlen (no limit when maxlen <= 0).
int TakeLength(const char* text, int maxlen) {
  if (!text) return 0;
  if (maxlen <= 0) return static_cast<int>(std::strlen(text));
  return static_cast<int>(base::utf8PrefixLength(text, static_cast<std::size_t>(maxlen)));
}

}  // namespace

const char* WDL_String::Get() const {
  const char* text = static_cast<const char*>(mBuf.Get());
  return text ? text : "";
}

char* WDL_String::Get() {
  if (char* text = static_cast<char*>(mBuf.Get())) return text;
  if (char* text = static_cast<char*>(mBuf.Resize(1, false))) {
    text[0] = '\0';
    return text;
  }
  // No storage at all: hand out a terminator that belongs to no one, made empty again each time.
  static thread_local char empty[1];
  empty[0] = '\0';
  return empty;
}

int WDL_String::GetLength() const {
  const char* text = static_cast<const char*>(mBuf.Get());
  return text ? static_cast<int>(strnlen(text, static_cast<size_t>(mBuf.GetSize()))) : 0;
}

bool WDL_String::Set(const char* text, int maxlen) {
  return Replace(0, GetLength(), text, TakeLength(text, maxlen));
}

bool WDL_String::Append(const char* text, int maxlen) {
  const int length = GetLength();
  return Replace(length, 0, text, TakeLength(text, maxlen));
}

bool WDL_String::Insert(const char* text, int position, int maxlen) {
  const int length = GetLength();
  if (position < 0) position = 0;
  if (position > length) position = length;
  return Replace(position, 0, text, TakeLength(text, maxlen));
}

void WDL_String::DeleteSub(int position, int length) {
  const int total = GetLength();
  if (position < 0 || position >= total || length <= 0) return;
  if (length > total - position) length = total - position;
  char* text = static_cast<char*>(mBuf.Get());
  std::memmove(text + position, text + position + length,
               static_cast<size_t>(total - position - length + 1));
  mBuf.Resize(total - length + 1, false);
}

char* WDL_String::SetLen(int length, bool allowShrink) {
  if (length < 0 || length == std::numeric_limits<int>::max()) return nullptr;
  const int old = GetLength();
  char* text = static_cast<char*>(mBuf.Resize(length + 1, allowShrink));
  if (!text) return nullptr;
  if (length > old) std::memset(text + old, 0, static_cast<size_t>(length - old));
  text[length] = '\0';
  return text;
}

// Replaces removeLength bytes at position with textLength bytes of text. The text may lie
// inside this string, so it is copied aside before the storage can move.
bool WDL_String::Replace(int position, int removeLength, const char* text, int textLength) {
  const int old = GetLength();
  const char* own = static_cast<const char*>(mBuf.Get());
  WDL_HeapBuf aside(kGranularity);
  if (textLength > 0 && own && text >= own && text < own + mBuf.GetSize()) {
    if (!aside.Resize(textLength, false)) return false;
    std::memcpy(aside.Get(), text, static_cast<size_t>(textLength));
    text = static_cast<const char*>(aside.Get());
  }
  const long long newLength = static_cast<long long>(old) - removeLength + textLength;
  if (newLength + 1 > static_cast<long long>(WDL_HeapBuf::kMaxSize)) return false;
  if (newLength == 0) {
    mBuf.Resize(0, true);
    return true;
  }
  // Grow first (keeping the tail), move the tail, then shrink: the tail is never lost.
  const int tail = old - position - removeLength;
  const int bigger = static_cast<int>(newLength > old ? newLength : old) + 1;
  char* buf = static_cast<char*>(mBuf.Resize(bigger, false));
  if (!buf) return false;
  if (old == 0) buf[0] = '\0';
  std::memmove(buf + position + textLength, buf + position + removeLength,
               static_cast<size_t>(tail) + 1);
  if (textLength > 0) std::memcpy(buf + position, text, static_cast<size_t>(textLength));
  mBuf.Resize(static_cast<int>(newLength) + 1, false);
  return true;
}

bool WDL_String::SetFormatted(int maxlen, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const bool ok = SetFormattedV(maxlen, fmt, args);
  va_end(args);
  return ok;
}

bool WDL_String::AppendFormatted(int maxlen, const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  const bool ok = AppendFormattedV(maxlen, fmt, args);
  va_end(args);
  return ok;
}

bool WDL_String::SetFormattedV(int maxlen, const char* fmt, va_list args) {
  if (maxlen <= 0) return Set("");
  WDL_String formatted;
  if (!formatted.AppendFormattedV(maxlen, fmt, args)) return false;
  std::swap(mBuf, formatted.mBuf);
  return true;
}

bool WDL_String::AppendFormattedV(int maxlen, const char* fmt, va_list args) {
  if (maxlen <= 0) return true;
  if (!fmt) return false;
  // The arguments may point into this string, so the text is formatted aside first.
  va_list measureArgs;
  va_copy(measureArgs, args);
  const int full = std::vsnprintf(nullptr, 0, fmt, measureArgs);
  va_end(measureArgs);
  if (full < 0) return false;
  const int length = full < maxlen ? full : maxlen;
  // One byte beyond the limit is kept so a cut inside a UTF-8 sequence can be recognised.
  const size_t bufferSize = static_cast<size_t>(length) + 2;
  WDL_HeapBuf aside(kGranularity);
  char* text = static_cast<char*>(aside.Resize(bufferSize, false));
  if (!text) return false;
  std::vsnprintf(text, bufferSize, fmt, args);
  return Append(text, length == full ? 0 : length);
}
