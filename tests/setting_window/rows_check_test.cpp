// The on/off rows: a press on the name toggles a check, which the other selected objects
// follow in the same undo step; a check button changes only its own object.
#include <gtest/gtest.h>

#include "edit/undo_item.h"
#include "effect/effect_item_check.h"
#include "setting_window/rows/effect_item_check_controls.h"
#include "setting_window/rows/item_row_factory.h"
#include "tests/setting_window/rows_test_support.h"

namespace {

class CheckFilter : public Effect::EffectBase {
 public:
  static constexpr const char* kName = "チェックフィルタ";
  CheckFilter() : EffectBase(kName, Effect::EffectType::Filter, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<CheckFilter>(); }

  Effect::EffectItemCheck check{items, "反転", false};
  Effect::EffectItemCheckButton button{items, "左右", false, 0.0f, 0.5f};
};

class RowsCheck : public RowsTest::RowFixture {
 protected:
  static CheckFilter& filterOf(const std::shared_ptr<Edit::Object>& object) {
    return static_cast<CheckFilter&>(*object->effects[0]);
  }
  // Two selected objects with the filter; the block shows the first one's.
  std::pair<std::shared_ptr<Edit::Object>, std::shared_ptr<Edit::Object>> twoSelected() {
    auto own = objectWith<CheckFilter>(0);
    auto other = objectWith<CheckFilter>(1);
    select(own);
    select(other);
    showEffect(own, 0);
    return {own, other};
  }
};

TEST_F(RowsCheck, PressOnTheNameTogglesAndTheOtherSelectedObjectFollowsInOneStep) {
  const auto [own, other] = twoSelected();
  auto row = Component::createItemRow(container, block, filterOf(own).check);
  ASSERT_NE(row, nullptr);
  layOut();
  click(300, 10);  // on the name, past the box
  EXPECT_TRUE(filterOf(own).check.value);
  EXPECT_TRUE(filterOf(other).check.value);
  EXPECT_EQ(undoSteps(), 1u);
  services.undo().undo();
  EXPECT_FALSE(filterOf(own).check.value);
  EXPECT_FALSE(filterOf(other).check.value);
}

TEST_F(RowsCheck, CheckButtonChangesOnlyItsOwnObject) {
  const auto [own, other] = twoSelected();
  auto row = std::dynamic_pointer_cast<Component::EffectItemCheckButtonControl>(
      Component::createItemRow(container, block, filterOf(own).button));
  ASSERT_NE(row, nullptr);
  layOut();
  EXPECT_EQ(row->fullRect.width, 200);
  click(2, 10);  // in the margin left of the button
  EXPECT_TRUE(filterOf(own).button.value);
  EXPECT_TRUE(row->button.checked);
  EXPECT_FALSE(filterOf(other).button.value);
}

TEST_F(RowsCheck, HiddenCheckHasNoRow) {
  auto own = objectWith<CheckFilter>(0);
  showEffect(own, 0);
  filterOf(own).check.shown = false;
  EXPECT_EQ(Component::createItemRow(container, block, filterOf(own).check), nullptr);
}

}  // namespace
