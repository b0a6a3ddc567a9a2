#pragma once
// The services the menus of the bar run with, in their start-up order, and the main menu on
// top; helpers that find, open and choose the items of a top menu as the user does.
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "edit/edit_test_support.h"
#include "menu/main_menu.h"
#include "system/active_language.h"
#include "system/event_service.h"
#include "system/scoped_install_folder.h"
#include "system/service_holder.h"
#include "ui/keyboard_shortcut.h"
#include "ui/menu_bar.h"
#include "ui/window_service.h"

namespace TestSupport {

class MenuBarFixture {
 public:
  using Strings = std::vector<std::string>;

  MenuBarFixture() = default;
  MenuBarFixture(const MenuBarFixture&) = delete;
  MenuBarFixture& operator=(const MenuBarFixture&) = delete;
  ~MenuBarFixture() {
    stop();
    // Items of a rebuilt menu are deleted once control is back in the loop.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // The services in their start-up order, then the main menu. `languageFile` makes a
  // language active first.
  void start(const char* languageFile = nullptr) {
    if (languageFile) language_.emplace(languageFile);
    install_.emplace();
    events_.emplace();
    shortcuts_.emplace();
    windows_.emplace();
    edit_.emplace();
    menu_.emplace();
  }
  void stop() {
    menu_.reset();
    edit_.reset();
    windows_.reset();
    shortcuts_.reset();
    events_.reset();
    install_.reset();
    language_.reset();
  }

  static Window::WindowMenuManager& bar() {
    return Window::WindowService::instance()->menuManager();
  }
  static QMenu* topMenu(int position) {
    return qobject_cast<QMenu*>(bar().topMenu(position).handle());
  }
  static QAction* item(const QWidget* menu, const std::string& text) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions())
      if (action->text().toStdString() == text) return action;
    return nullptr;
  }
  static Strings texts(const QWidget* menu) {
    Strings result;
    for (const QAction* action : menu->actions())
      result.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    return result;
  }
  // The item's text as the menu shows it, without the key text after the tab.
  static std::string withoutKey(const std::string& text) { return text.substr(0, text.find('\t')); }
  // Finds an item by its text without the key text, in the menu or one of its sub-menus.
  static QAction* find(const QWidget* menu, const std::string& text) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions()) {
      if (withoutKey(action->text().toStdString()) == text) return action;
      if (QAction* inner = find(action->menu(), text)) return inner;
    }
    return nullptr;
  }
  // What the bar does when one of its menus opens: enable, check and text tests run.
  static void refresh() { bar().updateMenuState(); }
  static bool enabled(int position, const std::string& text) {
    refresh();
    QAction* action = find(topMenu(position), text);
    EXPECT_NE(action, nullptr) << text;
    return action && action->isEnabled();
  }
  static bool checked(int position, const std::string& text) {
    refresh();
    QAction* action = find(topMenu(position), text);
    EXPECT_NE(action, nullptr) << text;
    return action && action->isChecked();
  }
  // Opens the menus (greying what does not apply now) and chooses the item.
  static void choose(int position, const std::string& text) {
    refresh();
    QAction* action = find(topMenu(position), text);
    ASSERT_NE(action, nullptr) << text;
    action->trigger();
  }
  // The shortcut entry of the name, or null.
  static const Window::Shortcut::Entry* shortcut(const std::string& name) {
    for (const auto& entry : Window::Shortcut::instance()->entries())
      if (entry.name == name) return &entry;
    return nullptr;
  }

  struct ExpectedShortcut {
    const char* name;
    int defaultCode;
  };
  // Every name has a shortcut entry with its default key.
  static void expectShortcuts(std::initializer_list<ExpectedShortcut> expected) {
    for (const auto& entry : expected) {
      SCOPED_TRACE(entry.name);
      const auto* found = shortcut(entry.name);
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->defaultCode, entry.defaultCode);
    }
  }

  Edit::EditService& edit() { return edit_->edit(); }
  Edit::Scene& scene() { return edit_->scene(); }
  Undo::UndoService& undo() { return edit_->undo(); }
  Event::EventService& events() { return edit_->events(); }

 private:
  std::optional<ActiveLanguage> language_;
  std::optional<ScopedInstallFolder> install_;
  std::optional<System::ServiceHolder<Event::EventService>> events_;
  std::optional<System::ServiceHolder<Window::Shortcut>> shortcuts_;
  std::optional<System::ServiceHolder<Window::WindowService>> windows_;
  std::optional<EditServices> edit_;
  std::optional<System::ServiceHolder<Menu::MainMenu>> menu_;
};

}  // namespace TestSupport
