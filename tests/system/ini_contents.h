#pragma once
// Every section, key and value text of an ini store, in a fixed order for comparison. The
// fuzz targets use it too (it needs no test framework).
#include <map>
#include <string>

#include "system/ini_file.h"

namespace TestSupport {

using IniContents = std::map<std::string, std::map<std::string, std::string>>;

inline IniContents contentsOf(const System::IniFile& store) {
  IniContents contents;
  for (const auto& [section, keys] : store.sections()) {
    auto& out = contents[section];
    for (const auto& [key, value] : keys) out[key] = value.text;
  }
  return contents;
}

}  // namespace TestSupport
