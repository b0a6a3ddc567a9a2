// The end-of-work notice: without a notification area its text goes to the log.
#include "ui/notify_icon.h"

#include <gtest/gtest.h>

#include <QSystemTrayIcon>

#include "system/log_capture.h"

namespace {

TEST(NotifyIcon, WithoutANotificationAreaTheNoticeIsLogged) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) GTEST_SKIP() << "this desktop has a tray";
  TestSupport::LogCapture log;
  Window::NotifyIcon& icon = Window::NotifyIcon::instance();
  icon.show("Export", "finished: movie.mp4");
  EXPECT_EQ(log.texts("INFO"), (std::vector<std::string>{"Export: finished: movie.mp4"}));
  EXPECT_FALSE(icon.isShown()) << "nothing is on screen to remove";
  icon.remove();
  EXPECT_FALSE(icon.isShown());
}

}  // namespace
