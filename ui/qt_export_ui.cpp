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
#include "ui/notify_icon.h"
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

QtExportUi::QtExportUi() = default;

// The balloon belongs to the export: it goes with the export's interface.
QtExportUi::~QtExportUi() { NotifyIcon::instance().remove(); }

std::string QtExportUi::chooseSavePath(const std::string& title, const System::Filter& filter,
                                       Plugin::OutputPlugin* settings) {
  QFileDialog dialog(managerWindow(), qt(title), QString(), fileDialogFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // Our own dialog, so that the writer's settings row fits under the file list: the text
  // of its current settings and the button that changes them.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (settings) {
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
      auto* text = new QLabel(qt(settings->getSettingText()), &dialog);
      text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      auto* button = new QPushButton(qt(translated("設定")), &dialog);
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
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  return files.isEmpty() ? std::string() : files.front().toStdString();
}

void QtExportUi::setStatus(const std::string& text, const std::string& detail, float) {
  // The footer comes with the window framework; until then the title carries the progress.
  WindowService* windows = WindowService::instance();
  if (!windows || !windows->window()) return;
  windows->window()->setWindowTitle(
      text.empty() ? qt(windows->title()) : qt(windows->title() + " - " + text + " " + detail));
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
