#include "app/application.h"

#include <QApplication>
#include <QWidget>
#include <exception>
#include <memory>

#include "app/message_box_bridge.h"
#include "app/quit_signals.h"
#include "system/dialog.h"
#include "system/log.h"
#include "system/logger.h"
#include "system/process.h"
#include "system/service_holder.h"
#include "system/setting_service.h"

namespace App {
namespace {

// Acquires the services in their fixed creation order. A throw leaves the ones acquired so
// far in the stack, which the caller releases in reverse order.
void acquireServices(System::ServiceStack& services) {
  services.acquire<Setting::SettingService>();
  System::Process::SetThreadPriority("MainThreadPriority");
  services.acquire<System::Logger>();
}

// The main window until the window framework exists: a bare top-level window whose
// closing ends the loop.
std::unique_ptr<QWidget> createManagerWindow() {
  auto window = std::make_unique<QWidget>();
  window->setObjectName(QStringLiteral("velumo2Manager"));
  window->setWindowTitle(QStringLiteral("Velumo Kivrun2"));
  window->resize(1280, 720);
  window->show();
  return window;
}

}  // namespace

int run(int argc, char** argv) {
  QApplication application(argc, argv);
  MessageBoxBridge messageBoxes;
  System::setUiBridge(&messageBoxes);
  QuitSignals quitSignals;

  System::ServiceStack services;
  std::unique_ptr<QWidget> window;
  try {
    acquireServices(services);
    window = createManagerWindow();
  } catch (const std::exception& exception) {
    window.reset();
    services.releaseAll();
    Dialog::showException(exception);
    System::setUiBridge(nullptr);
    return 0;
  }

  System::Log::info("App::run", "started");
  QApplication::exec();
  System::Log::info("App::run", "shutting down");

  try {
    window.reset();
    services.releaseAll();
  } catch (const std::exception& exception) {
    services.releaseAll();
    Dialog::showException(exception);
  }
  System::setUiBridge(nullptr);
  return 0;
}

}  // namespace App
