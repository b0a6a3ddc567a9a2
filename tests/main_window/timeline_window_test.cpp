// The timeline window: where its parts lie, what its view shows of the scene (how many
// layers and frames fit, how far the bars reach, the zoom), the frame range and the cursor,
// the scroll and zoom input of its parts, and its option menu.
#include <QAction>
#include <QMenu>
#include <algorithm>

#include "tests/main_window/timeline_test_support.h"

namespace {

using Component::EditComponent;
using namespace TimelineTest;

class TimelineWindowTest : public TimelineFixture {};

TEST_F(TimelineWindowTest, ThePartsAreLaidOutAroundTheRows) {
  const EditComponent& t = *timeline;
  EXPECT_EQ(t.title, "レイヤー編集");
  EXPECT_EQ(t.ruler.fullRect, (Window::Rect{kW, 0, kWidth - kS - kW, kG}));
  EXPECT_EQ(t.layerHeaders.fullRect, (Window::Rect{0, kG, kW, kHeight - kS - kG}));
  EXPECT_EQ(t.objectArea.fullRect, (Window::Rect{kW, kG, kWidth - kS - kW, kHeight - kS - kG}));
  EXPECT_EQ(t.verticalBar.fullRect, (Window::Rect{kWidth - kS, 0, kS, kHeight}));
  EXPECT_TRUE(t.verticalBar.vertical);
  EXPECT_EQ(t.zoomGauge.fullRect, (Window::Rect{0, kHeight - kS, kW, kS}));
  EXPECT_EQ(t.horizontalBar.fullRect, (Window::Rect{kW, kHeight - kS, kWidth - kS - kW, kS}));
  EXPECT_FALSE(t.horizontalBar.vertical);
  EXPECT_EQ(t.sceneButton.fullRect, (Window::Rect{0, 2, kW - 3, kG - 6}));
  EXPECT_EQ(t.sceneButton.text, "Root");
  EXPECT_EQ(EditComponent::instance(), timeline.get());
}

TEST_F(TimelineWindowTest, TheViewCountsWhatFitsAndTheRangesGrowWithTheScene) {
  EditComponent& t = *timeline;
  EXPECT_EQ(t.visibleLayers, (kHeight - kG - kS) / kH + 1);
  EXPECT_EQ(t.layerRange, t.visibleLayers) << "an empty scene: the bar spans just the view";
  EXPECT_EQ(t.visibleFrames, kWidth - kW - kS + 1);
  EXPECT_EQ(t.frameRange, t.visibleFrames);
  EXPECT_EQ(scene().displayFrameCount, t.visibleFrames);

  place(20, 0, 999);
  EXPECT_EQ(t.layerRange, 20 + t.visibleLayers / 2);
  EXPECT_EQ(t.frameRange, 999 + t.visibleFrames / 2);
  EXPECT_EQ(t.verticalBar.maximum, t.layerRange);

  EXPECT_TRUE(t.setDisplayLayer(100, false));
  EXPECT_EQ(scene().displayLayer, t.layerRange - t.visibleLayers) << "never past the range";
  EXPECT_FALSE(t.setDisplayLayer(100, false)) << "the same view again: nothing changed";
  spans.clear();
  EXPECT_TRUE(t.setDisplayFrame(5000, false));
  EXPECT_EQ(scene().displayFrame, t.frameRange - t.visibleFrames);
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{scene().displayFrame, t.visibleFrames}}));
  EXPECT_EQ(t.horizontalBar.step, 100);

  // The ranges never shrink by themselves, only when forced (after edits).
  TestSupport::edit([](Edit::UpdateSection& scope, Undo::UndoService&) {
    scope.scene->getLayerObjects(20).objects.front()->layer = -1;
    scope.scene->editLayerObjects(20)->purgeFlag = true;
  });
  const int grown = t.layerRange;
  t.setDisplayLayer(0, false);
  EXPECT_EQ(t.layerRange, grown);
  t.setDisplayLayer(0, true);
  EXPECT_EQ(t.layerRange, t.visibleLayers);
}

TEST_F(TimelineWindowTest, ALowWindowStillShowsOneLayer) {
  timeline->rect = {0, 0, kWidth, kG + kS + kH - 1};
  timeline->procMove();
  EXPECT_EQ(timeline->visibleLayers, 1);
  timeline->rect = {0, 0, kWidth, kG + kS - kH - 1};
  timeline->procMove();
  EXPECT_EQ(timeline->visibleLayers, 0);
}

TEST_F(TimelineWindowTest, TheZoomKeepsThePivotInPlaceAndTheGaugeShowsItsStep) {
  EditComponent& t = *timeline;
  place(0, 0, 9999);
  t.setDisplayFrame(100, false);
  const int pivot = 300;
  const int column = t.frameToPixel(pivot);
  Edit::FrameZoom zoom;
  zoom.zoom = 20000;
  t.setFrameZoom(zoom, pivot);
  EXPECT_EQ(scene().zoom.zoom, 20000);
  EXPECT_EQ(t.frameToPixel(pivot), column);
  EXPECT_EQ(t.zoomGauge.litCount, 21);
  EXPECT_EQ(t.visibleFrames, (kWidth - kW - kS) / 2 + 1);

  zoom.zoom = 12345;
  t.applyFrameZoom(zoom);
  EXPECT_EQ(t.zoomGauge.litCount, -1) << "a value outside the table has no step";
  int32_t picked = 12345;
  t.zoomGauge.zoom.normalizer(picked);
  EXPECT_EQ(picked, 10000) << "the gauge's normaliser puts it back to 100 %";
}

TEST_F(TimelineWindowTest, TheFrameRangeIsCompletedStoredAndAnnounced) {
  place(0, 0, 299);
  struct Case {
    int start, end, expectedStart, expectedEnd;
  };
  const Case cases[] = {{5, -1, 5, 299}, {-1, 3, 0, 3}, {9, 4, 4, 9}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.start) + ", " + std::to_string(c.end));
    timeline->setFrameRange(-1, -1);
    ranges.clear();
    timeline->setFrameRange(c.start, c.end);
    EXPECT_EQ(scene().selectedFrameStart, c.expectedStart);
    EXPECT_EQ(scene().selectedFrameEnd, c.expectedEnd);
    EXPECT_EQ(ranges, (std::vector<std::pair<int, int>>{{c.expectedStart, c.expectedEnd}}));
    timeline->setFrameRange(c.expectedStart, c.expectedEnd);
    EXPECT_EQ(ranges.size(), 1u) << "the same range again is no change";
  }
}

TEST_F(TimelineWindowTest, TheViewFollowsTheCursorOnlyWhenItLeavesTheView) {
  EditComponent& t = *timeline;
  place(0, 0, 9999);
  services.edit().setCursorFrame(200);
  EXPECT_EQ(scene().displayFrame, 0) << "inside the view: no scrolling";
  services.edit().setCursorFrame(2000);
  EXPECT_EQ(scene().displayFrame, 2000 - t.visibleFrames / 2) << "re-centred on the cursor";
  EXPECT_EQ(t.horizontalBar.viewStart, scene().displayFrame);
}

TEST_F(TimelineWindowTest, TheCursorFollowsThePointerAndDragsTheRangeWithShift) {
  EditComponent& t = *timeline;
  place(0, 0, 9999);
  t.setCursorFromPosition(40);
  EXPECT_EQ(scene().cursorFrame, 40);
  EXPECT_EQ(scene().rangeAnchorFrame, 40);
  t.setCursorFromPosition(t.objectArea.fullRect.width + 9);
  EXPECT_EQ(scene().displayFrame, 10) << "past the right edge the view scrolls";
  const int anchor = t.objectArea.fullRect.width + 9;
  EXPECT_EQ(scene().cursorFrame, anchor) << "the frame under the pointer before the scroll";
  EXPECT_EQ(scene().rangeAnchorFrame, anchor);

  holdKeys(Qt::ShiftModifier);
  t.setCursorFromPosition(100);
  EXPECT_EQ(scene().cursorFrame, 110);
  EXPECT_EQ(scene().selectedFrameStart, 110);
  EXPECT_EQ(scene().selectedFrameEnd, anchor);
  EXPECT_EQ(ranges.back(), std::make_pair(110, anchor));
  EXPECT_EQ(scene().rangeAnchorFrame, anchor) << "the anchor stays while Shift is held";
}

TEST_F(TimelineWindowTest, ThePointerScrubsPansAndScrolls) {
  EditComponent& t = *timeline;
  place(40, 0, 9999);
  const int areaX = kW, areaY = kG;

  // A press on the rows (or on the ruler above them) puts the cursor under the pointer.
  click(areaX + 50, areaY + 10);
  EXPECT_EQ(scene().cursorFrame, 50);
  click(areaX + 70, 10);
  EXPECT_EQ(scene().cursorFrame, 70) << "the ruler hands its press to the rows";
  now += 10'000;
  press(areaX + 70, areaY + 10);
  move(areaX + 90, areaY + 10);
  release(areaX + 90, areaY + 10);
  EXPECT_EQ(scene().cursorFrame, 90) << "dragging scrubs";

  // The wheel moves 100 pixels' worth of frames, or one layer in the layer wheel mode.
  wheel(areaX + 10, areaY + 10, -120);
  EXPECT_EQ(scene().displayFrame, 100);
  t.settings.layerWheelMode = 1;
  wheel(areaX + 10, areaY + 10, -120);
  EXPECT_EQ(scene().displayLayer, 1);
  now += 10'000;  // the wheel no longer sticks to the rows
  move(5, areaY + 10);
  wheel(5, areaY + 10, -120);
  EXPECT_EQ(scene().displayLayer, 2) << "the headers scroll layers";

  // A right drag pans the view against the pointer.
  now += 10'000;
  press(areaX + 200, areaY + 100, Qt::RightButton);
  move(areaX + 150, areaY + 100 - 2 * kH);
  release(areaX + 150, areaY + 100 - 2 * kH, Qt::RightButton);
  EXPECT_EQ(scene().displayFrame, 150);
  EXPECT_EQ(scene().displayLayer, 4);

  // Ctrl and the wheel zoom around the frame under the pointer.
  holdKeys(Qt::ControlModifier);
  const int pivot = t.pixelToFrame(80);
  wheel(areaX + 80, areaY + 10, 120);
  EXPECT_EQ(scene().zoom.zoom, 15000);
  EXPECT_EQ(t.frameToPixel(pivot), 80);
}

TEST_F(TimelineWindowTest, TheBarsScrollTheView) {
  EditComponent& t = *timeline;
  place(40, 0, 9999);
  t.verticalBar.requestScroll(5);
  EXPECT_EQ(scene().displayLayer, 5);
  t.horizontalBar.requestScroll(700);
  EXPECT_EQ(scene().displayFrame, 700);
  EXPECT_EQ(t.horizontalBar.viewStart, 700);
}

TEST_F(TimelineWindowTest, TheOptionMenuFlipsTheSettings) {
  EditComponent& t = *timeline;
  choose("", "グリッド(BPM)の表示");
  EXPECT_EQ(t.settings.tempoGrid, 1);
  choose("", "グリッド(BPM)の表示");
  EXPECT_EQ(t.settings.tempoGrid, 0);
  choose("オプション", "マウスホイールで縦スクロール(レイヤー)");
  EXPECT_EQ(t.settings.layerWheelMode, 1);
  choose("オプション", "対象レイヤー範囲を表示");
  EXPECT_EQ(t.settings.displayLayerRange, 0);
  const int32_t before = services.edit().settings.layerObjectMoveSnap;
  choose("オプション", "オブジェクトのスナップ(レイヤー)");
  EXPECT_EQ(services.edit().settings.layerObjectMoveSnap, before ? 0 : 1)
      << "the edit model's keys are flipped in place";

  Window::PopupMenu menu;
  t.createPopupMenu(menu);
  menu.updateMenuState();
  EXPECT_TRUE(itemNamed(itemNamed(menu.handle(), "オプション")->menu(),
                        "マウスホイールで縦スクロール(レイヤー)")
                  ->isChecked());
  EXPECT_NE(itemNamed(menu.handle(), "ウィンドウ配置"), nullptr) << "the window menu follows";
}

TEST_F(TimelineWindowTest, TheRulerShowsTheRangeAndTheCursor) {
  EditComponent& t = *timeline;
  Window::StyleBrushList& b = service().styleBrushes();
  b.FrameRangeSelect.get()->setColor(ControlTest::colourOf(0x00c000));
  b.FrameRangeOutside.get()->setColor(ControlTest::colourOf(0x004000));
  b.FrameCursor.get()->setColor(ControlTest::colourOf(0xff00ff));
  place(0, 0, 999);
  t.setFrameRange(10, 19);
  services.edit().setCursorFrame(50);
  t.procPaint();
  const int lower = kG - 2;
  EXPECT_EQ(pixel(kW + 5, lower), 0x004000u) << "outside the range";
  EXPECT_EQ(pixel(kW + 15, lower), 0x00c000u) << "inside the range";
  EXPECT_EQ(pixel(kW + 50, 2), 0xff00ffu) << "the cursor line over the full height";
  EXPECT_EQ(pixel(kW + 50, kG + 10), 0xff00ffu) << "and on the rows";

  t.setFrameRange(-1, -1);
  t.procPaint();
  EXPECT_FALSE(anyPixel(kW, kG / 2 + 1, kW + 400, kG, 0x004000u)) << "no range: no range colour";
}

}  // namespace

namespace {

TEST_F(TimelineWindowTest, HoveringAHeaderLightsItAndItsRow) {
  Window::StyleBrushList& b = service().styleBrushes();
  b.Layer.get()->setColor(ControlTest::colourOf(0x101010));
  b.LayerHeader.get()->setColor(ControlTest::colourOf(0x202020));
  b.LayerHover.get()->setColor(ControlTest::colourOf(0x00ffff));
  b.LayerDisable.get()->setColor(ControlTest::colourOf(0x303030));
  place(0, 0, 999);  // past the scene's end the rows are shaded
  timeline->procPaint();
  const int row2 = kG + 2 * kH + kH / 2;
  EXPECT_EQ(pixel(kW / 2, row2 - 5), 0x202020u);

  move(kW / 2, row2);
  EXPECT_EQ(timeline->layerHeaders.hoveredLayer, 2);
  EXPECT_EQ(pixel(kW - 10, row2 + 5), 0x00ffffu) << "the header";
  EXPECT_EQ(pixel(kW + 300, row2 + 5), 0x00ffffu) << "its row";
  move(kW + 300, row2);
  EXPECT_EQ(timeline->layerHeaders.hoveredLayer, -1);
  EXPECT_EQ(pixel(kW + 300, row2 + 5), 0x101010u);

  scene().editLayerObjects(2)->layer->hidden = true;
  timeline->procPaint();
  EXPECT_EQ(pixel(kW + 300, row2 + 5), 0x303030u) << "a hidden layer's row is dimmed";
  EXPECT_EQ(pixel(kW - 10, row2 + 5), 0x303030u) << "and its header";
}

TEST_F(TimelineWindowTest, AHeaderShowsTheLayersNameOrItsNumber) {
  timeline->procPaint();  // every layer in the view has its slot
  EXPECT_EQ(Component::layerDisplayName(scene(), 0), "Layer1");
  scene().editLayerObjects(3)->layer->name = "BGM";
  EXPECT_EQ(Component::layerDisplayName(scene(), 3), "BGM");
  scene().editLayerObjects(3)->layer->name.clear();
  EXPECT_EQ(Component::layerDisplayName(scene(), 3), "Layer4");
}

TEST_F(TimelineWindowTest, ASceneChangeAdoptsTheScenesView) {
  place(0, 0, 9999);
  timeline->setDisplayFrame(300, false);
  services.edit().updateScene(1);
  Edit::Scene& second = scene();
  EXPECT_EQ(second.id, 1);
  EXPECT_EQ(timeline->sceneButton.text, second.name);
  EXPECT_EQ(second.displayFrame, 0) << "an empty scene cannot be scrolled";
  EXPECT_EQ(timeline->frameRange, timeline->visibleFrames) << "the range follows the scene";
  services.edit().updateScene(0);
  EXPECT_EQ(scene().displayFrame, 300) << "each scene keeps its own view";
}

TEST_F(TimelineWindowTest, ThePlayersFrameMovesTheViewWhenItLeavesIt) {
  Window::StyleBrushList& b = service().styleBrushes();
  b.PlayerCursor.get()->setColor(ControlTest::colourOf(0xffff00));
  place(0, 0, 9999);
  services.events().frameNotice().fire(1, 2000);
  EXPECT_EQ(scene().displayFrame, 0) << "a preview frame is not the player's";
  services.events().frameNotice().fire(2, 120);
  EXPECT_EQ(scene().displayFrame, 0);
  EXPECT_EQ(pixel(kW + 120, kG + 40), 0xffff00u) << "the playback line";
  services.events().frameNotice().fire(2, 130);
  EXPECT_EQ(pixel(kW + 130, kG + 40), 0xffff00u) << "the line moves on";
  EXPECT_NE(pixel(kW + 120, kG + 40), 0xffff00u) << "what lay under it is back";
  services.events().frameNotice().fire(2, 2000);
  EXPECT_EQ(scene().displayFrame, 2000) << "the frame becomes the left edge";
  services.events().playbackChanged().fire(false);
  EXPECT_NE(pixel(kW, kG + 40), 0xffff00u) << "the line goes when the player stops";
}

}  // namespace

namespace {

class TimelineGuidesTest : public TimelineFixture {
 protected:
  TimelineGuidesTest() {
    Window::StyleBrushList& b = service().styleBrushes();
    b.Layer.get()->setColor(ControlTest::colourOf(0x101010));
    b.Border.get()->setColor(ControlTest::colourOf(0xff0000));
    b.GuideLine.get()->setColor(ControlTest::colourOf(0x00ff00));
    b.LayerRange.get()->setColor(ControlTest::colourOf(0x0000ff));
    b.LayerRangeFrame.get()->setColor(ControlTest::colourOf(0xffffff));
    place(9, 0, 9999);  // the rows stay inside the scene
  }
  // The colours along a row's middle from the area's left edge, pixel by pixel.
  std::vector<uint32_t> rowColours(int layer, int width) {
    std::vector<uint32_t> colours;
    for (int x = 0; x < width; ++x) colours.push_back(pixel(kW + x, kG + layer * kH + kH / 2));
    return colours;
  }
};

TEST_F(TimelineGuidesTest, TheGridShowsBeatsThenBarsThenNothingAsTheZoomFalls) {
  // 30 fps at 120 BPM: a beat every 15 frames, a bar every 60.
  timeline->settings.tempoGrid = 1;
  timeline->procPaint();
  auto colours = rowColours(0, 130);
  EXPECT_EQ(colours[15], 0x00ff00u) << "a beat";
  EXPECT_EQ(colours[60], 0xff0000u) << "a bar";
  EXPECT_EQ(colours[20], 0x101010u);

  Edit::FrameZoom zoom;
  zoom.zoom = 2000;  // 3 pixels a beat, 12 a bar
  timeline->setFrameZoom(zoom, 0);
  colours = rowColours(0, 40);
  EXPECT_EQ(colours[12], 0xff0000u) << "bars only";
  EXPECT_EQ(std::count(colours.begin(), colours.end(), 0x00ff00u), 0) << "no beats";

  zoom.zoom = 750;  // 4.5 pixels a bar
  timeline->setFrameZoom(zoom, 0);
  colours = rowColours(0, 40);
  EXPECT_EQ(std::count(colours.begin(), colours.end(), 0xff0000u), 0) << "too dense: no grid";
}

TEST_F(TimelineGuidesTest, AControlObjectShowsTheLayersItActsOn) {
  auto scope = services.edit().beginUpdate();
  scope.updateLayer = true;
  auto control = scope.scene->createObject(TestSupport::TestControl::kName, 1, 100, 199);
  static_cast<TestSupport::TestControl&>(*control->effects.front()).range.value = 2;
  scope.close();
  timeline->refreshAfterEdit(-1);
  ASSERT_TRUE(control->controlFlag);
  timeline->procPaint();
  const int middle = kG + 2 * kH + kH / 2;
  EXPECT_EQ(pixel(kW + 150, middle), 0x0000ffu) << "a governed layer";
  EXPECT_EQ(pixel(kW + 101, middle), 0xffffffu) << "framed at its start";
  EXPECT_EQ(pixel(kW + 150, kG + 4 * kH + kH / 2), 0x101010u) << "beyond its range";
  EXPECT_EQ(pixel(kW + 150, kG + 3 * kH + kH - 1), 0xffffffu) << "closed on its last layer";

  timeline->settings.displayLayerRange = 0;
  timeline->procPaint();
  EXPECT_EQ(pixel(kW + 150, middle), 0x101010u) << "the setting turns it off";
}

}  // namespace

namespace {

TEST_F(TimelineGuidesTest, ShortObjectsOnOnePixelShareOneColumn) {
  // Frames 0 .. 199 all round to the first column at this zoom.
  for (int start = 0; start < 200; start += 10) TestSupport::place(0, start, start + 9);
  Edit::FrameZoom zoom;
  zoom.zoom = 20;  // 500 frames a pixel
  timeline->setFrameZoom(zoom, 0);
  timeline->refreshAfterEdit(-1);
  timeline->procPaint();
  const int boxY = kG + kH - 3;
  EXPECT_NE(pixel(kW, boxY), 0x101010u) << "one box in the first column";
  EXPECT_EQ(pixel(kW + 1, boxY), 0x101010u) << "and none beside it";
}

}  // namespace

namespace {

TEST_F(TimelineWindowTest, TheSceneButtonListsTheScenesAndSwitches) {
  services.edit().updateScene(1);
  services.edit().updateScene(0);
  std::vector<std::string> shown;
  chooseInNextPopup("", "Scene1", &shown);
  click(40, 15);
  EXPECT_EQ(shown, (std::vector<std::string>{"Root", "Scene1"}));
  EXPECT_EQ(scene().id, 1);
  EXPECT_EQ(timeline->sceneButton.text, "Scene1");
}

}  // namespace
