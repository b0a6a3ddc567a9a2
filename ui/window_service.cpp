#include "ui/window_service.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QSocketNotifier>
#include <algorithm>

#include "system/event_service.h"
#include "system/setting_service.h"
#include "ui/keyboard_shortcut.h"
#include "ui/loop_guard.h"
#include "ui/menu_bar.h"

namespace Window {

// The top-level window. It keeps the restored placement in the service's parameters and
// ends the loop when it is closed.
class ManagerWindow : public QWidget {
 public:
  explicit ManagerWindow(WindowService& service) : service_(service) {
    setObjectName(QString::fromLatin1(WindowService::kClassName));
    setMinimumSize(WindowService::kMinimumSize, WindowService::kMinimumSize);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (service_.menuHook_) {
      event->ignore();
      runGuarded([this] { service_.menuHook_(); });
      return;
    }
    event->accept();
    runGuarded([this] { service_.requestQuit(); });
  }
  void keyPressEvent(QKeyEvent* event) override {
    if (service_.menuHook_ && event->key() == Qt::Key_Escape) {
      runGuarded([this] { service_.menuHook_(); });
      return;
    }
    // A key that no input target takes runs its shortcut, unless the menus are grey.
    bool handled = false;
    if (auto* shortcut = Shortcut::instance(); shortcut && service_.menusEnabled()) {
      runGuarded([&] { handled = shortcut->processKey(event->key(), event->modifiers()); });
    }
    if (handled) return;
    QWidget::keyPressEvent(event);
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    runGuarded([this] { service_.storePlacement(); });
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    runGuarded([this] { service_.storePlacement(); });
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
      runGuarded([this] { service_.storePlacement(); });
  }

 private:
  WindowService& service_;
};

WindowService::WindowService() : binding_(config_, Setting::ParameterIni::instance()) {
  binding_.load();
  window_ = std::make_unique<ManagerWindow>(*this);
  window_->setWindowTitle(QString::fromStdString(title_));
  window_->setGeometry(x, y, std::max<int>(w, kMinimumSize), std::max<int>(h, kMinimumSize));
  menu_ = std::make_unique<WindowMenuManager>();
  menu_->attach(window_.get());
  if (zoom != 0) window_->showMaximized();
  else window_->show();

  // Event commands that workers post reach the UI thread through the loop.
  if (auto* events = Event::EventService::instance()) {
    registerWaitHandle(events->commandDescriptor(), [events] { events->processEventCommands(); });
    registerWaitHandle(events->sentCommandDescriptor(), [events] { events->runSentCommands(); });
  }
}

WindowService::~WindowService() {
  while (!waitHandles_.empty()) unregisterWaitHandle(waitHandles_.begin()->first);
  menu_.reset();
  window_.reset();
}

void WindowService::registerWaitHandle(int descriptor, std::function<void()> callback) {
  if (waitHandles_.count(descriptor)) return;
  WaitHandle entry;
  entry.callback = std::make_shared<std::function<void()>>(std::move(callback));
  entry.notifier = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Read);
  // The callback runs from a copy, so it may unregister its own handle while it runs.
  std::weak_ptr<std::function<void()>> weak = entry.callback;
  QObject::connect(entry.notifier.get(), &QSocketNotifier::activated, [weak] {
    if (auto callback = weak.lock()) {
      auto copy = callback;
      runGuarded([copy] { (*copy)(); });
    }
  });
  waitHandles_.emplace(descriptor, std::move(entry));
}

void WindowService::unregisterWaitHandle(int descriptor) {
  auto found = waitHandles_.find(descriptor);
  if (found == waitHandles_.end()) return;
  // The notifier may be the one whose signal runs right now: let the loop delete it.
  found->second.notifier->setEnabled(false);
  found->second.notifier.release()->deleteLater();
  waitHandles_.erase(found);
}

void WindowService::processMessage() {
  if (!closed_) QApplication::exec();
  rethrowPending();
}

void WindowService::requestQuit() {
  closed_ = true;
  QCoreApplication::exit(0);
}

QWidget* WindowService::window() const { return window_.get(); }

void WindowService::setTitle(const std::string& title) {
  title_ = title;
  window_->setWindowTitle(QString::fromStdString(title_));
}

void WindowService::storePlacement() {
  if (!window_ || window_->isMinimized()) return;
  if (window_->isMaximized()) {
    zoom = 1;
    return;
  }
  zoom = 0;
  const QRect frame = window_->geometry();
  x = frame.x();
  y = frame.y();
  w = frame.width();
  h = frame.height();
}

}  // namespace Window
