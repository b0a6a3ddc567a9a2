#include "ui/qt_ui_bridge.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStyleHints>
#include <algorithm>
#include <cstdio>

namespace Window {

System::DesktopMetrics QtUiBridge::desktopMetrics() {
  System::DesktopMetrics metrics;
  const QStyleHints* hints = QGuiApplication::styleHints();
  if (hints->cursorFlashTime() > 0) metrics.caretBlinkMs = hints->cursorFlashTime();
  // The toolkit gives the repeat as a rate per second; the initial delay keeps its default.
  if (hints->keyboardAutoRepeatRate() > 0)
    metrics.keyRepeatIntervalMs = 1000 / hints->keyboardAutoRepeatRate();
  metrics.dragWidth = metrics.dragHeight = std::max(1, hints->startDragDistance());
  if (hints->mouseDoubleClickInterval() > 0) metrics.doubleClickMs = hints->mouseDoubleClickInterval();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    metrics.screenWidth = std::max(1, screen->size().width());
    metrics.screenHeight = std::max(1, screen->size().height());
    metrics.dpi = static_cast<int>(screen->logicalDotsPerInch() + 0.5);
  }
  return metrics;
}

void QtUiBridge::showErrorBox(const std::string& text, const std::string& caption) {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    return;
  }
  QMessageBox::critical(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

}  // namespace Window
