// Item texts come from files that users pass around. Whatever a text holds, reading it
// either works or fails with a standard conversion error, and the item stays writable.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
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

namespace {

using namespace Effect;

std::vector<std::string> hostileTexts() {
  return {
      "",
      " ",
      "\\",
      "\\\\\\",
      "\\n\\",
      "\r\n\r",
      std::string("a\0b", 3),
      "\xff\xfe\xc3",
      "-",
      "+",
      "0",
      "00",
      "-1",
      "99",
      "2147483648",
      "-2147483649",
      std::string(10000, '9'),
      std::string(4096, '\\'),
      "nan",
      "1e999",
      "0x10",
      "ffffff",
      "FFFFFFFFFFFF",
      "zzzzzzzzzzzz",
      "0000ffff0000",
      ".",
      "..",
      "a.b",
      "名前",
      "0,1,2",
  };
}

// Every kind, with a list where a kind has one.
std::vector<std::unique_ptr<EffectItem>> everyKind(EffectItemList& items) {
  auto list = EffectItemSelect::createSharedList();
  list->setItem(0, "名前");
  list->setItem(5, "a.b");
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
  return all;
}

using Reader = std::function<void(EffectItem&, const std::string&)>;

TEST(ItemHostileInput, ReadersFailCleanlyAndLeaveAWritableItem) {
  const std::vector<std::pair<const char*, Reader>> readers = {
      {"file form", [](EffectItem& i, const std::string& t) { i.fromString(t); }},
      {"script form", [](EffectItem& i, const std::string& t) { i.fromScriptString(t); }},
      {"legacy", [](EffectItem& i, const std::string& t) { i.loadKvoParameter(t, "param", "e", false); }},
      {"legacy current", [](EffectItem& i, const std::string& t) { i.loadKvoParameter(t, "color", "e", true); }},
      {"legacy text", [](EffectItem& i, const std::string& t) { i.loadKvoParameter(t, "text", "e", false); }},
      {"legacy none", [](EffectItem& i, const std::string& t) { i.loadKvoParameter(t, "no_color", "e", false); }},
      {"legacy YCbCr", [](EffectItem& i, const std::string& t) { i.loadKvoParameter(t, "color_yc", "e", false); }},
  };
  EffectItemList items;
  const auto all = everyKind(items);
  EffectItemList spareItems;
  const auto spares = everyKind(spareItems);
  for (const auto& [readerName, read] : readers) {
    for (const std::string& text : hostileTexts()) {
      for (std::size_t k = 0; k < all.size(); ++k) {
        EffectItem& item = *all[k];
        SCOPED_TRACE(std::string(readerName) + " / " + item.name + " / " + text.substr(0, 40));
        try {
          read(item, text);
        } catch (const std::invalid_argument&) {
        } catch (const std::out_of_range&) {
        }
        // The item still writes, and what it writes reads back to the same text.
        std::string written;
        ASSERT_NO_THROW(written = item.toString());
        EffectItem& spare = *spares[k];
        ASSERT_NO_THROW(spare.fromString(written));
        EXPECT_EQ(spare.toString(), written);
      }
    }
  }
}

}  // namespace
