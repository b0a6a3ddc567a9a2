#include "ui/qt_export_ui.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QInputDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "output/output_plugin.h"
#include "output/output_service.h"
#include "system/dialog.h"
#include "system/log.h"
#include "system/translate_service.h"
#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/message_box_owner.h"
#include "ui/notify_icon.h"
#include "ui/window_footer.h"
#include "ui/window_service.h"

namespace Window {
namespace {

QWidget* managerWindow() {
  WindowService* windows = WindowService::instance();
  return windows ? windows->window() : nullptr;
}

QString qt(const std::string& text) { return QString::fromStdString(text); }

std::string translated(std::string_view text) {
  return Translate::translateText(Translate::TranslateService::TextKind::Dialog, text);
}

}  // namespace

void setUpExportSaveDialog(QFileDialog& dialog, const std::string& path,
                           const std::string& title, const System::Filter& filter,
                           Plugin::OutputPlugin* settings) {
  // Our own dialog, so that the writer's settings row fits under the file list: the text
  // of its current settings and the button that changes them.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  setUpSaveFileDialog(dialog, path, filter, title);
  if (!settings) return;
  auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
  if (!grid) return;
  auto* text = new QLabel(qt(settings->getSettingText()), &dialog);
  text->setObjectName("settingText");
  text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* button = new QPushButton(qt(translated("設定")), &dialog);
  button->setObjectName("settingButton");
  QObject::connect(button, &QPushButton::clicked, [settings, text] {
    // A writer whose settings fail says so; the save dialog stays open.
    try {
      settings->showSetting();
      text->setText(qt(settings->getSettingText()));
    } catch (const std::exception& error) {
      Dialog::showException(error);
    }
  });
  const int row = grid->rowCount();
  grid->addWidget(text, row, 0, 1, grid->columnCount() - 1);
  grid->addWidget(button, row, grid->columnCount() - 1);
}

QtExportUi::QtExportUi() = default;

// The balloon belongs to the export: it goes with the export's interface.
QtExportUi::~QtExportUi() { NotifyIcon::instance().remove(); }

std::string QtExportUi::chooseSavePath(const std::string& title, const System::Filter& filter,
                                       Plugin::OutputPlugin* settings) {
  // Offscreen nobody could answer: the export is cancelled.
  if (isHeadlessPlatform()) return {};
  QFileDialog dialog(managerWindow());
  // A new export proposes no name: the first entry and its extension.
  setUpExportSaveDialog(dialog, {}, title, filter, settings);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.front().toStdString();
}

void QtExportUi::setStatus(const std::string& text, const std::string& detail, float fraction) {
  WindowService* windows = WindowService::instance();
  if (!windows) return;
  // An empty text ends the status, detail and all, and with it the wait cursor.
  if (text.empty()) {
    windows->footer().setStatusText({});
    return;
  }
  std::optional<std::string_view> shownDetail;
  if (!detail.empty()) shownDetail = detail;
  windows->footer().setStatusText(text, shownDetail, fraction);
}

void QtExportUi::enableMenus(bool enable) {
  WindowService* windows = WindowService::instance();
  if (!windows) return;
  if (enable) {
    windows->setMenuHook({});
  } else {
    windows->setMenuHook([] {
      if (auto* service = Plugin::OutputService::instance()) service->confirmAbort();
    });
  }
}

bool QtExportUi::confirm(const std::string& text, const std::string& caption) {
  return showMessageBox({MessageBoxIcon::Warning, MessageBoxButtons::OkCancel, caption, text}) ==
         MessageBoxAnswer::Ok;
}

int QtExportUi::choosePopupItem(const std::vector<std::string>& items, int checked) {
  QMenu menu(managerWindow());
  QActionGroup group(&menu);
  std::vector<QAction*> actions;
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction* action = menu.addAction(qt(items[i]));
    action->setCheckable(true);
    action->setChecked(static_cast<int>(i) == checked);
    group.addAction(action);
    actions.push_back(action);
  }
  QAction* chosen = menu.exec(QCursor::pos());
  for (std::size_t i = 0; i < actions.size(); ++i)
    if (actions[i] == chosen) return static_cast<int>(i);
  return -1;
}

std::optional<int> QtExportUi::askInteger(const std::string& title, const std::string& label,
                                          int value, int minimum, int maximum) {
  bool ok = false;
  const int chosen = QInputDialog::getInt(managerWindow(), qt(title), qt(label), value, minimum,
                                          maximum, 1, &ok);
  if (!ok) return std::nullopt;
  return chosen;
}

void QtExportUi::showNotice(const std::string& title, const std::string& text) {
  NotifyIcon::instance().show(title, text);
}

}  // namespace Window
