#pragma once
// The part of a tool window that may exist several times: each instance has its number in
// its title and its own velumo2.ini section.
#include <charconv>
#include <cstdint>
#include <string>

namespace Component {

struct MultiInstanceComponent {
  // `title` and `section` followed by ":" and index + 1.
  MultiInstanceComponent(const std::string& title, const std::string& section, int32_t index)
      : instanceTitle(title + ":" + numberText(index + 1)),
        instanceSectionName(section + ":" + numberText(index + 1)),
        instanceIndex(index) {}

  static std::string numberText(int32_t number) {
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, number);
    return std::string(digits, written.ptr);
  }

  std::string instanceTitle;
  std::string instanceSectionName;
  int32_t instanceIndex;
};

}  // namespace Component
