#include "ui/qt_edit_ui.h"

#include <QMessageBox>

#include "ui/message_box_owner.h"

namespace Window {

bool QtEditUi::confirm(const std::string& text, const std::string& caption) {
  if (isHeadlessPlatform()) return false;
  const QMessageBox::StandardButton answer = QMessageBox::warning(
      messageBoxOwner(), QString::fromStdString(caption), QString::fromStdString(text),
      QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
  return answer == QMessageBox::Ok;
}

}  // namespace Window
