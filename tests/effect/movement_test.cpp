// Movement kinds: the base contract, the registry that resolves names, the values the
// built-in kinds give along an object, and the easing curve of time control.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "../system/exception_text.h"
#include "effect/builtin_movements.h"
#include "effect/effect_item_number.h"
#include "effect/movement_registry.h"
#include "number_test_support.h"

namespace {

using namespace Effect;
using TestSupport::contextAt;
using TestSupport::makeObject;
using TestSupport::whatOf;

class BareMove : public MovementBase {
 public:
  BareMove() : MovementBase("素の移動", -1) {}
};

TEST(MovementBase, BaseSlotsGiveTheirNeutralAnswers) {
  EffectItemList items;
  const EffectItemNumber track(items, "X", 0, -100, 100, 1);
  const BareMove move;
  const EffectContext context;
  EXPECT_EQ(whatOf([&] { move.getValue(track, {}, context); }),
            "not implement.\n\n[Place]\nEffect::MovementBase::getValue()");
  EXPECT_EQ(move.getSectionFrame(track, {}), -1);
  EXPECT_TRUE(move.hasEndValue(track, 5));
  EXPECT_TRUE(move.isTrajectoryVisible(track));
}

struct KindFields {
  const char* name;
  int valueCount;
  int accelerate;
  int decelerate;
  int ignoreMidpoints;
  bool listed;
};

TEST(MovementRegistry, HoldsTheFrameworksKindsFirst) {
  const KindFields expected[] = {
      {"移動無し", 1, -1, -1, 0, true},
      {"再生範囲", 2, -1, -1, 0, false},
      {"直線移動", -1, 0, 0, 0, true},
  };
  const auto movements = MovementRegistry::instance().getMovements();
  ASSERT_GE(movements.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const KindFields& kind = expected[i];
    SCOPED_TRACE(kind.name);
    const MovementBase* found = MovementRegistry::instance().findMovement(kind.name);
    EXPECT_EQ(movements[i], found);
    EXPECT_EQ(found->valueCount, kind.valueCount);
    EXPECT_EQ(found->accelerate, kind.accelerate);
    EXPECT_EQ(found->decelerate, kind.decelerate);
    EXPECT_EQ(found->ignoreMidpoints, kind.ignoreMidpoints);
    EXPECT_EQ(found->listed, kind.listed);
    EXPECT_FALSE(found->timeControl);
    EXPECT_TRUE(found->midpointAnchors);
    EXPECT_TRUE(found->defaultParams.empty());
    EXPECT_TRUE(found->defaultTimeControl.empty());
  }
  EXPECT_EQ(defaultMovement()->name, "移動無し");
  EXPECT_EQ(playbackRangeMovement()->name, "再生範囲");
}

TEST(MovementRegistry, UnknownNamesAreNotFound) {
  // Names are compared exactly: a trailing blank or another spelling is another name.
  for (const char* name : {"", "存在しない移動", "直線移動 ", " 直線移動", "直線移動(時間制御"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(whatOf([&] { MovementRegistry::instance().findMovement(name); }),
              "not found movement.\n\n[Place]\nEffect::EffectService::findMovement()");
  }
}

TEST(MovementRegistry, RefusesASecondKindUnderATakenName) {
  auto& registry = MovementRegistry::instance();
  const MovementBase* first = registry.findMovement("直線移動");
  EXPECT_EQ(registry.registerMovement(std::make_shared<LinearMove>()), nullptr);
  EXPECT_EQ(registry.findMovement("直線移動"), first);
  EXPECT_EQ(registry.registerMovement(nullptr), nullptr);
}

struct ValueCase {
  const char* what;
  const MovementBase* movement;
  std::vector<int> values;
  int flags;
  int frame;
  double time;
  double expected;
};

// Objects: one section from 0 to 100, and three sections of 10 frames (0 to 30 with
// midpoints at 10 and 20).
TEST(MovementValues, FollowTheKindAlongTheObject) {
  const auto single = makeObject(0, 100);
  const auto three = makeObject(0, 30, {10, 20});
  const MovementBase* still = defaultMovement();
  const MovementBase* range = playbackRangeMovement();
  const MovementBase* line = &TestSupport::linearMove();
  const int accel = EffectItemNumber::FlagAccelerate;
  const int decel = EffectItemNumber::FlagDecelerate;
  const int whole = EffectItemNumber::FlagIgnoreMidpoints;

  struct ObjectCase {
    std::shared_ptr<Edit::Object> object;
    ValueCase value;
  };
  const ObjectCase cases[] = {
      {single, {"no movement keeps its one value", still, {37}, 0, 60, 60, 37}},
      {single, {"playback range gives its start", range, {10, 20}, 0, 90, 90, 10}},
      {single, {"line at a quarter", line, {0, 100}, 0, 25, 25, 25}},
      {single, {"line between frames", line, {0, 100}, 0, 25, 25.5, 25.5}},
      {single, {"line at the end", line, {0, 100}, 0, 100, 100, 100}},
      // With acceleration the curve's control points are v0, v0, the mean and v1.
      {single, {"accelerate at a quarter", line, {0, 100}, accel, 25, 25, 8.59375}},
      {single, {"decelerate at a quarter", line, {0, 100}, decel, 25, 25, 36.71875}},
      {single, {"both at a quarter", line, {0, 100}, accel | decel, 25, 25, 15.625}},
      {single, {"both at the middle", line, {0, 100}, accel | decel, 50, 50, 50}},
      {three, {"first section accelerates", line, {0, 100, 200, 300}, accel | decel, 5, 5, 31.25}},
      {three, {"middle section stays linear", line, {0, 100, 200, 300}, accel | decel, 15, 15, 150}},
      {three, {"last section decelerates", line, {0, 100, 200, 300}, accel | decel, 25, 25, 268.75}},
      {three, {"accelerate only touches the first section", line, {0, 100, 200, 300}, accel, 25, 25, 250}},
      {three, {"midpoint frame starts the next section", line, {0, 100, 200, 300}, 0, 10, 10, 100}},
      // Ignoring midpoints: two values over the whole object.
      {three, {"ignore midpoints spans the object", line, {0, 300}, whole, 15, 15, 150}},
      {three, {"ignore midpoints with deceleration", line, {0, 300}, whole | decel, 15, 15, 206.25}},
      // Fewer values than points: indices past the last read the last value.
      {three, {"missing values repeat the last", line, {0, 100}, 0, 25, 25, 100}},
  };
  for (const ObjectCase& c : cases) {
    SCOPED_TRACE(c.value.what);
    EffectItemList items;
    EffectItemNumber track(items, "X", 0, -1000, 1000, 1);
    track.movement = c.value.movement;
    track.values = c.value.values;
    track.flags = c.value.flags;
    const EffectContext context = contextAt(c.object, c.value.frame, c.value.time);
    EXPECT_DOUBLE_EQ(track.getValue(context), c.value.expected);
  }
}

TEST(MovementValues, AreInDisplayUnits) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 0.01);
  track.movement = &TestSupport::linearMove();
  track.values = {0, 5000};
  EXPECT_DOUBLE_EQ(track.getValue(contextAt(makeObject(0, 100), 50)), 25.0);
  track.movement = defaultMovement();
  track.values = {-1250};
  EXPECT_DOUBLE_EQ(track.getValue(contextAt(makeObject(0, 100), 50)), -12.5);
}

TEST(MovementValues, ATrackWithoutValuesCannotBeEvaluated) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.values.clear();
  for (const MovementBase* movement :
       {defaultMovement(), playbackRangeMovement(), &TestSupport::linearMove()}) {
    SCOPED_TRACE(movement->name);
    track.movement = movement;
    EXPECT_EQ(whatOf([&] { track.getValue(contextAt(makeObject(0, 10), 5)); }),
              "item value index out of range.\n\n[Place]\n"
              "Effect::EffectItemNumber::clampValueIndex()");
  }
}

struct CurveCase {
  const char* what;
  std::vector<double> curve;
  double progress;
  double expected;
};

TEST(TimeControl, MapsProgressThroughTheEasingCurve) {
  const double third = 1.0 / 3.0;
  // Three curve points: (0, 0), (0.5, 0.8) and (1, 1), each with a flat handle of 0.1.
  const std::vector<double> threePoints = {0, 0, 0.1, 0, 0.5, 0.8, 0.1, 0, 1, 1, 0.1, 0};
  const double huge = std::numeric_limits<double>::max();
  const CurveCase cases[] = {
      {"symmetric curve keeps the middle", {0.25, 0.25, 0.25, 0.25}, 0.5, 0.5},
      {"symmetric curve keeps the start", {0.25, 0.25, 0.25, 0.25}, 0.0, 0.0},
      {"symmetric curve keeps the end", {0.25, 0.25, 0.25, 0.25}, 1.0, 1.0},
      {"straight handles keep every progress", {third, third, third, third}, 0.3, 0.3},
      // a = 0.5, b = 0, c = 0, d = 0: at t = 0.5 the abscissa is 0.6875 and the ordinate 0.5.
      {"ease-in at its parameter's middle", {0.5, 0.0, 0.0, 0.0}, 0.6875, 0.5},
      {"a point's progress gives its value", threePoints, 0.5, 0.8},
      {"past the last point gives the last value", threePoints, 1.2, 1.0},
      {"the first point", threePoints, 0.0, 0.0},
      {"before the first point", threePoints, -0.5, 0.0},
      {"the last point", threePoints, 1.0, 1.0},
      {"two numbers are no curve", {0.25, 0.25}, 0.3, 0.3},
      {"five numbers are no curve", {0.25, 0.25, 0.25, 0.25, 0.5}, 0.3, 0.3},
      {"no numbers are no curve", {}, 0.7, 0.7},
      // A curve whose numbers overflow gives no infinity to the movement.
      {"an overflowing curve counts as none", {0, huge, 0.1, huge, 1, 0, 0.1, 0}, 0.5, 0.5},
  };
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.movement = &TestSupport::curveMove();
  for (const CurveCase& c : cases) {
    SCOPED_TRACE(c.what);
    track.timeControl = c.curve;
    // The curve's parameter is solved to within 1e-6 of the progress.
    EXPECT_NEAR(track.applyTimeControl(c.progress), c.expected, 1e-5);
  }
}

TEST(TimeControl, IsIgnoredByKindsWithoutIt) {
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.movement = &TestSupport::linearMove();
  track.timeControl = {0.9, 0.0, 0.9, 0.0};
  for (double progress : {0.0, 0.2, 0.5, 1.0, 1.5}) EXPECT_EQ(track.applyTimeControl(progress), progress);
}

TEST(TimeControl, ShapesTheCurveBetweenItsEnds) {
  // An ease-in curve stays below the straight line inside and meets it at both ends.
  EffectItemList items;
  EffectItemNumber track(items, "X", 0, -100, 100, 1);
  track.movement = &TestSupport::curveMove();
  track.timeControl = {0.75, 0.0, 0.0, 0.0};
  double previous = 0.0;
  for (int i = 1; i < 10; ++i) {
    const double progress = i / 10.0;
    const double eased = track.applyTimeControl(progress);
    EXPECT_LT(eased, progress);
    EXPECT_GT(eased, previous);
    previous = eased;
  }
  EXPECT_NEAR(track.applyTimeControl(1.0), 1.0, 1e-9);
}

}  // namespace
