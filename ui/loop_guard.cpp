#include "ui/loop_guard.h"

#include <QCoreApplication>
#include <QThread>

namespace Window {
namespace {
std::exception_ptr pending;
}

void runGuarded(const std::function<void()>& work) {
  if (pending) return;  // the loop is already ending with an exception
  try {
    work();
  } catch (...) {
    pending = std::current_exception();
    exitRunningLoops(1);
  }
}

void rethrowPending() {
  if (!pending) return;
  std::exception_ptr exception = pending;
  pending = nullptr;
  std::rethrow_exception(exception);
}

bool hasPendingException() { return pending != nullptr; }

void exitRunningLoops(int code) {
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(code);
}

}  // namespace Window
