#include "ui/menu_popup.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

#include "ui/loop_guard.h"
#include "ui/window_mouse.h"

namespace Window {
namespace {

QPoint popupPointValue;
bool popupCommandRunning = false;

// Sets the popup-command flag for one command; an exception clears it as well.
class PopupCommandScope {
 public:
  PopupCommandScope() { popupCommandRunning = true; }
  ~PopupCommandScope() { popupCommandRunning = false; }
  PopupCommandScope(const PopupCommandScope&) = delete;
  PopupCommandScope& operator=(const PopupCommandScope&) = delete;
};

// While the menu was open the dispatcher saw no key releases: a watched key that is up by
// now ends its watch when the menu is done, also after a failed command.
class KeyWatchCheck {
 public:
  KeyWatchCheck() = default;
  ~KeyWatchCheck() {
    if (auto* mice = WindowMouseService::instance()) mice->activate(true);
  }
  KeyWatchCheck(const KeyWatchCheck&) = delete;
  KeyWatchCheck& operator=(const KeyWatchCheck&) = delete;
};

}  // namespace

PopupMenu::PopupMenu() : menu_(std::make_unique<QMenu>()) {
  setRootHandle(menu_.get());
  QObject::connect(menu_.get(), &QMenu::aboutToShow, menu_.get(),
                   [this] { runGuarded([this] { updateMenuState(); }); });
}

PopupMenu::~PopupMenu() = default;

void PopupMenu::show(const std::function<void()>& afterClose) {
  const KeyWatchCheck keyWatch;
  popupPointValue = QCursor::pos();
  const QAction* chosen = menu_->exec(popupPointValue);
  const int id = chosen ? chosen->data().toInt() : 0;
  if (afterClose) afterClose();
  if (id != 0) {
    const PopupCommandScope scope;
    runCommand(id);
  }
}

QPoint PopupMenu::popupPoint() { return popupPointValue; }

bool PopupMenu::isRunningPopupCommand() { return popupCommandRunning; }

}  // namespace Window
