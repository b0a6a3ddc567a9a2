// The edit control's painting: the field, the selection, the text and the blinking caret.
#include <algorithm>
#include <cmath>

#include "ui/controls/control_paint.h"
#include "ui/controls/edit_control.h"
#include "ui/window_service.h"

namespace Control {

const Media::Brush& EditControl::background() const {
  return backgroundBrush ? *backgroundBrush : *brushes()->Background.get();
}

void EditControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Media::RenderTarget& target = scope.target();
  scope.fillClip(background());
  target.drawRectangle(0, 0, scope.width(), scope.height(),
                       focused ? *brushes()->BorderFocus.get() : *brushes()->Border.get(), 2,
                       nullptr);
  const int32_t left = std::max(fullRect.x + 4, visibleRect.x);
  const int32_t top = std::max(fullRect.y + 4, visibleRect.y);
  const int32_t right = std::min(fullRect.x + fullRect.width - 4, visibleRect.x + visibleRect.width);
  const int32_t bottom =
      std::min(fullRect.y + fullRect.height - 4, visibleRect.y + visibleRect.height);
  if (left < right && top < bottom) {
    Media::RenderTarget::DrawScope area(target, left, top, right, bottom, true);
    target.originX = fullRect.x - scrollX + 4;
    target.originY = fullRect.y - scrollY + 4;
    drawSelectRange();
    scope.drawLayout(layout_.get(), 0, 0, *brushes()->Text.get());
  }
  drawCursor(true);
}

void EditControl::drawSelectRange() {
  if (selectStart >= selectEnd || layout_.empty()) return;
  Media::RenderTarget& target = *drawing.renderTarget;
  for (const EditTextLayout::Box& box : layout_.hitTestTextRange(selectStart, selectEnd)) {
    target.fillRectangle(static_cast<int32_t>(std::floor(box.left)),
                         static_cast<int32_t>(std::floor(box.top)),
                         static_cast<int32_t>(std::ceil(box.left + box.width)),
                         static_cast<int32_t>(std::ceil(box.top + box.height)),
                         *brushes()->TextSelect.get());
  }
}

void EditControl::drawCursor(bool visibleCaret) {
  if (!focused || !isPaintable(*this)) return;
  const EditTextLayout::Box box = layout_.hitTestTextPosition(caret);
  // The 1-pixel strip in control coordinates, then clipped to the visible part.
  const int32_t stripLeft = static_cast<int32_t>(std::floor(box.left)) - scrollX + 4;
  const int32_t stripTop = static_cast<int32_t>(std::lround(box.top)) - scrollY + 4;
  const int32_t stripBottom = stripTop + static_cast<int32_t>(std::lround(box.height));
  const int32_t left = std::max(fullRect.x + stripLeft, visibleRect.x);
  const int32_t right = std::min(fullRect.x + stripLeft + 1, visibleRect.x + visibleRect.width);
  const int32_t top = std::max(fullRect.y + stripTop, visibleRect.y);
  const int32_t bottom = std::min(fullRect.y + stripBottom, visibleRect.y + visibleRect.height);
  if (left >= right || top >= bottom) return;
  ControlDrawScope scope(*this);
  Media::RenderTarget& target = scope.target();
  Media::RenderTarget::DrawScope strip(target, left, top, right, bottom, true);
  target.originX = fullRect.x;
  target.originY = fullRect.y;
  if (visibleCaret) {
    target.fillRectangle(stripLeft, stripTop, stripLeft + 1, stripBottom, *brushes()->Text.get());
    return;
  }
  // Hidden: the strip shows what lies under the caret again.
  target.fillRectangle(stripLeft, stripTop, stripLeft + 1, stripBottom, background());
  target.originX = fullRect.x - scrollX + 4;
  target.originY = fullRect.y - scrollY + 4;
  scope.drawLayout(layout_.get(), 0, 0, *brushes()->Text.get());
}

void EditControl::blink() {
  caretPhase = !caretPhase;
  drawCursor(caretPhase);
  if (focused && isPaintable(*this)) {
    if (Window::WindowService* service = Window::WindowService::instance()) service->present();
  }
}

}  // namespace Control
