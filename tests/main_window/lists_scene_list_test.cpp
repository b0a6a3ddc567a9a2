// The scene list: its rows follow the project's scenes, a click switches the scene, a drag
// reorders the scenes (never past the root scene), and files dropped on it become scenes.
#include "main_window/lists/scene_list_component.h"

#include <memory>
#include <string>
#include <vector>

#include "edit/scene.h"
#include "main_window/lists/scene_button_control.h"
#include "tests/main_window/lists_test_support.h"
#include "ui/menu_popup.h"
#include "ui/tool_tips.h"

namespace {

using Component::SceneButtonControl;
using Component::SceneListComponent;
using ControlTest::Colour::kBody;
using ControlTest::Colour::kGrouping;
using ListsTest::kBodySelect;
using Strings = std::vector<std::string>;

// The header strip is 24 pixels high; each row 21 (19 and the 2-pixel strip).
constexpr int kFirstRow = 24;
constexpr int kRowHeight = 21;

int rowTop(int index) { return kFirstRow + index * kRowHeight; }

class SceneListTest : public ListsTest::ListFixture {
 protected:
  SceneListTest() { place(window); }

  // Makes scenes 1 .. count - 1 (each becomes current once), then returns to `current`.
  void makeScenes(int count, int current = 0) {
    for (int id = 1; id < count; ++id) services_.edit().updateScene(id);
    services_.edit().updateScene(current);
  }
  SceneButtonControl& row(std::size_t index) {
    return static_cast<SceneButtonControl&>(*window.list.items.at(index));
  }
  // The scene ids of the rows, top to bottom.
  std::vector<int> rowScenes() {
    std::vector<int> ids;
    for (std::size_t i = 0; i < window.list.items.size(); ++i) ids.push_back(row(i).scene()->id);
    return ids;
  }
  std::vector<int> displayOrders() {
    std::vector<int> orders;
    for (const auto& scene : services_.edit().project.getSortedScenes())
      orders.push_back(scene->id);
    return orders;
  }
  int currentScene() { return services_.edit().currentScene()->id; }

  SceneListComponent window;
};

TEST_F(SceneListTest, RowsFollowTheScenesAndTheCurrentOneIsDrawnSelected) {
  EXPECT_TRUE(window.list.items.empty()) << "empty until the first scene change";
  makeScenes(3, 1);
  EXPECT_EQ(rowScenes(), (std::vector<int>{0, 1, 2}));
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_EQ(row(i).fullRect, (Window::Rect{0, rowTop(static_cast<int>(i)), 400, kRowHeight}));

  window.procPaint();
  EXPECT_EQ(pixel(390, rowTop(1) + 10), kBodySelect) << "the current scene";
  EXPECT_EQ(pixel(390, rowTop(0) + 10), kBody);
  EXPECT_EQ(pixel(390, rowTop(0) + 19), kGrouping) << "the strip below the body";
  EXPECT_TRUE(anyPixel(0, rowTop(0), 20, rowTop(0) + 19, ControlTest::Colour::kBody))
      << "the icon leaves the body around it";

  // Renaming from the row's menu rebuilds every row with the new name.
  ui_.answerText = "intro";
  const SceneButtonControl* before = &row(2);
  {
    Window::PopupMenu menu;
    row(2).buildContextMenu(menu);
    choose(menu, "シーン名を変更");
  }
  ASSERT_EQ(window.list.items.size(), 3u);
  EXPECT_EQ(row(2).scene()->name, "intro");
  EXPECT_NE(&row(2), before) << "the rows were made again";
}

TEST_F(SceneListTest, MenusOfARowAndOfTheWindow) {
  makeScenes(2);
  struct Case {
    std::size_t row;
    bool deletable;
  };
  for (const Case c : {Case{0, false}, Case{1, true}}) {
    Window::PopupMenu menu;
    row(c.row).buildContextMenu(menu);
    const Strings shown = ListsTest::texts(menu.handle());
    ASSERT_GE(shown.size(), 7u);
    EXPECT_EQ(Strings(shown.begin(), shown.begin() + 7),
              (Strings{"シーンを新規作成", "シーンを削除", "-", "シーン名を変更", "シーンの設定",
                       "-", "ウィンドウ配置"}));
    EXPECT_EQ(ListsTest::itemNamed(menu.handle(), "シーンを削除")->isEnabled(), c.deletable)
        << "the root scene cannot be deleted";
    EXPECT_EQ(shown.back(), "ウィンドウを閉じる");
  }
  Window::PopupMenu menu;
  window.buildContextMenu(menu);
  const Strings shown = ListsTest::texts(menu.handle());
  EXPECT_EQ(Strings(shown.begin(), shown.begin() + 3),
            (Strings{"シーンを新規作成", "-", "ウィンドウ配置"}));
}

TEST_F(SceneListTest, AClickSwitchesTheSceneAndTheRootRowCannotBeDragged) {
  int sceneChanges = 0;
  services_.events().sceneChanged().add([&](int) { ++sceneChanges; });
  makeScenes(1);
  ASSERT_EQ(rowScenes(), (std::vector<int>{0}));

  now += 10'000;
  press(100, rowTop(0) + 5);
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::No);
  EXPECT_TRUE(row(0).isPressed());
  move(100, rowTop(0) - 20);
  move(100, rowTop(0) + 60);
  EXPECT_EQ(rowScenes(), (std::vector<int>{0})) << "the root scene's row stays";
  release(100, rowTop(0) + 5);

  sceneChanges = 0;
  click(100, rowTop(0) + 5);
  EXPECT_EQ(sceneChanges, 1) << "a click on the current scene's row fires the change too";
  EXPECT_EQ(currentScene(), 0);

  makeScenes(3);
  now += 10'000;
  press(100, rowTop(2) + 5);
  EXPECT_EQ(mice().wantedCursor(), Window::MouseCursor::SizeNS);
  release(100, rowTop(2) + 5);
  EXPECT_EQ(currentScene(), 2);
}

TEST_F(SceneListTest, ADragSwapsOnceThePointerIsFivePixelsIntoTheNeighbour) {
  makeScenes(4);  // rows 0 1 2 3
  struct Step {
    int y;
    std::vector<int> rows;
  };
  // Scene 2 goes up: 4 pixels above its top is not enough, 5 is; then the root scene's row
  // stops it.
  now += 10'000;
  press(100, rowTop(2) + 10);
  const Step up[] = {{rowTop(2) - 4, {0, 1, 2, 3}},
                     {rowTop(2) - 5, {0, 2, 1, 3}},
                     {rowTop(1) - 5, {0, 2, 1, 3}},
                     {rowTop(0), {0, 2, 1, 3}}};
  for (const Step& s : up) {
    move(100, s.y);
    EXPECT_EQ(rowScenes(), s.rows) << "pointer at " << s.y;
  }
  release(100, rowTop(0));
  EXPECT_EQ(currentScene(), 0) << "a moved drag switches nothing";
  EXPECT_EQ(displayOrders(), (std::vector<int>{0, 2, 1, 3})) << "the scenes exchanged places";

  // Scene 2 (now second) goes down: its bottom edge is at rowTop(2).
  now += 10'000;
  press(100, rowTop(1) + 10);
  const Step down[] = {{rowTop(2) + 4, {0, 2, 1, 3}}, {rowTop(2) + 5, {0, 1, 2, 3}}};
  for (const Step& s : down) {
    move(100, s.y);
    EXPECT_EQ(rowScenes(), s.rows) << "pointer at " << s.y;
  }
  release(100, rowTop(2) + 5);
  EXPECT_EQ(displayOrders(), (std::vector<int>{0, 1, 2, 3}));
}

TEST_F(SceneListTest, ALongDragSwapsOncePerRowPassed) {
  makeScenes(5);
  int sceneChanges = 0;
  services_.events().sceneChanged().add([&](int) { ++sceneChanges; });
  now += 10'000;
  press(100, rowTop(1) + 10);
  for (int y = rowTop(1) + 10; y <= rowTop(4) + 15; ++y) move(100, y);
  EXPECT_EQ(rowScenes(), (std::vector<int>{0, 2, 3, 4, 1}));
  release(100, rowTop(4) + 15);
  EXPECT_EQ(currentScene(), 0);
  EXPECT_EQ(sceneChanges, 0) << "a reorder is no edit and fires nothing";
  EXPECT_FALSE(row(4).isPressed());
}

TEST_F(SceneListTest, HoveringARowShowsTheSceneInformation) {
  makeScenes(2);
  std::string tip;
  ui_.onShowToolTip = [&](const std::string& text) { tip = text; };
  row(1).procMouseHover();
  EXPECT_NE(tip.find("Scene1\nTotalTime: "), std::string::npos) << tip;
  EXPECT_NE(tip.find("Video: 1920 x 1080 / "), std::string::npos) << tip;
  EXPECT_NE(tip.find("Audio: "), std::string::npos) << tip;
}

TEST_F(SceneListTest, OnlyFilesThatCanBecomeASceneAreTakenWithATip) {
  makeScenes(1);  // a row under the pointer: the window behind it takes the drag
  struct Case {
    Strings files;
    bool accepted;
  };
  const Case cases[] = {
      {{"/tmp/old.kvo"}, true},
      {{"/tmp/OLD.KVO"}, true},
      {{"/tmp/figure.svg"}, true},
      {{"/tmp/notes.txt"}, false},
      {{"/tmp/notes.txt", "/tmp/old.kvo"}, false},  // only the first file counts
      {{}, false},
  };
  for (const Case& c : cases) {
    Window::ToolTips::hide();
    Window::DropData data{c.files};
    mice().dragOver(100, rowTop(0) + 5, data);
    EXPECT_EQ(data.accepted, c.accepted) << testing::PrintToString(c.files);
    EXPECT_EQ(Window::ToolTips::isShown(), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(Window::ToolTips::text().toStdString(), "シーンを作成");
    }
  }
  Window::ToolTips::hide();
}

TEST_F(SceneListTest, ADroppedLegacyObjectFileBecomesOneNewScene) {
  TestSupport::TempFolder folder;
  const std::string header =
      "[kivrun]\r\nwidth=640\r\nheight=480\r\nrate=30\r\nscale=1\r\naudio_rate=44100\r\n";
  const std::string first = folder.writeFile("FIRST.KVO", header);
  const std::string second = folder.writeFile("second.kvo", header);
  makeScenes(1);

  Window::DropData figureFirst{{folder.path() + "/figure.svg", first}};
  window.procDrop(10, 10, figureFirst);
  EXPECT_EQ(services_.edit().project.scenes.size(), 1u) << "the legacy file was not first";

  Window::DropData both{{first, second}};
  EXPECT_TRUE(window.procDrop(10, 10, both));
  EXPECT_EQ(services_.edit().project.scenes.size(), 2u) << "one scene, from the first file";
  EXPECT_EQ(currentScene(), 1);
  EXPECT_EQ(services_.edit().currentScene()->width, 640);
  EXPECT_EQ(rowScenes(), (std::vector<int>{0, 1})) << "the scene change rebuilt the list";
}

}  // namespace
