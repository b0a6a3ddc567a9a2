#pragma once
// Several parts of the timeline repainted together: one draw scope over the window while
// they paint, then the window shows the result once.
#include <algorithm>

#include "gpu/resource/resource_service.h"
#include "ui/controls/control_paint.h"
#include "ui/window_client.h"
#include "ui/window_control.h"
#include "ui/window_service.h"

namespace Component {

template <class Paint>
void paintTogether(Window::WindowClientRenderTarget& window, Paint&& paint) {
  Media::RenderTarget* target = window.drawing.renderTarget;
  if (!target || window.isHidden()) return;
  {
    const Window::Rect& r = window.rect;
    Media::RenderTarget::DrawScope scope(*target, r.x, r.y, r.x + r.width, r.y + r.height, true);
    paint();
  }
  if (Window::WindowService* service = Window::WindowService::instance()) service->present();
}

}  // namespace Component

namespace Component {

// Inside a control's paint: drawing clipped to a rectangle of the control (control
// coordinates) and to its visible part, with the origin at the rectangle's top-left corner.
class AreaDrawScope {
 public:
  AreaDrawScope(Window::WindowControlRenderTarget& control, int32_t left, int32_t top,
                int32_t right, int32_t bottom)
      : scope_(*control.drawing.renderTarget, clipLeft(control, left), clipTop(control, top),
               std::max(clipLeft(control, left), clipRight(control, right)),
               std::max(clipTop(control, top), clipBottom(control, bottom)), true) {
    control.drawing.renderTarget->originX = control.fullRect.x + left;
    control.drawing.renderTarget->originY = control.fullRect.y + top;
  }

 private:
  static int32_t clipLeft(const Window::WindowControl& c, int32_t left) {
    return std::max(c.fullRect.x + left, c.visibleRect.x);
  }
  static int32_t clipTop(const Window::WindowControl& c, int32_t top) {
    return std::max(c.fullRect.y + top, c.visibleRect.y);
  }
  static int32_t clipRight(const Window::WindowControl& c, int32_t right) {
    return std::min(c.fullRect.x + right, c.visibleRect.x + c.visibleRect.width);
  }
  static int32_t clipBottom(const Window::WindowControl& c, int32_t bottom) {
    return std::min(c.fullRect.y + bottom, c.visibleRect.y + c.visibleRect.height);
  }

  Media::RenderTarget::DrawScope scope_;
};

}  // namespace Component

namespace Component {

// One row of a timeline column (a header or a row of objects): the control's paint scope,
// then the row's clip with the origin at the row's top-left corner.
struct RowDrawScope {
  RowDrawScope(Window::WindowControlRenderTarget& control, int32_t rowTop, int32_t rowHeight)
      : paint(control), row(control, 0, rowTop, control.fullRect.width, rowTop + rowHeight) {}

  Control::ControlDrawScope paint;
  AreaDrawScope row;
};

// The background of a row and its header: the hovered layer, a hidden one, or `plain`.
inline const Media::Brush& rowBackground(Window::StyleBrushList& brushes, bool hovered,
                                         bool hidden, const Media::Brush& plain) {
  if (hovered) return *brushes.LayerHover.get();
  if (hidden) return *brushes.LayerDisable.get();
  return plain;
}

}  // namespace Component

namespace Component {

// The first shared stroke style (its dash pattern) of outlines and grid lines, when the
// shared resources exist; plain lines otherwise.
inline const Media::StrokeStyle* dashedStroke() {
  Resource::ResourceService* resources = Resource::ResourceService::instance();
  return resources ? resources->strokeStyles().get(Resource::StrokeStyleList::kDot) : nullptr;
}

// Fills a band with a gradient running down from its top centre to its vertical middle.
inline void fillBandGradient(Media::RenderTarget& target, int32_t left, int32_t top,
                             int32_t right, int32_t bottom, Media::LinearGradientBrush& brush) {
  const float centre = static_cast<float>(left + right) / 2 + static_cast<float>(target.originX);
  const float y0 = static_cast<float>(top + target.originY);
  brush.setStartPoint({centre, y0});
  brush.setEndPoint({centre, (y0 + static_cast<float>(bottom + target.originY)) / 2});
  target.fillRectangle(left, top, right, bottom, brush);
}

}  // namespace Component
