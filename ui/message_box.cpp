#include "ui/message_box.h"

#include <QMessageBox>
#include <cstdio>
#include <utility>

#include "ui/message_box_owner.h"

namespace Window {
namespace {

MessageBoxSink& currentSink() {
  static MessageBoxSink sink;
  return sink;
}

QMessageBox::Icon toolkitIcon(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::Warning:
      return QMessageBox::Warning;
    case MessageBoxIcon::Information:
      return QMessageBox::Information;
    case MessageBoxIcon::Error:
      break;
  }
  return QMessageBox::Critical;
}

}  // namespace

MessageBoxAnswer headlessAnswer(MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::OkCancel ? MessageBoxAnswer::Cancel : MessageBoxAnswer::Ok;
}

MessageBoxAnswer showMessageBox(const MessageBoxRequest& request) {
  if (const MessageBoxSink& sink = currentSink()) return sink(request);
  if (isHeadlessPlatform()) {
    if (request.icon != MessageBoxIcon::Information)
      std::fprintf(stderr, "%s\n%s\n", request.caption.c_str(), request.text.c_str());
    return headlessAnswer(request.buttons);
  }
  QWidget* owner = messageBoxOwner();
  const bool question = request.buttons == MessageBoxButtons::OkCancel;
  QMessageBox box(toolkitIcon(request.icon), QString::fromStdString(request.caption),
                  QString::fromStdString(request.text),
                  question ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok, owner);
  // Without the manager window (start-up failures, late shut-down) the box still blocks
  // every window of the program.
  box.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
  if (question) {
    // Enter alone must not discard anything: Cancel is the default.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
  }
  return box.exec() == QMessageBox::Ok ? MessageBoxAnswer::Ok
                                       : (question ? MessageBoxAnswer::Cancel
                                                   : MessageBoxAnswer::Ok);
}

ScopedMessageBoxSink::ScopedMessageBoxSink(MessageBoxSink sink)
    : previous_(std::exchange(currentSink(), std::move(sink))) {}

ScopedMessageBoxSink::~ScopedMessageBoxSink() { currentSink() = std::move(previous_); }

}  // namespace Window
