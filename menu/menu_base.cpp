#include "menu/menu_base.h"

#include <cerrno>

#include "system/exception.h"

namespace Menu {

Window::BaseMenu& MenuBase::targetMenu() const {
  // Only the bar makes top menu records, so their root is always the bar.
  auto* bar = target ? dynamic_cast<Window::WindowMenuManager*>(target->root) : nullptr;
  if (!bar) throw System::makeErrnoException("InsertMenu", "Menu::MenuBase::targetMenu", EINVAL);
  return bar->topMenu(target->position);
}

}  // namespace Menu
