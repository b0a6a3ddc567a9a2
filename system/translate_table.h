#pragma once
// One table of a language file: source texts mapped to their translations.
//
// A language file has one section per kind of text ([Effect], [Message], [Menu], [Dialog],
// [Name]); each line is "source=translation", and in both texts the two characters "\" and
// "n" stand for a line break. A table is filled from one section and then only read: lookups
// take no lock, so a reload must not overlap a lookup on another thread.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "system/ini_file.h"

namespace Translate {

class TranslateTable {
 public:
  TranslateTable() = default;
  TranslateTable(const TranslateTable&) = delete;
  TranslateTable& operator=(const TranslateTable&) = delete;

  // The translation, or `text` itself when the table lacks it. A returned translation views
  // the table's own characters and stays valid until the table is loaded again.
  std::string_view translate(std::string_view text) const;
  // The same for a NUL-terminated text: the table's characters, the very same pointer when
  // the table lacks the text, and nullptr for nullptr.
  const char* translate(const char* text) const;

  // Empties the table and fills it from one section of a language file. An empty value
  // leaves the source text as its own translation. A key or value that is not valid UTF-8
  // throws, naming the file, line and key; the table is then left empty.
  void load(const System::IniFile::SectionRef& section);

  void clear() { table_.clear(); }
  std::size_t size() const { return table_.size(); }
  bool empty() const { return table_.empty(); }

 private:
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
      return std::hash<std::string_view>{}(text);
    }
  };
  std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> table_;
};

}  // namespace Translate
