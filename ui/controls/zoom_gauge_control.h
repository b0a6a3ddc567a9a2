#pragma once
// The timeline's zoom gauge: one bar per step of the zoom table, lit up to the current step.
// A click or a drag across the bars picks a step and the wheel moves one step; the gauge only
// reports the chosen zoom, and its owner applies it and sets the gauge back.
#include <cstdint>
#include <functional>

#include "edit/frame_zoom.h"
#include "ui/window_control.h"

namespace Control {

class ZoomGaugeControl : public Window::WindowControlRenderTarget {
 public:
  using ZoomChangedCallback = std::function<void(ZoomGaugeControl&, int32_t zoom)>;

  // At (x, 0), `w` wide and as tall as the parent.
  ZoomGaugeControl(Window::WindowControl& parent, int32_t x, int32_t w);

  void procMouseMove(int32_t x, int32_t y) override;
  void procLButtonDown(int32_t x, int32_t y) override;
  void procMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void procMouseHover() override;
  void procMouseEnter() override;
  void procMouseLeave() override;
  void procCaptureCancel() override;
  void procPaint() override;
  void procMove() override;

  // Tells the owner of `newZoom` when it differs from the zoom shown.
  void applyZoom(int32_t newZoom);

  Edit::FrameZoom zoom;
  int32_t barCount = static_cast<int32_t>(Edit::FrameZoom::kSteps.size()) - 1;
  int32_t barWidth = 1;
  int32_t leftOffset = 0;
  // Bars with an index below it are lit: the owner sets the zoom's index in the table.
  int32_t litCount = 0;
  ZoomChangedCallback zoomChangedCallback;

 private:
  // The step under a position of the visible part.
  void pickAt(int32_t x);
};

}  // namespace Control
