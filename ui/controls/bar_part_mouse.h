#pragma once
// The dragged part of a range bar (the scroll bar's thumb, the track bar's handle): an input
// target of its own above every control, so that a drag of the part is captured by it alone.
// Its hover and press show on the bar, which it repaints whenever they change. A press
// remembers the bar's position (view start or value) that the drag is measured from.
#include <algorithm>
#include <cstdint>

#include "ui/controls/control_paint.h"
#include "ui/window_control.h"

namespace Control {

class BarPartMouse : public Window::WindowMouse {
 public:
  static constexpr int32_t kPriority = 300;

  // `position` is the bar's field that a press copies into `dragStart`.
  BarPartMouse(Window::WindowControl& owner, const int32_t& position, int32_t& dragStart)
      : WindowMouse(&area, kPriority), owner_(owner), position_(position), dragStart_(dragStart) {}

  // The part owns the press and starts a drag measured from the press point.
  void procLButtonDown(int32_t x, int32_t y) override {
    if (mouseService && mouseService->pressedTarget())
      mouseService->beginDrag(x, y, Window::MouseCursor::Arrow);
    dragStart_ = position_;
    repaint(owner_);
  }

  void procMouseEnter() override { repaint(owner_); }
  void procMouseLeave() override { repaint(owner_); }
  void procCaptureCancel() override { repaint(owner_); }

  Window::Rect area;

 private:
  Window::WindowControl& owner_;
  const int32_t& position_;
  int32_t& dragStart_;
};

// `value` kept in [low, high]; the low end wins when the range is empty.
inline int32_t limitTo(int32_t value, int32_t low, int32_t high) {
  return std::max(low, std::min(value, high));
}

}  // namespace Control
