#include <gtest/gtest.h>

#include <cmath>

#include "main_window/preview/anchor_control.h"
#include "preview_anchor_support.h"

namespace {

using Anchor::AnchorType;
using Anchor::DragState;
using Anchor::EventKind;
using Anchor::InputKeys;
using Anchor::PreviewAnchor;
using Anchor::ViewPoint;
using TestSupport::EventRecordingEffect;

// The picture fills a 200 x 100 pixel control.
class AnchorControlTest : public ::testing::Test {
 protected:
  AnchorControlTest() { control.setPictureRect({0, 0, 200, 100}, 200); }

  // The view point shown at the control pixel.
  static ViewPoint at(float px, float py) { return {(px - 100) / 100, (50 - py) / 50}; }

  PreviewAnchor& add(AnchorType type, std::vector<ViewPoint> points, int id = 0, int flags = 0,
                     std::shared_ptr<Edit::Object> owner = nullptr,
                     std::shared_ptr<EventRecordingEffect> by = nullptr) {
    PreviewAnchor& item =
        pending.append({type, flags, owner ? owner : object, by ? by : effect, id});
    item.points = std::move(points);
    return item;
  }
  // Hands the pending items to the control as a new frame's list.
  void show() {
    control.setAnchors(std::move(pending));
    pending = {};
  }
  PreviewAnchor& item(std::size_t i) { return control.anchors().items().at(i); }

  std::shared_ptr<Edit::Object> object = std::make_shared<Edit::Object>(1, 0, 10);
  std::shared_ptr<Edit::Object> other = std::make_shared<Edit::Object>(2, 0, 10);
  std::shared_ptr<EventRecordingEffect> effect = std::make_shared<EventRecordingEffect>();
  std::shared_ptr<EventRecordingEffect> otherEffect = std::make_shared<EventRecordingEffect>();
  TestSupport::FakeAnchorHost host;
  Anchor::AnchorControl control{host};
  Anchor::PreviewAnchorList pending;
};

TEST_F(AnchorControlTest, LayoutMapsViewPointsAndStacksIconsAtTheTopRight) {
  add(AnchorType::LargeCircle, {{0, 0}});
  add(AnchorType::LargeCircle, {{1, 1}});
  pending.addIcon(object, effect, Anchor::kClippingIconId, Anchor::IconKind::ClippingShown);
  pending.addIcon(object, effect, Anchor::kCameraModeIconId, Anchor::IconKind::CameraLocked);
  show();
  EXPECT_EQ(item(0).pixels, (std::vector<ViewPoint>{{100, 50}}));
  EXPECT_EQ(item(1).pixels, (std::vector<ViewPoint>{{200, 0}}));
  EXPECT_EQ(item(2).pixels, (std::vector<ViewPoint>{{168, 0}, {200, 32}}));
  EXPECT_EQ(item(3).pixels, (std::vector<ViewPoint>{{168, 32}, {200, 64}}));
  // A control narrower than the picture keeps the icons inside it.
  control.setPictureRect({-50, -10, 250, 110}, 180);
  EXPECT_EQ(item(2).pixels, (std::vector<ViewPoint>{{148, 0}, {180, 32}}));
}

TEST_F(AnchorControlTest, SnapPointsOfTargetsAndThePictureCorners) {
  add(AnchorType::Frame, {{0, 0}, {1, 0}, {1, 1}}, 0, Anchor::Flag::SnapAllDragged)
      .snapPoints = {{0.5f, 0.5f}};
  add(AnchorType::Frame, {{0, 0}, {1, 0}, {1, 1}}, 0, 0).snapPoints = {{0.25f, 0.25f}};
  show();
  const auto& snaps = control.snapPoints();
  ASSERT_EQ(snaps.size(), 3u);
  EXPECT_EQ(snaps[0].owner, object.get());
  EXPECT_EQ(snaps[0].x, 0.5f);
  EXPECT_EQ(snaps[1].owner, nullptr);
  EXPECT_EQ(snaps[1].x, 1.0f);
  EXPECT_EQ(snaps[2].y, -1.0f);
}

TEST_F(AnchorControlTest, ThinFramesAreWidenedToAHittableBox) {
  // A horizontal sliver 100 x 4 pixels, one 45 degrees steep, and one collapsed to a point.
  add(AnchorType::Frame, {at(50, 48), at(150, 48), at(150, 52), at(50, 52)});
  add(AnchorType::Frame, {at(100, 50), at(140, 90), at(137, 93), at(97, 53)});
  add(AnchorType::Frame, {at(20, 20), at(20, 20), at(20, 20)});
  show();
  EXPECT_TRUE(control.hitTest(60, 43) == &item(0));  // 7 pixels off the sliver's axis
  EXPECT_EQ(control.hitTest(60, 40), nullptr);

  // 7 pixels across the steep sliver's axis.
  const ViewPoint mid{118.5f, 71.5f};
  const float off = 7.0f / std::sqrt(2.0f);
  EXPECT_TRUE(control.hitTest(mid.x + off, mid.y - off) == &item(1));
  EXPECT_EQ(control.hitTest(mid.x + 1.5f * off, mid.y - 1.5f * off), nullptr);

  const ViewPoint square[] = {{12, 12}, {28, 12}, {28, 28}, {12, 28}};
  ASSERT_EQ(item(2).pixels.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(item(2).pixels[i].x, square[i].x, 1e-4) << i;
    EXPECT_NEAR(item(2).pixels[i].y, square[i].y, 1e-4) << i;
  }
  EXPECT_NEAR(item(2).radius, std::sqrt(128.0f), 1e-4);
}

TEST_F(AnchorControlTest, CornerHandlesOfASmallRectangleAreKeptApart) {
  // A 10 x 10 pixel rectangle: each handle lists its corner, then its two neighbours.
  const ViewPoint k[] = {at(95, 45), at(105, 45), at(105, 55), at(95, 55)};
  for (int i = 0; i < 4; ++i)
    add(AnchorType::Square, {k[i], k[(i + 3) % 4], k[(i + 1) % 4]}, 0, Anchor::Flag::SizeHandle);
  show();
  for (int i = 0; i < 4; ++i) {
    const ViewPoint& a = item(i).pixels[0];
    const ViewPoint& b = item((i + 1) % 4).pixels[0];
    EXPECT_FLOAT_EQ(std::hypot(a.x - b.x, a.y - b.y), 16.0f) << i;
  }
}

TEST_F(AnchorControlTest, AxisLineIsShortenedToOneClipUnit) {
  // One clip unit is 20 pixels at the start (reference point 0.2 to the right in view x).
  add(AnchorType::Line, {at(100, 50), at(100, 0), {0.2f, 0.0f}});
  add(AnchorType::Line, {at(100, 50), at(100, 0), at(100, 50)});  // no unit: collapses
  show();
  EXPECT_EQ(item(0).pixels[1], (ViewPoint{100, 47.5f}));
  EXPECT_FLOAT_EQ(item(0).axisScale, 16.0f);
  EXPECT_EQ(item(1).pixels[1], (ViewPoint{100, 50}));
  EXPECT_EQ(item(1).axisScale, 0.0f);  // not an infinite scale
}

TEST_F(AnchorControlTest, HitTestPicksTheHandleThatSortsFirst) {
  auto focusOwner = std::make_shared<Edit::Object>(3, 0, 10);
  host.focus = focusOwner;
  add(AnchorType::LargeCircle, {at(100, 50)}, 5);                          // 0
  add(AnchorType::LargeCircle, {at(110, 50)}, 4);                          // 1
  add(AnchorType::LargeCircle, {at(100, 60)}, 3, 0, focusOwner);           // 2
  add(AnchorType::Frame, {at(0, 0), at(60, 0), at(60, 40), at(0, 40)}, 1); // 3
  add(AnchorType::Square, {at(20, 20), at(0, 0), at(40, 40)}, 9);          // 4
  add(AnchorType::SmallCircle, {at(180, 80)}, 0, Anchor::Flag::NoPick);    // 5
  add(AnchorType::MediumCircle, {at(180, 20)}, 8);                         // 6
  add(AnchorType::Icon, {{0, 0}, {32, 32}}, 7, Anchor::Flag::Pinned);       // 7: 168..200, 0..32
  PreviewAnchor& marker = add(AnchorType::Cross, {at(20, 80)});
  marker.effect = nullptr;  // never pickable
  show();
  const struct {
    float x, y;
    int expected;  // index, -1 for none
  } cases[] = {
      {103, 50, 0},     // nearer to the circle at 100
      {107, 50, 1},
      {100, 55, 2},     // equal distance to 0 and 2: the focus object's
      {105, 50, 1},     // 0 and 1 tie, neither focused: the lower id (1 has id 4)
      {20, 25, 4},      // the square lies on the frame: the lower type wins
      {10, 35, 3},
      {180, 80, -1},    // NoPick
      {180, 80 - 20, -1},
      {180, 39.5f, 6},   // just inside the medium ring
      {185, 30, 7},      // inside the icon (lower type than the medium circle)
      {20, 80, -1},
  };
  for (const auto& c : cases) {
    PreviewAnchor* hit = control.hitTest(c.x, c.y);
    EXPECT_EQ(hit, c.expected < 0 ? nullptr : &item(static_cast<std::size_t>(c.expected)))
        << c.x << ", " << c.y;
  }
}

TEST_F(AnchorControlTest, CircleRadiusBoundary) {
  add(AnchorType::LargeCircle, {at(100, 50)});
  show();
  EXPECT_NE(control.hitTest(136, 50), nullptr);
  EXPECT_EQ(control.hitTest(136.01f, 50), nullptr);
}

TEST_F(AnchorControlTest, HoverIsFoundAgainInANewList) {
  add(AnchorType::LargeCircle, {at(100, 50)}, 2, Anchor::Flag::ObjectAnchor);
  show();
  EXPECT_TRUE(control.pointerMoved(100, 50));
  EXPECT_FALSE(control.pointerMoved(101, 50));  // the same handle
  EXPECT_TRUE(control.pointerLeft());
  EXPECT_FALSE(control.pointerLeft());
  control.pointerMoved(100, 50);
  // The next frame has the handle elsewhere: still hovered.
  add(AnchorType::SmallCircle, {at(0, 0)}, 2, Anchor::Flag::ObjectAnchor, nullptr, otherEffect);
  add(AnchorType::LargeCircle, {at(150, 50)}, 2, Anchor::Flag::ObjectAnchor);
  show();
  EXPECT_EQ(control.hovered(), &item(1));
  // Without a handle of the same effect, id and flags the hover is forgotten.
  add(AnchorType::LargeCircle, {at(150, 50)}, 2, 0);
  show();
  EXPECT_EQ(control.hovered(), nullptr);
}

TEST_F(AnchorControlTest, LeftPressFocusesSelectsClicksAndStartsADrag) {
  const struct {
    bool singleClickFocus;
    bool doubleClick;
    bool focused;
  } cases[] = {{true, false, true}, {true, true, false}, {false, false, false}, {false, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.singleClickFocus << c.doubleClick);
    host = {};
    host.singleClickFocus = c.singleClickFocus;
    effect->events.clear();
    add(AnchorType::LargeCircle, {at(100, 50)}, Anchor::kCurrentPositionId,
        Anchor::Flag::ObjectAnchor);
    show();
    control.pointerMoved(100, 50);
    control.leftButtonDown({.doubleClick = c.doubleClick});
    EXPECT_EQ(host.focus == object, c.focused);
    ASSERT_EQ(effect->events.size(), 1u);
    EXPECT_EQ(effect->events[0].kind, c.doubleClick ? EventKind::DoubleClick : EventKind::Press);
    EXPECT_EQ(host.selected.count(object.get()), c.doubleClick ? 0u : 1u);
    EXPECT_EQ(control.dragState(), DragState::Left);
    ASSERT_EQ(control.events().size(), 1u);
    EXPECT_EQ(control.events()[0].kind, EventKind::Drag);
    EXPECT_EQ(host.recorded, (std::vector<const Effect::EffectBase*>{effect.get()}));
    control.endDrag();
    EXPECT_EQ(host.calls.back(), "commit");
    EXPECT_EQ(control.dragState(), DragState::None);
  }
}

TEST_F(AnchorControlTest, PressesThatStartNoEventDrag) {
  PreviewAnchor& icon = add(AnchorType::Icon, {{0, 0}, {32, 32}}, Anchor::kClippingIconId,
                            Anchor::Flag::IconFlags);
  add(AnchorType::LargeCircle, {at(100, 50)}, 3);  // a point handle without a whole-object one
  show();
  (void)icon;

  control.pointerMoved(180, 10);  // the icon: one click, no drag
  control.leftButtonDown({});
  EXPECT_EQ(effect->events.size(), 1u);
  EXPECT_EQ(control.dragState(), DragState::None);

  control.pointerMoved(100, 50);  // Ctrl on a point handle whose object has no whole handle
  control.leftButtonDown({.control = true});
  EXPECT_EQ(effect->events.size(), 1u);

  effect->consumeDoubleClick = true;  // the effect takes the double click
  control.leftButtonDown({.doubleClick = true});
  EXPECT_EQ(effect->events.size(), 2u);
  EXPECT_EQ(control.dragState(), DragState::None);

  control.pointerMoved(10, 90);  // empty space, no camera handle
  control.leftButtonDown({.doubleClick = true});
  EXPECT_EQ(host.focus, nullptr);
  EXPECT_TRUE(std::find(host.calls.begin(), host.calls.end(), "drag") == host.calls.end());
  EXPECT_TRUE(host.recorded.empty());
}

TEST_F(AnchorControlTest, CtrlPressOnAPointTakesTheWholeObjectHandle) {
  add(AnchorType::LargeCircle, {at(100, 50)}, 2);
  add(AnchorType::Frame, {at(0, 0), at(200, 0), at(200, 100), at(0, 100)},
      Anchor::kCurrentPositionId);
  show();
  control.pointerMoved(100, 50);
  control.leftButtonDown({.control = true});
  ASSERT_EQ(control.events().size(), 1u);
  EXPECT_EQ(control.events()[0].id, Anchor::kCurrentPositionId);
  EXPECT_EQ(host.focus, nullptr);  // Ctrl never moves the focus
}

TEST_F(AnchorControlTest, ObjectAnchorDragsEverySelectedObject) {
  const int whole = Anchor::kCurrentPositionId;
  const int flags = Anchor::Flag::ObjectAnchor;
  auto third = std::make_shared<Edit::Object>(4, 0, 10);
  add(AnchorType::Frame, {at(0, 0), at(60, 0), at(60, 40), at(0, 40)}, whole, flags);
  add(AnchorType::Frame, {at(100, 0), at(160, 0), at(160, 40), at(100, 40)}, whole, flags, other,
      otherEffect)
      .snapPoints = {{0.5f, 0.5f}};
  add(AnchorType::Frame, {at(0, 60), at(60, 60), at(60, 99), at(0, 99)}, whole, flags, third);
  add(AnchorType::LargeCircle, {at(30, 20)}, 0, flags);  // a point handle of a selected object
  show();
  host.selected = {other.get()};
  control.pointerMoved(20, 20);  // the first frame: its press selects it too
  control.leftButtonDown({});
  ASSERT_EQ(control.events().size(), 2u);
  EXPECT_EQ(control.events()[0].object, object);
  EXPECT_EQ(control.events()[1].object, other);
  EXPECT_EQ(host.recorded,
            (std::vector<const Effect::EffectBase*>{effect.get(), otherEffect.get()}));
  // Both know where the dragged objects are; the unselected objects' positions are the others.
  EXPECT_EQ(control.events()[0].draggedScreenPoints.size(), 1u);
  control.endDrag();

  // No selected whole-object handle besides: the press drags nothing.
  host = {};
  host.selected = {third.get()};
  add(AnchorType::LargeCircle, {at(30, 20)}, 0, flags);
  show();
  control.pointerMoved(30, 20);
  control.leftButtonDown({});
  EXPECT_EQ(control.dragState(), DragState::None);
  EXPECT_TRUE(host.recorded.empty());
}

TEST_F(AnchorControlTest, DragStepsLockToTheLargerAxisWithShift) {
  add(AnchorType::LargeCircle, {at(100, 50)}, 0);
  add(AnchorType::LargeCircle, {at(100, 50)}, Anchor::kCurrentPositionId, Anchor::Flag::RawOffset,
      nullptr, otherEffect);
  show();
  control.pointerMoved(100, 50);
  control.leftButtonDown({});
  ASSERT_EQ(control.events().size(), 1u);
  effect->events.clear();
  const struct {
    int dx, dy;
    float x, y;
  } steps[] = {{10, -10, 10, 0}, {3, 7, 0, 7}, {-2, 1, -2, 0}};
  for (const auto& s : steps) control.dragStep(s.dx, s.dy, {.shift = true});
  ASSERT_EQ(effect->events.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(effect->events[i].deltaX, steps[i].x) << i;
    EXPECT_EQ(effect->events[i].deltaY, steps[i].y) << i;
    EXPECT_TRUE(effect->events[i].shift);
    EXPECT_EQ(effect->events[i].viewWidth, 200);
    EXPECT_EQ(effect->events[i].sceneWidth, 640);
  }
  // The arrow keys move the offset by a pixel and deliver a step each.
  EXPECT_TRUE(control.dragKey(Anchor::ArrowKey::Up, {}));
  EXPECT_EQ(effect->events.back().deltaX, -2);
  EXPECT_EQ(effect->events.back().deltaY, 0);
  control.captureEnded();
  EXPECT_EQ(host.calls.back(), "outside");
  EXPECT_EQ(host.calls.end()[-2], "commit");
  EXPECT_FALSE(control.dragKey(Anchor::ArrowKey::Up, {}));
  control.dragStep(5, 5, {});
  EXPECT_EQ(effect->events.size(), 4u);  // no drag: no step
}

TEST_F(AnchorControlTest, RightDragTakesTheCameraHandleWithRawOffsets) {
  add(AnchorType::Viewpoint, {}, 0, Anchor::Flag::RawOffset);
  show();
  control.rightButtonDown();
  EXPECT_EQ(control.dragState(), DragState::Right);
  EXPECT_TRUE(effect->events.empty());  // nothing is sent at the press
  control.dragStep(10, -10, {.shift = true});
  control.dragStep(15, -30, {.shift = true});
  ASSERT_EQ(effect->events.size(), 2u);
  EXPECT_EQ(effect->events[1].kind, EventKind::RightDrag);
  // Each step's own movement, never locked.
  EXPECT_EQ(effect->events[1].deltaX, 5);
  EXPECT_EQ(effect->events[1].deltaY, -20);
  control.endDrag();

  // Without a camera handle the right press only starts the window's plain drag.
  host = {};
  show();
  control.rightButtonDown();
  EXPECT_EQ(control.dragState(), DragState::None);
  EXPECT_EQ(host.calls, (std::vector<std::string>{"plain drag"}));
}

TEST_F(AnchorControlTest, DoubleClickOnEmptySpaceFocusesTheCameraObject) {
  add(AnchorType::Viewpoint, {}, 0, 0, other);
  show();
  control.leftButtonDown({.doubleClick = true});
  EXPECT_EQ(host.focus, other);
}

TEST_F(AnchorControlTest, OutputSizeHandleRecordsTheFirstEffectToo) {
  auto output = std::make_shared<EventRecordingEffect>(Effect::EffectType::Output);
  host.first = std::make_shared<EventRecordingEffect>(Effect::EffectType::Input);
  add(AnchorType::Square, {at(100, 50), at(0, 50), at(100, 0)}, 0,
      Anchor::Flag::SizeHandle | Anchor::Flag::InputSize, nullptr, output);
  show();
  control.pointerMoved(100, 50);
  control.leftButtonDown({});
  EXPECT_EQ(host.recorded,
            (std::vector<const Effect::EffectBase*>{output.get(), host.first.get()}));
}

TEST_F(AnchorControlTest, ToolTipTexts) {
  auto output = std::make_shared<EventRecordingEffect>(Effect::EffectType::Output);
  host.first = std::make_shared<EventRecordingEffect>(Effect::EffectType::Input);
  const int tip = Anchor::Flag::Tooltip;
  const struct {
    int id;
    int flags;
    std::shared_ptr<EventRecordingEffect> by;
    std::string text;
  } cases[] = {
      {Anchor::kClippingIconId, tip, effect, "クリッピングオブジェクトの視覚化"},
      {Anchor::kCameraModeIconId, tip, effect,
       "カメラ制御の視点モードを切り替え\n緑色:カメラ視点\n白色:カメラ視点(編集不可)\n"
       "灰色:編集用視点(自由移動)"},
      {0, tip | Anchor::Flag::SizeHandle | Anchor::Flag::InputSize, effect, "サイズの変更"},
      {0, tip | Anchor::Flag::SizeHandle, effect, "拡大率の変更"},
      {0, tip, effect, "Layer 3 : " + effect->getDisplayName()},
      {0, tip, output, "Layer 3 : " + host.first->getDisplayName()},
      {0, 0, effect, ""},
  };
  for (const auto& c : cases) {
    const PreviewAnchor item{AnchorType::LargeCircle, c.flags, object, c.by, c.id};
    EXPECT_EQ(control.toolTipText(item), c.text) << c.id << " " << c.flags;
  }
}

}  // namespace
