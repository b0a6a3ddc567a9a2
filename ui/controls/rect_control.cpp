#include "ui/controls/rect_control.h"

#include "ui/controls/control_paint.h"

namespace Control {

void RectControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  if (fillBrush) scope.fillClip(*fillBrush);
  if (PaintCallback callback = paintCallback) {
    scope.target().originX = visibleRect.x;
    scope.target().originY = visibleRect.y;
    callback(*this);
  }
}

void LayoutControl::updateLayout() {
  WindowControl::updateLayout();
  const Window::Rect area = fullRect;
  const auto part = [](int32_t size, float fraction) {
    return static_cast<int32_t>(static_cast<float>(size) * fraction);  // toward zero
  };
  setRect(area.x + part(area.width, left), area.y + part(area.height, top),
          area.x + part(area.width, right), area.y + part(area.height, bottom));
}

}  // namespace Control
