#include "builtin/input/image_sequence.h"

#include <algorithm>
#include <charconv>
#include <regex>

#include "system/file.h"

namespace Effect {
namespace {

// Prefix (shortest: the number is the last run of digits), digits, extension with its dot.
const std::regex& numberedName() {
  static const std::regex pattern("^(.+?)([0-9]+)(\\.[^.]+)$", std::regex::ECMAScript);
  return pattern;
}

bool readNumber(const std::string& digits, int32_t& number) {
  const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return result.ec == std::errc() && result.ptr == digits.data() + digits.size();
}

}  // namespace

void ImageSequence::invalidate() {
  std::lock_guard lock(mutex_);
  scanned_ = false;
}

void ImageSequence::scanLocked(const std::string& path) {
  scanned_ = true;
  scannedPath_ = path;
  first_ = last_ = 0;
  digits_.clear();
  std::smatch match;
  if (!std::regex_match(path, match, numberedName())) return;
  prefix_ = match[1].str();
  extension_ = match[3].str();
  int32_t first = 0;
  if (!readNumber(match[2].str(), first)) return;
  int32_t last = first;
  std::unordered_map<int32_t, std::string> digits;
  const std::string pattern = System::FileName::expandVariable(prefix_ + "*" + extension_);
  for (const auto& listed : System::File::findFilesByPattern(pattern)) {
    std::smatch found;
    if (!std::regex_match(listed.path, found, numberedName())) continue;
    // "a*.png" also lists "ab12.png", which is not of this sequence.
    if (found[1].str() != prefix_ || found[3].str() != extension_) continue;
    int32_t number = 0;
    // A number too long for 32 bits spoils the whole scan: the chosen file shows alone.
    if (!readNumber(found[2].str(), number)) return;
    if (number < first) continue;
    last = std::max(last, number);
    digits.emplace(number, found[2].str());  // the first file listed keeps its number
  }
  first_ = first;
  last_ = last;
  digits_ = std::move(digits);
}

std::string ImageSequence::fileFor(const std::string& path, int64_t n) {
  std::lock_guard lock(mutex_);
  if (!scanned_ || scannedPath_ != path) scanLocked(path);
  if (digits_.empty()) return path;
  const int64_t wanted = n > last_ ? last_ : std::max<int64_t>(n, first_);
  for (int64_t number = wanted; number >= first_; --number) {
    const auto found = digits_.find(static_cast<int32_t>(number));
    if (found != digits_.end()) return prefix_ + found->second + extension_;
  }
  return path;
}

}  // namespace Effect
