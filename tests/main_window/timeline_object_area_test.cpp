// The timeline rows under the pointer: which object and which part of it a press grips,
// focus and selection at a press, moving the selection (shortened by its neighbours and
// frame 0, across layers, along one axis with Shift), dragging edges and midpoints, snapping,
// and the rubber band; each drag is one undo step.
#include <array>
#include <initializer_list>

#include "edit/layer.h"
#include "edit/object.h"
#include "main_window/timeline/object_drag_limits.h"
#include "tests/main_window/timeline_test_support.h"
#include "tests/system/temp_folder.h"

namespace {

using namespace TimelineTest;
using Part = Component::EditLayerObjectControl::HitPart;

class TimelineObjectAreaTest : public TimelineFixture {
 protected:
  TimelineObjectAreaTest() {
    services.edit().settings.layerObjectMoveSnap = 0;
    services.edit().setCursorFrame(0);
  }

  Component::EditLayerObjectControl& area() { return timeline->objectArea; }
  // Window coordinates of a frame (at 100 %, from frame 0) and of a layer's row.
  static int frameX(int frame) { return kW + frame; }
  static int rowY(int layer) { return kG + layer * kH + kH / 2; }
  // Empty objects (layer, start, end) on the scene; the window follows.
  void placeAll(std::initializer_list<std::array<int, 3>> objects) {
    for (const auto& [layer, start, end] : objects) TestSupport::place(layer, start, end);
    timeline->refreshAfterEdit(-1);
  }
  std::shared_ptr<Edit::Object> at(int layer, int frame) {
    for (const auto& o : scene().getLayerObjects(layer).objects)
      if (o->start <= frame && frame <= o->end) return o;
    return nullptr;
  }
  // A press at one point, a drag through the others and the release at the last one.
  void drag(std::vector<std::pair<int, int>> points) {
    now += 10'000;
    move(points.front().first, points.front().second);
    press(points.front().first, points.front().second);
    for (std::size_t i = 1; i < points.size(); ++i) move(points[i].first, points[i].second);
    release(points.back().first, points.back().second);
  }
};

TEST_F(TimelineObjectAreaTest, ThePointerGripsTheBodyAnEdgeOrAMidpoint) {
  placeAll({{0, 100, 199}, {1, 300, 309}, {2, 100, 199}});
  at(0, 100)->boundaries = {50};  // a midpoint at frame 150
  at(1, 300)->boundaries = {4};   // a midpoint at frame 304, near the start
  scene().editLayerObjects(2)->layer->locked = true;
  struct Case {
    int layer, x;
    bool found;
    Part part;
    int index;
  };
  const Case cases[] = {
      {0, 130, true, Part::Body, -1},
      {0, 150, true, Part::Midpoint, 1},
      {0, 103, true, Part::StartEdge, -1},
      {0, 95, true, Part::StartEdge, -1},   // just before the object, within 8 pixels
      {0, 197, true, Part::EndEdge, -1},
      {0, 90, false, Part::Body, -1},       // 10 pixels away: nothing
      {1, 303, true, Part::Midpoint, 1},    // the midpoint is nearer than the start
      {1, 300, true, Part::StartEdge, -1},
      {2, 103, true, Part::Body, -1},       // locked layers grip no edges
      {5, 103, false, Part::Body, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("layer " + std::to_string(c.layer) + " x " + std::to_string(c.x));
    const auto hit = area().hitTest(c.x, c.layer * kH + 5);
    EXPECT_EQ(static_cast<bool>(hit.object), c.found);
    EXPECT_EQ(hit.part, c.part);
    EXPECT_EQ(hit.index, c.index);
  }
}

TEST_F(TimelineObjectAreaTest, AClickFocusesAndSelectsForThePressOnly) {
  placeAll({{0, 10, 59}});
  const auto clicked = at(0, 10);
  int selections = 0;
  services.events().selectionChanged().add([&] { ++selections; });
  now += 10'000;
  move(frameX(30), rowY(0));
  press(frameX(30), rowY(0));
  EXPECT_TRUE(clicked->selected) << "selected while pressed";
  EXPECT_EQ(scene().focusObject, clicked) << "a single click focuses";
  release(frameX(30), rowY(0));
  EXPECT_TRUE(scene().selection.empty()) << "the release lets the selection go";
  EXPECT_EQ(scene().focusObject, clicked) << "the focus stays";
  EXPECT_GE(selections, 2);

  holdKeys(Qt::ControlModifier);
  click(frameX(30), rowY(0));
  EXPECT_TRUE(clicked->selected) << "with Ctrl the selection stays";
}

TEST_F(TimelineObjectAreaTest, AMoveStopsAtTheNeighbourAndIsOneUndoStep) {
  placeAll({{0, 10, 39}, {0, 80, 89}});
  const auto moved = at(0, 10);
  drag({{frameX(25), rowY(0)}, {frameX(45), rowY(0)}, {frameX(70), rowY(0)}});
  EXPECT_EQ(moved->start, 50) << "it touches the next object";
  EXPECT_EQ(moved->end, 79);
  services.undo().undo();
  EXPECT_EQ(moved->start, 10) << "one undo takes the whole drag back";

  drag({{frameX(25), rowY(0)}, {frameX(15), rowY(0)}, {frameX(-40), rowY(0)}});
  EXPECT_EQ(moved->start, 0) << "frame 0 stops a move to the left";
}

TEST_F(TimelineObjectAreaTest, AMoveAcrossLayersFallsBackToTheNearestLayerThatFits) {
  placeAll({{0, 10, 39}, {2, 0, 99}});
  const auto moved = at(0, 10);
  drag({{frameX(25), rowY(0)}, {frameX(25), rowY(1)}, {frameX(25), rowY(2) + 3}});
  EXPECT_EQ(moved->layer, 1) << "layer 2 is taken at these frames";
  EXPECT_EQ(moved->start, 10);

  holdKeys(Qt::ShiftModifier);
  drag({{frameX(25), rowY(1)}, {frameX(100), rowY(1) + 10}, {frameX(100), rowY(3) + 3}});
  EXPECT_EQ(moved->start, 85) << "Shift: the pointer went further along the frames";
  EXPECT_EQ(moved->layer, 1) << "so the layer stays";
}

TEST_F(TimelineObjectAreaTest, EdgesAndMidpointsKeepTheirSections) {
  // The limits of edge and midpoint drags, on an object at 100 .. 199 with midpoints at 120
  // and 180 and a neighbour ending at 89.
  placeAll({{0, 80, 89}, {0, 100, 199}, {0, 200, 209}});
  Edit::Object& o = *at(0, 100);
  o.boundaries = {20, 80};
  using namespace Component::Timeline;
  EXPECT_EQ(limitStartChange(scene(), o, -50), -10) << "up to the neighbour";
  EXPECT_EQ(limitStartChange(scene(), o, 50), 19) << "one frame before the first midpoint";
  EXPECT_EQ(limitEndChange(scene(), o, 30), 0) << "the next object touches already";
  EXPECT_EQ(limitEndChange(scene(), o, -50), -18) << "the last section keeps two frames";
  EXPECT_EQ(limitMidpointChange(o, 1, -50), -19);
  EXPECT_EQ(limitMidpointChange(o, 2, 50), 18);
  EXPECT_EQ(limitMidpointChange(o, 2, -70), -59);
  o.boundaries.clear();
  EXPECT_EQ(limitEndChange(scene(), o, -500), -99) << "without midpoints one frame stays";

  // The same through the pointer: the start edge dragged left stops at the neighbour.
  drag({{frameX(101), rowY(0)}, {frameX(80), rowY(0)}, {frameX(50), rowY(0)}});
  EXPECT_EQ(o.start, 90);
  EXPECT_EQ(o.end, 199);
  services.undo().undo();
  EXPECT_EQ(o.start, 100);
}

TEST_F(TimelineObjectAreaTest, ADraggedStartSnapsToANeighbourWithinEightPixels) {
  services.edit().settings.layerObjectMoveSnap = 1;
  services.edit().setCursorFrame(400);
  placeAll({{1, 30, 59}, {0, 100, 199}});  // the neighbour's end + 1 is frame 60
  const auto o = at(0, 100);
  drag({{frameX(100), rowY(0)}, {frameX(80), rowY(0)}, {frameX(66), rowY(0)}});
  EXPECT_EQ(o->start, 60) << "6 frames from the neighbour's end: snapped";
  services.undo().undo();
  drag({{frameX(100), rowY(0)}, {frameX(80), rowY(0)}, {frameX(70), rowY(0)}});
  EXPECT_EQ(o->start, 70) << "10 frames away: left where dropped";
}

TEST_F(TimelineObjectAreaTest, ACtrlBandAddsTheObjectsItTouches) {
  placeAll({{0, 10, 19}, {1, 250, 259}, {3, 10, 19}});
  holdKeys(Qt::ControlModifier);
  drag({{frameX(200), rowY(0)}, {frameX(100), rowY(1)}, {frameX(15), rowY(1)}});
  EXPECT_TRUE(at(0, 10)->selected);
  EXPECT_FALSE(at(1, 250)->selected) << "the band ends before it";
  EXPECT_FALSE(at(3, 10)->selected);
  EXPECT_EQ(scene().selection.objects.size(), 1u);
}

}  // namespace

namespace {

TEST_F(TimelineObjectAreaTest, TheMenuOnEmptySpaceOffersPasteAndSelectionByTheCursor) {
  placeAll({{0, 10, 39}, {1, 100, 129}, {2, 300, 309}});
  services.edit().setCursorFrame(100);
  std::vector<std::string> shown;
  chooseInNextPopup("", "", &shown);
  area().procContextMenu(200, 5);
  const std::vector<std::string> head(shown.begin(), shown.begin() + 6);
  EXPECT_EQ(head, (std::vector<std::string>{"貼り付け", "空のフレームを挿入", "-",
                                            "オブジェクト選択", "-", "グリッド(BPM)の表示"}));

  holdKeys(Qt::ControlModifier);
  chooseInNextPopup("オブジェクト選択", "現在のフレーム以降に開始するオブジェクトを選択");
  area().procContextMenu(200, 5);
  EXPECT_FALSE(at(0, 10)->selected);
  EXPECT_TRUE(at(1, 100)->selected) << "starts at the cursor";
  EXPECT_TRUE(at(2, 300)->selected);
}

TEST_F(TimelineObjectAreaTest, TheMenuOnAnObjectDeletesAMidpointOnlyWithinReach) {
  placeAll({{0, 100, 199}});
  at(0, 100)->boundaries = {50};
  std::vector<std::string> shown;
  chooseInNextPopup("", "中間点を削除", &shown);
  area().procContextMenu(130, 5);  // 20 pixels from the midpoint
  EXPECT_EQ(at(0, 100)->boundaries.size(), 1u) << "greyed: nothing happens";
  EXPECT_EQ(shown.front(), "切り取り");

  chooseInNextPopup("", "中間点を削除");
  area().procContextMenu(153, 5);
  EXPECT_TRUE(at(0, 100)->boundaries.empty());
  EXPECT_TRUE(scene().selection.empty()) << "the right click's selection goes with Ctrl up";
}

}  // namespace

namespace {

TEST_F(TimelineObjectAreaTest, DroppedFilesBecomeObjectsOnLayerAfterLayerUntilOneIsRefused) {
  TestSupport::TempFolder folder;
  const std::string saved = folder.writeFile(
      "clip.object", "[Object]\r\nframe=0,29\r\n[Object.0]\r\neffect.name=テスト入力\r\n"
                     "[Object.1]\r\neffect.name=標準描画\r\n");
  const std::string unknown = folder.writeFile("notes.zzz", "?");

  Window::DropData refused{{unknown}};
  EXPECT_FALSE(area().procDragOver(50, 5, refused)) << "a file no effect takes is refused";
  Window::DropData accepted{{saved}};
  EXPECT_TRUE(area().procDragOver(50, 5, accepted));

  Window::DropData files{{saved, saved, unknown, saved}};
  EXPECT_FALSE(area().procDrop(50, 1 * kH + 5, files));
  ASSERT_NE(at(1, 50), nullptr);
  ASSERT_NE(at(2, 50), nullptr);
  EXPECT_EQ(at(1, 50)->start, 50);
  EXPECT_EQ(at(2, 50)->end, 79);
  EXPECT_EQ(at(3, 50), nullptr) << "the refused file stops the drop";
  EXPECT_EQ(at(4, 50), nullptr);
}

TEST_F(TimelineObjectAreaTest, TheTimeTipShowsTheGrippedBoundaryAndItsTimeInTheObject) {
  placeAll({{0, 30, 89}});
  at(0, 30)->boundaries = {45};  // frame 75
  area().procMouseMove(88, 5);
  EXPECT_EQ(area().timeTipText(), "00:00:03.00 ( 00:02.00 )") << "the end edge: end + 1";
  area().procMouseMove(75, 5);
  EXPECT_EQ(area().timeTipText(), "00:00:02.50 ( 00:01.50 )") << "the midpoint";
}

}  // namespace
