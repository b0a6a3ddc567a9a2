#pragma once
// The menus of the manager window's bar, one object per top menu. Each fills its top menu
// when the main menu is made and again whenever the language changes (the bar empties its
// menus, then runs the builders it was given here). Made by the entry point once the window
// service and the services the commands reach exist; releasing it removes nothing from the
// bar.
#include "menu/display_menu.h"
#include "menu/edit_menu.h"
#include "menu/etc_menu.h"
#include "menu/file_menu.h"
#include "system/service_holder.h"

namespace Menu {

class MainMenu : public System::Service<MainMenu> {
 public:
  // Fills the bar of the window service, which must exist.
  MainMenu();
  // The bar keeps its items but builds nothing more from this object.
  ~MainMenu();
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;

  FileMenu file;
  EditMenu edit;
  DisplayMenu display;
  EtcMenu etc;

 private:
  // Points the part at the top menu and has the bar build it now and after each language
  // change.
  void attach(MenuBase& part, int position);
};

}  // namespace Menu
