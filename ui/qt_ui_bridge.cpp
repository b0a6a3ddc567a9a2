#include "ui/qt_ui_bridge.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QScreen>
#include <QStyleHints>
#include <algorithm>
#include <cstring>

#include "render/render_service.h"
#include "system/log.h"
#include "ui/message_box.h"
#include "ui/window_service.h"

namespace Window {

void QtUiBridge::stopPlayer() {
  if (Render::RenderService* render = Render::RenderService::instance()) render->player().stop(false);
}

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

namespace {
void showBox(MessageBoxIcon icon, const std::string& text, const std::string& caption) {
  showMessageBox({icon, MessageBoxButtons::Ok, caption, text});
}
}  // namespace

void QtUiBridge::showErrorBox(const std::string& text, const std::string& caption) {
  showBox(MessageBoxIcon::Error, text, caption);
}

void QtUiBridge::showInformationBox(const std::string& text, const std::string& caption) {
  showBox(MessageBoxIcon::Information, text, caption);
}

void QtUiBridge::showWarningBox(const std::string& text, const std::string& caption) {
  showBox(MessageBoxIcon::Warning, text, caption);
}

void QtUiBridge::registerWaitHandle(int descriptor, std::function<void()> callback) {
  if (auto* service = WindowService::instance())
    service->registerWaitHandle(descriptor, std::move(callback));
  else
    System::Log::warn("Window::QtUiBridge::registerWaitHandle",
                      "no window to wait on descriptor %d.", descriptor);
}

void QtUiBridge::unregisterWaitHandle(int descriptor) {
  if (auto* service = WindowService::instance()) service->unregisterWaitHandle(descriptor);
}

bool QtUiBridge::processEventsExceptInput() {
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  auto* service = WindowService::instance();
  return !(service && service->isQuitRequested());
}

System::ClipboardStatus QtUiBridge::clipboardText(std::string& text, std::size_t maxBytes) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return System::ClipboardStatus::Unavailable;
  const QString content = clipboard->text();
  if (content.isNull()) return System::ClipboardStatus::NoData;
  // A UTF-16 unit becomes at most three UTF-8 bytes: refuse before converting a huge text.
  if (static_cast<std::size_t>(content.size()) > maxBytes) return System::ClipboardStatus::TooLarge;
  const QByteArray utf8 = content.toUtf8();
  if (static_cast<std::size_t>(utf8.size()) > maxBytes) return System::ClipboardStatus::TooLarge;
  text.assign(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  return System::ClipboardStatus::Done;
}

System::ClipboardStatus QtUiBridge::setClipboardText(const std::string& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return System::ClipboardStatus::Unavailable;
  clipboard->setText(QString::fromStdString(text));
  return System::ClipboardStatus::Done;
}

System::ClipboardStatus QtUiBridge::setClipboardImage(int width, int height, int stride,
                                                      const uint8_t* bgraPixels) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return System::ClipboardStatus::Unavailable;
  if (width <= 0 || height <= 0 || stride < width * 4 || !bgraPixels)
    return System::ClipboardStatus::Failed;
  // B, G, R, A bytes in memory are the toolkit's 32-bit ARGB on this little-endian machine.
  QImage image(width, height, QImage::Format_ARGB32);
  for (int row = 0; row < height; ++row)
    std::memcpy(image.scanLine(row), bgraPixels + static_cast<std::size_t>(row) * stride,
                static_cast<std::size_t>(width) * 4);
  clipboard->setImage(image);
  return System::ClipboardStatus::Done;
}

}  // namespace Window
