#include "ui/qt_edit_ui.h"

#include <QCursor>

#include "ui/file_dialog.h"
#include "ui/message_box.h"
#include "ui/tool_tips.h"
#include "ui/virtual_key.h"
#include "ui/window_footer.h"
#include "ui/window_mouse.h"
#include "ui/window_service.h"

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

namespace {
// The pointer's height, so that the tip does not sit under the pointer itself.
constexpr int kCursorHeight = 32;
}  // namespace

void QtEditUi::showToolTip(const std::string& text) {
  ToolTips::show(QCursor::pos() + QPoint(0, kCursorHeight), text, -1);
}

void QtEditUi::setStatusText(const std::string& text) {
  if (WindowService* windows = WindowService::instance()) windows->footer().setStatusText(text);
}

bool QtEditUi::isControlKeyDown() {
  const WindowMouseService* mice = WindowMouseService::instance();
  return mice && mice->isKeyDown(VirtualKey::kControl);
}

}  // namespace Window
