#pragma once
// SIGTERM, SIGINT and SIGHUP end the program through its normal shut-down, as closing the
// window does, so a desktop session that logs out loses nothing. The handler only writes
// to a pipe; the event loop reads it and quits.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace App {

class QuitSignals : public QObject {
 public:
  QuitSignals();
  ~QuitSignals() override;
  QuitSignals(const QuitSignals&) = delete;
  QuitSignals& operator=(const QuitSignals&) = delete;

  // The signal that asked to quit, or 0.
  static int received();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace App
