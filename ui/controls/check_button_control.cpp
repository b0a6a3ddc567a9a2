#include "ui/controls/check_button_control.h"

#include <algorithm>

namespace Control {

CheckButtonControl::CheckButtonControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                       int32_t w, int32_t h)
    : ButtonControl(parent, x, y, w, h) {}

void CheckButtonControl::setCheckCallback(Callback callback) {
  checkCallback = std::move(callback);
  clickCallback = [](ButtonControl& button) {
    auto& check = static_cast<CheckButtonControl&>(button);
    check.checked = !check.checked;
    if (Callback changed = check.checkCallback) changed(check);
  };
}

void CheckButtonControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  const Media::Brush* face = nullptr;
  if (hovered || dragging || (framed && checked))
    face = &bodyBrush(*this, brushes);
  else if (bodyBrushProvider)
    face = bodyBrushProvider();
  if (!face) face = brushes.Grouping.get();
  scope.fillClip(*face);
  drawCheck(scope);
  if (framed) scope.drawBorder();
}

void CheckButtonControl::drawCheck(ControlDrawScope& scope) {
  if (!checked) return;
  const float s = static_cast<float>(std::min(scope.width(), scope.height()));
  const Media::Brush& tick = *scope.brushes().Text.get();
  scope.drawLine({0.2f * s, 0.5f * s}, {0.4f * s, 0.75f * s}, 0.11f * s, tick);
  scope.drawLine({0.4f * s, 0.75f * s}, {0.8f * s, 0.25f * s}, 0.11f * s, tick);
}

CheckBitmapButtonControl::CheckBitmapButtonControl(Window::WindowControl& parent, int32_t x,
                                                   int32_t y, int32_t w, int32_t h)
    : CheckButtonControl(parent, x, y, w, h) {
  framed = false;
}

void CheckBitmapButtonControl::drawCheck(ControlDrawScope& scope) {
  if (const Media::Bitmap* bitmap = checked ? checkedBitmap : uncheckedBitmap)
    scope.target().drawBitmap(*bitmap, 0, 0, scope.width(), scope.height(), 1.0f);
}

void CheckTextButtonControl::drawCheck(ControlDrawScope& scope) {
  if (!font) return;
  MeasuredText measured = measureText(*font, text);
  const Media::Brush& brush = checked ? static_cast<const Media::Brush&>(*scope.brushes().Text.get())
                                      : *scope.brushes().TextDisable.get();
  scope.drawLayout(measured.layout.get(), std::max(2, (scope.width() - measured.width) / 2),
                   std::max(2, (scope.height() - measured.height) / 2), brush);
}

}  // namespace Control
