// The Edit menu: its keys, the cursor moves, which items are greyed for which targets, the
// focus keys that walk the layers, and the show/hide of several objects.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "edit/group.h"
#include "menu/menu_fixture.h"
#include "ui/keyboard_code.h"

namespace {

using Window::KeyCode;
constexpr int kEdit = Window::WindowMenuManager::Edit;

class EditMenuTest : public ::testing::Test, public TestSupport::MenuBarFixture {
 protected:
  void SetUp() override { start(); }

  // Records the frames the cursor-frame list hears from now on in cursorHeard_.
  void listenToCursor() {
    events().cursorFrameChanged().add([this](int frame) { cursorHeard_.push_back(frame); });
  }
  std::vector<int> cursorHeard_;
};

TEST_F(EditMenuTest, ItemsInsideSubMenusAreNamedAfterTheEditMenu) {
  expectShortcuts({
      {"編集:次のフレームに移動", 0x27},
      {"編集:カスタムフレーム前移動A", 0x21},
      {"編集:指定時間に移動", 0},
      {"編集:オブジェクトを切り取り", KeyCode::kCtrl | 'X'},
      {"編集:オブジェクトのグループ解除", KeyCode::kCtrl | KeyCode::kShift | 'G'},
      {"編集:現在のフレームを選択開始フレームにする", 0xDB},
      {"編集:次のオブジェクトを選択", 0xBE},
      {"編集:やり直し", KeyCode::kCtrl | KeyCode::kShift | 'Z'},
      {"編集:キャッシュを破棄", 0x74},
  });
  EXPECT_EQ(shortcut("移動:次のフレームに移動"), nullptr);
  const auto top = texts(topMenu(kEdit));
  ASSERT_FALSE(top.empty());
  EXPECT_EQ(top.front(), "移動");
  EXPECT_EQ(withoutKey(top.back()), "キャッシュを破棄");
}

TEST_F(EditMenuTest, CursorMovesStayInsideTheSceneAndAreAnnounced) {
  TestSupport::place(0, 0, 99);
  edit().setCursorFrame(99);
  listenToCursor();
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown(0x27, 0));
  EXPECT_EQ(scene().cursorFrame, 99);
  EXPECT_EQ(cursorHeard_, std::vector<int>{99});

  struct Case {
    const char* item;
    int rangeStart, rangeEnd;
    int expected;
  };
  const Case cases[] = {
      {"選択開始フレームに移動", -1, -1, 0},
      {"選択終了フレームに移動", -1, -1, 99},
      {"選択開始フレームに移動", 10, 40, 10},
      {"選択終了フレームに移動", 10, 40, 40},
      {"選択終了フレームに移動", 10, 500, 99},
      {"先頭のフレームに移動", -1, -1, 0},
      {"最後のフレームに移動", -1, -1, 99},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.item);
    edit().setCursorFrame(50);
    scene().selectedFrameStart = c.rangeStart;
    scene().selectedFrameEnd = c.rangeEnd;
    choose(kEdit, c.item);
    EXPECT_EQ(scene().cursorFrame, c.expected);
  }
}

TEST_F(EditMenuTest, CustomMovesUseTheEditSettings) {
  TestSupport::place(0, 0, 299);
  edit().setCursorFrame(100);
  edit().settings.customMoveFrameA = "5f";
  edit().settings.customMoveFrameC = "1";  // one second at 30 fps
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown(0x22, 0));
  EXPECT_EQ(scene().cursorFrame, 105);
  choose(kEdit, "カスタムフレーム前移動C");
  EXPECT_EQ(scene().cursorFrame, 75);
}

TEST_F(EditMenuTest, ObjectItemsAreGreyWithoutTargets) {
  auto object = TestSupport::place(0, 0, 99);
  edit().setCursorFrame(50);
  const char* items[] = {"オブジェクトを切り取り",   "オブジェクトをコピー",
                         "オブジェクトを削除",       "オブジェクトを分割",
                         "オブジェクトを複製",       "オブジェクトの長さを変更",
                         "オブジェクトの中間点を追加", "オブジェクトの表示・非表示"};
  for (const char* text : items) EXPECT_FALSE(enabled(kEdit, text)) << text;
  EXPECT_FALSE(enabled(kEdit, "オブジェクトの中間点を削除"));
  EXPECT_FALSE(enabled(kEdit, "オブジェクトを貼り付け"));

  edit().setFocusObject(object);
  for (const char* text : items) EXPECT_TRUE(enabled(kEdit, text)) << text;

  // A focus object that left its layer is no target.
  object->layer = -1;
  EXPECT_FALSE(enabled(kEdit, "オブジェクトを切り取り"));
}

TEST_F(EditMenuTest, MidpointDeletionNeedsAMidpointOnTheCursor) {
  auto object = TestSupport::place(0, 0, 99);
  object->boundaries = {40};
  edit().setFocusObject(object);
  edit().setCursorFrame(40);
  EXPECT_TRUE(enabled(kEdit, "オブジェクトの中間点を削除"));
  edit().setCursorFrame(41);
  EXPECT_FALSE(enabled(kEdit, "オブジェクトの中間点を削除"));
  // The object's start is no midpoint.
  edit().setCursorFrame(0);
  EXPECT_FALSE(enabled(kEdit, "オブジェクトの中間点を削除"));
}

TEST_F(EditMenuTest, GroupingItemsFollowTheSelection) {
  auto a = TestSupport::place(0, 0, 9);
  auto b = TestSupport::place(1, 0, 9);
  EXPECT_FALSE(enabled(kEdit, "オブジェクトのグループ化"));
  edit().selectObject(a, false);
  edit().selectObject(b, false);
  EXPECT_TRUE(enabled(kEdit, "オブジェクトのグループ化"));

  a->joinGroup(std::make_shared<Edit::Group>());
  EXPECT_FALSE(enabled(kEdit, "オブジェクトのグループ解除"));
  b->joinGroup(a->group);
  EXPECT_TRUE(enabled(kEdit, "オブジェクトのグループ解除"));

  edit().clearSelection(false);
  edit().setFocusObject(a);
  EXPECT_TRUE(enabled(kEdit, "オブジェクトのグループ解除"));
}

TEST_F(EditMenuTest, TabCyclesThroughTheObjectsUnderTheCursor) {
  auto on2 = TestSupport::place(2, 0, 20);
  auto on5 = TestSupport::place(5, 5, 20);
  auto on7 = TestSupport::place(7, 10, 20);
  TestSupport::place(3, 30, 40);  // not under the cursor
  edit().setCursorFrame(15);
  edit().setFocusObject(on5);
  const std::shared_ptr<Edit::Object> expected[] = {on7, on2, on5, on7};
  for (const auto& next : expected) {
    EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown(0x09, 0));
    EXPECT_EQ(scene().focusObject, next) << "layer " << next->layer;
  }
}

TEST_F(EditMenuTest, NextAndPreviousWalkTheFocusLayer) {
  auto first = TestSupport::place(1, 0, 9);
  auto second = TestSupport::place(1, 20, 29);
  auto third = TestSupport::place(1, 40, 49);
  choose(kEdit, "次のオブジェクトを選択");  // no focus: nothing
  EXPECT_EQ(scene().focusObject, nullptr);

  edit().setFocusObject(second);
  choose(kEdit, "次のオブジェクトを選択");
  EXPECT_EQ(scene().focusObject, third);
  EXPECT_EQ(scene().cursorFrame, 40);
  choose(kEdit, "次のオブジェクトを選択");  // the last one stays
  EXPECT_EQ(scene().focusObject, third);

  choose(kEdit, "前のオブジェクトを選択");
  choose(kEdit, "前のオブジェクトを選択");
  EXPECT_EQ(scene().focusObject, first);
  EXPECT_EQ(scene().cursorFrame, 0);
  edit().setCursorFrame(5);
  choose(kEdit, "前のオブジェクトを選択");  // the first one: nothing
  EXPECT_EQ(scene().focusObject, first);
  EXPECT_EQ(scene().cursorFrame, 5);
}

TEST_F(EditMenuTest, ShowHideGivesEveryTargetTheFirstTargetsOppositeState) {
  std::shared_ptr<Edit::Object> shown, hidden;
  {
    auto scope = edit().beginUpdate();
    scope.updateLayer = true;
    shown = scope.scene->createObject(TestSupport::TestInput::kName, 0, 0, 9);
    hidden = scope.scene->createObject(TestSupport::TestInput::kName, 1, 0, 9);
    scope.close();
  }
  hidden->effects.front()->disable = true;
  edit().selectObject(shown, false);
  edit().selectObject(hidden, false);
  choose(kEdit, "オブジェクトの表示・非表示");
  EXPECT_TRUE(shown->effects.front()->disable);
  EXPECT_TRUE(hidden->effects.front()->disable);
  choose(kEdit, "オブジェクトの表示・非表示");
  EXPECT_FALSE(shown->effects.front()->disable);
  EXPECT_FALSE(hidden->effects.front()->disable);
}

TEST_F(EditMenuTest, UndoAndRedoFollowTheHistory) {
  EXPECT_FALSE(enabled(kEdit, "元に戻す"));
  EXPECT_FALSE(enabled(kEdit, "やり直し"));
  auto object = TestSupport::place(0, 0, 9);
  edit().setFocusObject(object);
  choose(kEdit, "オブジェクトを削除");
  EXPECT_EQ(object->layer, -1);
  EXPECT_TRUE(enabled(kEdit, "元に戻す"));
  EXPECT_TRUE(Window::Shortcut::instance()->procKeyDown('Z', KeyCode::kCtrl));
  EXPECT_EQ(object->layer, 0);
  EXPECT_FALSE(enabled(kEdit, "元に戻す"));
  EXPECT_TRUE(enabled(kEdit, "やり直し"));
}

TEST_F(EditMenuTest, DiscardingTheCachesRefreshesTheEditData) {
  int heard = 0;
  events().list<7>().add([&](const Event::ObjectReference&) { ++heard; });
  const auto generation = edit().editGeneration();
  choose(kEdit, "キャッシュを破棄");
  EXPECT_EQ(heard, 1);
  EXPECT_GT(edit().editGeneration(), generation);
}

}  // namespace
