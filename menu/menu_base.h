#pragma once
// One top menu of the manager window's bar as the program fills it. The bar and its five
// empty top menus belong to the window service; a menu object only appends its items, with
// their actions, shortcuts and item lists, to the top menu it targets. initialize runs once
// at start-up and again on the emptied menu after every language change, so a menu is
// always declared by code that can build it from nothing.
#include "ui/menu_bar.h"

namespace Menu {

class MenuBase {
 public:
  // Appends the menu's complete contents to the target, which is empty.
  virtual void initialize() = 0;

  // The record of the top menu this object fills.
  const Window::WindowMenu::SubMenuText* target = nullptr;

 protected:
  MenuBase() = default;
  MenuBase(const MenuBase&) = delete;
  MenuBase& operator=(const MenuBase&) = delete;
  // Held by value by the main menu, never deleted through this type.
  ~MenuBase() = default;

  // The target's top menu, where initialize appends. Throws without a target.
  Window::BaseMenu& targetMenu() const;
};

}  // namespace Menu
