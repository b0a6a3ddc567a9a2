#include "app/message_box_bridge.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace App {

void MessageBoxBridge::showErrorBox(const std::string& text, const std::string& caption) {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
    std::fprintf(stderr, "%s\n%s\n", caption.c_str(), text.c_str());
    return;
  }
  QMessageBox::critical(nullptr, QString::fromStdString(caption), QString::fromStdString(text));
}

}  // namespace App
