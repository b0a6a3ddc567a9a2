#pragma once
// A context menu: built on demand, shown at the mouse, destroyed after the chosen item ran.
#include <QPoint>
#include <functional>
#include <memory>

#include "ui/menu_base.h"

class QMenu;

namespace Window {

class PopupMenu : public RootMenu {
 public:
  PopupMenu();
  ~PopupMenu() override;

  // Shows the menu at the mouse cursor and waits until it closes; then runs `afterClose`
  // when given and, when an item was chosen, its callback (with the popup-command flag set,
  // so that a dialog the command opens is placed at the menu's point).
  void show(const std::function<void()>& afterClose = {});

  QMenu* menu() const { return menu_.get(); }

  // The screen point at which the last context menu was shown.
  static QPoint popupPoint();
  // True while the command chosen from a context menu runs.
  static bool isRunningPopupCommand();

 protected:
  bool runsOnTrigger() const override { return false; }

 private:
  std::unique_ptr<QMenu> menu_;
};

}  // namespace Window
