#pragma once
// What the figure and transition lists share: the files of a folder in a fixed order, and
// the choice list that shows their entries' names.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_item_select.h"

namespace Resource {

// Names the entries in `choices`: item i is entry i's name, replacing what was there.
template <class Entries>
void nameChoices(const Entries& entries, Effect::EffectItemSelect::SharedList& choices) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int value = static_cast<int>(i);
    choices.entries.erase(value);
    choices.addItem(value, entries[i].name);
  }
  choices.nameIndex.clear();
  choices.rebuildIndex();
}

// The files of a pattern with a path variable, sorted by path so that a saved index means
// the same file on every machine. A folder that cannot be listed is logged and gives none.
std::vector<std::string> listSortedFiles(std::string_view pattern, const char* place);

}  // namespace Resource
