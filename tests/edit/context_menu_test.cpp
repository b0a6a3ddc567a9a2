// The context-menu sections of the edit model: which items each section adds, which are
// grey for the scene's state, and that choosing one runs its command.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edit/group.h"
#include "edit/project.h"
#include "registry_fixture.h"
#include "system/menu_sink.h"

namespace {

// A menu that keeps what was appended: "-" for a separator, a "~" before a grey item.
class RecordedMenu : public System::MenuSink {
 public:
  void appendItem(std::string_view text, std::function<void()> action, bool enabled) override {
    items.push_back((enabled ? "" : "~") + std::string(text));
    actions.push_back(std::move(action));
  }
  void appendSeparator() override {
    items.push_back("-");
    actions.emplace_back();
  }
  // Runs the item with this text (grey or not).
  void choose(const std::string& text) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text || items[i] == "~" + text) {
        actions[i]();
        return;
      }
    }
    ADD_FAILURE() << "no item " << text;
  }

  std::vector<std::string> items;
  std::vector<std::function<void()>> actions;
};

using Items = std::vector<std::string>;

class ContextMenus : public ChainFixture::RegistryFixture {
 protected:
  void select(std::initializer_list<std::shared_ptr<Edit::Object>> objects) {
    for (const auto& object : objects) edit().selectObject(object, false);
  }
  Items editMenu() {
    RecordedMenu menu;
    edit().appendEditMenu(menu);
    return menu.items;
  }
  Items groupMenu() {
    RecordedMenu menu;
    edit().appendGroupMenu(menu);
    return menu.items;
  }
};

TEST_F(ContextMenus, TheEditSectionIsGreyWithoutTargetsOrClipboard) {
  EXPECT_EQ(editMenu(), (Items{"~切り取り", "~コピー", "~貼り付け", "~削除"}));

  auto object = put(0, 0, 9, {"ぼかし"});
  scene().focusObject = object;
  EXPECT_EQ(editMenu(), (Items{"切り取り", "コピー", "~貼り付け", "削除"}));

  RecordedMenu menu;
  edit().appendEditMenu(menu);
  menu.choose("コピー");
  EXPECT_FALSE(edit().clipboard.empty());
  EXPECT_EQ(editMenu(), (Items{"切り取り", "コピー", "貼り付け", "削除"}));

  // A focus object taken off the scene is no target.
  RecordedMenu again;
  edit().appendEditMenu(again);
  again.choose("削除");
  EXPECT_EQ(object->layer, -1);
  EXPECT_EQ(editMenu(), (Items{"~切り取り", "~コピー", "貼り付け", "~削除"}));
}

TEST_F(ContextMenus, TheGroupSectionFollowsTheSelectionOrTheFocus) {
  auto a = put(0, 0, 9, {"ぼかし"});
  auto b = put(1, 0, 9, {"ぼかし"});
  auto c = put(2, 0, 9, {"ぼかし"});
  const auto group = std::make_shared<Edit::Group>();
  a->joinGroup(group);
  b->joinGroup(group);
  struct Case {
    const char* label;
    std::vector<std::shared_ptr<Edit::Object>> selected;
    std::shared_ptr<Edit::Object> focus;
    Items items;
  };
  const Case cases[] = {
      {"nothing", {}, nullptr, {"~グループ化", "~グループ解除"}},
      {"focus grouped", {}, a, {"~グループ化", "グループ解除"}},
      {"focus ungrouped", {}, c, {"~グループ化", "~グループ解除"}},
      {"one selected, grouped", {a}, c, {"~グループ化", "グループ解除"}},
      {"two selected, grouped", {a, b}, nullptr, {"グループ化", "グループ解除"}},
      {"two selected, one ungrouped", {a, c}, a, {"グループ化", "~グループ解除"}},
  };
  for (const Case& c : cases) {
    edit().clearSelection(false);
    for (const auto& object : c.selected) edit().selectObject(object, false);
    scene().focusObject = c.focus;
    EXPECT_EQ(groupMenu(), c.items) << c.label;
  }

  RecordedMenu menu;
  edit().appendGroupMenu(menu);
  menu.choose("グループ化");
  EXPECT_TRUE(c->group);
  EXPECT_EQ(a->group, c->group);
}

TEST_F(ContextMenus, TheLayerRangeItemNeedsAControlObjectAndAnotherSelected) {
  auto control = put(1, 0, 9, {"グループ制御"});
  auto plain = put(3, 0, 9, {"ぼかし"});
  struct Case {
    std::vector<std::shared_ptr<Edit::Object>> selected;
    Items items;
  };
  const Case cases[] = {
      {{}, {}},
      {{control}, {}},
      {{plain}, {}},
      {{control, plain}, {"対象レイヤー範囲を調整", "-"}},
  };
  for (const Case& c : cases) {
    edit().clearSelection(false);
    for (const auto& object : c.selected) edit().selectObject(object, false);
    RecordedMenu menu;
    edit().appendLayerRangeMenu(menu);
    EXPECT_EQ(menu.items, c.items) << c.selected.size();
  }
  RecordedMenu menu;
  edit().appendLayerRangeMenu(menu);
  menu.choose("対象レイヤー範囲を調整");
  EXPECT_EQ(kindAt(*control, 0).range.value, 2);
}

TEST_F(ContextMenus, TheSceneSectionNeverDeletesTheRootScene) {
  {
    auto scope = edit().beginUpdate();
    edit().project.getOrCreateScene(3);
    scope.close();
  }
  RecordedMenu root;
  edit().appendSceneMenu(0, root);
  EXPECT_EQ(root.items, (Items{"シーンを新規作成", "~シーンを削除", "-", "シーン名を変更",
                               "シーンの設定"}));
  RecordedMenu other;
  edit().appendSceneMenu(3, other);
  EXPECT_EQ(other.items[1], "シーンを削除");
  other.choose("シーンを削除");
  EXPECT_EQ(edit().getScene(3), nullptr);
}

}  // namespace
