#pragma once
// Texts written in the legacy code page (CP932, the Japanese ANSI page that older script
// files were saved in) brought to the program's UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

namespace Effect {

// The text converted to UTF-8. A byte sequence the code page does not define becomes
// U+FFFD and the conversion goes on, so a stray byte costs one character, not the file.
// Throws when the converter itself is not available.
std::string convertLegacyText(std::string_view text);

// The most UTF-8 bytes `size` legacy bytes can become: a single-byte half-width katakana
// takes three, and so does the U+FFFD that stands for a bad byte.
constexpr std::size_t maxConvertedSize(std::size_t size) { return size * 3; }

}  // namespace Effect
