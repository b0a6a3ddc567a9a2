#pragma once
// The selection clicks' input answered by the window's input dispatcher: the input capture
// is the dispatcher's key watch, the Ctrl key is read from the keyboard, and the
// multi-select mode is on while a control holds the keyboard focus (a capture in that mode
// ends when the focus leaves). Without a dispatcher it gives the headless answers.
#include "edit/selection_input.h"

namespace Window {

class WindowMouse;

// The edit model's handle of an input target, and the target again.
Edit::InputTarget* inputTargetOf(WindowMouse* target);
WindowMouse* windowMouseOf(Edit::InputTarget* target);

class MouseSelectionInput : public Edit::SelectionInput {
 public:
  Edit::InputTarget* captureOwner() override;
  int32_t captureMode() override;
  void giveCapture(Edit::InputTarget* target, int32_t mode) override;
  bool isControlKeyDown() override;
  bool isMultiSelect() override;
};

}  // namespace Window
