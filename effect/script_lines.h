#pragma once
// Walking the lines of a script text: a line ends at CR LF, CR or LF, whichever the file
// was written with.
#include <cstddef>
#include <string_view>

namespace Effect {

// The end of the line that starts at `start`: the position of its CR or LF, or the end.
inline std::size_t scriptLineEnd(std::string_view text, std::size_t start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  return end == std::string_view::npos ? text.size() : end;
}

// The start of the line after the one that ends at `end`.
inline std::size_t scriptNextLine(std::string_view text, std::size_t end) {
  if (end >= text.size()) return text.size();
  if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') return end + 2;
  return end + 1;
}

}  // namespace Effect
