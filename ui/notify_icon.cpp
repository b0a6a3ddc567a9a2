#include "ui/notify_icon.h"

#include <QApplication>
#include <QStyle>
#include <QSystemTrayIcon>

#include "system/log.h"

namespace Window {

NotifyIcon::NotifyIcon() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] { remove(); });
}

NotifyIcon::~NotifyIcon() = default;

NotifyIcon& NotifyIcon::instance() {
  static NotifyIcon icon;
  return icon;
}

void NotifyIcon::show(const std::string& title, const std::string& text) {
  remove();
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    // Nothing on screen to remove later: the log keeps the notice.
    System::Log::info("Window::NotifyIcon::show", "%s: %s", title.c_str(), text.c_str());
    return;
  }
  icon_ = std::make_unique<QSystemTrayIcon>(
      QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation));
  icon_->show();
  icon_->showMessage(QString::fromStdString(title), QString::fromStdString(text),
                     QSystemTrayIcon::Information, kShownMilliseconds);
  shown_ = true;
  timer_.start(kShownMilliseconds);
}

void NotifyIcon::remove() {
  timer_.stop();
  if (!shown_) return;
  shown_ = false;
  if (icon_) icon_->hide();
  icon_.reset();
}

}  // namespace Window
