// The camera control in the editing preview: the handles it adds after its end phase, the
// icon presses that switch the views, the jumps to points, and the right-button drags that
// orbit, zoom, pan and fly the camera or the scene's edit camera.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "builtin/control/camera_control.h"
#include "edit/edit_test_support.h"
#include "edit/render_switches.h"
#include "effect/anchor_test_support.h"
#include "system/log_capture.h"

namespace {

using TestSupport::AddedAnchor;

constexpr float kPi = std::numbers::pi_v<float>;

float distance(const XMath::Vector& a, const XMath::Vector& b) {
  return XMath::length3(XMath::subtract3(a, b));
}

// A camera object on layer 2 from frame 10 to 90 with a midpoint at 50, in the preview
// frame 30 after its end phase; the scene comes from the edit services.
class CameraAnchorTest : public testing::Test {
 public:
  CameraAnchorTest() {
    object->boundaries = {40};
    edit.chains[object.get()] = {camera};
    context.scene = &services.scene();
    context.anchorList = &list;
    camera->viewProjection = XMath::translation(1.0f, 2.0f, 3.0f);
    at(30);
  }
  ~CameraAnchorTest() override {
    Edit::renderSwitches().setCameraFreeView(false);
    Edit::renderSwitches().setVisibleClippingObject(true);
  }

  void at(int frame) {
    context.frame = frame;
    context.time = frame;
    context.setObject(object, object->frames());
  }
  void update() { camera->updateAnchor(context, 0, 0); }
  // The camera handle of the list the context collects into.
  const AddedAnchor& handle() const {
    using List = TestSupport::RecordingAnchorList;
    return *static_cast<const List*>(context.anchorList)->ofKind("camera").at(0);
  }

  // A step of the right-button drag on the handle the last update added, in a preview of
  // 200 x 200 pixels.
  Anchor::AnchorEvent drag(float dx, float dy) const {
    const AddedAnchor& added = handle();
    Anchor::AnchorEvent event = eventOn(Anchor::EventKind::RightDrag, added.id, added.flags);
    event.deltaX = dx;
    event.deltaY = dy;
    event.sourceMatrix = added.item.sourceMatrix;
    event.startPoint = added.item.startPoint;
    event.currentPoint = added.item.currentPoint;
    event.extra = added.item.extra;
    return event;
  }
  Anchor::AnchorEvent eventOn(Anchor::EventKind kind, int id, int flags = 0) const {
    Anchor::AnchorEvent event;
    event.kind = kind;
    event.id = id;
    event.flags = flags;
    event.object = object;
    event.frames = object->frames();
    event.effect = camera;
    event.viewWidth = event.viewHeight = 200;
    return event;
  }
  XMath::Vector position() const {
    return {static_cast<float>(camera->x.getDisplayValue(0)),
            static_cast<float>(camera->y.getDisplayValue(0)),
            static_cast<float>(camera->z.getDisplayValue(0)), 1.0f};
  }

  TestSupport::EditServices services;
  TestSupport::FakeAnchorEdit edit;
  TestSupport::RecordingAnchorList list;
  std::shared_ptr<Effect::CameraControl> camera = std::make_shared<Effect::CameraControl>();
  std::shared_ptr<Edit::Object> object = std::make_shared<Edit::Object>(2, 10, 90);
  Effect::EffectContext context;
};

TEST_F(CameraAnchorTest, TheHandleCarriesTheViewAndTheCameraAboutItsTarget) {
  update();
  const AddedAnchor& added = handle();
  EXPECT_EQ(added.flags, Anchor::Flag::RawOffset);
  EXPECT_EQ(added.item.sourceMatrix, camera->viewProjection);
  // At (0, 0, -1024) looking at the origin: straight along +z, on the horizon.
  EXPECT_EQ(added.item.startPoint, (XMath::Vector{0, 0, 0, 1}));
  EXPECT_EQ(added.item.currentPoint, (XMath::Vector{0, 0, 0, 1}));
  EXPECT_FLOAT_EQ(added.item.extra[0], kPi / 2);
  EXPECT_FLOAT_EQ(added.item.extra[1], kPi);
  EXPECT_FLOAT_EQ(added.item.extra[2], 1024.0f);
  EXPECT_EQ(added.item.extra[3], 0.0f);
}

TEST_F(CameraAnchorTest, ATargetOnTheCamerasOwnLayerFollowsTheCamera) {
  const struct {
    const char* why;
    bool moving;
    float relative;
  } cases[] = {{"static own layer", false, 1.0f}, {"moving own layer", true, 0.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    camera->targetLayer.setMovement(c.moving ? TestSupport::linearMove()
                                             : *Effect::defaultMovement());
    camera->targetLayer.values = c.moving ? std::vector<int>{3, 3} : std::vector<int>{3};
    camera->targetY.values = {30000};  // 300 above the camera
    camera->updateAnchor(context, 0, 0);
    const Anchor::AnchorItem added = own.ofKind("camera").at(0)->item;
    EXPECT_EQ(added.startPoint, (XMath::Vector{0, 300, 0, 1}));
    EXPECT_EQ(added.extra[3], c.relative);
  }
}

TEST_F(CameraAnchorTest, TheHandleIsThePointTheFrameLiesOn) {
  const struct {
    int frame;
    int id;
  } cases[] = {{10, 0}, {50, 1}, {90, 2}, {30, Anchor::kCurrentPositionId}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.frame);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    at(c.frame);
    update();
    EXPECT_EQ(own.ofKind("camera").at(0)->id, c.id);
  }
}

TEST_F(CameraAnchorTest, OnlyTheFirstCameraOfAPassAddsTheModeIcon) {
  const struct {
    bool first;
    bool focus;
    std::size_t icons;
    std::size_t crosses;
  } cases[] = {{true, false, 1, 0}, {false, false, 0, 0}, {false, true, 0, 1}, {true, true, 1, 1}};
  camera->camera.target = {5.0f, 6.0f, 7.0f, 1.0f};
  camera->viewProjection = XMath::identity();
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "first " << c.first << " focus " << c.focus);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    context.firstCameraScope = c.first;
    edit.focus = c.focus ? object.get() : nullptr;
    update();
    const auto icons = own.ofKind("icon");
    ASSERT_EQ(icons.size(), c.icons);
    if (c.first) {
      EXPECT_EQ(icons[0]->id, Anchor::kCameraModeIconId);
    }
    const auto crosses = own.ofKind("point");
    ASSERT_EQ(crosses.size(), c.crosses);
    if (c.focus) {
      EXPECT_EQ(crosses[0]->point, (XMath::Vector{5, 6, 7, 1}));
      EXPECT_FALSE(crosses[0]->color.has_value());
    }
    EXPECT_EQ(own.ofKind("camera").size(), 1u);
  }
}

TEST_F(CameraAnchorTest, TheModeIconShowsFreeViewEditableOrLocked) {
  const struct {
    const char* why;
    bool freeView;
    std::size_t targetValues;
    Anchor::IconKind icon;
  } cases[] = {
      {"static camera", false, 1, Anchor::IconKind::CameraEditable},
      {"one target value per point", false, 3, Anchor::IconKind::CameraEditable},
      {"target track of two values", false, 2, Anchor::IconKind::CameraLocked},
      {"free view", true, 2, Anchor::IconKind::CameraFreeView},
  };
  at(50);  // on the midpoint
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    camera->freeView = c.freeView;
    camera->targetX.setMovement(c.targetValues > 1 ? TestSupport::linearMove()
                                                   : *Effect::defaultMovement());
    camera->targetX.values.assign(c.targetValues, 0);
    update();
    EXPECT_EQ(own.ofKind("icon").at(0)->icon, c.icon);
  }
}

TEST_F(CameraAnchorTest, NothingIsAddedWhereTheCameraTakesNoHandles) {
  const struct {
    const char* why;
    void (*set)(CameraAnchorTest&);
  } cases[] = {
      {"frame for export or playback", [](CameraAnchorTest& t) { t.context.anchorList = nullptr; }},
      {"effect locked", [](CameraAnchorTest& t) { t.camera->lock = true; }},
      {"camera layer locked", [](CameraAnchorTest& t) { t.edit.lockedLayers = {2}; }},
      {"effect not in the chain", [](CameraAnchorTest& t) { t.edit.chains.clear(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    camera->lock = false;
    edit.lockedLayers.clear();
    edit.chains[object.get()] = {camera};
    c.set(*this);
    update();
    EXPECT_EQ(own.size(), 0u);
  }
}

TEST_F(CameraAnchorTest, TheEndPhaseLayerIsNotTheLockThatCounts) {
  context.layerIndex = 7;  // where the pass closed the camera's range
  edit.lockedLayers = {7};
  update();
  EXPECT_EQ(list.ofKind("camera").size(), 1u);
}

TEST_F(CameraAnchorTest, FreeViewMeasuresTheEditCameraAndAddsThePositionHandles) {
  camera->freeView = true;
  edit.focus = object.get();
  camera->x.setMovement(TestSupport::linearMove());
  camera->x.values = {0, 10000, 20000};
  services.scene().camera.eye = {0.0f, 300.0f, 0.0f, 1.0f};
  services.scene().camera.target = {0.0f, 0.0f, 0.0f, 1.0f};
  update();
  const AddedAnchor& added = handle();
  EXPECT_EQ(added.item.currentPoint, (XMath::Vector{0, 0, 0, 1}));
  EXPECT_FLOAT_EQ(added.item.extra[0], 0.0f);  // looking straight down
  EXPECT_FLOAT_EQ(added.item.extra[2], 300.0f);
  EXPECT_EQ(added.item.extra[3], 0.0f);
  EXPECT_FALSE(list.ofKind("polyline").empty());  // the trajectory of the moving position
  // Sampling the trajectory left the context where the frame is.
  EXPECT_EQ(context.frame, 30);
  EXPECT_EQ(context.time, 30.0);
  EXPECT_EQ(context.sectionPosition, Effect::SectionPosition::calculate(object->frames(), 30, 30));
}

TEST_F(CameraAnchorTest, OrbitNeverReachesThePoles) {
  at(10);  // the start point: always editable
  update();
  const struct {
    float dy;
    float polar;
  } cases[] = {{100000.0f, 3.1405928f}, {-100000.0f, 0.001f}, {100.0f, kPi / 2 + 0.31415927f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dy);
    Anchor::AnchorEvent event = drag(0.0f, c.dy);
    ASSERT_TRUE(camera->anchorEvent(event));
    EXPECT_FLOAT_EQ(event.extra[0], c.polar);
    // The camera stays on its sphere about the target.
    EXPECT_NEAR(distance(position(), {0, 0, 0, 1}), 1024.0f, 0.02f);
    EXPECT_NEAR(position().y, 1024.0f * std::cos(c.polar), 0.02f);
  }
}

TEST_F(CameraAnchorTest, ZoomNeverComesNearerThanFour) {
  at(10);
  update();
  Anchor::AnchorEvent event = drag(0.0f, -1000.0f);
  event.control = true;
  camera->anchorEvent(event);
  EXPECT_EQ(event.extra[2], 4.0f);
  EXPECT_EQ(position(), (XMath::Vector{0, 0, -4, 1}));
}

TEST_F(CameraAnchorTest, ShiftPansTheCameraAndItsTargetTogether) {
  at(10);
  update();
  Anchor::AnchorEvent event = drag(10.0f, 5.0f);
  event.sourceMatrix = XMath::scaling(0.01f, 0.01f, 1.0f);  // one pixel is one unit
  event.shift = true;
  camera->anchorEvent(event);
  EXPECT_EQ(event.currentPoint, (XMath::Vector{-10, 5, 0, 1}));
  EXPECT_EQ(position(), (XMath::Vector{-10, 5, -1024, 1}));
  EXPECT_EQ(camera->targetX.getDisplayValue(0), -10.0);
  EXPECT_EQ(camera->targetY.getDisplayValue(0), 5.0);
}

TEST_F(CameraAnchorTest, FreeViewMovesTheEditCameraNeverNearerThan256) {
  camera->freeView = true;
  Edit::renderSwitches().setCameraFreeView(true);
  update();
  Edit::CameraView& editCamera = services.scene().camera;
  Anchor::AnchorEvent event = drag(0.0f, -500.0f);
  event.control = true;
  camera->anchorEvent(event);
  const XMath::Vector eye{editCamera.eye[0], editCamera.eye[1], editCamera.eye[2], 1.0f};
  const XMath::Vector target{editCamera.target[0], editCamera.target[1], editCamera.target[2],
                             1.0f};
  EXPECT_NEAR(distance(eye, target), 256.0f, 0.01f);
  EXPECT_EQ(target, event.currentPoint);
  EXPECT_EQ(position(), (XMath::Vector{0, 0, -1024, 1}));  // the items stay

  // The next steps start from the distance kept: a small orbit turns the camera about
  // its target instead of pushing it away again.
  Anchor::AnchorEvent next = event;
  next.control = false;
  next.deltaX = 1.0f;
  next.deltaY = 0.0f;
  camera->anchorEvent(next);
  const XMath::Vector moved{editCamera.eye[0], editCamera.eye[1], editCamera.eye[2], 1.0f};
  EXPECT_LT(distance(moved, eye), 2.0f);
  EXPECT_EQ(next.currentPoint, event.currentPoint);
}

TEST_F(CameraAnchorTest, EditabilityOfTheDraggedPoint) {
  const struct {
    const char* why;
    std::vector<int> boundaries;
    std::size_t positionValues;
    std::size_t targetValues;
    int id;
    bool editable;
  } cases[] = {
      {"current value, static", {40}, 1, 1, Anchor::kCurrentPositionId, true},
      {"current value, moving target", {40}, 1, 3, Anchor::kCurrentPositionId, false},
      {"start of moving tracks", {40}, 2, 2, 0, true},
      {"midpoint, a value per point", {40}, 3, 3, 1, true},
      {"midpoint, position of two values", {40}, 2, 1, 1, false},
      {"midpoint, target of four values", {20, 40}, 4, 3, 2, false},
      {"midpoint, only static tracks", {20, 40}, 1, 1, 2, true},
      {"end of moving tracks", {40}, 2, 5, 2, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    object->boundaries = c.boundaries;
    for (Effect::EffectItemNumber* item : camera->positionItems)
      item->values.assign(c.positionValues, 0);
    camera->targetZ.values.assign(c.targetValues, 0);
    const Anchor::AnchorEvent event = eventOn(Anchor::EventKind::RightDrag, c.id);
    EXPECT_EQ(camera->isCameraEditable(event), c.editable);
  }
}

TEST_F(CameraAnchorTest, ARefusedDragChangesNothingAndShowsTheRefusedCursor) {
  const struct {
    const char* why;
    bool relative;
  } cases[] = {{"orbit", false}, {"relative pan", true}};
  camera->x.setMovement(TestSupport::linearMove());
  camera->x.values = {0, 5000, 10000};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    edit.refusedCursors = 0;
    camera->targetLayer.values = {c.relative ? 3 : 0};
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    update();
    Anchor::AnchorEvent event = drag(30.0f, 20.0f);
    event.id = Anchor::kCurrentPositionId;
    EXPECT_EQ(event.extra[3], c.relative ? 1.0f : 0.0f);
    EXPECT_TRUE(camera->anchorEvent(event));
    EXPECT_EQ(edit.refusedCursors, 1);
    EXPECT_EQ(camera->x.values, (std::vector<int>{0, 5000, 10000}));
    EXPECT_EQ(camera->z.values, (std::vector<int>{-102400}));
  }
}

TEST_F(CameraAnchorTest, ARelativeCameraFliesAlongItsTargetOffsetWithCtrl) {
  const struct {
    const char* why;
    int offsetX, offsetZ;
    XMath::Vector moved;
  } cases[] = {
      {"along the offset", 300, 400, {48, 0, -1024 + 64, 1}},
      {"no offset: along +z", 0, 0, {0, 0, -1024 + 80, 1}},
  };
  camera->targetLayer.values = {3};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    camera->x.values = {0};
    camera->z.values = {-102400};
    camera->targetX.values = {c.offsetX};
    camera->targetZ.values = {c.offsetZ};
    TestSupport::RecordingAnchorList own;
    context.anchorList = &own;
    update();
    Anchor::AnchorEvent event = drag(0.0f, -10.0f);  // mouse up: forward
    ASSERT_EQ(event.extra[3], 1.0f);
    event.control = true;
    camera->anchorEvent(event);
    EXPECT_EQ(position(), c.moved);
  }
}

TEST_F(CameraAnchorTest, ARelativeCameraPansWithTheMouse) {
  camera->targetLayer.values = {3};
  update();
  Anchor::AnchorEvent event = drag(10.0f, 5.0f);
  event.sourceMatrix = XMath::scaling(0.01f, 0.01f, 1.0f);
  camera->anchorEvent(event);
  EXPECT_EQ(position(), (XMath::Vector{-10, 5, -1024, 1}));
}

TEST_F(CameraAnchorTest, TheIconsToggleTheirViewsAndLogIt) {
  TestSupport::LogCapture log;
  const struct {
    int id;
    const char* place;
    const char* first;
    const char* second;
    bool (Edit::RenderSwitches::*value)() const;
    bool afterFirst;
  } cases[] = {
      {Anchor::kCameraModeIconId, "Edit::EditCommand::setCameraFreeView",
       "set camera free view enable=1", "set camera free view enable=0",
       &Edit::RenderSwitches::isCameraFreeView, true},
      {Anchor::kClippingIconId, "Edit::EditCommand::setVisibleClippingObjectView",
       "set visible clipping object enable=0", "set visible clipping object enable=1",
       &Edit::RenderSwitches::isVisibleClippingObject, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.place);
    log.clear();
    Anchor::AnchorEvent press = eventOn(Anchor::EventKind::Press, c.id);
    EXPECT_TRUE(camera->anchorEvent(press));
    EXPECT_EQ((Edit::renderSwitches().*c.value)(), c.afterFirst);
    EXPECT_TRUE(camera->anchorEvent(press));
    EXPECT_EQ((Edit::renderSwitches().*c.value)(), !c.afterFirst);
    std::vector<TestSupport::LogCapture::Record> lines;
    for (const auto& record : log.records())
      if (record.place == c.place) lines.push_back(record);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].level, "INFO");
    EXPECT_EQ(lines[0].text, c.first);
    EXPECT_EQ(lines[1].text, c.second);
  }
  EXPECT_EQ(edit.clippingToggles, 0);
}

TEST_F(CameraAnchorTest, PointsJumpToTheirFrames) {
  const struct {
    int id;
    int frame;
  } cases[] = {{0, 10}, {1, 50}, {2, 90}, {7, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    edit.settingFrames.clear();
    edit.cursorFrames.clear();
    Anchor::AnchorEvent press = eventOn(Anchor::EventKind::Press, c.id);
    Anchor::AnchorEvent onPoint =
        eventOn(Anchor::EventKind::DoubleClick, c.id, Anchor::Flag::PointAnchor);
    Anchor::AnchorEvent onOther = eventOn(Anchor::EventKind::DoubleClick, c.id);
    EXPECT_TRUE(camera->anchorEvent(press));
    EXPECT_TRUE(camera->anchorEvent(onPoint));
    EXPECT_TRUE(camera->anchorEvent(onOther));
    EXPECT_EQ(edit.settingFrames, (std::vector<int>{c.frame}));
    EXPECT_EQ(edit.cursorFrames, (std::vector<int>{c.frame}));
  }
  Anchor::AnchorEvent unknown = eventOn(static_cast<Anchor::EventKind>(5), 0);
  EXPECT_FALSE(camera->anchorEvent(unknown));
}

}  // namespace
