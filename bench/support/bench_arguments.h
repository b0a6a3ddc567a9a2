#pragma once
// The command-line numbers the benchmark programs share: whole numbers and frame ranges,
// read the same in every locale.
#include <charconv>
#include <optional>
#include <string_view>
#include <utility>

namespace Bench {

// The whole text as a decimal number.
inline bool parseInt(std::string_view text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

// "FIRST-LAST" with 0 <= FIRST <= LAST; nothing otherwise.
inline std::optional<std::pair<int, int>> parseFrameRange(std::string_view range) {
  const std::size_t dash = range.find('-');
  int first = 0, last = 0;
  if (dash == std::string_view::npos || !parseInt(range.substr(0, dash), first) ||
      !parseInt(range.substr(dash + 1), last) || first < 0 || last < first)
    return std::nullopt;
  return std::pair(first, last);
}

}  // namespace Bench
