#include "ui/controls/track_bar_control.h"

#include <algorithm>
#include <cmath>

#include "ui/controls/control_paint.h"

namespace Control {
TrackBarControl::BarMouse::BarMouse(TrackBarControl& owner)
    : BarPartMouse(owner, owner.value, owner.dragStartValue), bar(owner) {}

void TrackBarControl::BarMouse::procMouseDrag(int32_t dx, int32_t) {
  if (bar.trackLength <= 0) return;
  const float range = static_cast<float>(bar.maximum - bar.minimum);
  bar.changeValue(
      static_cast<int32_t>(range * static_cast<float>(dx) / static_cast<float>(bar.trackLength)) +
      bar.dragStartValue);
}

TrackBarControl::TrackBarControl(Window::WindowControl& parent, int32_t x, int32_t y,
                                 int32_t width, int32_t height)
    : WindowControlRenderTarget(parent, x, y, width, height), handle(*this) {
  updateGeometry();
}

float TrackBarControl::fractionOf(int32_t v) const {
  return static_cast<float>(v - minimum) / static_cast<float>(maximum - minimum + 1);
}

void TrackBarControl::setRange(int32_t n) {
  minimum = std::min(n, 0);
  maximum = std::max(n, 0);
  value = limitTo(value, minimum, maximum);
  setSelectRange(selectStart, selectEnd);
  setSubRange(subStart, subEnd);
  valueFraction = fractionOf(value);
  updateGeometry();
}

void TrackBarControl::setMarkedRange(MarkedRange range, int32_t start, int32_t end) {
  *range.start = limitTo(start, minimum, maximum);
  *range.end = limitTo(end, *range.start, maximum);
  *range.startFraction = fractionOf(*range.start);
  *range.endFraction = fractionOf(*range.end);
  updateGeometry();
}

void TrackBarControl::setSelectRange(int32_t start, int32_t end) {
  setMarkedRange({&selectStart, &selectEnd, &selectStartFraction, &selectEndFraction}, start,
                 end);
}

void TrackBarControl::setSubRange(int32_t start, int32_t end) {
  setMarkedRange({&subStart, &subEnd, &subStartFraction, &subEndFraction}, start, end);
}

void TrackBarControl::setValue(int32_t newValue) {
  value = limitTo(newValue, minimum, maximum);
  valueFraction = fractionOf(value);
  updateGeometry();
}

void TrackBarControl::changeValue(int32_t newValue) {
  newValue = limitTo(newValue, minimum, maximum);
  if (newValue == value) return;
  if (ChangeCallback callback = changeCallback) callback(*this, newValue);
}

void TrackBarControl::updateGeometry() {
  const float h = static_cast<float>(visibleRect.height);
  margin = h * 0.125f;
  handleHalfWidth = std::max(3.0f, (h - 2.0f * margin) * 0.2f);
  const int32_t handleWidth = static_cast<int32_t>(std::lround(2.0f * handleHalfWidth));
  trackLength = visibleRect.width - handleWidth;
  const float track = static_cast<float>(trackLength);
  handlePosition = track * valueFraction;
  selectStartPixel = track * selectStartFraction + handleHalfWidth;
  selectEndPixel = track * selectEndFraction + handleHalfWidth;
  subStartPixel = track * subStartFraction + handleHalfWidth;
  subEndPixel = track * subEndFraction + handleHalfWidth;
  handle.area = {visibleRect.x + static_cast<int32_t>(std::lround(handlePosition)), visibleRect.y,
                 handleWidth, visibleRect.height};
}

void TrackBarControl::procLButtonDown(int32_t x, int32_t y) {
  if (trackLength > 0) {
    // Measured from the range's start, so that a range below zero maps its left end to its
    // minimum as well.
    const float range = static_cast<float>(maximum - minimum);
    const float along = static_cast<float>(x) - handleHalfWidth;
    changeValue(minimum + static_cast<int32_t>(range * along / static_cast<float>(trackLength)));
  }
  // The same press goes on as a drag of the handle, wherever the owner has put it.
  if (!mouseService || mouseService->pressedTarget() != this) return;
  const int32_t windowX = x + visibleRect.x;
  const int32_t windowY = y + visibleRect.y;
  mouseService->handPress(&handle);
  handle.procLButtonDown(windowX - handle.area.x, windowY - handle.area.y);
}

void TrackBarControl::drawRangeMark(ControlDrawScope& scope, float x, const Media::Brush& brush) {
  const float h = static_cast<float>(visibleRect.height);
  scope.drawLine({x, 0.0f}, {x, h}, 1.0f, brush);
  if (margin <= 1.0f) return;
  const Media::Point2F top[3] = {{x - margin, 0.0f}, {x + margin, 0.0f}, {x, margin}};
  const Media::Point2F bottom[3] = {{x - margin, h}, {x + margin, h}, {x, h - margin}};
  scope.target().fillPath(top, brush);
  scope.target().fillPath(bottom, brush);
}

void TrackBarControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  scope.fillClip(*brushes.Background.get());
  // Everything below is placed from the visible part's top-left corner.
  scope.target().originX = visibleRect.x;
  scope.target().originY = visibleRect.y;
  const float w = static_cast<float>(visibleRect.width);
  const float h = static_cast<float>(visibleRect.height);
  const float r = handleHalfWidth;
  const Media::Brush& mark = *brushes.ButtonBodyDisable.get();
  if (selectStart != selectEnd) {
    scope.fillRectangle(selectStartPixel, 1.0f, selectEndPixel, h - 1.0f,
                        *brushes.TrackBarRange.get());
    drawRangeMark(scope, selectStartPixel, mark);
    drawRangeMark(scope, selectEndPixel, mark);
  }
  scope.fillRectangle(r, (h - r) * 0.5f, w - r, (h + r) * 0.5f, mark);
  if (subStart != subEnd)
    scope.fillRectangle(subStartPixel, (h - r) * 0.5f, subEndPixel, (h + r) * 0.5f,
                        *brushes.FrameRangeSelect.get());
  scope.fillRectangle(handlePosition, margin - 1.0f, handlePosition + 2.0f * r, h - margin + 1.0f,
                      bodyBrush(handle, brushes));
}

}  // namespace Control
