// The choice rows: a choice writes the item in one undo step, a value outside the list
// takes the first entry, and the wheel walks the list only while it is open.
#include <gtest/gtest.h>

#include "edit/undo_item.h"
#include "effect/effect_item_select.h"
#include "setting_window/rows/effect_item_select_controls.h"
#include "setting_window/rows/item_row_factory.h"
#include "tests/setting_window/rows_test_support.h"
#include "ui/list_box.h"

namespace {

std::shared_ptr<Effect::EffectItemSelect::SharedList> choices() {
  auto list = Effect::EffectItemSelect::createSharedList();
  list->addItem(2, "中");
  list->addItem(1, "小");
  list->addItem(3, "大");
  return list;
}

class ChoiceFilter : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "選択フィルタ";
  ChoiceFilter() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<ChoiceFilter>(); }

  Effect::EffectItemSelect size{items, "サイズ", 2, choices()};
  Effect::EffectItemSelectButton mode{items, "モード", 1, choices(), 0.5f, 1.0f};
};

class RowsSelect : public RowsTest::RowFixture {
 protected:
  ChoiceFilter& filter() { return static_cast<ChoiceFilter&>(*block.effect); }
  template <class Row>
  std::shared_ptr<Row> rowOf(Effect::EffectItem& item) {
    auto row = std::dynamic_pointer_cast<Row>(Component::createItemRow(container, block, item));
    layOut();
    return row;
  }
};

TEST_F(RowsSelect, ChoiceIsOneUndoStepAndAnUnlistedValueTakesTheFirst) {
  auto object = objectWith<ChoiceFilter>(0);
  showEffect(object, 0);
  auto row = rowOf<Component::EffectItemSelectControl>(filter().size);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->valueButton.text, "中");
  row->selectIndex(3);
  EXPECT_EQ(filter().size.value, 3);
  EXPECT_EQ(row->valueButton.text, "大");
  EXPECT_EQ(undoSteps(), 1u);
  row->selectIndex(9);
  EXPECT_EQ(filter().size.value, 1);
  services.undo().undo();
  EXPECT_EQ(filter().size.value, 3);
}

TEST_F(RowsSelect, WheelWalksTheListOnlyWhileItIsOpen) {
  auto object = objectWith<ChoiceFilter>(0);
  showEffect(object, 0);
  auto row = rowOf<Component::EffectItemSelectControl>(filter().size);
  EXPECT_FALSE(row->valueButton.wheelPredicate(row->valueButton));
  row->showList();
  ASSERT_TRUE(Window::ListBox::isOpen());
  EXPECT_TRUE(row->valueButton.wheelPredicate(row->valueButton));
  row->valueButton.wheelCallback(row->valueButton, -120);
  EXPECT_EQ(filter().size.value, 3) << "a notch towards the user is the next entry";
  Window::ListBox::close();
}

TEST_F(RowsSelect, SelectButtonTakesItsShareWithoutTheLeftMargin) {
  auto object = objectWith<ChoiceFilter>(0);
  showEffect(object, 0);
  auto row = rowOf<Component::EffectItemSelectButtonControl>(filter().mode);
  EXPECT_EQ(row->fullRect.x, 200);
  EXPECT_EQ(row->button.fullRect.x, 200);
  EXPECT_EQ(row->button.text, "小");
  row->selectValue(5);
  EXPECT_EQ(filter().mode.value, 1);
  row->selectValue(3);
  EXPECT_EQ(row->button.text, "大");
  EXPECT_EQ(undoSteps(), 1u) << "a choice that changes nothing leaves no step";
}

}  // namespace
