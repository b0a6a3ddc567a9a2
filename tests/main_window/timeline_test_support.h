#pragma once
// The timeline window's tests: the window over the edit services and a settings folder whose
// style gives the ruler, header, row and scroll bar sizes, placed at the window's top-left
// corner.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "main_window/timeline/edit_component.h"
#include "tests/edit/edit_test_support.h"
#include "tests/ui/control_test_support.h"
#include "ui/menu_popup.h"
#include "ui/mouse_selection_input.h"

namespace TimelineTest {

constexpr int kG = 32, kW = 96, kH = 28, kS = 20;
constexpr int kWidth = 600, kHeight = 300;

inline QAction* itemNamed(const QWidget* menu, const std::string& text) {
  for (QAction* action : menu->actions())
    if (action->text().toStdString() == text) return action;
  return nullptr;
}

// While the next context menu is open: records its items ("-" for a separator) and, unless
// `item` is empty, chooses `item` (of the sub-menu `subMenu` when one is named) with the
// keys as the user does; otherwise closes it.
inline void chooseInNextPopup(std::string subMenu, std::string item,
                              std::vector<std::string>* shown = nullptr) {
  QTimer::singleShot(0, [=] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return ADD_FAILURE() << "no context menu is open";
    if (shown)
      for (const QAction* action : menu->actions())
        shown->push_back(action->isSeparator() ? "-" : action->text().toStdString());
    const auto press = [](QWidget* target, Qt::Key key) {
      QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
      QApplication::sendEvent(target, &event);
    };
    QMenu* target = menu;
    if (!subMenu.empty()) {
      menu->setActiveAction(itemNamed(menu, subMenu));
      press(menu, Qt::Key_Right);
      target = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    QAction* chosen = target && !item.empty() ? itemNamed(target, item) : nullptr;
    if (chosen) {
      target->setActiveAction(chosen);
      press(target, Qt::Key_Return);
    } else if (!item.empty()) {
      ADD_FAILURE() << "no item " << item;
    }
    for (int guard = 0; guard < 8 && QApplication::activePopupWidget(); ++guard)
      QApplication::activePopupWidget()->close();
  });
}

class TimelineFixture : public ControlTest::ControlFixture {
 protected:
  TimelineFixture() {
    Edit::setSelectionInput(&selectionInput);
    timeline = std::make_unique<Component::EditComponent>();
    timeline->rect = {0, 0, kWidth, kHeight};
    timeline->procMove();
    services.events().visibleFramesChanged().add(
        [this](int first, int count) { spans.emplace_back(first, count); });
    services.events().frameRangeChanged().add(
        [this](int start, int end) { ranges.emplace_back(start, end); });
  }
  ~TimelineFixture() override {
    timeline.reset();
    Edit::setSelectionInput(nullptr);
    mice().setModifierReader(nullptr);
  }

  Edit::Scene& scene() { return services.scene(); }
  // An object on the scene; the window follows as it does after every edit.
  void place(int layer, int start, int end) {
    TestSupport::place(layer, start, end);
    timeline->refreshAfterEdit(-1);
  }
  void holdKeys(Qt::KeyboardModifiers keys) {
    mice().setModifierReader([keys] { return keys; });
  }
  // Runs an item of the window's context menu as choosing it does.
  void choose(const std::string& subMenu, const std::string& item) {
    Window::PopupMenu menu;
    timeline->createPopupMenu(menu);
    const QWidget* level = menu.handle();
    if (!subMenu.empty()) level = itemNamed(level, subMenu)->menu();
    QAction* action = itemNamed(level, item);
    ASSERT_NE(action, nullptr) << item;
    EXPECT_TRUE(menu.runCommand(action->data().toInt()));
  }

  ControlTest::ScopedSettings settings{"TimeGaugeHeight=32\r\nLayerHeaderWidth=96\r\n"
                                       "LayerHeight=28\r\nScrollBarSize=20\r\n"};
  TestSupport::EditServices services;
  Window::MouseSelectionInput selectionInput;  // Ctrl and the capture as the window has them
  std::unique_ptr<Component::EditComponent> timeline;
  std::vector<std::pair<int, int>> spans;
  std::vector<std::pair<int, int>> ranges;
};

}  // namespace TimelineTest
