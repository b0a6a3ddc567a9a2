#include "system/translate_table.h"

#include "system/exception.h"
#include "system/text.h"

namespace Translate {
namespace {

constexpr const char* kLoadPlace = "Translate::TranslateTable::load";

// In a language file the two characters "\" and "n" stand for a line break.
void expandLineBreaks(std::string& text) { System::replaceAll(text, "\\n", "\n"); }

}  // namespace

std::string_view TranslateTable::translate(std::string_view text) const {
  const auto found = table_.find(text);
  return found == table_.end() ? text : std::string_view(found->second);
}

const char* TranslateTable::translate(const char* text) const {
  if (!text) return nullptr;
  const auto found = table_.find(std::string_view(text));
  return found == table_.end() ? text : found->second.c_str();
}

void TranslateTable::load(const System::IniFile::SectionRef& section) {
  table_.clear();
  const System::IniFile::KeyTable& keys = section.keys();
  table_.reserve(keys.size());
  try {
    for (const auto& [key, value] : keys) {
      if (!System::isValidUtf8(key)) {
        // The key itself is not shown: its bytes are what is wrong with it.
        throw System::makeFormattedException(kLoadPlace, "language file text invalid format(UTF8).",
                                             "file=%s(line %d) section=%s",
                                             value.file ? value.file->path().c_str() : "",
                                             value.line, section.name().c_str());
      }
      std::string source = key;
      expandLineBreaks(source);
      // An empty value translates the text to itself; one that is not UTF-8 throws.
      std::string translation = value.toString(source);
      std::string& stored = table_.insert_or_assign(std::move(source), std::move(translation))
                                .first->second;
      expandLineBreaks(stored);
    }
  } catch (...) {
    table_.clear();
    throw;
  }
}

}  // namespace Translate
