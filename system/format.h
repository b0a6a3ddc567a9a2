#pragma once
// printf into bounded texts: every text this program builds for a log line or an error
// message is cut at 1,023 characters, like a 1,024-byte buffer with a truncating formatter.
#include <cstdarg>
#include <cstddef>
#include <string>

#define VELUMO_PRINTF(fmtIndex, argIndex) __attribute__((format(printf, fmtIndex, argIndex)))

namespace System {

inline constexpr std::size_t kMaxTextLength = 1023;

// Formats into a new string of at most kMaxTextLength bytes. A cut never splits a UTF-8
// sequence, so the result stays valid UTF-8 when the arguments were.
std::string formatString(const char* format, ...) VELUMO_PRINTF(1, 2);
std::string formatStringV(const char* format, std::va_list args);

// Cuts a text at `limit` bytes without splitting a UTF-8 sequence.
void truncateUtf8(std::string& text, std::size_t limit = kMaxTextLength);

}  // namespace System
