#include "ui/window_service.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>

#include "system/event_service.h"
#include "system/service_holder.h"
#include "ui/loop_guard.h"
#include "ui/menu_popup.h"

namespace {

// An eventfd that the loop can wait on.
struct Signal {
  Signal() : fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}
  ~Signal() { close(fd); }
  void set() const {
    const uint64_t one = 1;
    EXPECT_EQ(write(fd, &one, sizeof one), static_cast<ssize_t>(sizeof one));
  }
  void consume() const {
    uint64_t value = 0;
    [[maybe_unused]] auto n = read(fd, &value, sizeof value);
  }
  int fd;
};

class WindowServiceTest : public ::testing::Test {
 protected:
  // Closes the window from the loop after the current events, so processMessage returns.
  static void closeSoon() {
    QTimer::singleShot(0, [] { Window::WindowService::instance()->window()->close(); });
  }
};

TEST_F(WindowServiceTest, TheManagerWindowHasItsClassNameTitleAndMinimumSize) {
  System::ServiceHolder<Window::WindowService> service;
  QWidget* window = Window::WindowService::instance()->window();
  EXPECT_EQ(window->objectName().toStdString(), "velumo2Manager");
  EXPECT_EQ(window->windowTitle().toStdString(), "Velumo Kivrun2");
  EXPECT_EQ(window->minimumSize(), QSize(256, 256));
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowServiceTest, AWaitHandleRunsItsFirstCallbackOnTheUiThreadAndMayUnregisterItself) {
  System::ServiceHolder<Window::WindowService> holder;
  auto* service = Window::WindowService::instance();
  Signal signal;
  std::thread::id ranOn;
  int firstRuns = 0;
  int secondRuns = 0;
  service->registerWaitHandle(signal.fd, [&] {
    ++firstRuns;
    ranOn = std::this_thread::get_id();
    signal.consume();
    service->unregisterWaitHandle(signal.fd);
    closeSoon();
  });
  service->registerWaitHandle(signal.fd, [&] { ++secondRuns; });
  std::thread worker([&] { signal.set(); });
  worker.join();
  service->processMessage();
  EXPECT_EQ(firstRuns, 1);
  EXPECT_EQ(secondRuns, 0);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
  EXPECT_FALSE(service->hasWaitHandle(signal.fd));
}

TEST_F(WindowServiceTest, AnExceptionInACallbackLeavesTheLoopAndIsThrownAgain) {
  System::ServiceHolder<Window::WindowService> holder;
  auto* service = Window::WindowService::instance();
  Signal signal;
  service->registerWaitHandle(signal.fd, [&] {
    signal.consume();
    throw std::runtime_error("callback failed");
  });
  signal.set();
  try {
    service->processMessage();
    FAIL() << "the loop returned without the exception";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "callback failed");
  }
  EXPECT_FALSE(Window::hasPendingException());
}

TEST_F(WindowServiceTest, EventCommandsPostedByWorkersAreRunByTheLoop) {
  System::ServiceHolder<Event::EventService> events;
  System::ServiceHolder<Window::WindowService> holder;
  std::vector<int> frames;
  Event::EventService::instance()->frameNotice().add([&](int kind, int frame) {
    frames.push_back(frame);
    if (frames.size() == 3) closeSoon();
  });
  std::thread worker([] {
    for (int frame : {10, 20, 30})
      Event::EventService::postCommand(Event::EventCommandType::RenderedFrame, frame);
  });
  worker.join();
  Window::WindowService::instance()->processMessage();
  EXPECT_EQ(frames, (std::vector<int>{10, 20, 30}));
}

TEST_F(WindowServiceTest, MaximisingChangesOnlyTheZoomFlag) {
  System::ServiceHolder<Window::WindowService> holder;
  auto* service = Window::WindowService::instance();
  QWidget* window = service->window();
  window->setGeometry(40, 50, 800, 600);
  QApplication::processEvents();
  const int x = service->x, y = service->y, w = service->w, h = service->h;
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  window->showMaximized();
  QApplication::processEvents();
  EXPECT_EQ(service->zoom, 1);
  EXPECT_EQ(service->x, x);
  EXPECT_EQ(service->y, y);
  EXPECT_EQ(service->w, w);
  EXPECT_EQ(service->h, h);
}

// Counts the close questions and answers them with `consent`.
struct CloseQuestion {
  explicit CloseQuestion(Window::WindowService& service) {
    service.setCloseQuery([this] {
      ++asked;
      return consent;
    });
  }
  int asked = 0;
  bool consent = false;
};

TEST_F(WindowServiceTest, ARefusedCloseKeepsTheWindowAndAQuitSignalDoesNotAsk) {
  System::ServiceHolder<Window::WindowService> holder;
  auto* service = Window::WindowService::instance();
  CloseQuestion question(*service);
  service->window()->close();
  EXPECT_EQ(question.asked, 1);
  EXPECT_TRUE(service->window()->isVisible());
  EXPECT_FALSE(service->isQuitRequested());

  service->requestQuit();  // what a quit signal does
  EXPECT_EQ(question.asked, 1);
  EXPECT_TRUE(service->isQuitRequested());

  question.consent = true;
  service->window()->close();
  EXPECT_EQ(question.asked, 2);
  EXPECT_FALSE(service->window()->isVisible());
}

TEST_F(WindowServiceTest, APostedCloseAsksOnceControlIsBackInTheLoop) {
  std::optional<System::ServiceHolder<Window::WindowService>> holder(std::in_place);
  auto* service = Window::WindowService::instance();
  CloseQuestion question(*service);
  service->postCloseRequest();
  EXPECT_EQ(question.asked, 0);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(question.asked, 1);
  EXPECT_FALSE(service->isQuitRequested());

  question.consent = true;
  service->postCloseRequest();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(question.asked, 2);
  EXPECT_TRUE(service->isQuitRequested());

  // A window that is gone before the loop comes back takes its request along.
  service->postCloseRequest();
  holder.reset();
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(question.asked, 2);
}

// Ending the loop while none runs (a quit signal, a command that failed outside the loop):
// the loop does not start, and menus shown later still wait for the user.
TEST_F(WindowServiceTest, EndingTheLoopOutsideItLeavesLaterMenusWorking) {
  struct Case {
    const char* name;
    std::function<void()> end;
  };
  const Case cases[] = {
      {"a quit request", [] { Window::WindowService::instance()->requestQuit(); }},
      {"a failed command", [] { Window::runGuarded([] { throw std::runtime_error("fails"); }); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    System::ServiceHolder<Window::WindowService> holder;
    c.end();
    bool loopRan = false;
    {
      // A guard against a hang should the loop start after all.
      QObject guard;
      QTimer::singleShot(5000, &guard, [&loopRan] {
        loopRan = true;
        QCoreApplication::exit(2);
      });
      try {
        Window::WindowService::instance()->processMessage();
      } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "fails");
      }
    }
    EXPECT_FALSE(loopRan);
    EXPECT_FALSE(Window::hasPendingException());

    Window::PopupMenu menu;
    int runs = 0;
    menu.insertItem("a", [&] { ++runs; });
    QTimer::singleShot(0, [] {
      auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!shown) return;  // the menu returned without waiting: nothing was chosen
      shown->setActiveAction(shown->actions().at(0));
      QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
      QApplication::sendEvent(shown, &enter);
    });
    menu.show();
    EXPECT_EQ(runs, 1);
  }
}

}  // namespace
