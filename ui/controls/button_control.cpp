#include "ui/controls/button_control.h"

#include "ui/controls/control_paint.h"

namespace Control {

ButtonControl::ButtonControl(Window::WindowControlContainer& container, int32_t x, int32_t y,
                             int32_t w, int32_t h)
    : WindowControlRenderTarget(container, x, y, w, h) {}

ButtonControl::ButtonControl(Window::WindowControl& parent, int32_t x, int32_t y, int32_t w,
                             int32_t h)
    : WindowControlRenderTarget(parent, x, y, w, h) {}

void ButtonControl::ownPress() {
  if (mouseService && mouseService->pressedTarget()) mouseService->ownPress();
}

void ButtonControl::click() {
  // A copy: the owner may replace its callback (or its button) while it runs.
  if (Callback callback = clickCallback) callback(*this);
}

void ButtonControl::procLButtonDown(int32_t, int32_t) {
  ownPress();
  redraw();
  click();
}

void ButtonControl::procMouseHover() {
  if (!toolTipText.empty()) showToolTipAtCursor(toolTipText);
}

void ButtonControl::redraw() { repaint(*this); }

void BitmapButtonControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  if (backgroundBrush) {
    if (selected || hovered || dragging)
      scope.fillClip(bodyBrush(*this, scope.brushes()));
    else
      scope.fillClip(*backgroundBrush);
  }
  if (bitmap) scope.target().drawBitmap(*bitmap, 0, 0, scope.width(), scope.height(), 1.0f);
  if (selected) scope.drawBorder();
}

}  // namespace Control
