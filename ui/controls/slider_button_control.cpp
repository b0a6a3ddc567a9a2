#include "ui/controls/slider_button_control.h"

namespace Component {

void SliderButtonControl::procLButtonDown(int32_t x, int32_t y) {
  if (mouseService && mouseService->pressedTarget())
    mouseService->beginDrag(x, y, Window::MouseCursor::Program143);
  redraw();
  showToolTip(getValueText());
  startValue_ = getValue();
}

void SliderButtonControl::procMouseDrag(int32_t, int32_t dy) {
  setDragValue(startValue_, -dy / 2);
  showToolTip(getValueText());
}

}  // namespace Component
