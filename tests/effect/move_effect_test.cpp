// The family that places whole objects: the object's own handle and its flags under
// cameras and groups, the point, axis and size handles of the focus object, and the drags
// that move, snap and resize it.
#include <gtest/gtest.h>

#include "anchor_test_support.h"
#include "effect/anchor_points.h"

namespace {

using TestSupport::AddedAnchor;
using XMath::Vector;

constexpr int kSnapObject = Anchor::Flag::ObjectAnchor | Anchor::Flag::Snap | Anchor::Flag::SnapAllDragged;
constexpr int kSnapPoint = Anchor::Flag::PointAnchor | Anchor::Flag::Snap;

// An output on an object from 0 to 80 with a midpoint at 40, with an input first in the
// chain, rendered at frame 20; the view of the object comes from the output.
class MoveEffectTest : public testing::Test {
 public:
  MoveEffectTest() {
    edit.chains[object.get()] = {input, output};
    render.output = output.get();
    context.anchorList = &list;
    output->x.values = {1000};  // 10.00
    output->y.values = {-500};  // -5.00
  }
  void update() { output->updateAnchor(context, 320, 240); }
  const AddedAnchor& objectAnchor() const {
    const auto frames = list.ofKind("frame");
    for (const AddedAnchor* frame : frames)
      if (frame->id == Anchor::kCurrentPositionId) return *frame;
    return *list.ofKind("large").at(0);
  }

  TestSupport::FakeAnchorEdit edit;
  TestSupport::FakeAnchorRender render;
  std::shared_ptr<Edit::Object> object = TestSupport::makeObject(0, 80, {40});
  std::shared_ptr<TestSupport::SizedInput> input = std::make_shared<TestSupport::SizedInput>();
  std::shared_ptr<TestSupport::SpaceOutput> output = std::make_shared<TestSupport::SpaceOutput>();
  Effect::EffectContext context = TestSupport::contextAt(object, 20);
  TestSupport::RecordingAnchorList list;
};

TEST_F(MoveEffectTest, ObjectShowsItsFrameAtItsPosition) {
  context.outputView.x = 2;  // where the effects before the output left it
  update();
  ASSERT_EQ(list.size(), 1u);  // no focus: the frame alone, not drawn
  const AddedAnchor& frame = objectAnchor();
  EXPECT_EQ(frame.kind, "frame");
  EXPECT_EQ(frame.width, 320.0f);
  EXPECT_EQ(frame.height, 240.0f);
  EXPECT_EQ(frame.flags, kSnapObject | Anchor::Flag::Hidden);
  EXPECT_EQ(frame.item.startPoint, (Vector{12, -5, 0, 1}));
  EXPECT_EQ(frame.item.currentPoint, frame.item.startPoint);
}

TEST_F(MoveEffectTest, CamerasAndTurnedGroupsForbidSnapping) {
  const auto governing = TestSupport::makeObject(0, 10);
  const struct {
    const char* why;
    bool camera, group, plain;
    int objectFlags;
  } cases[] = {
      {"alone", false, false, true, kSnapObject},
      {"plain group", false, true, true, kSnapObject},
      {"turned group", false, true, false, Anchor::Flag::ObjectAnchor},
      {"camera", true, false, true, Anchor::Flag::ObjectAnchor},
  };
  edit.focus = object.get();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    context.outputView.cameraControl = c.camera ? governing : nullptr;
    context.outputView.groupControl = c.group ? governing : nullptr;
    render.groupPlain = c.plain;
    output->x.setMovement(TestSupport::linearMove());
    output->x.values = {0, 100, 200};
    output->updateAnchor(context, 320, 240);
    EXPECT_EQ(own.ofKind("frame").at(0)->flags, c.objectFlags | Anchor::Flag::Hidden);
    const int pointFlags = c.objectFlags == kSnapObject ? kSnapPoint : Anchor::Flag::PointAnchor;
    for (const AddedAnchor* frame : own.ofKind("frame")) {
      if (frame->id != Anchor::kCurrentPositionId) {
        EXPECT_EQ(frame->flags, pointFlags);
      }
    }
  }
}

TEST_F(MoveEffectTest, FocusObjectGetsItsMarkersAndTellsTheCameraWhereItIs) {
  edit.focus = object.get();
  context.outputView.cameraControl = TestSupport::makeObject(0, 10);
  context.outputView.groupControl = TestSupport::makeObject(0, 10);
  update();
  EXPECT_EQ(objectAnchor().flags, Anchor::Flag::ObjectAnchor);  // static focus: drawn
  const auto markers = list.ofKind("point");
  ASSERT_EQ(markers.size(), 2u);
  EXPECT_FALSE(markers[0]->color.has_value());  // the centre cross
  EXPECT_EQ(markers[0]->point, (Vector{10, -5, 0, 1}));
  ASSERT_TRUE(markers[1]->color.has_value());  // the group's origin, in its colour
  EXPECT_EQ(markers[1]->point, (Vector{0, 0, 0, 1}));
  ASSERT_TRUE(render.cameraPoint.has_value());
  EXPECT_EQ(*render.cameraPoint, (Vector{10, -5, 0, 1}));

  // Under the camera the point being edited gets three axis handles 40 units long.
  const auto lines = list.ofKind("line");
  ASSERT_EQ(lines.size(), 3u);
  const int axes[] = {Anchor::Flag::AxisX, Anchor::Flag::AxisY, Anchor::Flag::AxisZ};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i]->flags, Anchor::Flag::AxisHandle | axes[i]);
    EXPECT_EQ(lines[i]->point, (Vector{10, -5, 0, 1}));
    EXPECT_EQ(lines[i]->id, Anchor::kCurrentPositionId);  // frame 20 lies between points
  }
}

TEST_F(MoveEffectTest, PartsAndTheCentreSettingShowCircles) {
  edit.focus = object.get();
  output->x.setMovement(TestSupport::linearMove());
  output->x.values = {0, 100, 200};
  context.individualParts = true;
  update();
  EXPECT_EQ(objectAnchor().kind, "large");
  EXPECT_TRUE(list.ofKind("frame").empty());
  EXPECT_EQ(list.ofKind("large").size(), 4u);  // the object and three points
  EXPECT_TRUE(list.ofKind("sizes").empty());

  // The setting alone keeps the object's frame but shows the points as circles.
  TestSupport::RecordingAnchorList second;
  context.anchorList = &second;
  context.individualParts = false;
  edit.settings.displayCenterAnchor = true;
  update();
  EXPECT_EQ(second.ofKind("frame").size(), 1u);
  EXPECT_EQ(second.ofKind("large").size(), 3u);
}

TEST_F(MoveEffectTest, PointsOfAMovingPositionAreFramesWithTheirStoredPlaces) {
  edit.focus = object.get();
  context.outputView.y = 1;
  output->x.setMovement(TestSupport::linearMove());
  output->x.values = {0, 10000, 20000};  // 0, 100, 200
  update();
  std::vector<const AddedAnchor*> points;
  for (const AddedAnchor* frame : list.ofKind("frame"))
    if (frame->id != Anchor::kCurrentPositionId) points.push_back(frame);
  ASSERT_EQ(points.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(points[i]->id, i);
    EXPECT_EQ(points[i]->flags, kSnapPoint);
    EXPECT_EQ(points[i]->item.startPoint, (Vector{100.0f * i, -4, 0, 1}));
  }
  EXPECT_EQ(list.ofKind("polyline").at(0)->polyline.size(), 66u);
}

// A time-controlled kind that offers handles at the object's ends only.
const Effect::MovementBase& endsOnlyMove() {
  static const Effect::MovementBase& move = []() -> const Effect::MovementBase& {
    auto made = std::make_shared<TestSupport::TestMove>("テスト両端のみ", true, std::vector<double>{});
    made->midpointAnchors = false;
    return TestSupport::registerOnce(made);
  }();
  return move;
}

TEST_F(MoveEffectTest, MidpointsWithoutHandlesAtPointsAreCircles) {
  edit.focus = object.get();
  edit.chains[object.get()] = {output};  // the output's own zoom is the size
  output->zoom.setMovement(endsOnlyMove());
  output->x.setMovement(TestSupport::linearMove());
  output->x.values = {0, 10000, 20000};
  update();
  std::vector<std::pair<std::string, int>> points;
  for (const auto* kind : {"frame", "large"})
    for (const AddedAnchor* added : list.ofKind(kind))
      if (added->id != Anchor::kCurrentPositionId) points.emplace_back(kind, added->id);
  EXPECT_EQ(points, (std::vector<std::pair<std::string, int>>{{"frame", 0}, {"frame", 2}, {"large", 1}}));
}

TEST_F(MoveEffectTest, SizeHandlesScaleTheInputSizeOrTheOwnZoom) {
  edit.focus = object.get();
  context = TestSupport::contextAt(object, 0);  // the start frame: a point
  context.anchorList = &list;
  update();
  auto sizes = list.ofKind("sizes");
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0]->id, 0);
  EXPECT_EQ(sizes[0]->flags, Anchor::Flag::InputSize);
  EXPECT_FLOAT_EQ(sizes[0]->sizes.size, 1.0f);  // the input's 100

  // An input size that moves is not scaled by hand: the output's own zoom is.
  input->size.setMovement(TestSupport::linearMove());
  TestSupport::RecordingAnchorList second;
  context.anchorList = &second;
  update();
  sizes = second.ofKind("sizes");
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(sizes[0]->flags, 0);
}

TEST_F(MoveEffectTest, SizeItemIsTheInputsOnlyForAnOutputAfterAnInput) {
  EXPECT_EQ(output->getSizeItem(*object).item, &input->size);
  edit.chains[object.get()] = {output};
  EXPECT_EQ(output->getSizeItem(*object).item, &output->zoom);
  EXPECT_FALSE(output->getSizeItem(*object).ofInput);
}

// Drags in a 200 x 200 preview whose handle space has 100 units per device unit.
class MoveDragTest : public MoveEffectTest {
 public:
  Anchor::AnchorEvent drag(int id, int flags) {
    Anchor::AnchorEvent e;
    e.kind = Anchor::EventKind::Drag;
    e.id = id;
    e.flags = flags;
    e.object = object;
    e.frames = TestSupport::framesOf(object);
    e.effect = output;
    e.viewWidth = e.viewHeight = 200;
    e.sceneWidth = e.sceneHeight = 200;
    e.sourceMatrix = XMath::scaling(0.01f, 0.01f, 1);
    return e;
  }
};

TEST_F(MoveDragTest, ObjectDragMovesAllThreeAxesAndSnapsWhenAllowed) {
  auto e = drag(Anchor::kCurrentPositionId, kSnapObject);
  e.deltaX = 10;
  e.deltaY = -20;
  e.itemScreenPoints = {{0, 0, 0, 1}};
  e.otherScreenPoints = {{0.13f, 0.9f, 0, 1}};  // 3 units beside the dragged corner
  edit.settings.objectMoveSnap = false;
  output->anchorEvent(e);
  EXPECT_EQ(output->x.values, (std::vector<int>{2000}));  // 10 + 10
  EXPECT_EQ(output->y.values, (std::vector<int>{1500}));  // -5 + 20

  auto snapped = drag(Anchor::kCurrentPositionId, Anchor::Flag::ObjectAnchor | Anchor::Flag::Snap);
  snapped.deltaX = 10;
  snapped.itemScreenPoints = e.itemScreenPoints;
  snapped.otherScreenPoints = e.otherScreenPoints;
  edit.settings.objectMoveSnap = true;
  output->anchorEvent(snapped);
  EXPECT_EQ(output->x.values, (std::vector<int>{3300}));  // 20 + 13: onto the other object
  EXPECT_NEAR(snapped.currentPoint.x, 13, 1e-4);
}

TEST_F(MoveDragTest, AxisHandleMovesOneAxisByItsScale) {
  auto e = drag(Anchor::kCurrentPositionId, Anchor::Flag::AxisHandle | Anchor::Flag::AxisY);
  e.axisScale = 2;
  e.deltaX = 10;
  e.deltaY = -10;
  output->anchorEvent(e);
  EXPECT_EQ(output->x.values, (std::vector<int>{1000}));
  EXPECT_EQ(output->y.values, (std::vector<int>{1500}));  // -5 + 2 x 10
}

TEST_F(MoveDragTest, SizeHandleScalesTheSizeAtThePoint) {
  edit.chains[object.get()] = {output};  // the output's own zoom
  const struct {
    float deltaX;
    int zoom;
  } cases[] = {
      {50, 150000},      // from 100 to 150 units off the centre: 150 %
      {-120, 16000},     // past the centre: the smallest reach
      {10000, 5000000},  // clamped to the maximum
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deltaX);
    output->zoom.values = {100000};
    auto e = drag(Anchor::kCurrentPositionId, Anchor::Flag::SizeHandle);
    e.startPoint = e.currentPoint = {100, 0, 0, 1};
    e.handleCenter = {0, 0, 0, 1};
    e.startSize = 1.0f;
    e.deltaX = c.deltaX;
    output->anchorEvent(e);
    EXPECT_EQ(output->zoom.values, (std::vector<int>{c.zoom}));
  }
}

TEST_F(MoveEffectTest, OutputViewAddsThePositionItemsAndTheOriginIsProjected) {
  context.outputView.z = 3;
  output->z.values = {-300};
  const Effect::OutputView view = output->getOutputView(context);
  EXPECT_EQ(view.x, 10.0f);
  EXPECT_EQ(view.z, 0.0f);
  EXPECT_EQ(output->getAnchorPosition(context, 40), (Vector{10, -5, 0, 1}));
  EXPECT_EQ(context.frame, 40);
}

TEST_F(MoveEffectTest, ClippingIconFollowsTheVisibilitySetting) {
  edit.clipping = true;
  context.clippingIcon = true;
  for (bool visible : {true, false}) {
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    render.clippingVisible = visible;
    update();
    const auto icons = own.ofKind("icon");
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0]->id, Anchor::kClippingIconId);
    EXPECT_EQ(icons[0]->icon,
              visible ? Anchor::IconKind::ClippingShown : Anchor::IconKind::ClippingHidden);
  }
}

}  // namespace
