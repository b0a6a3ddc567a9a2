#include "ui/message_box_owner.h"

#include <QGuiApplication>

#include "ui/window_service.h"

namespace Window {

bool isHeadlessPlatform() {
  return QGuiApplication::platformName() == QLatin1String("offscreen");
}

QWidget* messageBoxOwner() {
  auto* service = WindowService::instance();
  return service ? service->window() : nullptr;
}

}  // namespace Window
