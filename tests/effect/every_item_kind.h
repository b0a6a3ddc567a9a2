#pragma once
// One effect parameter item of every kind, and every reader an item's text can come through
// (project file form, script form, legacy object file form under several keys), for the
// tests and the fuzz target that feed items hostile texts. Needs no test framework.
#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "effect/effect_item.h"
#include "effect/effect_item_button.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/effect_item_text.h"

namespace TestSupport {

// Every kind, with a list (entries 0, 5 and 17) where a kind has one.
inline std::vector<std::unique_ptr<Effect::EffectItem>> everyItemKind(
    Effect::EffectItemList& items) {
  using namespace Effect;
  auto list = EffectItemSelect::createSharedList();
  list->setItem(0, "名前");
  list->setItem(5, "a.b");
  list->setItem(17, "x");
  std::vector<std::unique_ptr<EffectItem>> all;
  all.push_back(std::make_unique<EffectItemCheck>(items, "c", false));
  all.push_back(std::make_unique<EffectItemCheckButton>(items, "cb", false, 0.0f, 1.0f));
  all.push_back(std::make_unique<EffectItemSelect>(items, "s", 0, list));
  all.push_back(std::make_unique<EffectItemSelectButton>(items, "sb", 0, list, 0.0f, 1.0f));
  all.push_back(std::make_unique<EffectItemFontSelect>(items, "f", nullptr));
  all.push_back(std::make_unique<EffectItemString>(items, "str", ""));
  all.push_back(std::make_unique<EffectItemText>(items, "t", ""));
  all.push_back(std::make_unique<EffectItemFile>(items, "file", ""));
  all.push_back(std::make_unique<EffectItemComboFile>(items, 13, "cf", list, nullptr, 0));
  all.push_back(std::make_unique<EffectItemColor>(items, "col", 0x102030));
  all.push_back(std::make_unique<EffectItemColor>(items, "col14", 0, ItemType::ColorOrNone));
  all.push_back(std::make_unique<EffectItemInteger>(items, "i", 0, -5, 5));
  all.push_back(std::make_unique<EffectItemScene>(items, "scene", 0));
  all.push_back(std::make_unique<EffectItemLayerRange>(items, "range", 0));
  all.push_back(std::make_unique<EffectItemButton>(items, "b"));
  // Its figures are the list's: without a drawing layer the figure list is empty.
  auto mask = std::make_unique<EffectItemMaskSelect>(items, "mask", 0);
  mask->list = list;
  all.push_back(std::move(mask));
  return all;
}

// The ways into an item from a text, by name: readItem takes an index of this list.
inline constexpr const char* kItemReaderNames[] = {
    "file form",   "script form", "legacy",       "legacy current",
    "legacy text", "legacy none", "legacy YCbCr",
};

// Reads the text into the item through one reader. A reader may refuse the text with a
// standard conversion error (std::invalid_argument or std::out_of_range).
inline void readItem(Effect::EffectItem& item, std::size_t reader, std::string_view text) {
  switch (reader) {
    case 0: item.fromString(text); break;
    case 1: item.fromScriptString(text); break;
    case 2: item.loadKvoParameter(text, "param", "e", false); break;
    case 3: item.loadKvoParameter(text, "color", "e", true); break;
    case 4: item.loadKvoParameter(text, "text", "e", false); break;
    case 5: item.loadKvoParameter(text, "no_color", "e", false); break;
    default: item.loadKvoParameter(text, "color_yc", "e", false); break;
  }
}

}  // namespace TestSupport
