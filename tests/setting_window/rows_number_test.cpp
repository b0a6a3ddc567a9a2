// The row of a numeric track: which values it shows for the window's section, and how a
// drag writes the track, the same track of the other selected objects and one undo step.
#include <gtest/gtest.h>

#include "edit/undo_item.h"
#include "setting_window/rows/effect_item_number_control.h"
#include "setting_window/rows/item_row_factory.h"
#include "tests/setting_window/rows_test_support.h"

namespace {

using Component::EffectItemNumberControl;
using TestSupport::NumberFilter;

class RowsNumber : public RowsTest::RowFixture {
 protected:
  // The row of the shown effect's track, holding `values`.
  std::shared_ptr<EffectItemNumberControl> rowWith(std::vector<int> values) {
    auto& track = static_cast<NumberFilter&>(*block.effect).x;
    track.values = std::move(values);
    auto row = std::dynamic_pointer_cast<EffectItemNumberControl>(
        Component::createItemRow(container, block, track));
    layOut();
    return row;
  }
  static Effect::EffectItemNumber& trackOf(const std::shared_ptr<Edit::Object>& object) {
    return static_cast<NumberFilter&>(*object->effects[0]).x;
  }
  // A drag over the start slider through the display values given.
  static void drag(EffectItemNumberControl& row, std::initializer_list<const char*> values) {
    for (const char* value : values) row.startSlider.applyText(value, 0);
    row.startSlider.endChange();
  }
};

TEST_F(RowsNumber, TwoValuesShowByViewModeAndPointCount) {
  struct Case {
    int mode;
    int values;
    bool two;
  } const cases[] = {{2, 3, true}, {2, 1, false}, {1, 3, false},
                     {1, 2, true}, {0, 2, false}, {7, 2, false}};
  auto object = objectWith<NumberFilter>(0);
  showEffect(object, 0);
  for (const Case& c : cases) {
    settingWindow.rowOptions.sectionViewMode = c.mode;
    auto row = rowWith(std::vector<int>(static_cast<size_t>(c.values), 0));
    EXPECT_EQ(row->showsTwoValues(), c.two) << c.mode << " " << c.values;
    EXPECT_EQ(row->endSlider.visible, c.two) << c.mode << " " << c.values;
  }
}

TEST_F(RowsNumber, TwoValueSlidersShareTheValueColumn) {
  auto object = objectWith<NumberFilter>(0);
  showEffect(object, 0);
  auto row = rowWith({1, 2});
  // 400 wide: the column is 400 - 3 x 4 - 100 = 288, each slider 143.
  EXPECT_EQ(row->startSlider.fullRect.width, 143);
  EXPECT_EQ(row->endSlider.fullRect.width, 143);
  EXPECT_EQ(row->endSlider.fullRect.x + row->endSlider.fullRect.width,
            row->valueArea.fullRect.x + row->valueArea.fullRect.width);
}

TEST_F(RowsNumber, LastSectionShowsTheLastTwoValuesWithTheEndMarker) {
  auto object = objectWith<NumberFilter>(0);
  showEffect(object, 0);
  settingWindow.section = 5;
  auto row = rowWith({10, 20, 30});
  EXPECT_EQ(row->displayIndex, 1);
  EXPECT_EQ(row->startSlider.value, 20);
  EXPECT_EQ(row->endSlider.value, 30);
  EXPECT_FALSE(row->startSlider.leftGrip);
  EXPECT_TRUE(row->endSlider.rightGrip);

  settingWindow.section = 0;
  row->updateSection();
  EXPECT_EQ(row->startSlider.value, 10);
  EXPECT_TRUE(row->startSlider.leftGrip);
  EXPECT_EQ(row->endSlider.value, 20);
}

TEST_F(RowsNumber, DragIsOneUndoStepAndAReturnToTheStartIsNone) {
  auto object = objectWith<NumberFilter>(0);
  showEffect(object, 0);
  auto row = rowWith({10, 20});
  drag(*row, {"11", "15", "40"});
  EXPECT_EQ(trackOf(object).values, (std::vector<int>{40, 20}));
  EXPECT_EQ(undoSteps(), 1u);

  drag(*row, {"50", "40"});
  EXPECT_EQ(undoSteps(), 1u) << "nothing changed over the drag";
  services.undo().undo();
  EXPECT_EQ(trackOf(object).values, (std::vector<int>{10, 20}));
}

TEST_F(RowsNumber, DragWritesTheSameTrackOfOtherSelectedObjectsWithTheSameMovement) {
  auto own = objectWith<NumberFilter>(0);
  auto same = objectWith<NumberFilter>(1);
  auto otherCount = objectWith<NumberFilter>(2);
  trackOf(otherCount).values = {0, 0, 0};
  for (const auto& object : {own, same, otherCount}) select(object);
  showEffect(own, 0);
  auto row = rowWith({0, 0});
  row->endSlider.applyText("7", 0);
  row->endSlider.endChange();
  EXPECT_EQ(trackOf(own).values, (std::vector<int>{0, 7}));
  EXPECT_EQ(trackOf(same).values, (std::vector<int>{0, 7}));
  EXPECT_EQ(trackOf(otherCount).values, (std::vector<int>{0, 0, 0}));
  services.undo().undo();
  EXPECT_EQ(trackOf(same).values, (std::vector<int>{0, 0})) << "one step holds both";
}

TEST_F(RowsNumber, HiddenTrackHasNoRow) {
  auto object = objectWith<NumberFilter>(0);
  showEffect(object, 0);
  auto& track = trackOf(object);
  track.visible = false;
  EXPECT_EQ(Component::createItemRow(container, block, track), nullptr);
}

}  // namespace
