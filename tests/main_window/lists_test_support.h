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
#include "tests/edit/effect_kinds.h"
#include "tests/edit/scripted_edit_ui.h"
#include "tests/ui/control_test_support.h"
#include "ui/menu_base.h"
#include "ui/mouse_selection_input.h"

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

// The event, effect, undo and edit services in their start-up order, the registry holding an
// effect of every kind (inputs, filters and controls of each medium).
class KindServices {
 public:
  KindServices() {
    Effect::EffectService::setCatalogue(ChainFixture::kindCatalogue());
    events_.emplace();
    {
      TestSupport::ScopedInstallFolder install;
      registry_.emplace();
    }
    undo_.emplace();
    edit_.emplace();
  }
  KindServices(const KindServices&) = delete;
  KindServices& operator=(const KindServices&) = delete;
  ~KindServices() {
    edit_.reset();
    undo_.reset();
    registry_.reset();
    events_.reset();
    Effect::EffectService::setCatalogue({});
  }

  Edit::EditService& edit() { return *Edit::EditService::instance(); }
  Event::EventService& events() { return *Event::EventService::instance(); }
  Edit::Scene& scene() { return *edit().currentScene(); }

 private:
  std::optional<System::ServiceHolder<Event::EventService>> events_;
  std::optional<System::ServiceHolder<Effect::EffectService>> registry_;
  std::optional<System::ServiceHolder<Undo::UndoService>> undo_;
  std::optional<System::ServiceHolder<Edit::EditService>> edit_;
};

// Installs the window's answers to the selection clicks (Ctrl and the key watch) while it
// lives, as the program does.
class ScopedSelectionInput {
 public:
  ScopedSelectionInput() { Edit::setSelectionInput(&input_); }
  ScopedSelectionInput(const ScopedSelectionInput&) = delete;
  ScopedSelectionInput& operator=(const ScopedSelectionInput&) = delete;
  ~ScopedSelectionInput() { Edit::setSelectionInput(nullptr); }

 private:
  Window::MouseSelectionInput input_;
};

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
  KindServices services_;
  EditUi ui_;
  ScopedSelectionInput selectionInput_;
};

}  // namespace ListsTest
