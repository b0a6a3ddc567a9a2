#include "output/export_ui.h"

#include <atomic>

namespace Plugin {
namespace {

ExportUi headlessUi;
std::atomic<ExportUi*> installedUi{nullptr};

}  // namespace

void setExportUi(ExportUi* ui) { installedUi = ui; }

ExportUi& exportUi() {
  ExportUi* ui = installedUi.load();
  return ui ? *ui : headlessUi;
}

}  // namespace Plugin
