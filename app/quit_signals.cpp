#include "app/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <csignal>

#include "system/exception.h"
#include "system/log.h"
#include "ui/loop_guard.h"
#include "ui/window_service.h"

namespace App {
namespace {

int signalPipe[2] = {-1, -1};
std::atomic<int> receivedSignal{0};
constexpr int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onQuitSignal(int number) {
  receivedSignal.store(number);
  const char byte = static_cast<char>(number);
  // Only async-signal-safe calls here; a full pipe means a quit is already pending.
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

}  // namespace

QuitSignals::QuitSignals() {
  if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
    throw System::makeLastErrorException("pipe2", "App::QuitSignals::QuitSignals");
  notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
    char byte = 0;
    while (::read(signalPipe[0], &byte, 1) > 0) {
    }
    System::Log::info("App::QuitSignals", "quit by signal %d", receivedSignal.load());
    // Before the window exists only a box of the start can be open: its loop ends, and the
    // start sees the signal when it is done (App::run).
    if (auto* windows = Window::WindowService::instance()) windows->requestQuit();
    else Window::exitRunningLoops(0);
  });
  struct sigaction action {};
  action.sa_handler = onQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : kQuitSignals) sigaction(number, &action, nullptr);
}

QuitSignals::~QuitSignals() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (int number : kQuitSignals) sigaction(number, &action, nullptr);
  notifier_.reset();
  ::close(signalPipe[0]);
  ::close(signalPipe[1]);
  signalPipe[0] = signalPipe[1] = -1;
}

int QuitSignals::received() { return receivedSignal.load(); }

}  // namespace App
