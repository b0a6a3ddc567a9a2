#pragma once
// The one notification-area icon of the program: a balloon that announces something that
// finished while the user looked elsewhere (an export), removed again after five seconds.
// Where the desktop has no notification area the balloon's text goes to the log instead.
#include <QTimer>
#include <memory>
#include <string>

class QSystemTrayIcon;

namespace Window {

class NotifyIcon {
 public:
  static constexpr int kShownMilliseconds = 5000;

  NotifyIcon();
  ~NotifyIcon();
  NotifyIcon(const NotifyIcon&) = delete;
  NotifyIcon& operator=(const NotifyIcon&) = delete;

  // Replaces a shown balloon by this one and starts the timer that removes it.
  void show(const std::string& title, const std::string& text);
  // Takes the icon away when it is shown and stops the timer.
  void remove();
  bool isShown() const { return shown_; }

  // The process-wide icon, made on first use on the UI thread.
  static NotifyIcon& instance();

 private:
  std::unique_ptr<QSystemTrayIcon> icon_;
  QTimer timer_;
  bool shown_ = false;
};

}  // namespace Window
