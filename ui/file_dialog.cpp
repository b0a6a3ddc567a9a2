#include "ui/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "system/translate_service.h"
#include "system/ui_bridge.h"
#include "ui/message_box_owner.h"

namespace Window {
namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

QStringList nameFilters(const System::Filter& filter) {
  QStringList entries;
  for (const System::FilterEntry& entry : filter) {
    QString patterns = qt(entry.patterns);
    patterns.replace(';', ' ');
    patterns = patterns.simplified();
    // The toolkit reads the patterns from the parentheses: a label that already shows them
    // keeps its wording and gets the list it filters by.
    QString label = qt(entry.description);
    if (label.contains('(')) label = label.left(label.indexOf('(')).trimmed();
    entries << label + " (" + patterns + ")";
  }
  return entries;
}

// The extension added to a name typed without one: the first of entry `index` (from 1; 0 is
// the first entry). "*" stands for all files: no extension to add then.
void setDefaultExtension(QFileDialog& dialog, const System::Filter& filter, int index) {
  const std::string extension = System::FileFilter::getExtension(filter, index);
  dialog.setDefaultSuffix(extension == "*" ? QString() : qt(extension));
}

void setUpCommon(QFileDialog& dialog, const std::string& path, const System::Filter& filter) {
  const QStringList entries = nameFilters(filter);
  dialog.setNameFilters(entries);
  const int index = System::FileFilter::findIndex(filter, path);
  if (index >= 1 && index <= entries.size()) dialog.selectNameFilter(entries[index - 1]);
  setDefaultExtension(dialog, filter, index);
  // The extension follows the entry the user picks, so that "out" under an all-files entry
  // stays "out".
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, filter, entries](const QString& chosen) {
                     const auto at = entries.indexOf(chosen);
                     if (at >= 0) setDefaultExtension(dialog, filter, static_cast<int>(at) + 1);
                   });
  if (!path.empty()) dialog.selectFile(qt(path));
}

bool run(QFileDialog& dialog, std::string& path) {
  if (dialog.exec() != QDialog::Accepted) return false;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty() || files.front().isEmpty()) return false;
  path = files.front().toStdString();
  return true;
}

}  // namespace

QString fileDialogFilter(const System::Filter& filter) { return nameFilters(filter).join(";;"); }

void setUpOpenFileDialog(QFileDialog& dialog, const std::string& path,
                         const System::Filter& filter) {
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  setUpCommon(dialog, path, filter);
}

void setUpSaveFileDialog(QFileDialog& dialog, const std::string& path,
                         const System::Filter& filter, const std::string& title) {
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  if (!title.empty())
    dialog.setWindowTitle(qt(
        Translate::translateText(Translate::TranslateService::TextKind::Dialog, title)));
  setUpCommon(dialog, path, filter);
}

bool showOpenFileDialog(std::string& path, const System::Filter& filter) {
  System::stopPreviewPlayer();
  if (isHeadlessPlatform()) return false;
  QFileDialog dialog(messageBoxOwner());
  setUpOpenFileDialog(dialog, path, filter);
  return run(dialog, path);
}

bool showSaveFileDialog(std::string& path, const System::Filter& filter,
                        const std::string& title) {
  System::stopPreviewPlayer();
  if (isHeadlessPlatform()) return false;
  QFileDialog dialog(messageBoxOwner());
  setUpSaveFileDialog(dialog, path, filter, title);
  return run(dialog, path);
}

}  // namespace Window
