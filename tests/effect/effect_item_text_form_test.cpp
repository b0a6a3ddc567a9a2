// The text forms of the parameter items: what project files store and read back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <typeinfo>
#include <vector>

#include "effect/drawing_resources.h"
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
#include "system/exception.h"

namespace {

using namespace Effect;
using SharedList = EffectItemSelect::SharedList;

std::shared_ptr<SharedList> blendList() {
  auto list = EffectItemSelect::createSharedList();
  list->setItem(0, "通常");
  list->setItem(1, "加算");
  list->setItem(3, "乗算");
  return list;
}

struct RoundTrip {
  const char* kind;
  std::function<std::unique_ptr<EffectItem>(EffectItemList&)> make;
  const char* input;     // a text as a file may hold it
  const char* expected;  // the text the item writes back
};

// Every kind reads a text, writes it in its own form, and a fresh item reading that form
// ends with the same value; clones and copies carry the value too.
TEST(ItemTextForm, EveryKindReadsBackWhatItWrites) {
  const auto figures = blendList();
  const RoundTrip trips[] = {
      {"check", [](auto& l) { return std::make_unique<EffectItemCheck>(l, "反転", false); }, "2", "1"},
      {"check off", [](auto& l) { return std::make_unique<EffectItemCheck>(l, "反転", true); }, "0", "0"},
      {"check button", [](auto& l) { return std::make_unique<EffectItemCheckButton>(l, "B", false, 0.0f, 0.333f); }, " 1", "1"},
      {"select", [](auto& l) { return std::make_unique<EffectItemSelect>(l, "合成モード", 0, blendList()); }, "乗算", "乗算"},
      {"select button", [](auto& l) { return std::make_unique<EffectItemSelectButton>(l, "S", 0, blendList(), 0.0f, 0.5f); }, "加算", "加算"},
      {"string", [](auto& l) { return std::make_unique<EffectItemString>(l, "名前", ""); }, "a=b;c [x]", "a=b;c [x]"},
      {"script string", [](auto& l) { return std::make_unique<EffectItemString>(l, "s", "", ItemType::ScriptString1); }, "文字", "文字"},
      {"text", [](auto& l) { return std::make_unique<EffectItemText>(l, "テキスト", ""); }, "行1\\n\\\\行2", "行1\\n\\\\行2"},
      {"file", [](auto& l) { return std::make_unique<EffectItemFile>(l, "ファイル", ""); }, "/media/clip 1.mp4", "/media/clip 1.mp4"},
      {"combo file entry", [&figures](auto& l) { return std::make_unique<EffectItemComboFile>(l, 13, "図形", figures, nullptr, 0); }, "加算", "加算"},
      {"combo file path", [&figures](auto& l) { return std::make_unique<EffectItemComboFile>(l, 13, "図形", figures, nullptr, 0); }, "/figures/star.svg", "/figures/star.svg"},
      {"colour", [](auto& l) { return std::make_unique<EffectItemColor>(l, "色", 0xffffff); }, "FF8000", "ff8000"},
      {"colour none", [](auto& l) { return std::make_unique<EffectItemColor>(l, "縁色", 0x123456, ItemType::ColorOrNone); }, "", ""},
      {"integer", [](auto& l) { return std::make_unique<EffectItemInteger>(l, "回数", 0, -100, 100); }, "-42", "-42"},
      {"scene", [](auto& l) { return std::make_unique<EffectItemScene>(l, "シーン", 0); }, "12", "12"},
      {"layer range", [](auto& l) { return std::make_unique<EffectItemLayerRange>(l, "対象レイヤー数", 0); }, "3", "3"},
      {"button", [](auto& l) { return std::make_unique<EffectItemButton>(l, "参照"); }, "anything", ""},
  };
  for (const RoundTrip& trip : trips) {
    SCOPED_TRACE(trip.kind);
    EffectItemList items;
    const auto item = trip.make(items);
    item->fromString(trip.input);
    const std::string written = item->toString();
    EXPECT_EQ(written, trip.expected);

    const auto reread = trip.make(items);
    reread->fromString(written);
    EXPECT_TRUE(reread->equals(*item));
    EXPECT_EQ(reread->toString(), written);

    const auto clone = item->clone();
    EXPECT_TRUE(clone->equals(*item));
    EXPECT_EQ(clone->toString(), written);
    EXPECT_EQ(clone->typeCode, item->typeCode);
    EXPECT_EQ(clone->name, item->name);

    const auto copy = trip.make(items);
    copy->copyFrom(*clone);
    EXPECT_EQ(copy->toString(), written);
    EXPECT_EQ(items.size(), 3u) << "clones join no effect";
  }
}

TEST(ItemTextForm, FontChoiceRoundTrips) {
  struct ThreeFamilies : Effect::DrawingResources {
    std::vector<std::string> fontFamilies() const override {
      return {"Kivrun Sans", "Yu Gothic UI", "Kivrun Serif"};
    }
    bool isFontInstalled(std::string_view) const override { return true; }
    std::shared_ptr<EffectItemSelect::SharedList> figureList() const override { return nullptr; }
  } resources;
  Effect::setDrawingResources(&resources);
  EffectItemList items;
  EffectItemFontSelect font(items, "フォント", nullptr);
  font.fromString("Kivrun Serif");
  EXPECT_EQ(font.toString(), "Kivrun Serif");
  EffectItemFontSelect reread(items, "フォント", nullptr);
  reread.fromString(font.toString());
  EXPECT_TRUE(reread.equals(font));
  Effect::setDrawingResources(nullptr);
}

TEST(ItemTextForm, ClonesOfVariantsAreTheirBaseKind) {
  EffectItemList items;
  EffectItemCheckButton checkButton(items, "B", true, 0.0f, 0.5f);
  EffectItemSelectButton selectButton(items, "S", 1, blendList(), 0.5f, 1.0f);
  EffectItemFontSelect font(items, "F", nullptr);
  EffectItemFigureSelect figure(items, "G", nullptr);
  EffectItemScene scene(items, "シーン", 4);
  EffectItemLayerRange range(items, "範囲", 2);
  checkButton.notify = true;

  const auto checkClone = checkButton.clone();
  EXPECT_EQ(typeid(*checkClone), typeid(EffectItemCheck));
  EXPECT_EQ(checkClone->typeCode, ItemType::CheckButton);
  EXPECT_TRUE(checkClone->notify);
  EXPECT_TRUE(static_cast<EffectItemCheck&>(*checkClone).value);
  EXPECT_EQ(typeid(*selectButton.clone()), typeid(EffectItemSelect));
  EXPECT_EQ(typeid(*font.clone()), typeid(EffectItemSelect));
  EXPECT_EQ(typeid(*figure.clone()), typeid(EffectItemComboFile));
  const auto sceneClone = scene.clone();
  EXPECT_EQ(typeid(*sceneClone), typeid(EffectItemInteger));
  EXPECT_EQ(sceneClone->typeCode, ItemType::Scene);
  EXPECT_EQ(static_cast<EffectItemInteger&>(*sceneClone).value, 4);
  const auto rangeClone = range.clone();
  EXPECT_EQ(typeid(*rangeClone), typeid(EffectItemInteger));
  EXPECT_EQ(rangeClone->typeCode, ItemType::LayerRange);
}

// Texts a shared file may hold that the item refuses: the standard error text, and the
// value the item had before.
struct Refusal {
  const char* kind;
  std::function<std::unique_ptr<EffectItem>(EffectItemList&)> make;
  const char* input;
  const char* error;
  const char* kept;
};

TEST(ItemTextForm, MalformedTextsFailWithTheStandardTextAndKeepTheValue) {
  const Refusal refusals[] = {
      {"check word", [](auto& l) { return std::make_unique<EffectItemCheck>(l, "c", true); }, "abc", "invalid stoi argument", "1"},
      {"check empty", [](auto& l) { return std::make_unique<EffectItemCheck>(l, "c", true); }, "", "invalid stoi argument", "1"},
      {"check huge", [](auto& l) { return std::make_unique<EffectItemCheck>(l, "c", true); }, "99999999999", "stoi argument out of range", "1"},
      {"integer sign only", [](auto& l) { return std::make_unique<EffectItemInteger>(l, "i", 7, 0, 10); }, "-", "invalid stoi argument", "7"},
      {"integer below int", [](auto& l) { return std::make_unique<EffectItemInteger>(l, "i", 7, 0, 10); }, "-2147483649", "stoi argument out of range", "7"},
      {"colour short", [](auto& l) { return std::make_unique<EffectItemColor>(l, "c", 0x102030); }, "ff80", "RGB argument is invalid.", "102030"},
      {"colour long", [](auto& l) { return std::make_unique<EffectItemColor>(l, "c", 0x102030); }, "ff80001", "RGB argument is invalid.", "102030"},
      {"colour not hex", [](auto& l) { return std::make_unique<EffectItemColor>(l, "c", 0x102030); }, "gg8000", "RGB argument is invalid.", "102030"},
      {"colour blanks inside", [](auto& l) { return std::make_unique<EffectItemColor>(l, "c", 0x102030); }, "ff 800", "RGB argument is invalid.", "102030"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.kind);
    EffectItemList items;
    const auto item = r.make(items);
    try {
      item->fromString(r.input);
      ADD_FAILURE() << "no exception";
    } catch (const std::logic_error& e) {
      EXPECT_STREQ(e.what(), r.error);
    }
    EXPECT_EQ(item->toString(), r.kept);
  }
}

TEST(ItemTextForm, IntegersFromFilesStayInTheirRange) {
  EffectItemList items;
  EffectItemInteger count(items, "回数", 5, 0, 100);
  count.fromString("5000");
  EXPECT_EQ(count.value, 100);
  count.fromString("-3");
  EXPECT_EQ(count.value, 0);
  count.fromString(" 42abc");
  EXPECT_EQ(count.value, 42);
  EffectItemLayerRange range(items, "範囲", 0);
  range.fromString("2147483647");
  EXPECT_EQ(range.value, 1000);
}

TEST(ItemTextForm, SelectWithoutItsValueInTheListCannotBeWritten) {
  EffectItemList items;
  EffectItemSelect select(items, "s", 2, blendList());
  EXPECT_THAT([&] { (void)select.toString(); },
              ::testing::ThrowsMessage<std::out_of_range>(::testing::StrEq("invalid map<K, T> key")));
  // An unknown name leaves the value; a known one selects it.
  select.fromString("存在しない");
  EXPECT_EQ(select.value, 2);
  select.fromString("通常");
  EXPECT_EQ(select.value, 0);
}

TEST(ItemTextForm, TextEscapesBackslashesAndLineBreaks) {
  EffectItemList items;
  EffectItemText text(items, "テキスト", "");
  text.value = "a\\b\n";
  EXPECT_EQ(text.toString(), "a\\\\b\\n");
  text.fromString(text.toString());
  EXPECT_EQ(text.value, "a\\b\n");

  // Every kind of line break is written as "\n" and read back as a line feed.
  text.value = "1\n2\r3\r\n4";
  EXPECT_EQ(text.toString(), "1\\n2\\n3\\n4");
  text.fromString(text.toString());
  EXPECT_EQ(text.value, "1\n2\n3\n4");

  // Other backslashes, and one at the very end, stay as they are.
  text.fromString("C:\\temp\\x\\");
  EXPECT_EQ(text.value, "C:\\temp\\x\\");
  // "\\n" is a backslash followed by n, not a line feed.
  text.fromString("\\\\n");
  EXPECT_EQ(text.value, "\\n");
}

TEST(ItemTextForm, ComboFileTakesNamesOfItsListOrPaths) {
  EffectItemList items;
  EffectItemComboFile combo(items, 13, "図形", blendList(), &EffectItemFigureSelect::figureFilter(), 0);
  combo.fromString("/x/star.svg");
  EXPECT_EQ(combo.id, -1);
  EXPECT_EQ(*combo.getFilePath(), "/x/star.svg");
  combo.fromString("加算");
  EXPECT_EQ(combo.id, 1);
  EXPECT_EQ(combo.path, "");
  combo.fromString("word");  // neither a name nor a path
  EXPECT_EQ(combo.id, 1);
  EXPECT_EQ(combo.path, "");

  combo.setFilePath("");
  EXPECT_EQ(combo.id, 1);
  combo.setFilePath("/y/circle.svg");
  EXPECT_EQ(combo.id, -1);
  EXPECT_EQ(combo.toString(), "/y/circle.svg");

  combo.selectIndex(3);
  EXPECT_EQ(combo.id, 3);
  EXPECT_EQ(combo.path, "");
  combo.selectIndex(2);  // not in the list: the smallest entry
  EXPECT_EQ(combo.id, 0);
}

TEST(ItemTextForm, ColourNoneAndItsDefaults) {
  EffectItemList items;
  EffectItemColor optional(items, "縁色", EffectItemColor::kNoColor, ItemType::ColorOrNone);
  EffectItemColor always(items, "色", EffectItemColor::kNoColor);
  EffectItemColor set(items, "影色", 0x000001, ItemType::ColorOrNone);
  EXPECT_TRUE(optional.none);
  EXPECT_EQ(optional.toString(), "");
  EXPECT_FALSE(always.none);
  EXPECT_EQ(always.toString(), "000000");
  EXPECT_FALSE(set.none);

  optional.fromString(" 00ff00 ");
  EXPECT_FALSE(optional.none);
  EXPECT_EQ(optional.rgb(), 0x00ff00u);
  optional.fromString("");
  EXPECT_TRUE(optional.none);
  EXPECT_EQ(optional.rgb(), 0u);
  EXPECT_FALSE(optional.equals(always));
}

TEST(ItemTextForm, TextSnapshotsKeepOnlyWhatDiffers) {
  EffectItemList items;
  EffectItemText live(items, "テキスト", "abcXYZdef");
  auto before = live.clone();
  live.value = "abcQdef";
  auto after = live.clone();
  auto& b = static_cast<EffectItemText&>(*before);
  auto& a = static_cast<EffectItemText&>(*after);
  EffectItemText::makeUndoDiff(b, a);
  EXPECT_EQ(b.prefixLength, 3);
  EXPECT_EQ(b.suffixLength, 3);
  EXPECT_EQ(a.prefixLength, 3);
  EXPECT_EQ(a.suffixLength, 3);
  EXPECT_EQ(b.value, "XYZ");
  EXPECT_EQ(a.value, "Q");

  live.copyFrom(b);  // undo
  EXPECT_EQ(live.value, "abcXYZdef");
  live.copyFrom(a);  // redo
  EXPECT_EQ(live.value, "abcQdef");
}

TEST(ItemTextForm, TextSnapshotEdgeCases) {
  EffectItemList items;
  EffectItemText before(items, "t", "same");
  EffectItemText after(items, "t", "same");
  EffectItemText::makeUndoDiff(before, after);
  EXPECT_EQ(before.prefixLength, 0);
  EXPECT_EQ(before.value, "same");

  // A grown text: the suffix may not reach into the prefix.
  EffectItemText shortText(items, "t", "aa");
  EffectItemText longText(items, "t", "aaa");
  EffectItemText::makeUndoDiff(shortText, longText);
  EXPECT_EQ(shortText.prefixLength + shortText.suffixLength, 2);
  EXPECT_EQ(shortText.value, "");
  EXPECT_EQ(longText.value, "a");

  // Multi-byte characters that share their first bytes are cut whole.
  EffectItemText kana1(items, "t", "xあy");
  EffectItemText kana2(items, "t", "xいy");
  EffectItemText::makeUndoDiff(kana1, kana2);
  EXPECT_EQ(kana1.value, "あ");
  EXPECT_EQ(kana2.value, "い");

  // A snapshot applied to a text too short for its prefix and suffix reads nothing past it.
  EffectItemText other(items, "t", "ab");
  other.copyFrom(kana2);
  EXPECT_EQ(other.value, "aいb");
}

TEST(ItemTextForm, ItemsOfAnotherKindAreRefused) {
  EffectItemList items;
  EffectItemCheck check(items, "c", false);
  EffectItemInteger integer(items, "i", 0, 0, 1);
  EXPECT_THROW(check.copyFrom(integer), std::bad_cast);
  EXPECT_THROW((void)check.equals(integer), std::bad_cast);
  EXPECT_THAT([&] { check.setFilePath("/a"); },
              ::testing::ThrowsMessage<System::Exception>(
                  ::testing::StrEq("not implement.\n\n[Place]\nEffect::EffectItem::setFilePath()")));
  EXPECT_EQ(check.getFilePath(), nullptr);
}

}  // namespace
