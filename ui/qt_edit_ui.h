#pragma once
// The edit model's questions asked with the toolkit: the confirmation box and the
// project's open and save dialogs. The other dialogs (names, numbers, scenes) keep the
// headless answers, which cancel and so keep the user's data. On the offscreen platform
// nobody could answer, so the boxes and dialogs give those answers too (see
// ui/message_box.h, ui/file_dialog.h).
#include "edit/edit_ui.h"
#include "system/file.h"

namespace Window {

// The project file filter of the open and save dialogs.
System::Filter projectFileFilter();

class QtEditUi : public Edit::EditUi {
 public:
  bool confirm(const std::string& text, const std::string& caption) override;
  bool chooseSavePath(std::string& path) override;
  bool chooseOpenPath(std::string& path) override;
  // Below the pointer until the pointer moves on.
  void showToolTip(const std::string& text) override;
  // As the input dispatcher last saw the keyboard.
  bool isControlKeyDown() override;
  // In the manager window's footer ("Loading...", "Saving..."); an empty text clears it.
  void setStatusText(const std::string& text) override;
};

}  // namespace Window
