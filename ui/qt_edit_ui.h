#pragma once
// The edit model's questions asked with the toolkit's message boxes. Only the confirmation
// box is here so far: the dialogs (names, numbers, scenes, files) keep the headless
// answers, which cancel and so keep the user's data. On the offscreen platform nobody
// could answer, so the confirmation is refused there too.
#include "edit/edit_ui.h"

namespace Window {

class QtEditUi : public Edit::EditUi {
 public:
  bool confirm(const std::string& text, const std::string& caption) override;
};

}  // namespace Window
