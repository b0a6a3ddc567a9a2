// The layer header column's edits: a click shows or hides a layer, Ctrl+click selects its
// objects, a drag moves it, and the menu's lock, show, other layers, rename, insert and
// delete; every edit is one undo step.
#include <algorithm>

#include "edit/edit_ui.h"
#include "edit/layer.h"
#include "edit/object.h"
#include "tests/main_window/timeline_test_support.h"

namespace {

using namespace TimelineTest;

// The rename dialog answered with a fixed text, or cancelled.
class RenameAnswer : public Edit::EditUi {
 public:
  bool inputText(const std::string& title, std::string& text) override {
    asked = title;
    shown = text;
    if (!answer) return false;
    text = *answer;
    return true;
  }
  std::optional<std::string> answer;
  std::string asked, shown;
};

class TimelineLayerHeaderTest : public TimelineFixture {
 protected:
  TimelineLayerHeaderTest() { timeline->procPaint(); }  // the view's layers get their slots
  ~TimelineLayerHeaderTest() override { Edit::setEditUi(nullptr); }

  Component::EditLayerHeaderControl& headers() { return timeline->layerHeaders; }
  Edit::Layer& layer(int index) { return *scene().getLayerObjects(index).layer; }
  static int headerY(int layer) { return kG + layer * kH + kH / 2; }
  // The layers' names in table order, "-" for an unnamed one.
  std::string names(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += (layer(i).name.empty() ? "-" : layer(i).name) + ",";
    return text;
  }
  void nameLayers(int count) {
    for (int i = 0; i < count; ++i) layer(i).name = "L" + std::to_string(i);
  }
};

TEST_F(TimelineLayerHeaderTest, AClickHidesAndShowsTheLayerAndCtrlClickSelectsItsObjects) {
  move(kW / 2, headerY(1));
  click(kW / 2, headerY(1));
  EXPECT_TRUE(layer(1).hidden);
  click(kW / 2, headerY(1));
  EXPECT_FALSE(layer(1).hidden);
  services.undo().undo();
  EXPECT_TRUE(layer(1).hidden) << "each click is one undo step";
  services.undo().undo();

  place(1, 0, 9);
  place(1, 20, 29);
  place(2, 0, 9);
  int selections = 0;
  services.events().selectionChanged().add([&] { ++selections; });
  holdKeys(Qt::ControlModifier);
  click(kW / 2, headerY(1));
  EXPECT_FALSE(layer(1).hidden) << "Ctrl+click does not hide";
  EXPECT_EQ(scene().selection.objects.size(), 2u);
  EXPECT_EQ(selections, 1);
}

TEST_F(TimelineLayerHeaderTest, DraggingAHeaderMovesTheLayerInOneUndoStep) {
  nameLayers(5);
  place(0, 0, 9);
  now += 10'000;
  move(kW / 2, headerY(0));
  press(kW / 2, headerY(0));
  move(kW / 2, headerY(1));
  move(kW / 2, headerY(3));
  release(kW / 2, headerY(3));
  EXPECT_EQ(names(5), "L1,L2,L3,L0,L4,");
  EXPECT_EQ(scene().getLayerObjects(3).objects.size(), 1u) << "its objects move with it";
  EXPECT_FALSE(layer(3).hidden) << "a drag that moved does not toggle";
  services.undo().undo();
  EXPECT_EQ(names(5), "L0,L1,L2,L3,L4,");
  EXPECT_EQ(scene().getLayerObjects(0).objects.front()->layer, 0);
}

TEST_F(TimelineLayerHeaderTest, LockShowAndTheOtherLayers) {
  headers().toggleLayerLock(2);
  EXPECT_TRUE(layer(2).locked);
  headers().toggleLayerHide(2);
  EXPECT_TRUE(layer(2).hidden);
  services.undo().undo();
  EXPECT_FALSE(layer(2).hidden);

  headers().toggleOtherLayers(1);
  for (int i = 0; i < scene().layerCount(); ++i)
    EXPECT_EQ(layer(i).hidden, i != 1) << "every layer shown: all but the clicked one hide";
  headers().toggleLayerHide(1);
  headers().toggleOtherLayers(4);
  for (int i = 0; i < scene().layerCount(); ++i)
    EXPECT_FALSE(layer(i).hidden) << "any layer hidden: all are shown";
}

TEST_F(TimelineLayerHeaderTest, RenamingAsksForTheNameAndAnEmptyOneGivesTheDefaultBack) {
  RenameAnswer answer;
  Edit::setEditUi(&answer);
  answer.answer = "BGM";
  headers().renameLayer(3);
  EXPECT_EQ(answer.asked, "レイヤー名を変更");
  EXPECT_EQ(Component::layerDisplayName(scene(), 3), "BGM");
  answer.answer.reset();
  headers().renameLayer(3);
  EXPECT_EQ(answer.shown, "BGM") << "the dialog starts at the layer's own name";
  EXPECT_EQ(layer(3).name, "BGM") << "Cancel changes nothing";
  answer.answer = "";
  headers().renameLayer(3);
  EXPECT_EQ(Component::layerDisplayName(scene(), 3), "Layer4");
}

TEST_F(TimelineLayerHeaderTest, InsertingAndDeletingLayersMoveTheLayersBelow) {
  nameLayers(5);
  place(3, 0, 9);
  place(4, 0, 9);
  headers().insertLayer(3);
  EXPECT_EQ(names(6), "L0,L1,L2,-,L3,L4,");
  EXPECT_EQ(scene().getLayerObjects(4).objects.front()->layer, 4) << "objects move down too";
  services.undo().undo();
  EXPECT_EQ(names(5), "L0,L1,L2,L3,L4,");

  const auto removed = scene().getLayerObjects(3).objects.front();
  headers().deleteLayer(3);
  EXPECT_EQ(names(4), "L0,L1,L2,L4,");
  EXPECT_EQ(removed->layer, -1);
  EXPECT_EQ(scene().getLayerObjects(3).objects.front()->layer, 3) << "later layers move up";
  services.undo().undo();
  EXPECT_EQ(names(5), "L0,L1,L2,L3,L4,");
  EXPECT_EQ(removed->layer, 3) << "one undo brings the layer and its objects back";
}

TEST_F(TimelineLayerHeaderTest, TheMenuActsOnTheHoveredLayer) {
  move(kW / 2, headerY(2));
  std::vector<std::string> shown;
  chooseInNextPopup("", "レイヤーをロック", &shown);
  headers().procContextMenu(0, 0);
  EXPECT_TRUE(layer(2).locked);
  const std::vector<std::string> head(shown.begin(), shown.begin() + std::min<size_t>(9, shown.size()));
  EXPECT_EQ(head, (std::vector<std::string>{"レイヤーをロック", "レイヤーの表示", "レイヤー名を変更",
                                            "他のレイヤーを表示/非表示", "-", "レイヤーを挿入",
                                            "レイヤーを削除", "-", "グリッド(BPM)の表示"}));
}

}  // namespace
