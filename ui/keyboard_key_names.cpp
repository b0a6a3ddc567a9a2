#include "ui/keyboard_key_names.h"

#include <string>

#include "system/text.h"
#include "ui/keyboard_code.h"

namespace Window {

KeyNameTable::KeyNameTable() {
  names_.emplace(0, "");
  for (char c = 'A'; c <= 'Z'; ++c) names_.emplace(c, std::string(1, c));
  for (char c = '0'; c <= '9'; ++c) names_.emplace(c, std::string(1, c));
  const std::pair<int, const char*> keys[] = {
      {8, "BackSpace"}, {9, "Tab"},      {13, "Enter"},     {32, "Space"},     {45, "Insert"},
      {46, "Delete"},   {36, "Home"},    {35, "End"},       {33, "PageUp"},    {34, "PageDown"},
      {38, "↑"},        {40, "↓"},       {37, "←"},         {39, "→"},         {111, "/ (NumPad)"},
      {106, "* (NumPad)"}, {109, "- (NumPad)"}, {107, "+ (NumPad)"}, {110, ". (NumPad)"},
  };
  for (const auto& [key, name] : keys) names_.emplace(key, name);
  for (int digit = 0; digit <= 9; ++digit)
    names_.emplace(96 + digit, std::to_string(digit) + " (NumPad)");
  for (int n = 1; n <= 12; ++n) names_.emplace(111 + n, "F" + std::to_string(n));
}

void KeyNameTable::addNames(const System::IniFile::SectionRef& section) {
  for (const auto& [key, value] : section.keys()) {
    if (value.text.empty() || !System::isValidUtf8(value.text)) continue;
    const auto number = System::IniFile::parseInt(key);
    if (!number) continue;
    names_[*number & KeyCode::kKeyMask] = value.text;
  }
}

const std::string* KeyNameTable::find(int code) const {
  const auto found = names_.find(code & KeyCode::kKeyMask);
  return found == names_.end() ? nullptr : &found->second;
}

}  // namespace Window
