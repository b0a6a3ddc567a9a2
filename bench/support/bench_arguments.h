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

// The scene and frames a benchmark works on: "--scene N" and "--frames FIRST-LAST".
struct SceneChoice {
  std::optional<int> scene;
  std::optional<std::pair<int, int>> frames;

  enum class Result { NotMine, Taken, Bad };
  // Takes the option at argv[i] and its value (moving i past it) when it is one of the two.
  Result take(int argc, char** argv, int& i) {
    const std::string_view arg = argv[i];
    if (i + 1 >= argc || (arg != "--scene" && arg != "--frames")) return Result::NotMine;
    const std::string_view value = argv[++i];
    if (arg == "--scene") {
      int number = 0;
      if (!parseInt(value, number)) return Result::Bad;
      scene = number;
    } else {
      frames = parseFrameRange(value);
      if (!frames) return Result::Bad;
    }
    return Result::Taken;
  }
};

}  // namespace Bench
