#include <optional>

#include "system/file.h"

namespace System::FileFilter {
namespace {

// What one pattern says about the extension: "*.PNG" gives "png", "*." gives an empty text
// (files without an extension), "*.*" gives "*"; a pattern that does not begin with "*."
// says nothing. Spaces around a pattern ("*.jpg; *.jpeg") are not part of it.
std::optional<std::string> patternExtension(std::string_view pattern) {
  const auto first = pattern.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  pattern = pattern.substr(first, pattern.find_last_not_of(' ') - first + 1);
  if (pattern.size() < 2 || pattern[0] != '*' || pattern[1] != '.') return std::nullopt;
  std::string extension(pattern.substr(2));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return extension;
}

// The extensions that one entry's pattern list contributes, in order.
std::vector<std::string> entryExtensions(const FilterEntry& entry) {
  std::vector<std::string> extensions;
  std::string_view patterns = entry.patterns;
  for (;;) {
    const auto separator = patterns.find(';');
    if (auto extension = patternExtension(patterns.substr(0, separator)))
      extensions.push_back(std::move(*extension));
    if (separator == std::string_view::npos) break;
    patterns.remove_prefix(separator + 1);
  }
  return extensions;
}

}  // namespace

std::vector<std::string> getExtensionList(const Filter& filter) {
  std::vector<std::string> list;
  for (const auto& entry : filter)
    for (auto& extension : entryExtensions(entry))
      if (!extension.empty() && extension.front() != '*') list.push_back(std::move(extension));
  return list;
}

int findIndex(const Filter& filter, std::string_view path) {
  const std::string extension = FileName::getExtension(path);
  int number = 0;
  for (const auto& entry : filter) {
    ++number;
    for (const auto& candidate : entryExtensions(entry))
      if (candidate == extension) return number;
  }
  return 0;
}

std::string getExtension(const Filter& filter, int index) {
  // The dialog numbers its entries from 1; 0 stands for the first entry as well.
  const int number = index == 0 ? 1 : index;
  if (number < 1 || static_cast<std::size_t>(number) > filter.size()) return {};
  const auto extensions = entryExtensions(filter[static_cast<std::size_t>(number) - 1]);
  return extensions.empty() ? std::string() : extensions.front();
}

}  // namespace System::FileFilter
