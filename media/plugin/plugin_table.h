#pragma once
// A plug-in library's table: the exported function is asked for it and it is copied at
// once; the texts every table begins with (name, file filter, description) are then read
// from the plug-in's memory. Reader and writer tables differ only after those texts.
#include <cstring>
#include <string>

#include "media/plugin/plugin_call.h"
#include "media/plugin/plugin_library.h"
#include "media/plugin/plugin_text.h"
#include "system/exception.h"
#include "system/file.h"

namespace Plugin {

struct PluginTableTexts {
  std::string name;
  System::Filter filter;
  std::string information;
};

// Calls the library's exported `function` (under the crash guard: it is the library's own
// code) and copies the table it points to. A missing export throws "dlsym() failed.", a null
// table "invalid plugin table.".
template <class Table>
Table copyPluginTable(const PluginLibrary& library, const char* function, const char* place) {
  using TableFunction = Table* (*)();
  const auto tableFunction = reinterpret_cast<TableFunction>(library.symbol(function, place));
  Table copy{};
  Table* target = &copy;
  const bool found = callPluginFunction(function, place, [&] {
    const Table* table = tableFunction();
    if (table) std::memcpy(target, table, sizeof(Table));
    return table != nullptr;
  });
  if (!found) throw System::makeException(place, "invalid plugin table.", function);
  return copy;
}

template <class Table>
PluginTableTexts copyPluginTableTexts(const Table& table, const char* place) {
  PluginTableTexts texts;
  texts.name = copyPluginText(table.name, "table.name", place);
  texts.filter = copyPluginFilter(table.fileFilter, "table.fileFilter", place);
  texts.information = copyPluginText(table.information, "table.information", place);
  return texts;
}

}  // namespace Plugin
