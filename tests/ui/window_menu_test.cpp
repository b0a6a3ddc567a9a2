// The context menu of a docked window: the window menu at its end, what its items offer for
// the window's place in its area, and what choosing them does to the layout.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "system/active_language.h"
#include "tests/ui/window_input_support.h"
#include "ui/docking_layout.h"
#include "ui/frame_metrics.h"
#include "ui/menu_popup.h"
#include "ui/window_client.h"

namespace {

using Window::PopupMenu;
using Window::WindowClient;
using Placement = WindowClient::Placement;
using Strings = std::vector<std::string>;

const Strings kAreaItems = {"左側エリア", "右側エリア", "上側エリア", "下側エリア", "中央エリア"};
const Strings kMoveItems = {"先頭に移動", "上に移動", "下に移動", "最後に移動"};

class TestClient : public Window::WindowClientRenderTarget {
 public:
  TestClient(const std::string& name, const Placement& placement)
      : WindowClientRenderTarget(name, "Window.test." + name, placement) {}
  void procPaint() override {}
};

// A window with items of its own before the window menu.
class EditingClient : public TestClient {
 public:
  using TestClient::TestClient;
  void createPopupMenu(Window::BaseMenu& menu) override {
    menu.insertItem("コピー", [this] { ++copies; });
    menu.insertSeparator();
    WindowClient::createPopupMenu(menu);
  }
  int copies = 0;
};

Strings texts(const QWidget* menu) {
  Strings result;
  for (const QAction* action : menu->actions())
    result.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  return result;
}

QAction* itemNamed(const QWidget* menu, const std::string& text) {
  for (QAction* action : menu->actions())
    if (action->text().toStdString() == text) return action;
  return nullptr;
}

QMenu* subMenuNamed(const QWidget* menu, const std::string& text) {
  QAction* action = itemNamed(menu, text);
  return action ? action->menu() : nullptr;
}

// Closes every open menu, so that no menu loop outlives a failed step.
void closeAllPopups() {
  for (int guard = 0; guard < 8; ++guard) {
    QWidget* popup = QApplication::activePopupWidget();
    if (!popup) return;
    popup->close();
  }
}

void pressKey(QWidget* menu, Qt::Key key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(menu, &event);
}

// While the next context menu is shown: records its items, then chooses the item `item` of
// the sub-menu `subMenu` as the user does with the keys (a top item when `subMenu` is empty).
// Whatever goes wrong, every menu is closed again.
void chooseInNextPopup(const std::string& subMenu, const std::string& item,
                       Strings* shown = nullptr) {
  QTimer::singleShot(0, [=] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) {
      ADD_FAILURE() << "no context menu is open";
      return;
    }
    if (shown) *shown = texts(menu);
    QMenu* target = menu;
    if (!subMenu.empty()) {
      // Right opens the sub-menu of the active item, which becomes the active popup.
      menu->setActiveAction(itemNamed(menu, subMenu));
      pressKey(menu, Qt::Key_Right);
      target = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (target == menu) target = nullptr;
    }
    QAction* chosen = target ? itemNamed(target, item) : nullptr;
    if (!chosen) {
      ADD_FAILURE() << "no item " << subMenu << " > " << item;
      closeAllPopups();
      return;
    }
    target->setActiveAction(chosen);
    pressKey(target, Qt::Key_Return);
    closeAllPopups();
  });
}

class WindowMenuTest : public WindowTest::DockingFixture {
 protected:
  template <typename Client = TestClient>
  std::unique_ptr<Client> client(const std::string& name, float l, float t, float r, float b,
                                 int area, bool visible = true) {
    return std::make_unique<Client>(name, Placement{l, t, r, b, area, visible});
  }

  // The titles of the shown windows of an area, in their order.
  std::string order(int area) {
    std::string names;
    for (const WindowClient* w : docking().getSortedAreaClients(area)) names += w->title;
    return names;
  }

  // Runs an item of the window's menu as choosing it does, without showing the menu.
  static void choose(WindowClient& window, const std::string& subMenu, const std::string& item) {
    PopupMenu menu;
    window.createPopupMenu(menu);
    const QWidget* level = subMenu.empty() ? menu.handle() : subMenuNamed(menu.handle(), subMenu);
    ASSERT_NE(level, nullptr) << subMenu;
    QAction* action = itemNamed(level, item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    EXPECT_TRUE(menu.runCommand(action->data().toInt()));
  }
};

TEST_F(WindowMenuTest, TheMenuOffersTheMovesThatTheWindowsPlaceAllows) {
  // Three windows stacked in the left column, one alone on the right, one hidden.
  auto a = client("a", 0.0f, 0.0f, 0.3f, 0.3f, WindowClient::kLeft);
  auto b = client("b", 0.0f, 0.3f, 0.3f, 0.6f, WindowClient::kLeft);
  auto c = client("c", 0.0f, 0.6f, 0.3f, 1.0f, WindowClient::kLeft);
  auto d = client("d", 0.7f, 0.0f, 1.0f, 1.0f, WindowClient::kRight);
  auto e = client("e", 0.3f, 0.0f, 0.7f, 1.0f, WindowClient::kCentre, false);
  relayout();
  ASSERT_EQ(order(WindowClient::kLeft), "abc");

  struct Case {
    WindowClient* window;
    int area;
    bool hasMoves;
    std::vector<bool> movesEnabled;  // first, up, down, last
  };
  const Case cases[] = {
      {a.get(), WindowClient::kLeft, true, {false, false, true, true}},
      {b.get(), WindowClient::kLeft, true, {true, true, true, true}},
      {c.get(), WindowClient::kLeft, true, {true, true, false, false}},
      {d.get(), WindowClient::kRight, true, {false, false, false, false}},
      // A hidden window has no place in its area to move from; it can still be shown.
      {e.get(), WindowClient::kCentre, false, {}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.window->title);
    PopupMenu menu;
    row.window->createPopupMenu(menu);
    if (row.hasMoves) {
      EXPECT_EQ(texts(menu.handle()),
                (Strings{"ウィンドウ配置", "-", "ウィンドウの移動", "-", "ウィンドウを閉じる"}));
    } else {
      EXPECT_EQ(itemNamed(menu.handle(), "ウィンドウの移動"), nullptr);
      ASSERT_NE(itemNamed(menu.handle(), "ウィンドウを閉じる"), nullptr);
    }

    const QMenu* areas = subMenuNamed(menu.handle(), "ウィンドウ配置");
    ASSERT_NE(areas, nullptr);
    EXPECT_EQ(texts(areas), kAreaItems);
    for (int area = 0; area < 5; ++area) {
      const QAction* item = areas->actions().at(area);
      EXPECT_TRUE(item->isCheckable());
      EXPECT_TRUE(item->actionGroup() && item->actionGroup()->isExclusive()) << "a radio item";
      EXPECT_EQ(item->isChecked(), area == row.area) << area;
    }

    if (!row.hasMoves) continue;
    const QMenu* moves = subMenuNamed(menu.handle(), "ウィンドウの移動");
    ASSERT_NE(moves, nullptr);
    EXPECT_EQ(texts(moves), kMoveItems);
    std::vector<bool> enabled;
    for (const QAction* item : moves->actions()) enabled.push_back(item->isEnabled());
    EXPECT_EQ(enabled, row.movesEnabled);
  }
}

TEST_F(WindowMenuTest, ChoosingAnAreaMovesTheWindowThereAndRelaysOut) {
  auto a = client("a", 0.0f, 0.0f, 0.4f, 1.0f, WindowClient::kLeft);
  auto b = client("b", 0.4f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();
  ASSERT_EQ(a->rect.x, 1);

  chooseInNextPopup("ウィンドウ配置", "右側エリア");
  a->procContextMenu(0, 0);
  EXPECT_EQ(a->layout.area, WindowClient::kRight);
  // The column keeps its width and is now the window's right edge.
  EXPECT_EQ(b->rect.x, 1);
  EXPECT_GT(a->rect.x, b->rect.x + b->rect.width);
  EXPECT_EQ(a->rect.x + a->rect.width + Window::Metrics::separatorSize() - 1,
            service().dockingWidth());

  // The next menu marks the new area.
  PopupMenu menu;
  a->createPopupMenu(menu);
  const QMenu* areas = subMenuNamed(menu.handle(), "ウィンドウ配置");
  ASSERT_NE(areas, nullptr);
  EXPECT_FALSE(areas->actions().at(WindowClient::kLeft)->isChecked());
  EXPECT_TRUE(areas->actions().at(WindowClient::kRight)->isChecked());
}

TEST_F(WindowMenuTest, TheMoveItemsReorderTheWindowInItsArea) {
  struct Case {
    std::string window;
    std::string item;
    std::string order;
  };
  const Case cases[] = {
      {"a", "下に移動", "bac"},
      {"c", "上に移動", "acb"},
      {"c", "先頭に移動", "cab"},
      {"a", "最後に移動", "bca"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.window + " " + row.item);
    // The left column stacks its windows top to bottom.
    auto a = client("a", 0.0f, 0.0f, 0.3f, 0.2f, WindowClient::kLeft);
    auto b = client("b", 0.0f, 0.2f, 0.3f, 0.5f, WindowClient::kLeft);
    auto c = client("c", 0.0f, 0.5f, 0.3f, 1.0f, WindowClient::kLeft);
    relayout();
    ASSERT_EQ(order(WindowClient::kLeft), "abc");
    WindowClient& moved = row.window == "a" ? *a : *c;
    choose(moved, "ウィンドウの移動", row.item);
    EXPECT_EQ(order(WindowClient::kLeft), row.order);
    // The pixel rectangles follow the new order at once.
    const auto sorted = docking().getSortedAreaClients(WindowClient::kLeft);
    EXPECT_EQ(sorted[0]->rect.y, 0);
    EXPECT_LT(sorted[0]->rect.y, sorted[1]->rect.y);
    EXPECT_LT(sorted[1]->rect.y, sorted[2]->rect.y);
  }
}

TEST_F(WindowMenuTest, CloseHidesTheWindowAndOnAHiddenWindowDocksAndShowsIt) {
  auto a = client("a", 0.0f, 0.0f, 0.4f, 1.0f, WindowClient::kLeft);
  auto b = client("b", 0.4f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();

  choose(*a, "", "ウィンドウを閉じる");
  EXPECT_TRUE(a->isHidden());
  EXPECT_EQ(a->rect, (Window::Rect{WindowClient::kParked, WindowClient::kParked, 0, 0}));
  EXPECT_EQ(b->rect.x, 1) << "the others take the room at once";

  choose(*a, "", "ウィンドウを閉じる");
  EXPECT_FALSE(a->isHidden());
  EXPECT_EQ(a->rect.x, 1);
  EXPECT_GT(a->rect.width, 0);
  EXPECT_GT(b->rect.x, a->rect.x + a->rect.width);
}

TEST_F(WindowMenuTest, ARightClickOnAWindowOpensItsMenuAndRunsTheChosenItem) {
  auto a = client<EditingClient>("a", 0.0f, 0.0f, 0.4f, 1.0f, WindowClient::kLeft);
  auto b = client("b", 0.4f, 0.0f, 1.0f, 1.0f, WindowClient::kCentre);
  relayout();

  // The window's own items come first, the window menu after them.
  Strings shown;
  chooseInNextPopup("", "コピー", &shown);
  press(100, 100, Qt::RightButton);
  release(100, 100, Qt::RightButton);
  EXPECT_EQ(shown, (Strings{"コピー", "-", "ウィンドウ配置", "-", "ウィンドウの移動", "-",
                            "ウィンドウを閉じる"}));
  EXPECT_EQ(a->copies, 1);
  EXPECT_FALSE(PopupMenu::isRunningPopupCommand());

  chooseInNextPopup("", "ウィンドウを閉じる");
  press(100, 100, Qt::RightButton);
  release(100, 100, Qt::RightButton);
  EXPECT_TRUE(a->isHidden());
  EXPECT_EQ(b->rect.x, 1);
}

TEST_F(WindowMenuTest, TheItemsAreShownInTheMenuLanguage) {
  TestSupport::ActiveLanguage english(
      "[Menu]\r\nウィンドウ配置=Placement\r\n右側エリア=Right\r\n"
      "ウィンドウを閉じる=Close window\r\n");
  auto a = client("a", 0.0f, 0.0f, 0.4f, 1.0f, WindowClient::kLeft);
  relayout();
  PopupMenu menu;
  a->createPopupMenu(menu);
  EXPECT_EQ(texts(menu.handle()),
            (Strings{"Placement", "-", "ウィンドウの移動", "-", "Close window"}));
  const QMenu* areas = subMenuNamed(menu.handle(), "Placement");
  ASSERT_NE(areas, nullptr);
  EXPECT_EQ(areas->actions().at(WindowClient::kRight)->text().toStdString(), "Right");
  EXPECT_EQ(areas->actions().at(WindowClient::kLeft)->text().toStdString(), "左側エリア");
}

}  // namespace
