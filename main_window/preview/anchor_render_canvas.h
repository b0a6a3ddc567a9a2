#pragma once
// The handles drawn on the window's render target, inside the picture control's draw scope
// (clipped to its visible part, origin at its top-left corner), with the style brushes, the
// shared dotted stroke and the style icons.
#include <optional>

#include "main_window/preview/anchor_canvas.h"
#include "ui/controls/control_paint.h"

namespace Anchor {

class RenderTargetAnchorCanvas : public AnchorCanvas {
 public:
  // Only for a paintable control (Control::isPaintable).
  explicit RenderTargetAnchorCanvas(Window::WindowControlRenderTarget& control)
      : control_(control) {}

  void begin() override;
  void end() override;
  void line(ViewPoint from, ViewPoint to, const Paint& paint, float width, bool dashed) override;
  void ring(ViewPoint center, float radius, const Paint& paint, float width,
            bool dashed) override;
  void disc(ViewPoint center, float radius, const Paint& paint) override;
  void polygon(const std::vector<ViewPoint>& points, const Paint& paint, float width,
               bool dashed) override;
  void fillRect(ViewPoint topLeft, ViewPoint bottomRight, const Paint& paint) override;
  void icon(IconKind icon, ViewPoint topLeft, ViewPoint bottomRight) override;

 private:
  // Draws with the paint's brush: a style brush, or a brush of the handle's own colour made
  // for this one figure.
  template <class Draw>
  void withBrush(const Paint& paint, Draw draw);
  const Media::StrokeStyle* stroke(bool dashed) const;

  Window::WindowControlRenderTarget& control_;
  std::optional<Control::ControlDrawScope> scope_;
};

}  // namespace Anchor
