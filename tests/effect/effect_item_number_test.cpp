// Number items: values kept per point in step units, how they follow the object's points
// and movement changes, and how the preview and the edit model change them.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <typeinfo>
#include <vector>

#include "../system/exception_text.h"
#include "effect/effect_item_number.h"
#include "effect/movement_registry.h"
#include "number_test_support.h"

namespace {

using namespace Effect;
using TestSupport::contextAt;
using TestSupport::framesOf;
using TestSupport::makeObject;
using TestSupport::whatOf;

struct ConstructionCase {
  const char* what;
  double defaultValue, minimum, maximum, step;
  int scale, storedDefault, storedMinimum, storedMaximum;
};

TEST(NumberItem, ConstructionCountsInSteps) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const ConstructionCase cases[] = {
      {"hundredths", 1.5, -10, 10, 0.01, 100, 150, -1000, 1000},
      {"whole units", 100, -2000, 2000, 1, 1, 100, -2000, 2000},
      {"thousandths", -0.25, -1, 1, 0.001, 1000, -250, -1000, 1000},
      {"halves away from zero", -2.5, -10, 10, 1, 1, -3, -10, 10},
      {"a script's half step", 1.5, 0, 10, 0.5, 2, 3, 0, 20},
      // Steps that give no scale count as whole units, so nothing divides by zero.
      {"zero step", 2.4, -5, 5, 0, 1, 2, -5, 5},
      {"negative step", 2.4, -5, 5, -0.1, 1, 2, -5, 5},
      {"step of five", 7, 0, 20, 5, 1, 7, 0, 20},
      {"step not a number", 7, 0, 20, nan, 1, 7, 0, 20},
      // A bound that does not fit 32 bits rounds to 0.
      {"huge maximum", 0, 0, 1e12, 0.01, 100, 0, 0, 0},
  };
  for (const ConstructionCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    const EffectItemNumber track(items, "X", c.defaultValue, c.minimum, c.maximum, c.step);
    EXPECT_EQ(track.scale, c.scale);
    EXPECT_EQ(track.defaultValue, c.storedDefault);
    EXPECT_EQ(track.minimum, c.storedMinimum);
    EXPECT_EQ(track.maximum, c.storedMaximum);
    EXPECT_EQ(track.values, std::vector<int>{c.storedDefault});
    EXPECT_EQ(track.movement, defaultMovement());
    EXPECT_EQ(track.typeCode, ItemType::Number);
    EXPECT_EQ(track.flags, 0);
    EXPECT_TRUE(track.visible);
    EXPECT_EQ(items, EffectItemList{const_cast<EffectItemNumber*>(&track)});
  }
}

struct ResizeCase {
  const char* what;
  const MovementBase* movement;
  int flags;
  std::vector<int> before;
  int pointCount;
  std::vector<int> after;
};

TEST(NumberItem, ResizeKeepsTheLastValueLast) {
  const MovementBase* line = &TestSupport::linearMove();
  const int whole = EffectItemNumber::FlagIgnoreMidpoints;
  const ResizeCase cases[] = {
      {"fewer points drop from the second-to-last", line, 0, {1, 2, 3, 4}, 2, {1, 4}},
      {"more points repeat the last", line, 0, {1, 4}, 4, {1, 4, 4, 4}},
      {"same count", line, 0, {1, 2, 3}, 3, {1, 2, 3}},
      {"ignored midpoints keep two", line, whole, {1, 2, 3, 4}, 6, {1, 4}},
      {"fixed count of no movement", defaultMovement(), 0, {1, 2, 3}, 5, {3}},
      {"fixed count of the playback range", playbackRangeMovement(), 0, {7}, 5, {7, 7}},
      // A point count below one (a damaged object) leaves one value, never none.
      {"no points", line, 0, {1, 2, 3}, 0, {3}},
      {"negative points", line, 0, {5, 6}, -3, {6}},
      {"no values at all", line, 0, {}, 3, {9, 9, 9}},
  };
  for (const ResizeCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 9, -100, 100, 1);
    track.movement = c.movement;
    track.flags = c.flags;
    track.values = c.before;
    track.resizeValues(c.pointCount);
    EXPECT_EQ(track.values, c.after);
  }
}

TEST(NumberItem, SetMovementSizesToTheFixedCountWithTheDefault) {
  EffectItemList items;
  EffectItemNumber track(items, "再生位置", 4, 0, 100, 1);
  track.values = {10};
  track.setMovement(*playbackRangeMovement());
  EXPECT_EQ(track.values, (std::vector<int>{10, 4}));
  track.setMovement(*defaultMovement());
  EXPECT_EQ(track.values, std::vector<int>{10});
  // A kind with a value per point keeps the values for the edit command to size.
  track.values = {1, 2, 3};
  track.setMovement(TestSupport::linearMove());
  EXPECT_EQ(track.values, (std::vector<int>{1, 2, 3}));
}

TEST(NumberItem, MovementChangeTakesTheKindsOptionsAndDefaults) {
  const auto object = makeObject(0, 60, {20, 40});  // four points
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.values = {1, 2, 3, 4};
  track.movement = &TestSupport::optionsMove();
  track.timeControl = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8};
  track.params = {1, 2};
  track.updateMovementFlags(framesOf(object));
  EXPECT_EQ(track.flags, EffectItemNumber::FlagAccelerate | EffectItemNumber::FlagIgnoreMidpoints);
  EXPECT_EQ(track.values, (std::vector<int>{1, 4}));  // ignoring midpoints: two values
  EXPECT_EQ(track.timeControl, (std::vector<double>{0.25, 0.25, 0.25, 0.25}));
  EXPECT_EQ(track.params, std::vector<double>{3});

  // Back to the straight line: the options are off, and the values follow the points again.
  track.movement = &TestSupport::linearMove();
  track.updateMovementFlags(framesOf(object));
  EXPECT_EQ(track.flags, 0);
  EXPECT_EQ(track.values, (std::vector<int>{1, 4, 4, 4}));
  EXPECT_TRUE(track.timeControl.empty());
  EXPECT_TRUE(track.params.empty());
}

TEST(NumberItem, ParamsFollowTheMovementsCount) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.movement = &TestSupport::paramsMove();
  track.params = {99};
  EXPECT_EQ(track.getMovementParams(), (std::vector<double>{15, 2}));
  track.params = {7, 8};
  EXPECT_EQ(track.getMovementParams(), (std::vector<double>{7, 8}));
}

TEST(NumberItem, CopyTrackSettingsKeepsTheDestinationsScale) {
  EffectItemList items;
  EffectItemNumber source(items, "目標", 0, -100, 100, 1);
  source.movement = &TestSupport::paramsMove();
  source.values = {1, 2, 3};
  source.flags = EffectItemNumber::FlagDecelerate;
  source.params = {4, 5};
  source.timeControl = {0.25, 0.25, 0.25, 0.25};
  EffectItemNumber destination(items, "X", 0.5, -10, 10, 0.01);
  destination.values = {77};
  source.copyTrackSettings(destination);
  EXPECT_EQ(destination.movement, source.movement);
  EXPECT_EQ(destination.flags, source.flags);
  EXPECT_EQ(destination.params, source.params);
  EXPECT_EQ(destination.timeControl, source.timeControl);
  EXPECT_EQ(destination.values, (std::vector<int>{77, 0, 0}));
  EXPECT_EQ(destination.scale, 100);
  EXPECT_EQ(destination.defaultValue, 50);
}

TEST(NumberItem, ClampValueIndexStaysInsideTheValues) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.values = {1, 2, 3};
  const int cases[][2] = {{-5, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 2}, {std::numeric_limits<int>::max(), 2}};
  for (const auto& c : cases) EXPECT_EQ(track.clampValueIndex(c[0]), c[1]) << c[0];
  track.values.clear();
  EXPECT_EQ(whatOf([&] { track.clampValueIndex(0); }),
            "item value index out of range.\n\n[Place]\nEffect::EffectItemNumber::clampValueIndex()");
}

struct SetCase {
  const char* what;
  double value;
  int stored;
};

TEST(NumberItem, SetValueRoundsAndClampsToTheRange) {
  const double inf = std::numeric_limits<double>::infinity();
  const SetCase cases[] = {
      {"plain", 1.23, 123},
      {"half up", 2.125, 213},
      {"half down", -2.125, -213},
      {"above the maximum", 12, 1000},
      {"below the minimum", -12, -1000},
      // Far outside 32 bits the value still takes the nearest end of the range.
      {"far above", 1e300, 1000},
      {"far below", -inf, -1000},
      {"not a number", std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 1.5, -10, 10, 0.01);
    track.setValue(c.value, 0);
    EXPECT_EQ(track.values, std::vector<int>{c.stored});
  }
  EffectItemList items;
  EffectItemNumber track(items, "X", 1.5, -10, 10, 0.01);
  track.setValue(3, 1);
  track.setValue(3, -1);
  EXPECT_EQ(track.values, std::vector<int>{150});
}

struct PointCase {
  const char* what;
  std::vector<int> before;
  int pointIndex;
  std::vector<int> after;
};

// The object has two midpoints, so four points (0 to 3).
TEST(NumberItem, PreviewEditsTheValueOfItsPoint) {
  const auto object = makeObject(0, 30, {10, 20});
  const PointCase cases[] = {
      {"start", {1, 2, 3, 4}, 0, {9, 2, 3, 4}},
      {"midpoint", {1, 2, 3, 4}, 2, {1, 2, 9, 4}},
      {"end", {1, 2, 3, 4}, 3, {1, 2, 3, 9}},
      {"past the end", {1, 2, 3, 4}, 7, {1, 2, 3, 9}},
      {"before the start", {1, 2, 3, 4}, -1, {9, 2, 3, 4}},
      {"every point", {1, 2, 3, 4}, EffectItemNumber::kEveryPoint, {9, 9, 9, 9}},
      {"single value", {1}, 2, {9}},
      // Two values (midpoints ignored): a midpoint is no stored value.
      {"ignored midpoint", {1, 4}, 1, {1, 4}},
      {"end of two", {1, 4}, 3, {1, 9}},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -100, 100, 1);
    track.values = c.before;
    track.setCurrentValue(framesOf(object), c.pointIndex, 9);
    EXPECT_EQ(track.values, c.after);
  }
}

TEST(NumberItem, DragsAddRoundedDeltas) {
  const auto object = makeObject(0, 30);
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -10, 10, 0.01);
  track.values = {100, 200};
  // 0.4 of a step rounds to nothing.
  EXPECT_FALSE(track.addValue(framesOf(object), 1, 0.004));
  EXPECT_EQ(track.values, (std::vector<int>{100, 200}));
  EXPECT_TRUE(track.addValue(framesOf(object), 1, 0.005));
  EXPECT_EQ(track.values, (std::vector<int>{100, 201}));
  EXPECT_TRUE(track.addValue(framesOf(object), EffectItemNumber::kEveryPoint, -0.5));
  EXPECT_EQ(track.values, (std::vector<int>{50, 151}));
  // At the end of the range a further push changes nothing, however large.
  EXPECT_TRUE(track.addValue(framesOf(object), 0, 1e300));
  EXPECT_EQ(track.values[0], 1000);
  EXPECT_FALSE(track.addValue(framesOf(object), 0, 5));
  EXPECT_FALSE(track.addValue(framesOf(object), 0, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(track.values, (std::vector<int>{1000, 151}));
}

TEST(NumberItem, NewMidpointsTakeARecordedOrTheDefaultValue) {
  const MovementBase& line = TestSupport::linearMove();
  EffectItemList items;
  EffectItemNumber track(items, "X", 0.5, -10, 10, 0.01);
  track.movement = &line;
  track.values = {0, 100};
  track.insertSectionValue(0, nullptr);
  EXPECT_EQ(track.values, (std::vector<int>{0, 50, 100}));

  // A recorded display value is used unclamped; a recorded point index places it.
  SectionValueMap recorded;
  recorded[&track] = {25.0, -1};
  track.insertSectionValue(1, &recorded);
  EXPECT_EQ(track.values, (std::vector<int>{0, 50, 2500, 100}));
  recorded[&track] = {-1.0, 0};
  track.insertSectionValue(2, &recorded);
  EXPECT_EQ(track.values, (std::vector<int>{0, -100, 50, 2500, 100}));
  // A record of another track is not this track's.
  EffectItemNumber other(items, "Y", 0, -10, 10, 0.01);
  SectionValueMap others;
  others[&other] = {3.0, -1};
  track.setSectionValue(4, &others);
  EXPECT_EQ(track.values.back(), 50);
  track.setSectionValue(0, &recorded);
  EXPECT_EQ(track.values.front(), -100);

  // Tracks without a value per point are left alone.
  for (int flags : {int{EffectItemNumber::FlagIgnoreMidpoints}, 0}) {
    EffectItemNumber fixed(items, "Z", 1, -10, 10, 1);
    fixed.flags = flags;
    if (flags) fixed.movement = &line;
    fixed.values = {1, 2};
    fixed.insertSectionValue(0, &recorded);
    fixed.setSectionValue(0, nullptr);
    EXPECT_EQ(fixed.values, (std::vector<int>{1, 2}));
  }
}

struct EditableCase {
  const char* what;
  std::size_t valueCount;
  int frame;
  bool editable;
};

// The object runs from 100 to 130 with midpoints at 110 and 120.
TEST(NumberItem, EditableValuesAreThoseStoredAtPoints) {
  const auto object = makeObject(100, 130, {10, 20});
  const EditableCase cases[] = {
      {"inside a section, one value", 1, 105, true},
      {"inside a section, per point", 4, 105, false},
      {"start", 4, 100, true},
      {"end", 4, 130, true},
      {"start of two", 2, 100, true},
      {"end of two", 2, 130, true},
      {"midpoint per point", 4, 110, true},
      {"midpoint of one value", 1, 120, true},
      {"midpoint while midpoints are ignored", 2, 110, false},
  };
  for (const EditableCase& c : cases) {
    SCOPED_TRACE(c.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -100, 100, 1);
    track.values.assign(c.valueCount, 0);
    EXPECT_EQ(track.isValueEditable(contextAt(object, c.frame)), c.editable);
  }
}

TEST(NumberItem, SectionPositionIsAContinuousPointCoordinate) {
  const auto object = makeObject(100, 130, {10, 20});
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.movement = &TestSupport::linearMove();
  const EffectContext context = contextAt(object, 100);
  EXPECT_DOUBLE_EQ(track.getSectionPosition(context, 105), 0.5);
  EXPECT_DOUBLE_EQ(track.getSectionPosition(context, 120), 2.0);
  EXPECT_DOUBLE_EQ(track.getSectionPosition(context, 127.5), 2.75);
  track.flags = EffectItemNumber::FlagIgnoreMidpoints;
  EXPECT_DOUBLE_EQ(track.getSectionPosition(context, 115), 0.5);
}

TEST(NumberItem, ValueAtAnotherFrameOfTheObject) {
  const auto object = makeObject(100, 130, {10, 20});
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -1000, 1000, 1);
  track.movement = &TestSupport::linearMove();
  track.values = {0, 100, 200, 300};
  const EffectContext context = contextAt(object, 100);
  EXPECT_DOUBLE_EQ(track.getValueAtFrame(context, 115), 150);
  EXPECT_DOUBLE_EQ(track.getValueAtFrame(context, 125.5), 255);
  // An instant that is not a number is the object's start; one far away stays finite.
  EXPECT_DOUBLE_EQ(track.getValueAtFrame(context, std::numeric_limits<double>::quiet_NaN()), 0);
  EXPECT_TRUE(std::isfinite(track.getValueAtFrame(context, 1e300)));
  EXPECT_TRUE(std::isfinite(track.getValueAtFrame(context, -std::numeric_limits<double>::infinity())));
  track.flags = EffectItemNumber::FlagIgnoreMidpoints;
  track.values = {0, 300};
  EXPECT_DOUBLE_EQ(track.getValueAtFrame(context, 110), 100);
}

TEST(NumberItem, CopiesComparesAndClonesTheWholeTrack) {
  EffectItemList items;
  EffectItemNumber source(items, "X", 0, -100, 100, 0.1);
  source.movement = &TestSupport::paramsMove();
  source.values = {1, 2, 3};
  source.flags = 3;
  source.params = {4, 5};
  source.timeControl = {0.25, 0.25, 0.25, 0.25};
  source.notify = true;
  EffectItemNumber copy(items, "Y", 5, -1, 1, 1);
  EXPECT_FALSE(copy.equals(source));
  copy.copyFrom(source);
  EXPECT_TRUE(copy.equals(source));
  EXPECT_EQ(copy.name, "Y");
  EXPECT_EQ(copy.scale, 10);
  EXPECT_FALSE(copy.notify);

  const auto clone = source.clone();
  const EffectItem& cloned = *clone;
  EXPECT_EQ(typeid(cloned), typeid(EffectItemNumber));
  EXPECT_EQ(clone->name, "X");
  EXPECT_TRUE(clone->notify);
  EXPECT_TRUE(clone->equals(source));
  EXPECT_EQ(items.size(), 2u);  // a clone joins no effect

  copy.params[1] = std::numeric_limits<double>::quiet_NaN();
  source.params[1] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(copy.equals(source));  // a NaN never equals

  EffectItemLayerObject target(items, "目標レイヤー", 0, 0, 1000, 1);
  const auto targetClone = target.clone();
  const EffectItem& targetCloned = *targetClone;
  EXPECT_EQ(typeid(targetCloned), typeid(EffectItemNumber));
  EXPECT_EQ(target.typeCode, ItemType::Number);
}

TEST(NumberItem, OnlyAVisibleTrackGetsARow) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  EXPECT_EQ(track.getControlKind(), ControlKind::Number);
  track.visible = false;
  EXPECT_EQ(track.getControlKind(), ControlKind::None);
}

}  // namespace
