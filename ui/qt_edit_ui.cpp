#include "ui/qt_edit_ui.h"

#include "ui/file_dialog.h"
#include "ui/message_box.h"

namespace Window {

System::Filter projectFileFilter() {
  System::Filter filter;
  for (const auto& [description, patterns] : Edit::kProjectFileFilter)
    filter.push_back({description, patterns});
  return filter;
}

bool QtEditUi::confirm(const std::string& text, const std::string& caption) {
  return showMessageBox({MessageBoxIcon::Warning, MessageBoxButtons::OkCancel, caption, text}) ==
         MessageBoxAnswer::Ok;
}

bool QtEditUi::chooseSavePath(std::string& path) {
  return showSaveFileDialog(path, projectFileFilter(), {});
}

bool QtEditUi::chooseOpenPath(std::string& path) {
  return showOpenFileDialog(path, projectFileFilter());
}

}  // namespace Window
