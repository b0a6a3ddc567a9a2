// Choice lists, the font and figure lists of the drawing layer, and the controls items ask
// for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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
#include "effect/effect_translate.h"
#include "system/file.h"
#include "system/log_capture.h"
#include "effect/drawing_resources.h"
#include "system/active_language.h"
#include "system/temp_folder.h"

namespace {

using namespace Effect;
using ::testing::HasSubstr;

TEST(SharedList, KeepsTheFirstNameOfAValueAndTheSmallestValueOfAName) {
  auto list = EffectItemSelect::createSharedList();
  list->setItem(5, "同じ");
  list->setItem(2, "同じ");
  list->setItem(7, "別");
  list->setItem(7, "上書き");  // a present value keeps its name
  EXPECT_EQ(list->getValue("同じ"), 2);
  EXPECT_EQ(list->entries.at(7), "別");
  auto ascending = EffectItemSelect::createSharedList();
  ascending->setItem(2, "同じ");
  ascending->setItem(5, "同じ");
  EXPECT_EQ(ascending->getValue("同じ"), 2);
  EXPECT_FALSE(list->contains("上書き"));
  EXPECT_THAT([&] { (void)list->getValue("無い"); },
              ::testing::ThrowsMessage<std::out_of_range>(
                  ::testing::StrEq("invalid unordered_map<K, T> key")));
}

TEST(SharedList, AddedNamesAreCopied) {
  auto list = EffectItemSelect::createSharedList();
  {
    std::string temporary = "一時的";
    list->addItem(1, temporary);
    temporary = "changed";
  }
  EXPECT_EQ(list->entries.at(1), "一時的");
  EXPECT_TRUE(list->contains("一時的"));
}

TEST(SharedList, NamesAreShownTranslatedButStoredAsTheyAre) {
  auto list = EffectItemSelect::createSharedList();
  list->setItem(1, "加算");
  EffectItemList items;
  EffectItemSelect select(items, "合成モード", 1, list);
  {
    TestSupport::ActiveLanguage language("[Effect]\r\n加算=Add\r\n");
    EXPECT_EQ(getSelectItemName(list->entries, 1), "Add");
    EXPECT_EQ(select.toString(), "加算");
  }
  EXPECT_EQ(getSelectItemName(list->entries, 1), "加算");
  EXPECT_THROW((void)getSelectItemName(list->entries, 9), std::out_of_range);
}

// A drawing layer with three families and three figures; `uninstalled` names a family the
// list has but the machine lacks.
class FakeDrawingResources : public Effect::DrawingResources {
 public:
  std::vector<std::string> fontFamilies() const override {
    return {"Kivrun Sans", "Yu Gothic UI", "Kivrun Mono"};
  }
  bool isFontInstalled(std::string_view family) const override { return family != uninstalled; }
  std::shared_ptr<EffectItemSelect::SharedList> figureList() const override {
    auto figures = EffectItemSelect::createSharedList();
    figures->setItem(0, "背景");
    figures->setItem(1, "円");
    figures->setItem(2, "四角形");
    return figures;
  }
  std::string uninstalled;
};

class FontList : public ::testing::Test {
 protected:
  void SetUp() override { Effect::setDrawingResources(&resources_); }
  void TearDown() override { Effect::setDrawingResources(nullptr); }
  FakeDrawingResources resources_;
};

TEST_F(FontList, FamiliesAreNumberedInTheOrderOfTheDrawingLayer) {
  const auto list = EffectItemFontSelect::getFontList();
  EXPECT_EQ(list, EffectItemFontSelect::getFontList());  // built once
  ASSERT_EQ(list->entries.size(), 3u);
  EXPECT_EQ(list->getValue("Kivrun Mono"), 2);
  EXPECT_EQ(EffectItemFontSelect::getDefaultFontValue(), 1);

  EffectItemList items;
  EffectItemFontSelect chosen(items, "フォント", "Kivrun Sans");
  EffectItemFontSelect byDefault(items, "フォント", nullptr);
  EXPECT_EQ(chosen.typeCode, ItemType::FontSelect);
  EXPECT_EQ(chosen.value, 0);
  EXPECT_EQ(byDefault.toString(), "Yu Gothic UI");
}

TEST_F(FontList, AFamilyThatIsNotInstalledFallsBackToTheDefault) {
  resources_.uninstalled = "Kivrun Mono";
  TestSupport::LogCapture log;
  EffectItemList items;
  EffectItemFontSelect missing(items, "フォント", "Absent Gothic");        // not in the list
  EffectItemFontSelect uninstalled(items, "フォント", "Kivrun Mono");  // the check says no
  EXPECT_EQ(missing.toString(), "Yu Gothic UI");
  EXPECT_EQ(uninstalled.toString(), "Yu Gothic UI");
  const auto warnings = log.texts("WARN");
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_THAT(warnings[0], HasSubstr("[Absent Gothic]"));
  EXPECT_THAT(warnings[1], HasSubstr("[Kivrun Mono]"));

  // A project naming a family that is not installed keeps the value it had.
  missing.fromString("Absent Round");
  EXPECT_EQ(missing.toString(), "Yu Gothic UI");
}

TEST(FontListWithoutDrawingLayer, HoldsTheDefaultFamilyAlone) {
  Effect::setDrawingResources(nullptr);
  EffectItemList items;
  EffectItemFontSelect font(items, "フォント", "Absent Serif");
  EXPECT_EQ(font.toString(), "Yu Gothic UI");
  EXPECT_EQ(EffectItemFontSelect::getFontList()->entries.size(), 1u);
}

TEST(FigureList, FiguresAreChosenByNameAndMissingOnesFallBack) {
  FakeDrawingResources resources;
  Effect::setDrawingResources(&resources);
  TestSupport::LogCapture log;
  EffectItemList items;
  EffectItemFigureSelect byDefault(items, "図形", nullptr);
  EffectItemFigureSelect square(items, "図形", "四角形");
  EffectItemFigureSelect missing(items, "図形", "星形");
  Effect::setDrawingResources(nullptr);

  EXPECT_EQ(byDefault.typeCode, ItemType::FigureSelect);
  EXPECT_EQ(byDefault.toString(), "円");
  EXPECT_EQ(square.id, 2);
  EXPECT_EQ(missing.id, 1);
  EXPECT_EQ(log.texts("WARN").size(), 1u);
  ASSERT_EQ(byDefault.filter->size(), 2u);
  EXPECT_EQ((*byDefault.filter)[0].description, "SvgFile (*.svg)");
  EXPECT_EQ((*byDefault.filter)[1].patterns, "*.*");
}

class FileItems : public ::testing::Test {
 protected:
  void SetUp() override {
    install_.makeFolder("data");
    System::FileName::resetVariableList(install_.path());
  }
  void TearDown() override { System::FileName::resetVariableList(); }
  TestSupport::TempFolder install_;
};

TEST_F(FileItems, PathsAreStoredWithTheirVariableExpanded) {
  const std::string data = install_ / "data";
  EffectItemList items;
  EffectItemFile file(items, "ファイル", "%AppData%/default.png");
  EXPECT_EQ(file.path, data + "/default.png");
  EXPECT_EQ(file.filter, &EffectItemFile::allFileFilter());
  file.fromString("%Figure%/star.svg");
  EXPECT_EQ(file.toString(), data + "/Figure/star.svg");
  file.setFilePath("%AppData%/b.mp4");
  EXPECT_EQ(*file.getFilePath(), data + "/b.mp4");

  EffectItemComboFile combo(items, 13, "図形", nullptr, nullptr, 0);
  combo.fromString("%Figure%/heart.svg");
  EXPECT_EQ(combo.path, data + "/Figure/heart.svg");
}

// The controls items ask for, by kind.
TEST(ItemControls, EveryKindNamesItsControl) {
  struct RecordingFactory : Effect::ItemControlFactory {
    std::vector<ControlKind> made;
    std::shared_ptr<Component::EffectItemBaseControl> createControl(
        ControlKind kind, Window::WindowControlContainer&, Component::EffectSetting&,
        EffectItem&) override {
      made.push_back(kind);
      return nullptr;
    }
  } factory;
  const std::vector<ControlKind>& made = factory.made;
  Effect::setItemControlFactory(&factory);
  EffectItemList items;
  EffectItemCheck check(items, "c", false);
  EffectItemCheck hiddenCheck(items, "c", false, false);
  EffectItemCheckButton checkButton(items, "c", false, 0.0f, 1.0f);
  EffectItemSelect select(items, "s", 0, nullptr);
  EffectItemSelectButton selectButton(items, "s", 0, nullptr, 0.0f, 1.0f);
  EffectItemFontSelect font(items, "f", nullptr);
  EffectItemString string(items, "s", "");
  EffectItemText text(items, "t", "");
  EffectItemFile file(items, "f", "");
  EffectItemComboFile combo(items, 13, "c", nullptr, nullptr, 0);
  EffectItemFigureSelect figure(items, "g", nullptr);
  EffectItemColor colour(items, "c", 0);
  EffectItemScene scene(items, "s", 0);
  EffectItemInteger integer(items, "i", 0, 0, 1);
  EffectItemInteger hiddenInteger(items, "音声付き", 1, 0, 1, ItemType::HiddenInteger);
  EffectItemLayerRange range(items, "r", 0);
  EffectItemButton button(items, "b");

  int tag = 0;
  auto& parent = reinterpret_cast<Window::WindowControlContainer&>(tag);
  auto& block = reinterpret_cast<Component::EffectSetting&>(tag);
  for (EffectItem* item : items) item->createControl(parent, block);
  Effect::setItemControlFactory(nullptr);

  EXPECT_EQ(made, (std::vector<ControlKind>{
                      ControlKind::Check, ControlKind::CheckButton, ControlKind::Select,
                      ControlKind::SelectButton, ControlKind::FontSelect, ControlKind::String,
                      ControlKind::Text, ControlKind::File, ControlKind::ComboFile,
                      ControlKind::ComboFile, ControlKind::Color, ControlKind::Scene,
                      ControlKind::Integer, ControlKind::LayerRange, ControlKind::Button}));
  EXPECT_EQ(hiddenCheck.getControlKind(), ControlKind::None);
  EXPECT_EQ(hiddenInteger.getControlKind(), ControlKind::None);
  // Without the setting window no item has a row.
  EXPECT_EQ(check.createControl(parent, block), nullptr);
}

}  // namespace
