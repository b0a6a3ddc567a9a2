#include "ui/mouse_selection_input.h"

#include "ui/virtual_key.h"
#include "ui/window_mouse.h"

namespace Window {

// The modes are the dispatcher's watched keys as they are.
static_assert(Edit::kCaptureUntilControlUp == VirtualKey::kControl);
static_assert(Edit::kCaptureUntilFocusLeaves == WindowMouseService::kFocusWatch);

// The handle is the target's own address: the edit model never dereferences it.
Edit::InputTarget* inputTargetOf(WindowMouse* target) {
  return reinterpret_cast<Edit::InputTarget*>(target);
}

WindowMouse* windowMouseOf(Edit::InputTarget* target) {
  return reinterpret_cast<WindowMouse*>(target);
}

Edit::InputTarget* MouseSelectionInput::captureOwner() {
  const WindowMouseService* mice = WindowMouseService::instance();
  return mice ? inputTargetOf(mice->keyWatchTarget()) : nullptr;
}

int32_t MouseSelectionInput::captureMode() {
  const WindowMouseService* mice = WindowMouseService::instance();
  return mice && mice->keyWatchTarget() ? mice->keyWatchKey() : 0;
}

void MouseSelectionInput::giveCapture(Edit::InputTarget* target, int32_t mode) {
  if (WindowMouseService* mice = WindowMouseService::instance())
    mice->setKeyWatch(windowMouseOf(target), mode);
}

bool MouseSelectionInput::isControlKeyDown() {
  const WindowMouseService* mice = WindowMouseService::instance();
  return mice && mice->isKeyDown(VirtualKey::kControl);
}

bool MouseSelectionInput::isMultiSelect() {
  const WindowMouseService* mice = WindowMouseService::instance();
  return mice && mice->focusTarget() != nullptr;
}

}  // namespace Window
