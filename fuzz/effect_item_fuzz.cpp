// Feeds arbitrary texts to every kind of effect parameter item through each of its readers
// (project file form, script form, legacy object file form under several keys). A reader
// may refuse a text with a standard conversion error; whatever it did, the item must still
// write its value, and that text must read back into a fresh item as the same text.
#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "effect/effect_item_button.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_file.h"
#include "effect/effect_item_font_select.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_string.h"
#include "effect/effect_item_text.h"
#include "effect/text_conversion.h"
#include "system/log.h"

namespace {

using namespace Effect;

std::vector<std::unique_ptr<EffectItem>> everyKind(EffectItemList& items) {
  static const auto list = [] {
    auto made = EffectItemSelect::createSharedList();
    made->setItem(0, "名前");
    made->setItem(5, "a.b");
    made->setItem(17, "x");
    return made;
  }();
  std::vector<std::unique_ptr<EffectItem>> all;
  all.push_back(std::make_unique<EffectItemCheck>(items, "c", false));
  all.push_back(std::make_unique<EffectItemSelect>(items, "s", 0, list));
  all.push_back(std::make_unique<EffectItemFontSelect>(items, "f", nullptr));
  all.push_back(std::make_unique<EffectItemString>(items, "str", ""));
  all.push_back(std::make_unique<EffectItemText>(items, "t", ""));
  all.push_back(std::make_unique<EffectItemFile>(items, "file", ""));
  all.push_back(std::make_unique<EffectItemComboFile>(items, 13, "cf", list, nullptr, 0));
  all.push_back(std::make_unique<EffectItemColor>(items, "col", 0x102030));
  all.push_back(std::make_unique<EffectItemColor>(items, "col14", 0, ItemType::ColorOrNone));
  all.push_back(std::make_unique<EffectItemInteger>(items, "i", 0, -5, 5));
  all.push_back(std::make_unique<EffectItemLayerRange>(items, "range", 0));
  all.push_back(std::make_unique<EffectItemButton>(items, "b"));
  return all;
}

void read(EffectItem& item, int reader, std::string_view text) {
  try {
    switch (reader) {
      case 0: item.fromString(text); break;
      case 1: item.fromScriptString(text); break;
      case 2: item.loadKvoParameter(text, "param", "e", false); break;
      case 3: item.loadKvoParameter(text, "color", "e", true); break;
      case 4: item.loadKvoParameter(text, "text", "e", false); break;
      case 5: item.loadKvoParameter(text, "no_color", "e", false); break;
      default: item.loadKvoParameter(text, "color_yc", "e", false); break;
    }
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool quiet = [] {
    System::Log::setOutput(System::Log::discardOutput);
    return true;
  }();
  (void)quiet;
  if (size == 0) return 0;
  const int reader = data[0] % 7;
  // A path variable would make the file items create the program's data folders.
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  if (!text.empty() && text[0] == '%') text[0] = '_';

  EffectItemList items;
  const auto all = everyKind(items);
  EffectItemList spareItems;
  const auto spares = everyKind(spareItems);
  for (std::size_t k = 0; k < all.size(); ++k) {
    read(*all[k], reader, text);
    const std::string written = all[k]->toString();
    spares[k]->fromString(written);
    if (spares[k]->toString() != written) __builtin_trap();
  }
  // The number readers keep to their promise: finite values or a standard error.
  try {
    if (!std::isfinite(readDouble(text))) __builtin_trap();
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  try {
    (void)readInteger(text);
  } catch (const std::invalid_argument&) {
  } catch (const std::out_of_range&) {
  }
  return 0;
}
