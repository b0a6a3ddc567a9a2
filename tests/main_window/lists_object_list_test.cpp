// The object list: the objects under the cursor frame in layer order, filtered by the
// window's options; rows that focus and select their object, switch it on and off and lock
// it; and the object menu.
#include "main_window/lists/object_list_component.h"

#include <QApplication>
#include <QTimer>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "edit/object.h"
#include "edit/scene.h"
#include "main_window/lists/object_button_control.h"
#include "tests/main_window/lists_test_support.h"
#include "ui/menu_popup.h"
#include "ui/tool_tips.h"

namespace {

using Component::ObjectButtonControl;
using Component::ObjectListComponent;
using ControlTest::Colour::kBody;
using ListsTest::kBodySelect;
using Strings = std::vector<std::string>;
namespace Icon = Component::ObjectIcon;

constexpr int kFirstRow = 24;
constexpr int kRowHeight = 21;
// The tick box of a row: 3 pixels in from the right edge, 13 wide; the lock left of it.
constexpr int kEnableX = 390;
constexpr int kLockX = 374;

int rowTop(int index) { return kFirstRow + index * kRowHeight; }

class ObjectListTest : public ListsTest::ListFixture {
 protected:
  ObjectListTest() {
    window.emplace();
    place(*window);
  }
  ~ObjectListTest() override { mice().setModifierReader(nullptr); }

  // An object on the layer with the named effects, in one edit scope that tells the
  // listeners of the change.
  std::shared_ptr<Edit::Object> put(int layer, int start, int end,
                                    std::initializer_list<const char*> effects) {
    auto scope = services_.edit().beginUpdate();
    scope.updateLayer = true;
    scope.notifyObject = true;
    auto object = services_.scene().createEmptyObject(layer, start, end);
    for (const char* name : effects) object->setEffectByName(name, nullptr);
    scope.close();
    return object;
  }
  ObjectButtonControl& row(std::size_t index) {
    return static_cast<ObjectButtonControl&>(*window->list.items.at(index));
  }
  // The first effect's name of every listed row, top to bottom.
  Strings rowNames() {
    Strings names;
    for (std::size_t i = 0; i < window->list.items.size(); ++i)
      names.emplace_back(row(i).object()->effects.front()->name);
    return names;
  }
  void holdControl(bool held) {
    if (held)
      mice().setModifierReader([] { return Qt::KeyboardModifiers(Qt::ControlModifier); });
    else
      mice().setModifierReader(nullptr);
  }
  // Runs an item of the window's options sub-menu.
  void chooseOption(const std::string& item) {
    Window::PopupMenu menu;
    window->createPopupMenu(menu);
    choose(menu, item, ObjectListComponent::kOptionMenu);
  }

  std::optional<ObjectListComponent> window;
};

TEST_F(ObjectListTest, TheObjectsUnderTheCursorAreListedInLayerOrder) {
  const auto upper = put(3, 0, 9, {"画像ファイル"});
  const auto lower = put(1, 5, 20, {"図形"});
  put(1, 30, 40, {"動画ファイル"});
  struct Case {
    int frame;
    std::vector<std::shared_ptr<Edit::Object>> listed;
  };
  const Case cases[] = {
      {0, {upper}},
      {9, {lower, upper}},  // the first layer first; the upper object ends on this frame
      {10, {lower}},
      {25, {}},
  };
  for (const Case& c : cases) {
    services_.edit().setCursorFrame(c.frame);  // the cursor event updates the list
    EXPECT_EQ(window->listedObjects(), c.listed) << "frame " << c.frame;
    ASSERT_EQ(window->list.items.size(), c.listed.size()) << "frame " << c.frame;
    for (std::size_t i = 0; i < c.listed.size(); ++i) EXPECT_EQ(row(i).object(), c.listed[i]);
  }
}

TEST_F(ObjectListTest, TheOptionsChooseTheKindsAndMediaListed) {
  // One object per layer, every one under frame 0.
  const char* const chain[] = {"画像ファイル", "音声ファイル", "動画ファイル", "色調補正",
                               "音量調整",     "グループ制御", "カメラ制御"};
  for (int layer = 0; layer < 7; ++layer) put(layer, 0, 10, {chain[layer]});
  services_.edit().setCursorFrame(0);
  ASSERT_EQ(rowNames(), Strings(std::begin(chain), std::end(chain)));

  struct Step {
    const char* option;
    Strings listed;
  };
  const Step steps[] = {
      {"音声系のオブジェクトを表示する",  // camera lights count as "other" media too
       {"画像ファイル", "動画ファイル", "色調補正", "グループ制御"}},
      {"音声系のオブジェクトを表示する", Strings(std::begin(chain), std::end(chain))},
      {"制御オブジェクトを表示する",
       {"画像ファイル", "音声ファイル", "動画ファイル", "色調補正", "音量調整"}},
      {"フィルタオブジェクトを表示する", {"画像ファイル", "音声ファイル", "動画ファイル"}},
      {"映像(画像)系のオブジェクトを表示する", {"音声ファイル"}},
      {"メディアオブジェクトを表示する", {}},
      {"音声系のオブジェクトを表示する", {}},
  };
  for (const Step& s : steps) {
    chooseOption(s.option);
    EXPECT_EQ(rowNames(), s.listed) << "after " << s.option;
  }

  // Every option is off now: the menu shows them unchecked, and a new window (the next start)
  // reads them back from the parameter store.
  Window::PopupMenu menu;
  window->createPopupMenu(menu);
  const QAction* options = ListsTest::itemNamed(menu.handle(), ObjectListComponent::kOptionMenu);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(ListsTest::texts(options->menu()),
            (Strings{"メディアオブジェクトを表示する", "フィルタオブジェクトを表示する",
                     "制御オブジェクトを表示する", "-", "映像(画像)系のオブジェクトを表示する",
                     "音声系のオブジェクトを表示する"}));
  for (const QAction* item : options->menu()->actions())
    EXPECT_FALSE(item->isChecked()) << item->text().toStdString();
  EXPECT_EQ(ListsTest::texts(menu.handle()).back(), "ウィンドウを閉じる");

  window.reset();
  window.emplace();
  const ObjectListComponent::Options& loaded = window->options;
  EXPECT_EQ(std::vector<int>({loaded.video, loaded.audio, loaded.control, loaded.filter,
                              loaded.media}),
            std::vector<int>(5, 0));
  place(*window);
  services_.edit().setCursorFrame(0);
  EXPECT_TRUE(window->list.items.empty());
}

TEST_F(ObjectListTest, TheIconFollowsTheKindOfTheFirstEffect) {
  struct Case {
    const char* effect;
    bool clipping;
    int icon;
  };
  const Case cases[] = {
      {"動画ファイル", false, Icon::kMovie},      {"画像ファイル", true, Icon::kClipping},
      {"音声ファイル", false, Icon::kSpeaker},    {"図形", false, Icon::kPicture},
      {"色調補正", false, Icon::kSparkle},        {"音量調整", false, Icon::kGear},
      {"グループ制御", false, Icon::kLink},       {"カメラ制御", false, Icon::kCamera},
      {"シーンチェンジ", false, Icon::kGear},
  };
  for (const Case& c : cases) {
    Edit::Object object(0, 0, 9);
    object.setEffectByName(c.effect, nullptr);
    object.clipping = c.clipping ? 1 : 0;
    EXPECT_EQ(Component::objectKindIcon(object), c.icon) << c.effect;
  }
  EXPECT_EQ(Component::objectKindIcon(Edit::Object(0, 0, 9)), Icon::kGear) << "no effect";
}

TEST_F(ObjectListTest, ARowShowsItsObjectsStateAndKeepsItWhenReused) {
  const auto audio = put(0, 0, 9, {"音声ファイル"});
  services_.edit().setCursorFrame(0);
  ASSERT_EQ(window->list.items.size(), 1u);
  ObjectButtonControl* reused = &row(0);
  EXPECT_FALSE(reused->lockButton.visible) << "an audio object has no lock";
  EXPECT_EQ(reused->enableButton.toolTipText, "オブジェクトの表示・非表示");
  EXPECT_TRUE(reused->enableButton.checked);
  EXPECT_EQ(reused->iconId(), Icon::kSpeaker);

  // The same number of objects at frame 20: the row is bound to the filter object.
  const auto filter = put(0, 15, 30, {"色調補正"});
  filter->effects.front()->lock = true;
  filter->effects.front()->disable = true;
  services_.edit().setCursorFrame(20);
  ASSERT_EQ(&row(0), reused);
  EXPECT_EQ(reused->object(), filter);
  EXPECT_EQ(reused->iconId(), Icon::kSparkle);
  EXPECT_TRUE(reused->lockButton.visible);
  EXPECT_TRUE(reused->lockButton.checked);
  EXPECT_FALSE(reused->enableButton.checked);
  EXPECT_EQ(reused->enableButton.toolTipText, "フィルタ効果の有効・無効");
}

TEST_F(ObjectListTest, TheCheckButtonsSwitchAndLockTheObject) {
  const auto object = put(1, 0, 9, {"画像ファイル"});
  services_.edit().setCursorFrame(0);
  ASSERT_EQ(window->list.items.size(), 1u);
  const Window::Rect& enable = row(0).enableButton.fullRect;
  const Window::Rect& lock = row(0).lockButton.fullRect;
  EXPECT_EQ(enable, (Window::Rect{384, rowTop(0) + 3, 13, 13}));
  EXPECT_EQ(lock, (Window::Rect{368, rowTop(0) + 3, 13, 13}));

  click(kEnableX, rowTop(0) + 8);
  EXPECT_TRUE(object->effects.front()->disable);
  EXPECT_FALSE(row(0).enableButton.checked) << "the edit event updated the row";
  click(kLockX, rowTop(0) + 8);
  EXPECT_TRUE(object->effects.front()->lock);
  EXPECT_TRUE(row(0).lockButton.checked);
  EXPECT_EQ(services_.scene().focusObject, nullptr) << "the buttons do not click the row";

  click(kEnableX, rowTop(0) + 8);
  EXPECT_FALSE(object->effects.front()->disable);
}

TEST_F(ObjectListTest, APressFocusesAndSelectsTheObjectUntilTheRelease) {
  const auto first = put(0, 0, 9, {"画像ファイル"});
  const auto locked = put(1, 0, 9, {"図形"});
  services_.scene().editLayerObjects(1)->layer->locked = true;
  services_.edit().setCursorFrame(0);
  ASSERT_EQ(window->list.items.size(), 2u);

  now += 10'000;
  press(100, rowTop(0) + 5);
  EXPECT_EQ(services_.scene().focusObject, first);
  EXPECT_TRUE(first->selected);
  EXPECT_EQ(mice().keyWatchTarget(), &row(0)) << "the row watches the Ctrl key";
  window->procPaint();
  EXPECT_EQ(pixel(200, rowTop(0) + 10), kBodySelect);
  release(100, rowTop(0) + 5);
  EXPECT_TRUE(services_.scene().selection.empty()) << "without Ctrl the selection is transient";
  window->procPaint();
  EXPECT_EQ(pixel(200, rowTop(0) + 10), kBodySelect) << "the focus object, nothing selected";
  EXPECT_EQ(pixel(200, rowTop(1) + 10), kBody);

  click(100, rowTop(1) + 5);
  EXPECT_EQ(services_.scene().focusObject, locked) << "a locked layer's object is focused";
  EXPECT_FALSE(locked->selected) << "but never selected";
}

TEST_F(ObjectListTest, CtrlAddsToTheSelectionFromTheFocus) {
  const auto first = put(0, 0, 9, {"画像ファイル"});
  const auto second = put(1, 0, 9, {"図形"});
  services_.edit().setCursorFrame(0);
  services_.edit().setFocusObject(first);
  holdControl(true);
  click(100, rowTop(1) + 5);
  EXPECT_EQ(services_.scene().selection.objects,
            (std::vector<std::shared_ptr<Edit::Object>>{first, second}))
      << "the focus object first, then the clicked one; kept while Ctrl is held";
  EXPECT_EQ(services_.scene().focusObject, first) << "Ctrl does not move the focus";
}

TEST_F(ObjectListTest, TheObjectMenuFollowsTheSelection) {
  const auto first = put(0, 0, 9, {"画像ファイル"});
  const auto second = put(1, 0, 9, {"図形"});
  services_.edit().setCursorFrame(0);

  Window::PopupMenu empty;
  window->buildContextMenu(empty);
  const Strings emptyShown = ListsTest::texts(empty.handle());
  EXPECT_EQ(Strings(emptyShown.begin(), emptyShown.begin() + 3),
            (Strings{"貼り付け", "-", "オプション"}));
  EXPECT_FALSE(ListsTest::itemNamed(empty.handle(), "貼り付け")->isEnabled())
      << "nothing to paste";

  // Two objects selected; a right click on a row with Ctrl held keeps that selection.
  services_.edit().selectObject(first, true);
  services_.edit().selectObject(second, true);
  holdControl(true);
  Strings shown;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return ADD_FAILURE() << "no context menu is open";
    shown = ListsTest::texts(menu);
    menu->close();
  });
  row(0).procContextMenu(5, 5);
  EXPECT_EQ(services_.scene().selection.objects.size(), 2u);
  ASSERT_GE(shown.size(), 9u);
  EXPECT_EQ(Strings(shown.begin(), shown.begin() + 9),
            (Strings{"切り取り", "コピー", "貼り付け", "削除", "-", "グループ化", "グループ解除",
                     "-", "オプション"}));
}

TEST_F(ObjectListTest, ARightClickWithoutCtrlAddsTheRowsObjectForTheMenu) {
  const auto first = put(0, 0, 9, {"画像ファイル"});
  services_.edit().setCursorFrame(0);
  bool selectedInMenu = false;
  Strings shown;
  QTimer::singleShot(0, [&] {
    selectedInMenu = first->selected;
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return ADD_FAILURE() << "no context menu is open";
    shown = ListsTest::texts(menu);
    menu->close();
  });
  row(0).procContextMenu(5, 5);
  EXPECT_TRUE(selectedInMenu);
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.front(), "切り取り") << "the menu acts on the selection";
  EXPECT_EQ(services_.scene().focusObject, nullptr) << "the focus stays";
}

TEST_F(ObjectListTest, HoveringARowNamesItsLayerAndObject) {
  put(0, 0, 9, {"画像ファイル"});
  put(2, 0, 9, {"図形"});
  services_.scene().editLayerObjects(2)->layer->name = "背景";
  services_.edit().setCursorFrame(0);
  row(0).procMouseHover();
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "Layer1 : 画像ファイル");
  EXPECT_EQ(Window::ToolTips::timeout(), -1) << "gone at the next move";
  row(1).procMouseHover();
  EXPECT_EQ(Window::ToolTips::text().toStdString(), "背景 : 図形");
  Window::ToolTips::hide();
}

}  // namespace
