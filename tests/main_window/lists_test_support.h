#pragma once
// What the scene and object list tests share: the manager window with every style colour of
// its own (a pixel tells which brush drew it), the style metrics, the edit services over the
// test effects, and an edit UI whose answers the test gives.
#include <QAction>
#include <QMenu>
#include <optional>
#include <string>
#include <vector>

#include "tests/edit/edit_test_support.h"
#include "tests/edit/scripted_edit_ui.h"
#include "tests/ui/control_test_support.h"
#include "ui/menu_base.h"

namespace ListsTest {

inline constexpr uint32_t kBodySelect = 0x00a0ff;

// The edit UI, with the text question answered too.
class EditUi : public TestSupport::ScriptedEditUi {
 public:
  bool inputText(const std::string& title, std::string& text) override {
    if (!answerText) return false;
    text = *answerText;
    return true;
  }
  std::optional<std::string> answerText;
};

// The texts of a menu's items, "-" for a separator.
inline std::vector<std::string> texts(const QWidget* menu) {
  std::vector<std::string> result;
  for (const QAction* action : menu->actions())
    result.push_back(action->isSeparator() ? "-" : action->text().toStdString());
  return result;
}

inline QAction* itemNamed(const QWidget* menu, const std::string& text) {
  for (QAction* action : menu->actions())
    if (action->text().toStdString() == text) return action;
  return nullptr;
}

// The window is a 400 x 300 docked window at the top-left corner of the client area.
class ListFixture : public ControlTest::ControlFixture {
 protected:
  ListFixture() {
    service().styleBrushes().ButtonBodySelect.get()->setColor(ControlTest::colourOf(kBodySelect));
  }

  // Places the window over `area` and lays it out.
  template <class Window>
  void place(Window& window) {
    window.rect = area;
    window.procMove();
  }

  // Runs an item of a built menu (of a sub-menu when `subMenu` is given) as choosing it does.
  static void choose(Window::RootMenu& menu, const std::string& item,
                     const std::string& subMenu = "") {
    const QWidget* level = menu.handle();
    if (!subMenu.empty()) {
      QAction* sub = itemNamed(level, subMenu);
      ASSERT_NE(sub, nullptr) << subMenu;
      level = sub->menu();
    }
    QAction* action = itemNamed(level, item);
    ASSERT_NE(action, nullptr) << item;
    ASSERT_TRUE(action->isEnabled()) << item;
    EXPECT_TRUE(menu.runCommand(action->data().toInt()));
  }

  ControlTest::ScopedSettings settings_;
  TestSupport::EditServices services_;
  EditUi ui_;
};

}  // namespace ListsTest
