#pragma once
// Small text, number and time helpers. Texts are UTF-8 std::string throughout the program;
// UTF-16 (std::u16string) appears only where a file format or a plug-in protocol stores it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace System {

// Conversions never fail: invalid sequences become U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);
// Replaces every invalid UTF-8 sequence by U+FFFD; valid text comes back unchanged.
std::string sanitizeUtf8(std::string_view text);
bool isValidUtf8(std::string_view text);

// Numbers as files hold them: always "." for the point, whatever the process locale.
// The text of "%.<precision>f" in the C locale; six decimals by default (0.5 is "0.500000").
std::string formatFixed(double value, int precision = 6);
// formatFixed with trailing zeros (and then a trailing point) removed: 1.5, 2, 100, -0.
std::string formatNumber(double value);
// "[-]hh:mm:ss.cc" of the value rounded to hundredths (59.999 is "00:01:00.00") and
// "[-]hh:mm:ss" of its whole seconds (59.999 is "00:00:59"); hours are not limited.
std::string formatTime(double seconds);
std::string formatTimeSeconds(double seconds);

// Replaces every occurrence from the left; the search goes on after the inserted text.
void replaceAll(std::string& text, std::string_view search, std::string_view replacement);
// Replaces every "{name}" token by lookup(name).
std::string expandPlaceholders(std::string_view text,
                               const std::function<std::string(const std::string&)>& lookup);
// Removes leading and trailing U+0020 only.
void trimSpaces(std::string& text);
std::vector<std::string> splitByComma(std::string_view text);
std::vector<std::string> splitByChar(std::string_view text, char separator);
// The start text, then the separator before every item: ("x", {a, b}, ';') gives x;a;b.
std::string join(const std::vector<std::string>& items, std::string_view start, char separator);
// Natural order for display lists: case, symbols and width ignored, digit runs compared by
// value (item2 before item10). Returns -1, 0 or 1.
int compareString(std::string_view left, std::string_view right);

template <class T, class Predicate>
T* findIf(const std::vector<T*>& items, Predicate predicate) {
  for (T* item : items)
    if (predicate(item)) return item;
  return nullptr;
}

template <class T, class Predicate>
int findIndex(const std::vector<std::shared_ptr<T>>& items, Predicate predicate) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (predicate(items[i])) return static_cast<int>(i);
  return -1;
}

template <class T, class Predicate>
void eraseIf(std::vector<std::shared_ptr<T>>& items, Predicate predicate) {
  std::erase_if(items, predicate);
}

// A growable block aligned to 32 bytes whose contents are not kept when it grows.
class AlignedBuffer {
 public:
  static constexpr std::size_t kAlignment = 32;
  AlignedBuffer() = default;

  // Grows to at least `size` bytes (never shrinks) and sets the used size.
  void allocMemory(uint64_t size);
  void freeMemory();

  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  uint64_t capacity() const { return capacity_; }
  uint64_t size() const { return size_; }

 private:
  struct FreeDeleter {
    void operator()(uint8_t* block) const;
  };
  std::unique_ptr<uint8_t[], FreeDeleter> data_;
  uint64_t capacity_ = 0;
  uint64_t size_ = 0;
};

}  // namespace System
