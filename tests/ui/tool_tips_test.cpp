// The tooltip: shown when the pointer rests on a target, hidden by the next move or press
// when it asked for that, by its timer, or only by its owner; its text and its place.
#include "ui/tool_tips.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <string>

#include "tests/ui/window_input_support.h"
#include "ui/qt_edit_ui.h"

namespace {

using Window::ToolTips::isShown;
using WindowTest::Probe;

// A target that shows a hint when the pointer rests on it, with the timeout under test.
class HintTarget : public WindowTest::Probe {
 public:
  using Probe::Probe;
  void procMouseHover() override {
    Probe::procMouseHover();
    Window::ToolTips::show(QPoint(300, 200), "hint", timeout);
  }
  int timeout = -1;
};

class ToolTipsTest : public WindowTest::WindowFixture {
 protected:
  ~ToolTipsTest() override { Window::ToolTips::release(); }

  static QRect screens() { return QGuiApplication::primaryScreen()->virtualGeometry(); }
};

TEST_F(ToolTipsTest, AHintAppearsAfterTheRestAndGoesWithTheNextMoveOrPress) {
  HintTarget a("A", {0, 0, 100, 100}, 0, log);

  move(10, 10);
  EXPECT_FALSE(isShown()) << "no hint before the pointer rested";
  mice().mouseHover();  // what the hover timer runs when the rest is over
  ASSERT_TRUE(isShown());
  EXPECT_EQ(Window::ToolTips::text(), "hint");

  move(10, 10);
  EXPECT_TRUE(isShown()) << "a move event to the same place is no move";
  move(12, 10);
  EXPECT_FALSE(isShown());

  mice().mouseHover();
  ASSERT_TRUE(isShown());
  press(12, 10);
  EXPECT_FALSE(isShown());
  release(12, 10);
}

TEST_F(ToolTipsTest, TheTimeoutDecidesWhatHidesTheTip) {
  HintTarget a("A", {0, 0, 100, 100}, 0, log);

  // Timed: the pointer does not hide it, the timer does.
  a.timeout = 3000;
  move(10, 10);
  mice().mouseHover();
  ASSERT_TRUE(isShown());
  EXPECT_TRUE(Window::ToolTips::isTimerActive());
  move(20, 20);
  EXPECT_TRUE(isShown());
  Window::ToolTips::timerElapsed();
  EXPECT_FALSE(isShown());

  // Kept: only the owner hides it, and showing it kept stops a running timer.
  Window::ToolTips::show(QPoint(5, 5), "timed", 3000);
  a.timeout = 0;
  mice().mouseHover();
  EXPECT_FALSE(Window::ToolTips::isTimerActive());
  move(30, 30);
  press(30, 30);
  release(30, 30);
  Window::ToolTips::timerElapsed();
  EXPECT_TRUE(isShown());
  Window::ToolTips::hide();
  EXPECT_FALSE(isShown());
}

TEST_F(ToolTipsTest, DroppedFilesHideEveryTip) {
  Probe target("T", {0, 0, 100, 100}, 0, log);
  target.acceptsDrop = true;
  // A tip its owner keeps would outlive the pointer's moves, not the drop.
  Window::ToolTips::show(QPoint(5, 5), "kept", 0);
  ASSERT_TRUE(isShown());
  Window::DropData files{{"/tmp/clip.mp4"}};
  mice().drop(10, 10, files);
  EXPECT_FALSE(isShown());
}

TEST_F(ToolTipsTest, LongTextsAreCutWithoutSplittingACharacter) {
  struct Case {
    const char* name;
    std::u16string text;
    qsizetype shown;
  };
  const std::u16string pair = u"\U0001F600";  // two UTF-16 units
  const Case cases[] = {
      {"2000 units", std::u16string(2000, u'x'), 1023},
      {"exactly the limit", std::u16string(1023, u'y'), 1023},
      {"a pair across the limit", std::u16string(1022, u'z') + pair, 1022},
      {"a pair just inside", std::u16string(1021, u'w') + pair + u"tail", 1023},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromStdU16String(c.text);
    Window::ToolTips::show(QPoint(0, 0), text.toStdString(), 0);
    EXPECT_EQ(Window::ToolTips::text().size(), c.shown) << c.name;
    EXPECT_TRUE(text.startsWith(Window::ToolTips::text())) << c.name;
  }
}

TEST_F(ToolTipsTest, ATipPastTheRightEdgeIsPulledBackButNotUp) {
  const QRect all = screens();
  Window::ToolTips::show(QPoint(all.right() - 3, all.bottom() - 2), "near the corner", 0);
  const QPoint at = Window::ToolTips::position();
  EXPECT_LT(at.x(), all.right() - 3);
  EXPECT_EQ(at.y(), all.bottom() - 2);

  Window::ToolTips::show(QPoint(20, 30), "near the corner", 0);
  EXPECT_EQ(Window::ToolTips::position(), QPoint(20, 30)) << "the same text moves the tip";
  EXPECT_TRUE(isShown());
}

TEST_F(ToolTipsTest, ShowBelowJoinsTheDetailAndHidesByTimer) {
  Window::ToolTips::showBelow(*window(), "Saved", "clip.mp4");
  EXPECT_EQ(Window::ToolTips::text(), "Saved clip.mp4");
  EXPECT_EQ(Window::ToolTips::position(), window()->mapToGlobal(QPoint(0, window()->height() + 1)));
  EXPECT_EQ(Window::ToolTips::timeout(), 3000);
  EXPECT_TRUE(Window::ToolTips::isTimerActive());
}

TEST_F(ToolTipsTest, TheEditorsInformationTipSitsBelowThePointerUntilItMoves) {
  Window::QtEditUi ui;
  const QPoint pointer = QCursor::pos();
  ui.showToolTip("clip.mp4\n1920x1080");
  ASSERT_TRUE(isShown());
  EXPECT_EQ(Window::ToolTips::text(), "clip.mp4\n1920x1080");
  EXPECT_EQ(Window::ToolTips::position().x(), pointer.x());
  EXPECT_GT(Window::ToolTips::position().y(), pointer.y());
  move(40, 40);
  EXPECT_FALSE(isShown());
}

}  // namespace
