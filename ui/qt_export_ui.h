#pragma once
// The export's user interface on Qt: the save dialog, the abort question, the grey menus
// (closing and Esc ask the abort question meanwhile), the completion balloon in the
// notification area and the progress in the footer. Installed by the entry point.

#include "output/export_ui.h"

class QFileDialog;

namespace Window {

// Sets up the export's save dialog without showing it (a test looks at it without exec):
// the shared save dialog's filter entry, default extension and translated title, started at
// `path`, and under the file list the writer's settings text and button when `settings` is
// given.
void setUpExportSaveDialog(QFileDialog& dialog, const std::string& path,
                           const std::string& title, const System::Filter& filter,
                           Plugin::OutputPlugin* settings);

class QtExportUi final : public Plugin::ExportUi {
 public:
  QtExportUi();
  ~QtExportUi() override;

  std::string chooseSavePath(const std::string& title, const System::Filter& filter,
                             Plugin::OutputPlugin* settings) override;
  void setStatus(const std::string& text, const std::string& detail, float fraction) override;
  void enableMenus(bool enable) override;
  bool confirm(const std::string& text, const std::string& caption) override;
  int choosePopupItem(const std::vector<std::string>& items, int checked) override;
  std::optional<int> askInteger(const std::string& title, const std::string& label, int value,
                                int minimum, int maximum) override;
  void showNotice(const std::string& title, const std::string& text) override;
};

}  // namespace Window
