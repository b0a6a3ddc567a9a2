#include "edit/frame_rate.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "system/setting_service.h"

namespace Edit {
namespace {

struct RatePair {
  int32_t rate = 0;
  int32_t scale = 1;
};

struct FrameRateEntry {
  double fps = 0;
  RatePair pair;
};

// The whole text as a number, or nothing; no blanks, no sign other than "-".
template <class T>
std::optional<T> parseWhole(std::string_view text) {
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// One [FrameRate] line: its key as a number of frames per second and its value as
// "rate/scale" (or "rate" alone, scale 1). A line that does not convert, or that names no
// frame rate (not positive), is no entry.
std::optional<FrameRateEntry> parseEntry(std::string_view key, std::string_view value) {
  const auto fps = parseWhole<double>(key);
  if (!fps || !std::isfinite(*fps) || *fps <= 0) return std::nullopt;
  const std::size_t slash = value.find('/');
  const auto rate = parseWhole<int32_t>(value.substr(0, slash));
  const auto scale = slash == std::string_view::npos
                         ? std::optional<int32_t>(1)
                         : parseWhole<int32_t>(value.substr(slash + 1));
  if (!rate || !scale || *rate <= 0 || *scale <= 0) return std::nullopt;
  return FrameRateEntry{*fps, RatePair{*rate, *scale}};
}

// The [FrameRate] entry that `matches`, or nothing (also without a settings service). Of
// several matching lines the one with the smallest key text wins, so the answer does not
// depend on the order the store keeps its keys in.
template <class Predicate>
std::optional<FrameRateEntry> findEntry(Predicate matches) {
  const Setting::SettingService* settings = Setting::SettingService::instance();
  if (!settings) return std::nullopt;
  std::optional<FrameRateEntry> found;
  const std::string* foundKey = nullptr;
  // keys() and the lookups never insert, so other threads may read the store meanwhile.
  for (const auto& [key, value] : settings->system.frameRate.keys()) {
    const auto entry = parseEntry(key, value.text);
    if (!entry || !matches(*entry)) continue;
    if (foundKey && *foundKey <= key) continue;
    found = entry;
    foundKey = &key;
  }
  return found;
}

}  // namespace

bool frameRateFromValue(int32_t& rate, int32_t& scale, double fps) {
  constexpr double kLimit = std::numeric_limits<int32_t>::max() + 0.5;
  if (!std::isfinite(fps) || fps <= 0 || fps >= kLimit) return false;
  if (const auto entry = findEntry([fps](const FrameRateEntry& e) { return e.fps == fps; })) {
    rate = entry->pair.rate;
    scale = entry->pair.scale;
    return true;
  }
  // Six decimals where the rate fits into 32 bits, fewer for the high rates that would not
  // fit with six; then reduced by tens only, so 23.976 stays 23976/1000.
  int32_t newScale = 1000000;
  while (newScale > 1 && fps * newScale >= kLimit) newScale /= 10;
  long long newRate = std::llround(fps * newScale);
  if (newRate <= 0) return false;  // less than half of the smallest step
  while (newScale > 1 && newRate % 10 == 0) {
    newRate /= 10;
    newScale /= 10;
  }
  rate = static_cast<int32_t>(newRate);
  scale = newScale;
  return true;
}

double frameRateToValue(int32_t rate, int32_t scale) {
  if (rate <= 0 || scale <= 0) return 0;
  if (const auto entry = findEntry([rate, scale](const FrameRateEntry& e) {
        return e.pair.rate == rate && e.pair.scale == scale;
      }))
    return entry->fps;
  return static_cast<double>(rate) / scale;
}

}  // namespace Edit
