#pragma once
// The display names of keys, by virtual key (a key code without its modifier bits): the
// names shown after "Ctrl+", "Shift+" and "Alt+" in menus and the keyboard settings.
#include <string>
#include <unordered_map>

#include "system/ini_file.h"

namespace Window {

class KeyNameTable {
 public:
  // The built-in names: 0 (the empty name), letters, digits, the editing and moving keys,
  // the arrows, the numeric keypad and F1 to F12.
  KeyNameTable();

  // Adds or replaces names from a [KeyCode] section: each key a decimal virtual key (only
  // its low 12 bits count), its value the name. Empty values and keys that are not numbers
  // are skipped.
  void addNames(const System::IniFile::SectionRef& section);

  // The name of the key (modifier bits ignored), or null for a key without one.
  const std::string* find(int code) const;

 private:
  std::unordered_map<int, std::string> names_;
};

}  // namespace Window
