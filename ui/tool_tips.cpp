#include "ui/tool_tips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <memory>

#include "system/translate_service.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

namespace Window::ToolTips {
namespace {

constexpr int kBelowMilliseconds = 3000;

struct State {
  // Owned by the manager window when there is one, so it goes with the window; the guard
  // notices that and the next show makes a new one.
  QPointer<QLabel> tip;
  QString text;
  bool shown = false;
  int timeout = 0;
  std::unique_ptr<QTimer> timer;
};

State& state() {
  static State s;
  return s;
}

QString translated(const std::string& text) {
  if (Translate::isLanguageActive()) {
    if (auto* service = Translate::TranslateService::instance()) {
      const std::string_view shown = service->translateString(text);
      return QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    }
  }
  return QString::fromStdString(text);
}

// Cuts at kMaxTextLength units without splitting a surrogate pair.
QString limited(QString text) {
  if (text.size() <= kMaxTextLength) return text;
  int length = kMaxTextLength;
  if (text.at(length - 1).isHighSurrogate()) --length;
  text.truncate(length);
  return text;
}

QLabel& tipWindow() {
  State& s = state();
  if (!s.tip) {
    s.text.clear();
    s.shown = false;
    QWidget* owner = nullptr;
    if (WindowService* windows = WindowService::instance()) owner = windows->window();
    s.tip = new QLabel(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    s.tip->setTextFormat(Qt::PlainText);
    s.tip->setMargin(2);
    if (!s.timer) {
      s.timer = std::make_unique<QTimer>();
      s.timer->setSingleShot(true);
      QObject::connect(s.timer.get(), &QTimer::timeout, [] { timerElapsed(); });
    }
  }
  // The dispatcher hides a tip that waits for the pointer to move.
  if (WindowMouseService* mice = WindowMouseService::instance()) {
    mice->setTransientTipHider([] { hideTransient(); });
    mice->setTipHider([] { hide(); });
  }
  return *s.tip;
}

int screensRight() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return INT32_MAX;
  const QRect all = screen->virtualGeometry();
  return all.x() + all.width();
}

void showTranslated(QPoint screenPoint, const QString& text, int timeoutMs) {
  State& s = state();
  QLabel& tip = tipWindow();
  if (timeoutMs != 0) {
    s.timeout = timeoutMs;
    if (timeoutMs > 0) s.timer->start(timeoutMs);
  } else {
    s.timeout = 0;
    s.timer->stop();
  }
  const QString wanted = limited(text);
  if (wanted != s.text) {
    s.text = wanted;
    tip.setText(wanted);
    tip.adjustSize();
  }
  QPoint at = screenPoint;
  const int excess = at.x() + tip.width() - screensRight();
  if (excess > 0) at.rx() -= excess;
  tip.move(at);
  if (!s.shown) {
    s.shown = true;
    tip.show();
  }
}

}  // namespace

void show(QPoint screenPoint, const std::string& text, int timeoutMs) {
  showTranslated(screenPoint, translated(text), timeoutMs);
}

void showBelow(const QWidget& window, const std::string& text, const std::string& detail) {
  const QString joined = translated(text) + u' ' + QString::fromStdString(detail);
  const QPoint below = window.mapToGlobal(QPoint(0, window.height() + 1));
  showTranslated(below, joined, kBelowMilliseconds);
}

void hide() {
  State& s = state();
  if (!s.shown) return;
  s.shown = false;
  s.timeout = 0;
  if (s.timer) s.timer->stop();
  if (s.tip) s.tip->hide();
}

void hideTransient() {
  if (state().timeout < 0) hide();
}

void timerElapsed() {
  if (state().timeout != 0 && state().shown) hide();
}

void release() {
  State& s = state();
  hide();
  delete s.tip.data();
  s.text.clear();
  s.timer.reset();
}

bool isShown() { return state().shown && state().tip; }
QString text() { return state().text; }
QPoint position() { return state().tip ? state().tip->pos() : QPoint(); }
int timeout() { return state().timeout; }
bool isTimerActive() { return state().timer && state().timer->isActive(); }

}  // namespace Window::ToolTips
