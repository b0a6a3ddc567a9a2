#include "main_window/preview/anchor_render_canvas.h"

#include <cmath>

namespace Anchor {

namespace {

Media::Point2F point(ViewPoint p) { return {p.x, p.y}; }

Media::ComResource<Media::SolidColorBrush>& styleBrush(Window::StyleBrushList& brushes,
                                                       AnchorBrush brush) {
  switch (brush) {
    case AnchorBrush::AnchorLine: return brushes.AnchorLine;
    case AnchorBrush::AnchorIn: return brushes.AnchorIn;
    case AnchorBrush::AnchorOut: return brushes.AnchorOut;
    case AnchorBrush::AnchorSelect: return brushes.AnchorSelect;
    case AnchorBrush::AnchorHover: return brushes.AnchorHover;
    case AnchorBrush::AnchorEdge: return brushes.AnchorEdge;
    case AnchorBrush::HandleX: return brushes.HandleX;
    case AnchorBrush::HandleY: return brushes.HandleY;
    case AnchorBrush::HandleZ: return brushes.HandleZ;
    case AnchorBrush::HandleXHover: return brushes.HandleXHover;
    case AnchorBrush::HandleYHover: return brushes.HandleYHover;
    case AnchorBrush::HandleZHover: return brushes.HandleZHover;
    case AnchorBrush::Anchor: break;
  }
  return brushes.Anchor;
}

// The clipping icons show whether clipping objects are visualised; the camera icons the
// view mode: green the camera's view, white the camera's view locked, grey the free view.
Media::ComResource<Media::Bitmap>& iconBitmap(Window::StyleBitmapList& bitmaps, IconKind icon) {
  switch (icon) {
    case IconKind::ClippingShown: return bitmaps.Clipping;
    case IconKind::ClippingHidden: return bitmaps.ClippingDisabled;
    case IconKind::CameraEditable: return bitmaps.CameraActive;
    case IconKind::CameraLocked: return bitmaps.Camera;
    case IconKind::CameraFreeView: break;
  }
  return bitmaps.CameraDisabled;
}

}  // namespace

void RenderTargetAnchorCanvas::begin() { scope_.emplace(control_); }

void RenderTargetAnchorCanvas::end() { scope_.reset(); }

template <class Draw>
void RenderTargetAnchorCanvas::withBrush(const Paint& paint, Draw draw) {
  if (paint.color) {
    const Color& c = *paint.color;
    const Media::SolidColorBrush own({c[0], c[1], c[2], c[3]});
    draw(scope_->target(), own);
  } else {
    draw(scope_->target(), *styleBrush(scope_->brushes(), paint.brush).get());
  }
}

const Media::StrokeStyle* RenderTargetAnchorCanvas::stroke(bool dashed) const {
  if (!dashed) return nullptr;
  Resource::ResourceService* service = Resource::ResourceService::instance();
  if (service) return service->strokeStyles().get(Resource::StrokeStyleList::kDot);
  // Three widths drawn, three left out, as the shared dotted style.
  static const Media::StrokeStyle dotted(
      {Media::CapStyle::Flat, Media::CapStyle::Flat, Media::LineJoin::Miter, 10.0f, 0.0f},
      {3.0f, 3.0f});
  return &dotted;
}

void RenderTargetAnchorCanvas::line(ViewPoint from, ViewPoint to, const Paint& paint, float width,
                                    bool dashed) {
  withBrush(paint, [&](Media::RenderTarget& target, const Media::Brush& brush) {
    target.drawSegment(point(from), point(to), brush, width, stroke(dashed));
  });
}

void RenderTargetAnchorCanvas::ring(ViewPoint center, float radius, const Paint& paint,
                                    float width, bool dashed) {
  withBrush(paint, [&](Media::RenderTarget& target, const Media::Brush& brush) {
    target.drawCircle(point(center), radius, brush, width, stroke(dashed));
  });
}

void RenderTargetAnchorCanvas::disc(ViewPoint center, float radius, const Paint& paint) {
  withBrush(paint, [&](Media::RenderTarget& target, const Media::Brush& brush) {
    target.fillCircle(point(center), radius, brush);
  });
}

void RenderTargetAnchorCanvas::polygon(const std::vector<ViewPoint>& points, const Paint& paint,
                                       float width, bool dashed) {
  std::vector<Media::Point2F> path;
  for (const ViewPoint& p : points) path.push_back(point(p));
  withBrush(paint, [&](Media::RenderTarget& target, const Media::Brush& brush) {
    target.drawPath(path.data(), static_cast<int32_t>(path.size()), brush, width, stroke(dashed));
  });
}

void RenderTargetAnchorCanvas::fillRect(ViewPoint topLeft, ViewPoint bottomRight,
                                        const Paint& paint) {
  withBrush(paint, [&](Media::RenderTarget&, const Media::Brush& brush) {
    scope_->fillRectangle(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y, brush);
  });
}

void RenderTargetAnchorCanvas::icon(IconKind icon, ViewPoint topLeft, ViewPoint bottomRight) {
  Window::StyleBitmapList* bitmaps = control_.drawing.bitmaps;
  if (!bitmaps) return;
  const Media::Bitmap* bitmap = iconBitmap(*bitmaps, icon).get();
  if (!bitmap) return;
  scope_->target().drawBitmap(*bitmap, static_cast<int32_t>(std::lround(topLeft.x)),
                              static_cast<int32_t>(std::lround(topLeft.y)),
                              static_cast<int32_t>(std::lround(bottomRight.x)),
                              static_cast<int32_t>(std::lround(bottomRight.y)), 1.0f);
}

}  // namespace Anchor
