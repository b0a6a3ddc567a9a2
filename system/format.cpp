#include "system/format.h"

#include <cstdio>

namespace System {

void truncateUtf8(std::string& text, std::size_t limit) {
  if (text.size() <= limit) return;
  std::size_t cut = limit;
  // Step back over continuation bytes (10xxxxxx) so the cut lands on a character start.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
}

std::string formatStringV(const char* format, std::va_list args) {
  char buffer[kMaxTextLength + 2];
  std::va_list copy;
  va_copy(copy, args);
  const int written = std::vsnprintf(buffer, sizeof buffer, format, copy);
  va_end(copy);
  if (written < 0) return {};
  // One byte more than the limit is kept so that the cut can see whether it splits a
  // multi-byte character.
  std::string text(buffer);
  truncateUtf8(text);
  return text;
}

std::string formatString(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = formatStringV(format, args);
  va_end(args);
  return text;
}

}  // namespace System
