// The shared part of the item rows: the row's share of its line, the press and hover
// actions, the other selected objects' matching effects and items, and the edit scope.
#include <gtest/gtest.h>

#include "edit/undo_item.h"
#include "effect/effect_item_integer.h"
#include "system/exception.h"
#include "tests/setting_window/rows_test_support.h"

namespace {

using Component::EffectItemControl;
using TestSupport::NumberFilter;
using TestSupport::TestFilter;

// The plainest row: the framework with no widgets of its own.
class PlainRow : public EffectItemControl<Effect::EffectItemInteger> {
 public:
  using EffectItemControl::EffectItemControl;
};

class RowsFramework : public RowsTest::RowFixture {
 protected:
  std::unique_ptr<PlainRow> rowFor(Effect::EffectItem& item) {
    return std::make_unique<PlainRow>(container, block, 20, item);
  }
};

TEST_F(RowsFramework, RowTakesItsShareOfTheLineAndInsetsItsWidgets) {
  auto object = objectWith<TestFilter>(0);
  showEffect(object, 0);
  auto row = rowFor(static_cast<TestFilter&>(*block.effect).amount);
  row->leftFraction = 0.25f;
  row->rightFraction = 0.75f;
  layOut();
  EXPECT_EQ(row->fullRect.x, 100);
  EXPECT_EQ(row->fullRect.width, 200);
  EXPECT_EQ(row->fullRect.height, 20);
  // The widget area keeps the margin on both sides and 2 pixels at the bottom.
  EXPECT_EQ(row->layout.fullRect.x, 104);
  EXPECT_EQ(row->layout.fullRect.width, 192);
  EXPECT_EQ(row->layout.fullRect.height, 18);
}

TEST_F(RowsFramework, PressRunsTheClickActionOnlyWhenThereIsOne) {
  auto object = objectWith<TestFilter>(0);
  showEffect(object, 0);
  std::vector<bool> painted;
  block.paintRowBody = [&](Component::EffectItemBaseControl&, bool hover) {
    painted.push_back(hover);
  };
  auto row = rowFor(static_cast<TestFilter&>(*block.effect).amount);
  layOut();
  click(10, 10);
  move(10, 10);
  move(10, 100);
  EXPECT_TRUE(painted.empty()) << "a row without an action neither reacts nor highlights";

  int clicks = 0;
  row->clickAction = [&] { ++clicks; };
  move(10, 10);
  click(10, 10);
  move(10, 100);
  EXPECT_EQ(clicks, 1);
  ASSERT_GE(painted.size(), 2u);
  EXPECT_TRUE(painted.front()) << "entering paints the body hovered";
  EXPECT_FALSE(painted.back()) << "leaving paints it normal again";
}

TEST_F(RowsFramework, RowsWithoutFilesRefuseThem) {
  auto object = objectWith<TestFilter>(0);
  showEffect(object, 0);
  auto row = rowFor(static_cast<TestFilter&>(*block.effect).amount);
  try {
    row->updateFile("a.png");
    FAIL() << "no exception";
  } catch (const System::Exception& e) {
    EXPECT_NE(std::string(e.what()).find("not implement."), std::string::npos);
  }
}

TEST_F(RowsFramework, LinkedEffectsAreTheSameKindAtTheSamePositionOnOtherSelectedObjects) {
  auto own = objectWith<TestFilter, NumberFilter>(0);
  auto same = objectWith<TestFilter, NumberFilter>(1);
  auto otherKind = objectWith<NumberFilter, TestFilter>(2);
  auto shorter = objectWith<TestFilter>(3);
  for (const auto& object : {own, same, otherKind, shorter}) select(object);
  showEffect(own, 1);
  auto row = rowFor(static_cast<TestFilter&>(*own->effects[0]).amount);
  EXPECT_TRUE(row->editsLinkedObjects());
  const auto linked = row->getLinkedEffects();
  ASSERT_EQ(linked.size(), 1u);
  EXPECT_EQ(linked[0], same->effects[1]);

  // An effect that is not in the window's object links nothing.
  block.effect = std::make_shared<NumberFilter>();
  EXPECT_TRUE(row->getLinkedEffects().empty());
}

TEST_F(RowsFramework, LinkedItemNeedsTheSameIndexCodeNameAndClass) {
  auto own = objectWith<TestFilter>(0);
  showEffect(own, 0);
  auto& filter = static_cast<TestFilter&>(*own->effects[0]);
  auto row = rowFor(filter.amount);
  TestFilter other;
  EXPECT_EQ(row->linkedItem<Effect::EffectItemInteger>(other), &other.amount);
  other.amount.name = "別名";
  EXPECT_EQ(row->linkedItem<Effect::EffectItemInteger>(other), nullptr);
  NumberFilter otherKind;
  EXPECT_EQ(row->linkedItem<Effect::EffectItemInteger>(otherKind), nullptr);
}

TEST_F(RowsFramework, EditWithItsOwnStepRecordsTheEffectBeforeTheChange) {
  auto own = objectWith<TestFilter>(0);
  showEffect(own, 0);
  auto& filter = static_cast<TestFilter&>(*own->effects[0]);
  auto row = rowFor(filter.amount);
  row->runEdit(true, [&](Edit::UpdateSection& scope) {
    EXPECT_TRUE(scope.notifyObject);
    EXPECT_EQ(scope.object, own);
    filter.amount.value = 5;
  });
  EXPECT_EQ(undoSteps(), 1u);
  services.undo().undo();
  EXPECT_EQ(filter.amount.value, 0) << "the step holds the value from before";

  // An edit without an own step records nothing.
  row->runEdit(false, [&](Edit::UpdateSection&) { filter.amount.value = 7; });
  EXPECT_EQ(undoSteps(), 1u);
}

}  // namespace
