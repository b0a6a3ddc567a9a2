// Item values handed over by scripts and read from legacy object files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "effect/effect_item_check.h"
#include "effect/effect_item_color.h"
#include "effect/effect_item_combo_file.h"
#include "effect/effect_item_select.h"
#include "effect/effect_item_text.h"
#include "system/exception.h"

namespace {

using namespace Effect;

std::shared_ptr<EffectItemSelect::SharedList> listOf(std::initializer_list<int> values) {
  auto list = EffectItemSelect::createSharedList();
  for (int value : values) list->addItem(value, "項目" + std::to_string(value));
  return list;
}

struct ScriptColour {
  const char* text;
  uint32_t rgb;
};

TEST(ItemImport, ScriptColoursAreDecimalNumbersUnlessTheTextIsNoNumber) {
  const ScriptColour cases[] = {
      {"16744448", 0xff8000},  // orange as a number
      {"ff8000", 0xff8000},    // no leading digit: hex digits
      {"8000ff", 0x001f40},    // the number 8000
      {"  255", 0x0000ff},
      {"-1", 0xffffff},  // all bits set
      {"0", 0x000000},
  };
  EffectItemList items;
  EffectItemColor colour(items, "色", 0x123456, ItemType::ColorOrNone);
  for (const ScriptColour& c : cases) {
    SCOPED_TRACE(c.text);
    colour.none = true;
    colour.fromScriptString(c.text);
    EXPECT_EQ(colour.rgb(), c.rgb);
    EXPECT_FALSE(colour.none);
  }
  EXPECT_THROW(colour.fromScriptString("xyz"), std::invalid_argument);
  EXPECT_THROW(colour.fromScriptString("99999999999"), std::out_of_range);
  EXPECT_EQ(colour.rgb(), 0x000000u);
}

TEST(ItemImport, ScriptValuesOfOtherKindsAreTheirTextForm) {
  EffectItemList items;
  EffectItemCheck check(items, "c", false);
  check.fromScriptString("1");
  EXPECT_TRUE(check.value);
  EffectItemSelect select(items, "s", 1, listOf({1, 2}));
  select.fromScriptString("項目2");
  EXPECT_EQ(select.value, 2);
}

struct LegacyColour {
  const char* key;
  const char* text;
  bool currentForm;
  uint32_t rgb;
  bool none;
};

TEST(ItemImport, LegacyColoursByKey) {
  const LegacyColour cases[] = {
      {"no_color", "1", false, 0x000000, true},
      {"no_color", "0", false, 0x102030, false},   // leaves the colour
      {"no_color", "-5", false, 0x102030, false},
      {"color_yc", "001000000000", false, 0xffffff, false},  // Y 4096
      {"color_yc", "00080000e803", false, 0xd75380, false},  // Y 2048, Cr 1000: blue 127.5 rounds up
      {"color_yc", "0008000018fc", false, 0x28ac80, false},  // Cr -1000
      {"color_yc2", "ff7f00000000", false, 0xffffff, false},  // clamped to 255
      {"color_yc", "0010", false, 0x102030, false},          // not twelve digits: nothing
      {"color", "ff8000", false, 0xff8000, false},
      {"color", "16744448", true, 0xff8000, false},  // current form: a script number first
      {"color", "ff8000", true, 0xff8000, false},
  };
  for (const LegacyColour& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.text);
    EffectItemList items;
    EffectItemColor colour(items, "色", 0x102030, ItemType::ColorOrNone);
    colour.loadKvoParameter(c.text, c.key, "縁取り", c.currentForm);
    EXPECT_EQ(colour.rgb(), c.rgb);
    EXPECT_EQ(colour.none, c.none);
  }
}

TEST(ItemImport, MalformedLegacyColoursAreRefused) {
  EffectItemList items;
  EffectItemColor colour(items, "色", 0x102030);
  EXPECT_THROW(colour.loadKvoParameter("x", "no_color", "", false), std::invalid_argument);
  EXPECT_THAT([&] { colour.loadKvoParameter("00100000zz00", "color_yc", "", false); },
              ::testing::ThrowsMessage<std::invalid_argument>(
                  ::testing::StrEq("RGB argument is invalid.")));
  EXPECT_EQ(colour.rgb(), 0x102030u);
}

TEST(ItemImport, LegacyChoicesAreNumbers) {
  EffectItemList items;
  EffectItemSelect select(items, "s", 5, listOf({1, 3, 5}));
  select.loadKvoParameter("3", "type", "", false);
  EXPECT_EQ(select.value, 3);
  select.loadKvoParameter("4", "type", "", false);  // not in the list: the smallest
  EXPECT_EQ(select.value, 1);
  select.loadKvoParameter("項目5", "type", "", false);  // longer texts are names
  EXPECT_EQ(select.value, 5);
  select.loadKvoParameter("ab", "type", "", false);  // no number, no name: unchanged
  EXPECT_EQ(select.value, 5);

  EffectItemComboFile combo(items, 13, "c", listOf({0, 1, 2}), nullptr, 0);
  combo.loadKvoParameter("2", "type", "", false);
  EXPECT_EQ(combo.id, 2);
  combo.loadKvoParameter("9", "type", "", false);
  EXPECT_EQ(combo.id, 0);
  combo.loadKvoParameter("a.svg", "type", "", false);
  EXPECT_EQ(combo.id, -1);
  EXPECT_EQ(combo.path, "a.svg");
}

TEST(ItemImport, LegacyTextIsAHexDumpOfUtf16UnderTheKeyText) {
  EffectItemList items;
  EffectItemText text(items, "テキスト", "old");
  // "A", "あ" (U+3042), line feed, a zero unit, then "B".
  text.loadKvoParameter("41004230" "0a00" "0000" "4200", "text", "テキスト", false);
  EXPECT_EQ(text.value, std::string("A\xE3\x81\x82\n\0B", 7));
  EXPECT_EQ(text.toString(), "A\xE3\x81\x82\\n");  // written up to the zero unit

  // A trailing incomplete group carries nothing.
  text.loadKvoParameter("410042", "text", "", false);
  EXPECT_EQ(text.value, "A");

  EXPECT_THROW(text.loadKvoParameter("41004x00", "text", "", false), std::invalid_argument);
  EXPECT_EQ(text.value, "A");

  // Any other key is the current text form.
  text.loadKvoParameter("a\\nb", "str", "", false);
  EXPECT_EQ(text.value, "a\nb");
}

}  // namespace
