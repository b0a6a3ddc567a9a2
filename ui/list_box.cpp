#include "ui/list_box.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

#include "ui/window_service.h"

namespace Window::ListBox {
namespace {

constexpr int kMinimumHeight = 256;
constexpr int kFrame = 4;
constexpr int kWheelRows = 2;

// The list's own handling of keys, the pointer and the focus while it is open.
class PopupList : public QListWidget {
 public:
  explicit PopupList(QWidget* owner) : QListWidget(owner) {
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Escape) ListBox::close();
    QListWidget::keyPressEvent(event);
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0) setCurrentRow(row);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return QListWidget::mousePressEvent(event);
    const int row = indexAt(event->position().toPoint()).row();
    if (row >= 0) setCurrentRow(row);
    ListBox::select();
    if (event->modifiers() & Qt::ControlModifier) return QListWidget::mousePressEvent(event);
    ListBox::close();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QListWidget::focusOutEvent(event);
    ListBox::close();
  }
  void wheelEvent(QWheelEvent* event) override {
    QScrollBar* bar = verticalScrollBar();
    const int delta = event->angleDelta().y();
    if (delta < 0) bar->setValue(bar->value() + kWheelRows);
    else if (delta > 0) bar->setValue(std::max(bar->value() - kWheelRows, 0));
    event->accept();
  }
};

struct State {
  QPointer<PopupList> list;
  bool open = false;
  int selection = -1;
  void* ownerData = nullptr;
  std::vector<std::function<void()>> actions;
};

State& state() {
  static State s;
  return s;
}

QWidget* managerClient() {
  WindowService* windows = WindowService::instance();
  return windows ? windows->clientArea() : nullptr;
}

}  // namespace

void initialize() {
  State& s = state();
  if (!s.list) {
    // Owned by the manager window, so it goes with it; the guard then notices.
    s.list = new PopupList(managerClient());
    s.open = false;
    s.actions.clear();
  }
  close();
  s.list->clear();
  s.actions.clear();
  s.selection = -1;
}

void addItem(const std::string& text, std::function<void()> onSelect) {
  State& s = state();
  if (!s.list) initialize();
  s.list->addItem(QString::fromStdString(text));
  s.actions.push_back(std::move(onSelect));
}

void setCurrentSelection(int index) { state().selection = index; }

int currentSelection() {
  const State& s = state();
  return s.list && s.open ? s.list->currentRow() : s.selection;
}

int listHeight(int windowHeight, int rowHeight, int count) {
  const int64_t rows = static_cast<int64_t>(std::max(rowHeight, 0)) * std::max(count, 0);
  const int64_t limit = std::max(windowHeight / 4, kMinimumHeight);
  return static_cast<int>(std::min(limit, rows)) + kFrame;
}

void show(int x, int y, int width, int ownerHeight, void* ownerData) {
  State& s = state();
  if (s.open) return;
  if (!s.list) initialize();
  s.open = true;
  s.ownerData = ownerData;
  QWidget* client = managerClient();
  const QPoint at = client ? client->mapToGlobal(QPoint(x, y)) : QPoint(x, y);
  const int rowHeight = s.list->count() > 0 ? s.list->sizeHintForRow(0) : 0;
  const int managerHeight = client && client->window() ? client->window()->height() : 0;
  const int height = listHeight(managerHeight, rowHeight, s.list->count());
  int top = at.y() + ownerHeight;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect all = screen->virtualGeometry();
    if (top + height > all.y() + all.height()) top = at.y() - height;
  }
  s.list->setGeometry(at.x(), top, width, height);
  s.list->setCurrentRow(s.selection);
  s.list->show();
  // The chosen entry is the first row shown, so that it is in sight however far down it is.
  if (QListWidgetItem* chosen = s.list->item(s.selection))
    s.list->scrollToItem(chosen, QAbstractItemView::PositionAtTop);
  else
    s.list->scrollToTop();
  s.list->setFocus();
}

void close() {
  State& s = state();
  if (!s.open) return;
  s.open = false;
  s.ownerData = nullptr;
  if (s.list) {
    s.list->hide();
    s.list->clear();
  }
  s.actions.clear();
  s.selection = 0;
}

void select() {
  State& s = state();
  if (!s.open || !s.list) return;
  const int row = s.list->currentRow();
  if (row < 0 || static_cast<std::size_t>(row) >= s.actions.size()) return;
  // The action may close or refill the list: run a copy.
  const std::function<void()> action = s.actions[static_cast<std::size_t>(row)];
  if (action) action();
}

void moveSelection(int delta) {
  State& s = state();
  if (!s.list) return;
  int index = s.list->currentRow();
  if (index >= 0) index += delta;
  index = std::max(std::min(index, s.list->count() - 1), 0);
  s.list->setCurrentRow(index);
  select();
}

bool isOpen() { return state().open && state().list; }
void* ownerData() { return state().ownerData; }

bool holdsInput(QEvent* event) {
  if (!isOpen()) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() == Qt::LeftButton) {
        close();
        return true;
      }
      return mouse->button() == Qt::RightButton;
    }
    case QEvent::ContextMenu: return true;
    default: return false;
  }
}

QListWidget* widget() { return state().list; }

}  // namespace Window::ListBox
