#include "menu/main_menu.h"

#include "system/exception.h"
#include "ui/window_service.h"

namespace Menu {
namespace {

Window::WindowMenuManager& menuBar() {
  auto* windows = Window::WindowService::instance();
  if (!windows)
    throw System::makeException("Menu::MainMenu::MainMenu", "window service not found.");
  return windows->menuManager();
}

}  // namespace

MainMenu::MainMenu() {
  attach(file, Window::WindowMenuManager::File);
  attach(edit, Window::WindowMenuManager::Edit);
  attach(display, Window::WindowMenuManager::Display);
  attach(etc, Window::WindowMenuManager::Etc);
}

MainMenu::~MainMenu() {
  auto* windows = Window::WindowService::instance();
  if (!windows) return;
  for (int position = 0; position < Window::WindowMenuManager::kTopMenuCount; ++position)
    windows->menuManager().setMenuBuilder(position, nullptr);
}

void MainMenu::attach(MenuBase& part, int position) {
  Window::WindowMenuManager& bar = menuBar();
  part.target = &bar.subMenuText(position);
  bar.setMenuBuilder(position, [&part](Window::BaseMenu&) { part.initialize(); });
}

}  // namespace Menu
