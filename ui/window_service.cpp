#include "ui/window_service.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <algorithm>

#include "system/event_service.h"
#include "system/setting_service.h"
#include "ui/docking_layout.h"
#include "ui/frame_metrics.h"
#include "ui/keyboard_shortcut.h"
#include "ui/list_box.h"
#include "ui/loop_guard.h"
#include "ui/menu_bar.h"
#include "ui/tool_tips.h"
#include "ui/window_client.h"
#include "ui/window_footer.h"

namespace Window {
namespace {

// The input that never reaches the windows while the menus are grey (an export runs).
bool isInput(QEvent::Type type) {
  switch (type) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::DragLeave:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The image the frame draws into: a premultiplied 32-bit image shared with a Cairo surface.
struct WindowService::Backing {
  Backing(int32_t width, int32_t height)
      : image(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied) {
    image.fill(Qt::black);
    surface = cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32,
                                                  image.width(), image.height(),
                                                  static_cast<int>(image.bytesPerLine()));
    target = std::make_unique<Media::DrawTarget>(surface);
  }
  ~Backing() {
    target.reset();
    cairo_surface_destroy(surface);
  }
  Backing(const Backing&) = delete;
  Backing& operator=(const Backing&) = delete;

  QImage image;
  cairo_surface_t* surface = nullptr;
  std::unique_ptr<Media::DrawTarget> target;
};

// The client area: the part of the manager window below the menu bar. It shows the backing
// image, hands its input to the dispatcher in its own coordinates and lays the docked
// windows out at its size.
class ClientArea : public QWidget {
 public:
  ClientArea(WindowService& service, QWidget* parent) : QWidget(parent), service_(service) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
  }

 protected:
  bool event(QEvent* event) override;
  // The input method asks where the focused text field's caret is and in which font it
  // composes; the field told the dispatcher.
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override {
    const WindowMouseService* mice = WindowMouseService::instance();
    if (!mice) return QWidget::inputMethodQuery(query);
    const int32_t height = std::max(mice->imeFontHeight(), 1);
    if (query == Qt::ImCursorRectangle) {
      const WindowMouseService::ImeComposition& at = mice->imeComposition();
      return QRect(at.x, at.y, 1, height);
    }
    if (query == Qt::ImFont && !mice->imeFontFamily().empty()) {
      QFont font(QString::fromStdString(mice->imeFontFamily()));
      font.setPixelSize(height);
      return font;
    }
    return QWidget::inputMethodQuery(query);
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, service_.image());
  }
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    runGuarded([this] { service_.resize(width(), height()); });
  }

 private:
  WindowService& service_;
};

// The top-level window: the menu bar over the client area, in a layout. It keeps the
// restored placement in the service's parameters and ends the loop when it is closed.
class ManagerWindow : public QWidget {
 public:
  explicit ManagerWindow(WindowService& service) : service_(service), client_(service, this) {
    setObjectName(QString::fromLatin1(WindowService::kClassName));
    setMinimumSize(WindowService::kMinimumSize, WindowService::kMinimumSize);
    layout_.setContentsMargins(0, 0, 0, 0);
    layout_.setSpacing(0);
    layout_.addWidget(&client_);
    setFocusProxy(&client_);
  }

  ClientArea& client() { return client_; }

  // While the menus are grey (an export runs) no input reaches the windows: Esc calls the
  // export's hook and everything else is dropped. True when the event was taken so.
  static bool holdInputForExport(WindowService& service, QEvent* event) {
    if (!service.menuHook_ || !isInput(event->type())) return false;
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
      runGuarded([&service] { service.menuHook_(); });
    event->accept();
    return true;
  }

 protected:
  bool event(QEvent* event) override {
    if (holdInputForExport(service_, event)) return true;
    // Keys that no child took (the menu bar passes on those it does not use) still go to the
    // targets and the shortcuts. Pointer input arrives at the client area itself.
    const QEvent::Type type = event->type();
    WindowMouseService* mice = WindowMouseService::instance();
    if (mice && mice->window() == &client_ &&
        (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
      runGuarded([&] { mice->procEvent(event); });
      event->accept();
      return true;
    }
    return QWidget::event(event);
  }
  void closeEvent(QCloseEvent* event) override {
    if (service_.menuHook_) {
      event->ignore();
      runGuarded([this] { service_.menuHook_(); });
      return;
    }
    bool consent = true;
    if (service_.closeQuery_) runGuarded([&] { consent = service_.closeQuery_(); });
    if (!consent) {
      event->ignore();
      return;
    }
    event->accept();
    runGuarded([this] { service_.requestQuit(); });
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
  // Made before the client area and gone after it, so the area always leaves a live layout.
  QVBoxLayout layout_{this};
  ClientArea client_;
};

bool ClientArea::event(QEvent* event) {
  if (ManagerWindow::holdInputForExport(service_, event)) return true;
  if (ListBox::holdsInput(event)) return true;
  WindowMouseService* mice = WindowMouseService::instance();
  if (mice && mice->window() == this && event->type() != QEvent::ShortcutOverride) {
    bool handled = false;
    runGuarded([&] { handled = mice->procEvent(event); });
    if (handled) {
      event->accept();
      return true;
    }
    if (isInput(event->type())) return true;  // nothing else in the window takes input
  }
  return QWidget::event(event);
}

WindowService::WindowService()
    : binding_(config_, Setting::ParameterIni::instance()), renderTarget_(nullptr, 0, 0) {
  binding_.load();
  backing_ = std::make_unique<Backing>(1, 1);
  renderTarget_.target = backing_->target.get();
  styleBrushes_.renderTarget = &renderTarget_;
  bitmaps_.renderTarget = &renderTarget_;
  docking_ = std::make_unique<DockingLayout>(*this);
  footer_ = std::make_unique<WindowFooter>(*this);
  window_ = std::make_unique<ManagerWindow>(*this);
  WindowMouseService::instance()->setWindow(&window_->client());
  // Keys that no input target takes run their shortcut.
  WindowMouseService::instance()->setShortcutHandler([](int32_t key) {
    Shortcut* shortcut = Shortcut::instance();
    const WindowMouseService* mice = WindowMouseService::instance();
    return shortcut && mice &&
           shortcut->procKeyDown(key, modifierBitsFromQt(mice->keyModifiers()));
  });
  window_->setWindowTitle(QString::fromStdString(title_));
  window_->setGeometry(x, y, std::max<int>(w, kMinimumSize), std::max<int>(h, kMinimumSize));
  menu_ = std::make_unique<WindowMenuManager>();
  menu_->attach(window_.get());
  if (zoom != 0) window_->showMaximized();
  else window_->show();
  resize(window_->client().width(), window_->client().height());

  // Event commands that workers post reach the UI thread through the loop.
  if (auto* events = Event::EventService::instance()) {
    registerWaitHandle(events->commandDescriptor(), [events] { events->processEventCommands(); });
    registerWaitHandle(events->sentCommandDescriptor(), [events] { events->runSentCommands(); });
  }
}

WindowService::~WindowService() {
  while (!waitHandles_.empty()) unregisterWaitHandle(waitHandles_.begin()->first);
  if (auto* mice = WindowMouseService::instance(); mice && mice->window() == clientArea())
    mice->setWindow(nullptr);
  // The tip and the list are the window's children: let them go with it, not at exit.
  ToolTips::release();
  ListBox::close();
  menu_.reset();
  window_.reset();
  // Windows that outlive the service must not reach it.
  for (WindowClient* client : docking_->clients()) client->service = nullptr;
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
  // An exception kept outside the loop ends it before it starts.
  if (!closed_ && !hasPendingException()) QApplication::exec();
  rethrowPending();
}

void WindowService::requestQuit() {
  closed_ = true;
  // A loop that is not running yet sees the flag before it starts.
  exitRunningLoops(0);
}

void WindowService::postCloseRequest() {
  // Not from inside the command that asks: the menu that ran it may still be open. A window
  // that is gone by then takes the request along.
  QWidget* managerWindow = window_.get();
  QMetaObject::invokeMethod(managerWindow, [managerWindow] { managerWindow->close(); },
                            Qt::QueuedConnection);
}

void WindowService::setMenuHook(std::function<void()> hook) {
  menuHook_ = std::move(hook);
  // The bar takes its clicks itself, outside the client area's input: greying it is what
  // keeps its commands from running, without touching the items' own enabled state.
  if (menu_ && menu_->menuBar()) menu_->menuBar()->setEnabled(menusEnabled());
}

QWidget* WindowService::window() const { return window_.get(); }

QWidget* WindowService::clientArea() const { return window_ ? &window_->client() : nullptr; }

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

const QImage& WindowService::image() const { return backing_->image; }

void WindowService::present() {
  if (window_) window_->update();
}

void WindowService::addClient(WindowClient* client) { docking_->clients().push_back(client); }

void WindowService::removeClient(WindowClient* client) {
  auto& list = docking_->clients();
  list.erase(std::remove(list.begin(), list.end(), client), list.end());
}

const std::vector<WindowClient*>& WindowService::clients() const { return docking_->clients(); }

int32_t WindowService::dockingWidth() const { return docking_->width(); }
int32_t WindowService::dockingHeight() const { return docking_->height(); }

void WindowService::resize(int32_t width, int32_t height) {
  clientWidth_ = width;
  clientHeight_ = height;
  // The backing image follows the window; only outside every draw level, where no scope
  // holds the old image's state (a later resize catches up).
  const QSize size(std::max(width, 1), std::max(height, 1));
  if (renderTarget_.drawCount == 0 && backing_->image.size() != size) {
    auto next = std::make_unique<Backing>(width, height);
    renderTarget_.target = next->target.get();
    backing_ = std::move(next);
    renderTarget_.clipWidth = width;
    renderTarget_.clipHeight = height;
  }
  docking_->setClientArea(width, height);
  const int32_t separator = Metrics::separatorSize();
  docking_->setSize(width + separator - 2, height + separator - Metrics::footerHeight());
  Media::RenderTarget::DrawScope scope(renderTarget_, 0, 0, clientWidth_, clientHeight_, true);
  docking_->normalizeLayout();
  for (WindowClient* client : docking_->clients()) {
    if (!client->isHidden()) client->updateRect(true);
  }
  drawFrame();
}

void WindowService::paint() {
  Media::RenderTarget::DrawScope scope(renderTarget_, 0, 0, clientWidth_, clientHeight_, true);
  for (WindowClient* client : docking_->clients()) {
    if (!client->isHidden()) client->procPaint();
  }
  drawFrame();
}

void WindowService::drawFrame() {
  docking_->drawEmptyBackground();
  footer_->paint();
  docking_->drawSeparators();
  present();
}

void WindowService::updateLayout() {
  Media::RenderTarget::DrawScope scope(renderTarget_, 0, 0, clientWidth_, clientHeight_, true);
  if (window_) resize(window_->client().width(), window_->client().height());
  else resize(clientWidth_, clientHeight_);
}

WindowDrawing currentWindowDrawing() {
  WindowService* service = WindowService::instance();
  if (!service) return {};
  return {&service->renderTarget(), &service->styleBrushes(), &service->bitmaps()};
}

}  // namespace Window
