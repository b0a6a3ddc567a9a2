// The log window: the newest lines at the bottom in their levels' colours, scrolling by the
// bar, the wheel and a right-button drag, the polling that follows new lines, and the copy.
#include "main_window/log/log_component.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <optional>
#include <string>

#include "system/clipboard.h"
#include "system/log.h"
#include "system/logger.h"
#include "system/service_holder.h"
#include "tests/ui/control_test_support.h"
#include "ui/menu_popup.h"
#include "ui/qt_ui_bridge.h"
#include "system/ui_bridge.h"

namespace {

using Component::LogComponent;

constexpr uint32_t kInfo = 0xFFFFFF, kWarn = 0xFFFF7F, kError = 0xFF7F7F;
// Solid blocks: their middles are covered wholly, so the line's own colour shows unblended.
const char* const kBlocks = "■■■■■■■■";

// The window on a docking area of 1000 by 1000 pixels, with the settings and the logger it
// reads, shown in the centre area.
class LogComponentTest : public ControlTest::ControlFixture {
 protected:
  LogComponentTest() {
    service().resize(997, 1019);
    window_.emplace();
  }

  LogComponent& window() { return *window_; }
  Component::LogViewControl& view() { return window_->view; }
  // The docking relayout sizes the window to the toolkit's; the test's size is set again.
  void show() {
    if (window().isHidden()) service().docking().toggleVisible(window());
    service().resize(997, 1019);
  }
  void hide() {
    if (!window().isHidden()) service().docking().toggleVisible(window());
    service().resize(997, 1019);
  }
  static void logLines(int count, const char* prefix = "line") {
    for (int i = 1; i <= count; ++i) System::Log::info("LogTest", "%s %d", prefix, i);
  }
  // The text of the collected copy g (0 is the newest shown).
  std::string shown(std::size_t g) {
    view().collectLines();
    return g < view().lines.size() ? view().lines[g].text : std::string("<none>");
  }
  // Whether a pixel of the colour lies in the band of the view's g-th line from the bottom.
  bool lineHasColour(int g, uint32_t rgb) {
    const Window::Rect& r = view().visibleRect;
    const int bottom = r.y + r.height - g * view().lineHeight;
    return anyPixel(r.x, bottom - view().lineHeight, r.x + r.width, bottom, rgb);
  }

  // The fonts the window draws with, so that making them logs no error into the view.
  ControlTest::ScopedSettings settings_{"[Font]\r\nControl=12\r\nLog=12\r\n"};
  // Records kept from before any logger (other tests' start-up) would join the view.
  int earlyRecordsDropped_ = (System::Log::takeEarlyRecords(), 0);
  System::ServiceHolder<System::Logger> logger_;
  std::optional<LogComponent> window_;
};

TEST_F(LogComponentTest, AShortLogSitsAtTheBottomNewestLast) {
  show();
  logLines(5);
  view().onTimer();
  ASSERT_GT(view().visibleLines, 20);
  EXPECT_EQ(view().totalLines, 5);
  EXPECT_EQ(view().firstLine, 5 - view().visibleLines);
  EXPECT_EQ(window().scrollBar.minimum, 0);
  EXPECT_EQ(window().scrollBar.maximum, 4);
  EXPECT_NE(shown(0).find("line 5"), std::string::npos);
  EXPECT_NE(shown(4).find("line 1"), std::string::npos);
  EXPECT_EQ(view().lines.size(), 5u);
  EXPECT_TRUE(lineHasColour(0, kInfo)) << "the newest line at the bottom edge";
  EXPECT_TRUE(lineHasColour(4, kInfo));
  EXPECT_FALSE(lineHasColour(6, kInfo)) << "nothing above the oldest line";
}

TEST_F(LogComponentTest, EachLineIsDrawnInItsLevelsColour) {
  show();
  System::Log::warn("LogTest", "%s", kBlocks);
  System::Log::error("LogTest", "%s", kBlocks);
  view().onTimer();
  EXPECT_TRUE(lineHasColour(0, kError));
  EXPECT_FALSE(lineHasColour(0, kWarn));
  EXPECT_TRUE(lineHasColour(1, kWarn));
  EXPECT_FALSE(lineHasColour(1, kError));
}

TEST_F(LogComponentTest, ALongLineIsCutAtTheRightEdgeNotWrapped) {
  show();
  std::string longText;
  for (int i = 0; i < 200; ++i) longText += "■";
  System::Log::error("LogTest", "%s", longText.c_str());
  view().onTimer();
  const Window::Rect& r = view().visibleRect;
  const int bottom = r.y + r.height;
  const int top = bottom - view().lineHeight;
  EXPECT_TRUE(anyPixel(r.x + r.width - 40, top, r.x + r.width, bottom, kError))
      << "the line runs up to the edge";
  EXPECT_FALSE(lineHasColour(1, kError)) << "no wrapped remainder above";
  const Window::Rect& bar = window().scrollBar.visibleRect;
  EXPECT_FALSE(anyPixel(bar.x, top, bar.x + bar.width, bottom, kError)) << "not over the bar";
}

TEST_F(LogComponentTest, ScrollingBackShowsTheOldestKeptLineUntilANewLineArrives) {
  show();
  logLines(250);  // the store keeps the newest 200
  view().onTimer();
  ASSERT_EQ(view().totalLines, 200);
  EXPECT_EQ(view().firstLine, 200 - view().visibleLines);

  window().scrollBar.requestScroll(0);
  EXPECT_EQ(view().firstLine, 0);
  view().collectLines();
  ASSERT_FALSE(view().lines.empty());
  EXPECT_NE(view().lines.back().text.find("line 51"), std::string::npos) << "top: oldest kept";

  view().onTimer();
  EXPECT_EQ(view().firstLine, 0) << "no new line: the view stays";

  System::Log::info("LogTest", "newest");
  view().onTimer();
  EXPECT_EQ(view().firstLine, 200 - view().visibleLines);
  EXPECT_NE(shown(0).find("newest"), std::string::npos);
}

TEST_F(LogComponentTest, TheWheelAndARightButtonDragScrollByLines) {
  show();
  logLines(200);
  view().onTimer();
  const int32_t newest = view().firstLine;
  const Window::Rect& r = view().visibleRect;
  const int x = r.x + r.width / 2;
  const int y = r.y + r.height / 2;

  wheel(x, y, 120);
  EXPECT_EQ(view().firstLine, newest - 3) << "a forward notch: three older lines";
  wheel(x, y, -120);
  EXPECT_EQ(view().firstLine, newest);

  press(x, y, Qt::RightButton);
  mouse(QEvent::MouseMove, x, y + view().lineHeight, Qt::RightButton);
  mouse(QEvent::MouseMove, x, y + 3 * view().lineHeight, Qt::RightButton);
  EXPECT_EQ(view().firstLine, newest - 3) << "three line heights down: three older lines";
  EXPECT_EQ(mice().appliedCursor(), Window::MouseCursor::SizeAll);
  mouse(QEvent::MouseMove, x, y + 3 * view().lineHeight - 1, Qt::RightButton);
  EXPECT_EQ(view().firstLine, newest - 2) << "whole lines only";
  release(x, y + 3 * view().lineHeight - 1, Qt::RightButton);
}

TEST_F(LogComponentTest, ThePollingRunsOnlyWhileTheWindowIsShown) {
  const int timer = view().timer.descriptor();
  EXPECT_FALSE(view().timerRunning) << "hidden at first";
  EXPECT_FALSE(service().hasWaitHandle(timer));

  show();
  EXPECT_TRUE(view().timerRunning);
  EXPECT_TRUE(service().hasWaitHandle(timer));
  // The loop runs the poll: a new line reaches the view without any call of ours.
  logLines(3);
  QElapsedTimer waited;
  waited.start();
  while (view().totalLines != 3 && waited.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(view().totalLines, 3);

  hide();
  EXPECT_FALSE(view().timerRunning);
  EXPECT_FALSE(service().hasWaitHandle(timer));

  // Shown again, the first poll changes nothing when no line came meanwhile.
  show();
  view().firstLine = -100;
  view().onTimer();
  EXPECT_EQ(view().firstLine, -100);

  window_.reset();
  EXPECT_FALSE(service().hasWaitHandle(timer)) << "released with the window";
}

TEST_F(LogComponentTest, LambdaClassNamesAreShortened) {
  struct Case {
    const char* line;
    const char* shown;
  };
  const Case cases[] = {
      {"[x] Edit::save::<lambda_0123456789abcdef0123456789abcdef>::operator () failed",
       "[x] Edit::save::<lambda> failed"},
      {"a::<lambda_1>::operator ()::<lambda_2>::operator ()", "a::<lambda>::<lambda>"},
      {"no lambda here <lambda> ::operator ()", "no lambda here <lambda> ::operator ()"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(LogComponent::shortenLambdaNames(c.line), c.shown);
}

TEST_F(LogComponentTest, CopyingPutsEveryKeptLineOnTheClipboard) {
  Window::QtUiBridge bridge;
  System::setUiBridge(&bridge);
  logLines(250);
  System::Log::info("Ui::run::<lambda_0123456789abcdef0123456789abcdef>::operator ()", "last");

  Window::PopupMenu menu;
  window().createLogMenu(menu);
  const QList<QAction*> actions = menu.menu()->actions();
  ASSERT_GE(actions.size(), 3);
  EXPECT_EQ(actions[0]->text().toStdString(), "ログをコピー");
  EXPECT_TRUE(actions[1]->isSeparator());
  EXPECT_EQ(actions[2]->text().toStdString(), "ウィンドウ配置") << "then the window menu";
  ASSERT_TRUE(menu.runCommand(Window::RootMenu::kFirstCommandId));

  std::string copied;
  ASSERT_TRUE(System::Clipboard::getText(copied));
  System::setUiBridge(nullptr);
  EXPECT_EQ(copied, LogComponent::logText());
  // All 200 kept lines, not only the shown ones, oldest first, each ending in CRLF.
  int lines = 0;
  for (std::size_t at = copied.find("\r\n"); at != std::string::npos;
       at = copied.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 200);
  EXPECT_NE(copied.find("line 52"), std::string::npos);
  EXPECT_EQ(copied.find("line 51\r\n"), std::string::npos) << "dropped from the store";
  const std::string tail = "[Ui::run::<lambda>] last\r\n";
  ASSERT_GE(copied.size(), tail.size());
  EXPECT_EQ(copied.substr(copied.size() - tail.size()), tail);
}

}  // namespace
