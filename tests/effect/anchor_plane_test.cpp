// The anchor base and the image-plane family: which handles a frame shows, when it shows
// none, what presses and double clicks do, and how a drag changes X and Y.
#include <gtest/gtest.h>

#include "anchor_test_support.h"
#include "effect/anchor_points.h"
#include "system/exception.h"

namespace {

using TestSupport::AddedAnchor;
using XMath::Vector;

// A moving movement whose path the preview does not draw, and one without a placeable
// value at the end.
class PathlessMove : public Effect::MovementBase {
 public:
  PathlessMove(const char* name, bool trajectory, bool endValue)
      : MovementBase(name, -1), trajectory_(trajectory), endValue_(endValue) {}
  double getValue(const Effect::EffectItemNumber& track, const Effect::SectionPosition&,
                  const Effect::EffectContext&) const override {
    return track.getDisplayValue(0);
  }
  bool isTrajectoryVisible(const Effect::EffectItemNumber&) const override { return trajectory_; }
  bool hasEndValue(const Effect::EffectItemNumber&, int point) const override {
    return endValue_ || point != 2;
  }

 private:
  bool trajectory_, endValue_;
};

const Effect::MovementBase& randomLikeMove() {
  static const Effect::MovementBase& move =
      TestSupport::registerOnce(std::make_shared<PathlessMove>("テスト乱数", false, true));
  return move;
}
const Effect::MovementBase& jumpLikeMove() {
  static const Effect::MovementBase& move =
      TestSupport::registerOnce(std::make_shared<PathlessMove>("テスト瞬間", true, false));
  return move;
}

// A filter on an object from frame 0 to 80 with one midpoint at 40 (points 0, 1, 2), being
// rendered at frame 20 for the editing preview; the object has the focus.
class PlaneAnchorTest : public testing::Test {
 public:
  PlaneAnchorTest() {
    edit.focus = object.get();
    edit.chains[object.get()] = {effect};
    context.anchorList = &list;
  }
  void update() { effect->updateAnchor(context, 320, 240); }

  TestSupport::FakeAnchorEdit edit;
  TestSupport::FakeAnchorRender render;
  std::shared_ptr<Edit::Object> object = TestSupport::makeObject(0, 80, {40});
  std::shared_ptr<TestSupport::PlaneFilter> effect = std::make_shared<TestSupport::PlaneFilter>();
  Effect::EffectContext context = TestSupport::contextAt(object, 20);
  TestSupport::RecordingAnchorList list;
};

TEST_F(PlaneAnchorTest, StaticPositionShowsOneDrawnCircleAndNothingElse) {
  effect->x.values = {12};
  effect->y.values = {-7};
  update();
  ASSERT_EQ(list.size(), 1u);
  const AddedAnchor& circle = *list.ofKind("medium").at(0);
  EXPECT_EQ(circle.id, Anchor::kCurrentPositionId);
  EXPECT_EQ(circle.flags, 0);  // drawn; a filter's handle does not select the object
  EXPECT_EQ(circle.point, (Vector{12, -7, 0, 1}));
  EXPECT_EQ(circle.item.startPoint, circle.point);
  EXPECT_EQ(circle.item.currentPoint, circle.point);
}

TEST_F(PlaneAnchorTest, MovingPositionShowsPointsMarkerAndTrajectory) {
  TestSupport::moveTrack(effect->x, {0, 40, 80});
  TestSupport::moveTrack(effect->y, {0, 0, 160});
  update();

  const auto circles = list.ofKind("medium");
  ASSERT_EQ(circles.size(), 4u);
  EXPECT_EQ(circles[0]->id, Anchor::kCurrentPositionId);
  EXPECT_EQ(circles[0]->flags, Anchor::Flag::Hidden);
  EXPECT_EQ(circles[0]->point, (Vector{20, 0, 0, 1}));  // halfway through the first section
  const Vector points[] = {{0, 0, 0, 1}, {40, 0, 0, 1}, {80, 160, 0, 1}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(circles[1 + i]->id, i);
    EXPECT_EQ(circles[1 + i]->flags, Anchor::Flag::PointAnchor);
    EXPECT_EQ(circles[1 + i]->point, points[i]);
  }

  const auto markers = list.ofKind("point");
  ASSERT_EQ(markers.size(), 1u);
  EXPECT_EQ(markers[0]->point, (Vector{20, 0, 0, 1}));
  EXPECT_TRUE(markers[0]->color.has_value());  // a filter's marker is coloured

  // 32 samples per section over two sections, plus the end, plus the midpoint itself.
  const auto path = list.ofKind("polyline");
  ASSERT_EQ(path.size(), 1u);
  ASSERT_EQ(path[0]->polyline.size(), 32u * 2 + 1 + 1);
  EXPECT_EQ(path[0]->polyline[32], (Vector{40, 0, 0, 1}));  // the exact midpoint sample
  EXPECT_EQ(path[0]->polyline.back(), (Vector{80, 160, 0, 1}));
  EXPECT_EQ(list.ofKind("dot").size(), 17u);  // every fourth of the 65 samples
}

TEST_F(PlaneAnchorTest, TrajectoryOptionsChangeItsSamplesAndDots) {
  TestSupport::moveTrack(effect->x, {0, 80});
  TestSupport::moveTrack(effect->y, {0, 80});
  effect->x.flags = effect->y.flags = Effect::EffectItemNumber::FlagIgnoreMidpoints;
  edit.settings.displayMovePoint = false;
  update();
  // 64 samples over the whole object, the midpoint still sampled exactly; no dots.
  EXPECT_EQ(list.ofKind("polyline").at(0)->polyline.size(), 64u + 1 + 1);
  EXPECT_TRUE(list.ofKind("dot").empty());
}

TEST_F(PlaneAnchorTest, ValuesThatDisagreeWithSectionsShowOnlyTheEnds) {
  object = TestSupport::makeObject(0, 90, {30, 60});
  edit.focus = object.get();
  edit.chains = {{object.get(), {effect}}};
  context = TestSupport::contextAt(object, 20);
  context.anchorList = &list;
  TestSupport::moveTrack(effect->x, {0, 10, 20});  // three values, four points
  update();
  std::vector<int> ids;
  for (const AddedAnchor* circle : list.ofKind("medium")) ids.push_back(circle->id);
  EXPECT_EQ(ids, (std::vector<int>{Anchor::kCurrentPositionId, 0, 3}));
}

TEST_F(PlaneAnchorTest, MovementsDecideTrajectoryAndEndPoint) {
  effect->x.setMovement(randomLikeMove());
  effect->x.values = {0, 40, 80};
  update();
  EXPECT_TRUE(list.ofKind("polyline").empty());
  EXPECT_EQ(list.ofKind("medium").size(), 4u);

  TestSupport::RecordingAnchorList second;
  context.anchorList = &second;
  effect->x.setMovement(jumpLikeMove());
  effect->y.setMovement(jumpLikeMove());
  effect->x.values = effect->y.values = {0, 40, 80};
  update();
  std::vector<int> ids;
  for (const AddedAnchor* circle : second.ofKind("medium")) ids.push_back(circle->id);
  EXPECT_EQ(ids, (std::vector<int>{Anchor::kCurrentPositionId, 0, 1}));
}

TEST_F(PlaneAnchorTest, NoHandlesWhereTheyMayNotBeUsed) {
  const struct {
    const char* why;
    void (*arrange)(PlaneAnchorTest&);
  } cases[] = {
      {"effect locked", [](PlaneAnchorTest& t) { t.effect->lock = true; }},
      {"layer locked", [](PlaneAnchorTest& t) { t.edit.lockedLayers = {t.context.layerIndex}; }},
      {"filter without focus", [](PlaneAnchorTest& t) { t.edit.focus = nullptr; }},
      {"not in the chain", [](PlaneAnchorTest& t) { t.edit.chains.clear(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    PlaneAnchorTest& self = *this;
    effect->lock = false;
    edit.lockedLayers.clear();
    edit.focus = object.get();
    edit.chains = {{object.get(), {effect}}};
    c.arrange(self);
    update();
    EXPECT_EQ(list.size(), 0u);
  }
}

TEST_F(PlaneAnchorTest, SamplingLeavesTheContextAsItWas) {
  TestSupport::moveTrack(effect->x, {0, 40, 80});
  Effect::setContextTime(context, 20.5);
  context.frameOffset = 3;
  context.outputView.x = 5;
  context.outputView.z = -2;
  const Effect::SectionPosition before = context.sectionPosition;
  update();
  EXPECT_EQ(context.time, 20.5);
  EXPECT_EQ(context.frame, 20);
  EXPECT_EQ(context.frameOffset, 0);
  EXPECT_EQ(context.sectionPosition, before);
  EXPECT_EQ(context.outputView.x, 5);
  EXPECT_EQ(context.outputView.z, -2);
}

TEST_F(PlaneAnchorTest, AnchorPositionIsTheTrackAtThatFrameProjected) {
  TestSupport::moveTrack(effect->x, {0, 100, 100});
  TestSupport::moveTrack(effect->y, {0, 200, 200});
  context.outputView.x = 1000;  // the view's position places the plane
  context.outputView.centerX = 30;  // the centre does not
  EXPECT_EQ(effect->getAnchorPosition(context, 20), (Vector{1050, 100, 0, 1}));
  EXPECT_EQ(context.frame, 20);
}

// A family that keeps the base's current and section handles.
class BareAnchorEffect : public Effect::AnchorEffectBase {
 public:
  BareAnchorEffect() : AnchorEffectBase("テスト基底", 3, 1, 1) {}
  std::shared_ptr<EffectBase> create() const override { return std::make_shared<BareAnchorEffect>(); }
  void setAnchor(Effect::EffectContext&, const EffectEntry&, int, int) override {}
  void moveAnchor(Anchor::AnchorEvent&) override {}
  Vector getAnchorPosition(Effect::EffectContext&, double) override { return {}; }
};

TEST(AnchorEffectBase, CurrentAndSectionHandlesAreNotImplementedInTheBase) {
  BareAnchorEffect effect;
  Effect::EffectContext context;
  const struct {
    const char* place;
    void (*call)(BareAnchorEffect&, Effect::EffectContext&);
  } slots[] = {
      {"Effect::AnchorEffectBase::setCurrentAnchor",
       [](BareAnchorEffect& e, Effect::EffectContext& c) { e.setCurrentAnchor(c, nullptr, 0, 0); }},
      {"Effect::AnchorEffectBase::setSectionAnchor",
       [](BareAnchorEffect& e, Effect::EffectContext& c) { e.setSectionAnchor(c, nullptr, 0, 0); }},
  };
  for (const auto& slot : slots) {
    SCOPED_TRACE(slot.place);
    try {
      slot.call(effect, context);
      ADD_FAILURE() << "no exception";
    } catch (const System::Exception& e) {
      EXPECT_EQ(std::string(e.what()), std::string("not implement.\n\n[Place]\n") + slot.place + "()");
    }
  }
}

// Events on the filter's handles, object from 0 to 80 with a midpoint at 40.
class PlaneEventTest : public PlaneAnchorTest {
 protected:
  Anchor::AnchorEvent event(Anchor::EventKind kind, int id, int flags = 0) {
    Anchor::AnchorEvent e;
    e.kind = kind;
    e.id = id;
    e.flags = flags;
    e.object = object;
    e.frames = TestSupport::framesOf(object);
    e.effect = effect;
    return e;
  }
};

TEST_F(PlaneEventTest, PressesAndDoubleClicksGoToTheirPlaces) {
  auto clipping = event(Anchor::EventKind::Press, Anchor::kClippingIconId);
  EXPECT_TRUE(effect->anchorEvent(clipping));
  EXPECT_EQ(edit.clippingToggles, 1);

  for (int id : {0, 1, 2}) {
    auto press = event(Anchor::EventKind::Press, id);
    EXPECT_TRUE(effect->anchorEvent(press));
  }
  auto current = event(Anchor::EventKind::Press, Anchor::kCurrentPositionId);
  EXPECT_TRUE(effect->anchorEvent(current));
  EXPECT_EQ(edit.settingFrames, (std::vector<int>{0, 40, 80}));

  auto onPoint = event(Anchor::EventKind::DoubleClick, 1, Anchor::Flag::PointAnchor);
  auto onCircle = event(Anchor::EventKind::DoubleClick, 1);
  EXPECT_TRUE(effect->anchorEvent(onPoint));
  EXPECT_TRUE(effect->anchorEvent(onCircle));
  EXPECT_EQ(edit.cursorFrames, (std::vector<int>{40}));

  auto right = event(Anchor::EventKind::RightDrag, 1);
  EXPECT_FALSE(effect->anchorEvent(right));
}

// The handle's space has 100 units per device unit; the preview is 200 x 200 pixels, so
// one pixel is one unit.
TEST_F(PlaneEventTest, DraggingTheCurrentCircleShiftsEveryPointAlike) {
  TestSupport::moveTrack(effect->x, {0, 50, 100});
  TestSupport::moveTrack(effect->y, {5, 5, 5});
  auto drag = event(Anchor::EventKind::Drag, Anchor::kCurrentPositionId);
  drag.viewWidth = drag.viewHeight = 200;
  drag.sourceMatrix = XMath::scaling(0.01f, 0.01f, 1);
  drag.deltaX = 10;
  drag.deltaY = -20;  // upwards on screen
  EXPECT_TRUE(effect->anchorEvent(drag));
  EXPECT_EQ(effect->x.values, (std::vector<int>{10, 60, 110}));
  EXPECT_EQ(effect->y.values, (std::vector<int>{25, 25, 25}));
  EXPECT_EQ(drag.currentPoint, (Vector{10, 20, 0, 1}));

  // The next step carries the travel since the press; only the new part is added.
  drag.deltaX = 15;
  effect->anchorEvent(drag);
  EXPECT_EQ(effect->x.values, (std::vector<int>{15, 65, 115}));
}

TEST_F(PlaneEventTest, DraggingAPointChangesOnlyThatPointWithinTheRange) {
  TestSupport::moveTrack(effect->x, {0, 50, 1990});
  auto drag = event(Anchor::EventKind::Drag, 2);
  drag.viewWidth = drag.viewHeight = 200;
  drag.sourceMatrix = XMath::scaling(0.01f, 0.01f, 1);
  drag.startPoint = drag.currentPoint = {1990, 0, 0, 1};
  drag.deltaX = 30;
  effect->anchorEvent(drag);
  EXPECT_EQ(effect->x.values, (std::vector<int>{0, 50, 2000}));  // clamped to the maximum
}

TEST_F(PlaneEventTest, DepthFamilyAddsTheTravelAlongZ) {
  class DepthEffect : public Effect::MoveXYZAnchorEffect {
   public:
    DepthEffect() : MoveXYZAnchorEffect("テスト座標", 3, 1, 1) { positionItems = {&x, &y, &z}; }
    std::shared_ptr<EffectBase> create() const override { return std::make_shared<DepthEffect>(); }
    void setAnchor(Effect::EffectContext&, const EffectEntry&, int, int) override {}
    Vector getAnchorPosition(Effect::EffectContext&, double) override { return {}; }
    Effect::EffectItemNumber x{items, "X", 0, -100, 100, 1};
    Effect::EffectItemNumber y{items, "Y", 0, -100, 100, 1};
    Effect::EffectItemNumber z{items, "Z", 0, -100, 100, 1};
  };
  DepthEffect depth;
  auto drag = event(Anchor::EventKind::Drag, Anchor::kCurrentPositionId);
  drag.viewWidth = drag.viewHeight = 200;
  // The device x runs along the item's z: a sideways drag moves in depth.
  drag.sourceMatrix = XMath::identity();
  drag.sourceMatrix.m[0][0] = 0.0f;
  drag.sourceMatrix.m[2][0] = 0.01f;
  drag.sourceMatrix.m[0][2] = 1.0f;
  drag.sourceMatrix.m[2][2] = 0.0f;
  drag.deltaX = 10;
  depth.moveAnchor(drag);
  EXPECT_EQ(depth.x.values, (std::vector<int>{0}));
  EXPECT_EQ(depth.z.values, (std::vector<int>{10}));
}

}  // namespace
