#include "system/text.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cmath>
#include <limits>
#include <regex>

#include "system/exception.h"

namespace System {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at `pos`; invalid or overlong sequences and surrogates give
// U+FFFD and consume one byte.
char32_t decodeUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  int length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) length = 2, value = lead & 0x1F, minimum = 0x80;
  else if ((lead & 0xF0) == 0xE0) length = 3, value = lead & 0x0F, minimum = 0x800;
  else if ((lead & 0xF8) == 0xF0) length = 4, value = lead & 0x07, minimum = 0x10000;
  else {
    ++pos;
    return kReplacement;
  }
  if (pos + length > text.size()) {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = byte(pos + i);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += length;
  return value;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Removes trailing zeros after a decimal point, then the point itself.
std::string trimNumberText(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

}  // namespace

std::u16string utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = decodeUtf8(text, pos);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    appendUtf8(out, c);
  }
  return out;
}

std::string sanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) appendUtf8(out, decodeUtf8(text, pos));
  return out;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (decodeUtf8(text, pos) == kReplacement) {
      // A real U+FFFD is three bytes; an invalid sequence is consumed one byte at a time.
      if (pos - start != 3) return false;
    }
  }
  return true;
}

std::string formatFixed(double value, int precision) {
  // std::to_chars writes what printf("%f") writes in the C locale; printf itself follows
  // the process locale, which the UI sets from the environment.
  char buffer[400];  // the largest double in fixed form has 309 digits before the point
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  return std::string(buffer, result.ptr);
}

std::string formatNumber(double value) { return trimNumberText(formatFixed(value)); }

namespace {
std::string formatClock(double seconds, bool withHundredths) {
  const char* sign = seconds < 0 ? "-" : "";
  // Not-a-number (a rate of zero upstream) reads as no time rather than as garbage.
  const double absolute = std::isnan(seconds) ? 0.0 : std::fabs(seconds);
  // Beyond this the whole seconds no longer fit the counters; such times do not occur.
  const double clamped = std::min(absolute, 9.0e15);
  // With hundredths the value is rounded to the nearest hundredth before it is split, so a
  // time written with two decimals shows them (1.15 times 100 is 114.99999999999999) and
  // 59.999 carries into the next minute. Whole seconds alone are cut toward zero.
  const long long totalHundredths = withHundredths
                                        ? std::llround(clamped * 100)
                                        : static_cast<long long>(clamped) * 100;
  const long long whole = totalHundredths / 100;
  const long long hours = whole / 3600;
  const int minutes = static_cast<int>(whole / 60 % 60);
  const int secs = static_cast<int>(whole % 60);
  char buffer[64];
  if (withHundredths) {
    const int hundredths = static_cast<int>(totalHundredths % 100);
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02d:%02d.%02d", sign, hours, minutes, secs,
                  hundredths);
  } else {
    std::snprintf(buffer, sizeof buffer, "%s%02lld:%02d:%02d", sign, hours, minutes, secs);
  }
  std::string text(buffer);
  if (text.size() > 31) text.resize(31);
  return text;
}
}  // namespace

std::string formatTime(double seconds) { return formatClock(seconds, true); }
std::string formatTimeSeconds(double seconds) { return formatClock(seconds, false); }

void replaceAll(std::string& text, std::string_view search, std::string_view replacement) {
  if (search.empty()) return;
  for (std::size_t pos = text.find(search); pos != std::string::npos;
       pos = text.find(search, pos + replacement.size())) {
    text.replace(pos, search.size(), replacement);
  }
}

std::string expandPlaceholders(std::string_view text,
                               const std::function<std::string(const std::string&)>& lookup) {
  static const std::regex pattern(R"(\{(.+?)\})");
  const std::string source(text);
  std::string result = source;
  for (auto it = std::sregex_iterator(source.begin(), source.end(), pattern);
       it != std::sregex_iterator(); ++it) {
    const std::string token = (*it)[0].str();
    replaceAll(result, token, lookup((*it)[1].str()));
  }
  return result;
}

void trimSpaces(std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, first);
}

std::vector<std::string> splitByChar(std::string_view text, char separator) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t pos = text.find(separator); pos != std::string_view::npos;
       pos = text.find(separator, start)) {
    pieces.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
  pieces.emplace_back(text.substr(start));
  return pieces;
}

std::vector<std::string> splitByComma(std::string_view text) { return splitByChar(text, ','); }

std::string join(const std::vector<std::string>& items, std::string_view start, char separator) {
  std::string result(start);
  for (const auto& item : items) {
    result += separator;
    result += item;
  }
  return result;
}

namespace {

// Folds case and full-width forms so that "Ａ", "A" and "a" compare equal.
char32_t foldForCompare(char32_t c) {
  if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFEE0;  // full-width ASCII
  if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
  if (c >= 0x30A1 && c <= 0x30F6) c -= 0x60;  // katakana to hiragana
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c += 0x20;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) c += 0x20;  // Greek
  if (c >= 0x410 && c <= 0x42F) c += 0x20;                 // Cyrillic
  else if (c >= 0x400 && c <= 0x40F) c += 0x50;
  return c;
}

bool isSymbol(char32_t c) {
  return c < 0x80 && !(c >= '0' && c <= '9') && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z');
}

bool isDigit(char32_t c) { return c >= '0' && c <= '9'; }

}  // namespace

int compareString(std::string_view left, std::string_view right) {
  std::size_t l = 0, r = 0;
  const auto next = [](std::string_view text, std::size_t& pos) {
    // Skips symbols and white space; returns 0 at the end.
    while (pos < text.size()) {
      const char32_t c = foldForCompare(decodeUtf8(text, pos));
      if (!isSymbol(c)) return c;
    }
    return char32_t{0};
  };
  for (;;) {
    char32_t a = next(left, l);
    char32_t b = next(right, r);
    if (a == 0 || b == 0) return a == b ? 0 : (a == 0 ? -1 : 1);
    if (isDigit(a) && isDigit(b)) {
      // Compare the digit runs by value: skip leading zeros, then by length, then digits.
      // Digits are read folded, so full-width digits continue a run like ASCII ones.
      const auto takeDigits = [](std::string_view text, std::size_t& pos, std::string& run) {
        while (pos < text.size()) {
          std::size_t after = pos;
          const char32_t c = foldForCompare(decodeUtf8(text, after));
          if (!isDigit(c)) break;
          run += static_cast<char>(c);
          pos = after;
        }
      };
      std::string da(1, static_cast<char>(a)), db(1, static_cast<char>(b));
      takeDigits(left, l, da);
      takeDigits(right, r, db);
      da.erase(0, std::min(da.find_first_not_of('0'), da.size()));
      db.erase(0, std::min(db.find_first_not_of('0'), db.size()));
      if (da.size() != db.size()) return da.size() < db.size() ? -1 : 1;
      if (const int c = da.compare(db); c != 0) return c < 0 ? -1 : 1;
      continue;
    }
    if (a != b) return a < b ? -1 : 1;
  }
}

void AlignedBuffer::FreeDeleter::operator()(uint8_t* block) const { std::free(block); }

void AlignedBuffer::allocMemory(uint64_t size) {
  if (capacity_ < size) {
    freeMemory();
    // A size so large that rounding it up would wrap around cannot be had at all.
    if (size > std::numeric_limits<uint64_t>::max() - kAlignment)
      throw makeWin32ErrorException("System::AlignedBuffer::allocMemory", kWin32ErrorOutOfMemory);
    // aligned_alloc wants a multiple of the alignment; the extra bytes stay unused.
    const uint64_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
    void* block = std::aligned_alloc(kAlignment, rounded);
    if (!block) throw makeWin32ErrorException("System::AlignedBuffer::allocMemory", kWin32ErrorOutOfMemory);
    data_.reset(static_cast<uint8_t*>(block));
    capacity_ = size;
  }
  size_ = size;
}

void AlignedBuffer::freeMemory() {
  data_.reset();
  capacity_ = 0;
  size_ = 0;
}

}  // namespace System
