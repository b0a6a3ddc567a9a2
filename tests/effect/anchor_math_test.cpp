// The arithmetic the anchor families share: points and value indices, the drag position,
// the size-handle ratio and snapping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "anchor_test_support.h"
#include "effect/anchor_drag.h"
#include "effect/anchor_points.h"

namespace {

using Effect::EffectItemNumber;
using Effect::NumberItemList;
using XMath::Vector;

// Start 10, end 100, midpoints at 20 and 50 (frames 30 and 60): points 0 ... 3.
struct Frames {
  std::vector<int> midpoints{20, 50};
  Effect::ObjectFrames frames{10, 100, midpoints};
};

TEST(AnchorPoints, PointFramesRunFromTheStartOverTheMidpointsToTheEnd) {
  const Frames object;
  const struct {
    int point, frame;
  } cases[] = {{-1, 10}, {0, 10}, {1, 30}, {2, 60}, {3, 100}, {7, 100}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.point);
    EXPECT_EQ(Effect::anchorPointFrame(object.frames, c.point), c.frame);
  }
  EXPECT_EQ(Effect::anchorPointAtFrame(object.frames, 60), 2);
  EXPECT_EQ(Effect::anchorPointAtFrame(object.frames, 100), 3);
  EXPECT_EQ(Effect::anchorPointAtFrame(object.frames, 45), Anchor::kCurrentPositionId);
}

TEST(AnchorPoints, ValueIndicesFollowTheValueCount) {
  // Two midpoints: a track with a value per point keeps 4 values.
  Effect::EffectItemList items;
  EffectItemNumber item(items, "X", 0, -100, 100, 1);
  const struct {
    std::size_t count;
    int point, index;
  } cases[] = {
      {1, 0, 0}, {1, 2, 0}, {1, 3, 0},          // static: the one value everywhere
      {4, 0, 0}, {4, 1, 1}, {4, 2, 2}, {4, 3, 3},  // one value per point
      {3, 0, 0}, {3, 1, -1}, {3, 3, 2},          // neither: only the ends
      {0, 0, -1},                                // no value at all
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.count << " values, point " << c.point);
    item.values.assign(c.count, 0);
    EXPECT_EQ(Effect::anchorValueIndex(item, 2, c.point), c.index);
  }
}

TEST(AnchorPoints, ValuesThatDisagreeWithTheSectionsHideTheMidpointsOnly) {
  Effect::EffectItemList items;
  EffectItemNumber x(items, "X", 0, -100, 100, 1);
  EffectItemNumber y(items, "Y", 0, -100, 100, 1);
  const NumberItemList list{&x, &y};
  y.values = {1, 2, 3};  // two midpoints want 4
  EXPECT_TRUE(Effect::pointValuesAgree(list, 2, 0));
  EXPECT_FALSE(Effect::pointValuesAgree(list, 2, 1));
  EXPECT_FALSE(Effect::pointValuesAgree(list, 2, 2));
  EXPECT_TRUE(Effect::pointValuesAgree(list, 2, 3));
  y.values = {1, 2, 3, 4};
  EXPECT_TRUE(Effect::pointValuesAgree(list, 2, 1));
  const auto indices = Effect::pointValueIndices(list, 2, 2);
  ASSERT_TRUE(indices);
  EXPECT_EQ(*indices, (std::vector<int>{0, 2}));
}

TEST(AnchorPoints, EditableWhereTheFrameIsAPointWithItsOwnValues) {
  Effect::EffectItemList items;
  EffectItemNumber x(items, "X", 0, -100, 100, 1);
  EffectItemNumber y(items, "Y", 0, -100, 100, 1);
  const NumberItemList list{&x, &y};
  const auto object = TestSupport::makeObject(10, 100, {20, 50});
  const struct {
    std::size_t largest;
    int frame;
    bool editable;
  } cases[] = {{1, 45, true},  {4, 45, false}, {4, 30, true},  {3, 30, false},
               {3, 10, true},  {3, 100, true}, {1, 60, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.largest << " values at frame " << c.frame);
    y.values.assign(c.largest, 0);
    EXPECT_EQ(Effect::isAnchorEditable(list, TestSupport::contextAt(object, c.frame)), c.editable);
  }
}

TEST(AnchorPoints, ContextTimeKeepsTheFrameDefinedForAnyInstant) {
  const auto object = TestSupport::makeObject(10, 100, {20});
  Effect::EffectContext context = TestSupport::contextAt(object, 15);
  context.frameOffset = 4;
  Effect::setContextTime(context, 42.75);
  EXPECT_EQ(context.frame, 42);
  EXPECT_EQ(context.frameOffset, 0);
  EXPECT_EQ(context.sectionPosition.sectionIndex, 1);
  EXPECT_DOUBLE_EQ(context.sectionPosition.framesInSection, 12.75);
  Effect::setContextTime(context, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(context.frame, 10);
  Effect::setContextTime(context, 1e300);
  EXPECT_EQ(context.frame, std::numeric_limits<int>::max());
}

// A drag of (50, 25) pixels over a 200 x 100 preview moves by (0.5, -0.5) in device units.
TEST(AnchorEvent, MovePositionTakesTheMouseTravelBackThroughTheSourceMatrix) {
  Anchor::AnchorEvent event;
  event.viewWidth = 200;
  event.viewHeight = 100;
  event.deltaX = 50;
  event.deltaY = 25;
  event.startPoint = {1, 1, 0, 1};
  event.sourceMatrix = XMath::scaling(2, 2, 1);
  EXPECT_EQ(event.movePosition(), (Vector{1.25f, 0.75f, 0, 1}));

  // A projection with w = 2: the travel scales with w, and the result is divided again.
  event.startPoint = {0, 0, 0, 1};
  event.sourceMatrix = XMath::identity();
  event.sourceMatrix.m[3][3] = 2.0f;
  EXPECT_EQ(event.movePosition(), (Vector{1, -1, 0, 1}));

  // Without a preview area or with a singular matrix the handle stays where it started.
  event.sourceMatrix = XMath::scaling(0, 0, 0);
  EXPECT_EQ(event.movePosition(), (Vector{0, 0, 0, 1}));
  event.sourceMatrix = XMath::identity();
  event.viewWidth = 0;
  EXPECT_EQ(event.movePosition(), (Vector{0, 0, 0, 1}));
}

TEST(AnchorDrag, SizeHandleRatioIsTheReachOverTheStartReach) {
  const Vector center{0, 0, 0, 1};
  const Vector start{100, 0, 0, 1};
  const Vector offset{0, 10, 0, 0};
  const struct {
    Vector current;
    double ratio;
  } cases[] = {
      {{200, 0, 0, 1}, 2.0},    // twice as far
      {{50, 30, 0, 1}, std::hypot(50.0, 30.0) / 100.0},
      {{5, 0, 0, 1}, 0.16},     // the reach never drops below 16
      {{-50, 0, 0, 1}, 0.16},   // past the centre
      {{0, 80, 0, 1}, 0.16},    // at right angles
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ratio);
    const Effect::HandleResize resize = Effect::resizeByHandle(center, start, c.current, offset);
    EXPECT_NEAR(resize.ratio, c.ratio, 1e-6);
  }
  const Effect::HandleResize twice = Effect::resizeByHandle(center, start, {200, 0, 0, 1}, offset);
  EXPECT_EQ(twice.handle, (Vector{100, 20, 0, 1}));
  // A handle that starts on the centre divides by the smallest reach, not by zero.
  EXPECT_DOUBLE_EQ(Effect::resizeByHandle(center, center, {32, 0, 0, 1}, offset).ratio, 1.0);
}

// Scene 1920 x 1080 shown in a 960 x 540 preview: 8 pixels are 8 / 480 device units across.
class SnapTest : public testing::Test {
 protected:
  SnapTest() {
    event.sceneWidth = 1920;
    event.sceneHeight = 1080;
    event.viewWidth = 960;
    event.viewHeight = 540;
    event.itemScreenPoints = {{0, 0, 0, 1}};
  }
  Anchor::AnchorEvent event;
};

TEST_F(SnapTest, EachAxisSnapsToTheLastTargetInReach) {
  event.otherScreenPoints = {{0.01f, 0.5f, 0, 1}};
  Vector snapped = Effect::snapPosition(event, {0, 0, 0, 1});
  EXPECT_NEAR(snapped.x, 0.01 * 960, 1e-3);  // x in reach, corrected
  EXPECT_EQ(snapped.y, 0.0f);                // y out of reach

  // After a drag of 96 pixels the candidate sits at 0.1; both targets are in reach.
  event.otherScreenPoints = {{0.09f, 1, 0, 1}, {0.105f, -0.02f, 0, 1}};
  snapped = Effect::snapPosition(event, {96, 0, 0, 1});
  EXPECT_NEAR(snapped.x, 96 + 0.005 * 960, 1e-3);
  EXPECT_NEAR(snapped.y, -0.02 * -540, 1e-3);  // screen y runs opposite to scene y
}

TEST_F(SnapTest, DraggedObjectsCompareTheirOwnPositionsWhenAsked) {
  event.draggedScreenPoints = {{0.3f, 0.3f, 0, 1}};
  event.otherScreenPoints = {{0.305f, 0.9f, 0, 1}};
  EXPECT_EQ(Effect::snapPosition(event, {0, 0, 0, 1}).x, 0.0f);
  event.flags = Anchor::Flag::SnapAllDragged;
  EXPECT_NEAR(Effect::snapPosition(event, {0, 0, 0, 1}).x, 0.005 * 960, 1e-3);
}

TEST_F(SnapTest, NothingSnapsWithoutSizes) {
  event.otherScreenPoints = {{0, 0, 0, 1}};
  event.viewWidth = 0;
  EXPECT_EQ(Effect::snapPosition(event, {3, 4, 0, 1}), (Vector{3, 4, 0, 1}));
}

}  // namespace
