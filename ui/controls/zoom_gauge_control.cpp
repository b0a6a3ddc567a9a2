#include "ui/controls/zoom_gauge_control.h"

#include <algorithm>

#include "ui/controls/control_paint.h"

namespace Control {
namespace {

constexpr int32_t kStepCount = static_cast<int32_t>(Edit::FrameZoom::kSteps.size());

int32_t stepIndex(int32_t zoom) {
  const auto& steps = Edit::FrameZoom::kSteps;
  const auto found = std::find(steps.begin(), steps.end(), zoom);
  return found == steps.end() ? -1 : static_cast<int32_t>(found - steps.begin());
}

}  // namespace

ZoomGaugeControl::ZoomGaugeControl(Window::WindowControl& parent, int32_t x, int32_t w)
    : WindowControlRenderTarget(parent, x, 0, w, 0) {
  acceptsWheel = true;
}

void ZoomGaugeControl::procMove() {
  barCount = kStepCount - 1;
  barWidth = std::max(1, fullRect.width / barCount);
  leftOffset = (fullRect.width - barCount * barWidth) / 2;
}

void ZoomGaugeControl::applyZoom(int32_t newZoom) {
  if (newZoom == zoom.zoom) return;
  if (ZoomChangedCallback callback = zoomChangedCallback) callback(*this, newZoom);
}

void ZoomGaugeControl::pickAt(int32_t x) {
  const int32_t controlX = x + visibleRect.x - fullRect.x;
  const int32_t step = std::clamp((controlX - leftOffset) / barWidth + 1, 0, barCount);
  int32_t picked = Edit::FrameZoom::kSteps[static_cast<std::size_t>(step)];
  if (zoom.normalizer) zoom.normalizer(picked);
  applyZoom(picked);
}

void ZoomGaugeControl::procLButtonDown(int32_t x, int32_t) {
  if (mouseService && mouseService->pressedTarget()) mouseService->ownPress();
  pickAt(x);
}

void ZoomGaugeControl::procMouseMove(int32_t x, int32_t) {
  // While pressed, a drag across the bars follows the pointer.
  if (dragging) pickAt(x);
}

void ZoomGaugeControl::procMouseWheel(int32_t, int32_t, int32_t delta) {
  const int32_t step = std::clamp(stepIndex(zoom.zoom) + (delta > 0 ? 1 : -1), 0, kStepCount - 1);
  applyZoom(Edit::FrameZoom::kSteps[static_cast<std::size_t>(step)]);
}

void ZoomGaugeControl::procMouseHover() {
  showToolTipAtCursor("レイヤー表示の拡大率を変更");
}

void ZoomGaugeControl::procMouseEnter() { repaint(*this); }
void ZoomGaugeControl::procMouseLeave() { repaint(*this); }
void ZoomGaugeControl::procCaptureCancel() { repaint(*this); }

void ZoomGaugeControl::procPaint() {
  if (!isPaintable(*this)) return;
  ControlDrawScope scope(*this);
  Window::StyleBrushList& brushes = scope.brushes();
  scope.fillClip(*brushes.Background.get());
  for (int32_t i = 0; i < barCount; ++i) {
    const bool lit = i < litCount;
    const Media::Brush& brush = lit ? (hovered ? *brushes.ZoomGaugeHover.get()
                                               : *brushes.ZoomGauge.get())
                                    : (hovered ? *brushes.ZoomGaugeOffHover.get()
                                               : *brushes.ZoomGaugeOff.get());
    const int32_t left = leftOffset + i * barWidth;
    scope.target().fillRectangle(left, 2, left + barWidth - 1, visibleRect.height - 2, brush);
  }
}

}  // namespace Control
