#pragma once
// Two plain rectangles: one filled (with an optional painter of its owner's), and one never
// drawn that places a fractional part of its area, as the parent of other controls.
#include <cstdint>
#include <functional>

#include "ui/window_control.h"

namespace Control {

class RectControl : public Window::WindowControlRenderTarget {
 public:
  // Draws inside the control's paint, the origin at the visible part's top-left corner.
  using PaintCallback = std::function<void(RectControl&)>;

  using WindowControlRenderTarget::WindowControlRenderTarget;

  void procPaint() override;

  const Media::Brush* fillBrush = nullptr;
  PaintCallback paintCallback;
};

class LayoutControl : public Window::WindowControl {
 public:
  using WindowControl::WindowControl;

  void procPaint() override {}
  // The rectangle of the layout values, then its part between the fractions.
  void updateLayout() override;

  float left = 0.0f;
  float top = 0.0f;
  float right = 1.0f;
  float bottom = 1.0f;
};

}  // namespace Control
