// The manager window's client area: everything drawn, laid out and clicked is the part of the
// window below the menu bar, so the bar hides none of the docked windows.
#include <QApplication>
#include <QImage>
#include <QMenuBar>
#include <QPixmap>

#include "tests/ui/window_input_support.h"
#include "ui/docking_layout.h"
#include "ui/frame_metrics.h"
#include "ui/menu_bar.h"

namespace {

using WindowTest::Probe;

class ClientAreaTest : public WindowTest::WindowFixture {
 protected:
  ClientAreaTest() {
    top()->resize(700, 500);
    QApplication::processEvents();
  }

  static QWidget* top() { return service().window(); }
  static QMenuBar* bar() { return service().menuManager().menuBar(); }

  // A press where the user clicks the window: the toolkit gives it to the child under that
  // window point, in the child's coordinates. Returns the widget that received it.
  static QWidget* pressInWindow(QPoint point) {
    QWidget* receiver = top()->childAt(point);
    if (!receiver) receiver = top();
    const QPoint local = receiver->mapFrom(top(), point);
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(local), QPointF(top()->mapToGlobal(point)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(receiver, &event);
    return receiver;
  }
};

TEST_F(ClientAreaTest, APressJustBelowTheBarReachesTheTopmostWindowAtItsTop) {
  const int barHeight = bar()->height();
  ASSERT_GT(barHeight, 0);
  Probe topmost("top", {0, 0, 700, 100}, 100, log);

  // On the bar's last row the press belongs to the bar.
  EXPECT_EQ(pressInWindow({40, barHeight - 1}), bar());
  EXPECT_TRUE(log.empty());

  EXPECT_EQ(pressInWindow({40, barHeight}), service().clientArea());
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "top down 40,0");
}

TEST_F(ClientAreaTest, TheDockingAreaIsTheWindowLessTheBarAndTheFooter) {
  const int barHeight = bar()->height();
  EXPECT_EQ(service().clientArea()->geometry(), QRect(0, barHeight, 700, 500 - barHeight));
  EXPECT_EQ(service().clientWidth(), 700);
  EXPECT_EQ(service().clientHeight(), 500 - barHeight);
  const int separator = Window::Metrics::separatorSize();
  const int footer = Window::Metrics::footerHeight();
  EXPECT_EQ(service().dockingHeight(), 500 - barHeight + separator - footer);
  EXPECT_EQ(service().image().size(), QSize(700, 500 - barHeight));

  // A later resize of the window lays the docking out at the new client size.
  top()->resize(640, 400);
  QApplication::processEvents();
  EXPECT_EQ(service().clientHeight(), 400 - barHeight);
  EXPECT_EQ(service().dockingWidth(), 640 + separator - 2);
  EXPECT_EQ(service().dockingHeight(), 400 - barHeight + separator - footer);
  // The placement saved is still the whole window's.
  EXPECT_EQ(service().w, 640);
  EXPECT_EQ(service().h, 400);
}

TEST(ClientArea, ANewWindowIsLaidOutBelowTheBarAtOnce) {
  System::ServiceHolder<Window::WindowService> holder;
  Window::WindowService& service = *Window::WindowService::instance();
  const int barHeight = service.menuManager().menuBar()->height();
  ASSERT_GT(barHeight, 0);
  EXPECT_EQ(service.clientArea()->y(), barHeight);
  EXPECT_EQ(service.clientHeight(), service.window()->height() - barHeight);
  EXPECT_EQ(service.clientWidth(), service.window()->width());
}

TEST_F(ClientAreaTest, TheBackingImageIsShownBelowTheBar) {
  const int barHeight = bar()->height();
  // The image is not uniform (the footer differs from the empty background), so a shifted
  // copy would not match.
  service().styleBrushes().Footer.get()->setColor({0.0f, 0.0f, 1.0f, 1.0f});
  service().paint();
  const QImage& image = service().image();
  ASSERT_NE(image.pixel(5, 0) & 0xffffffu, image.pixel(5, image.height() - 1) & 0xffffffu);

  const QImage shown = top()->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(700, 500));
  int mismatches = 0;
  QPoint first(-1, -1);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((shown.pixel(x, y + barHeight) & 0xffffffu) == (image.pixel(x, y) & 0xffffffu)) continue;
      if (mismatches++ == 0) first = {x, y};
    }
  }
  EXPECT_EQ(mismatches, 0) << "first at image " << first.x() << "," << first.y();
}

TEST_F(ClientAreaTest, WithoutTheBarTheClientAreaIsTheWholeWindow) {
  bar()->hide();
  QApplication::processEvents();
  EXPECT_EQ(service().clientArea()->geometry(), QRect(0, 0, 700, 500));
  EXPECT_EQ(service().clientHeight(), 500);
  EXPECT_EQ(service().dockingHeight(),
            500 + Window::Metrics::separatorSize() - Window::Metrics::footerHeight());

  Probe topmost("top", {0, 0, 700, 100}, 100, log);
  EXPECT_EQ(pressInWindow({40, 0}), service().clientArea());
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "top down 40,0");
}

}  // namespace
