// The core's timers and clipboard running on the toolkit through the bridge.
#include "ui/qt_ui_bridge.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "system/clipboard.h"
#include "system/service_holder.h"
#include "system/timer.h"
#include "ui/window_service.h"

namespace {

class QtUiBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override { System::setUiBridge(&bridge_); }
  void TearDown() override { System::setUiBridge(nullptr); }
  Window::QtUiBridge bridge_;
};

TEST_F(QtUiBridgeTest, APeriodicTimerRunsOnTheLoopUntilItClearsItself) {
  System::ServiceHolder<Window::WindowService> windows;
  System::Timer timer;
  int runs = 0;
  timer.set(10, [&] {
    if (++runs == 3) {
      timer.clear();
      Window::WindowService::instance()->requestQuit();
    }
  });
  Window::WindowService::instance()->processMessage();
  EXPECT_EQ(runs, 3);
}

TEST_F(QtUiBridgeTest, ClipboardTextMakesTheRoundTrip) {
  const std::string text = "テキスト\nline 2";
  ASSERT_TRUE(System::Clipboard::setText(text));
  std::string read;
  ASSERT_TRUE(System::Clipboard::getText(read));
  EXPECT_EQ(read, text);
}

TEST_F(QtUiBridgeTest, ClipboardTextOverTheLimitIsNotHandedOver) {
  ASSERT_TRUE(System::Clipboard::setText(std::string(100, 'x')));
  std::string read = "unchanged";
  EXPECT_EQ(bridge_.clipboardText(read, 99), System::ClipboardStatus::TooLarge);
  EXPECT_EQ(read, "unchanged");
}

TEST_F(QtUiBridgeTest, AQuitRequestEndsAWaitThatRunsTheLoop) {
  System::ServiceHolder<Window::WindowService> windows;
  EXPECT_TRUE(bridge_.processEventsExceptInput());
  Window::WindowService::instance()->window()->close();
  EXPECT_FALSE(bridge_.processEventsExceptInput());
}

}  // namespace
