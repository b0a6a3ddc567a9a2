#pragma once
// What the handles are drawn with: the style brushes they use and the few figures they are
// made of, in control pixels. The preview draws on its render target
// (RenderTargetAnchorCanvas); the handle drawing itself only chooses figures and brushes.
#include <optional>
#include <vector>

#include "main_window/preview/anchor_item.h"

namespace Anchor {

// The style.conf [Color] brushes of the handles.
enum class AnchorBrush {
  Anchor, AnchorLine, AnchorIn, AnchorOut, AnchorSelect, AnchorHover, AnchorEdge,
  HandleX, HandleY, HandleZ, HandleXHover, HandleYHover, HandleZHover,
};

// A style brush, or a handle's own colour.
struct Paint {
  AnchorBrush brush = AnchorBrush::Anchor;
  std::optional<Color> color;
  bool operator==(const Paint&) const = default;
};

class AnchorCanvas {
 public:
  virtual ~AnchorCanvas() = default;
  // Opens and closes the drawing scope over the control, clipped to it.
  virtual void begin() = 0;
  virtual void end() = 0;
  // `dashed` strokes with the shared dotted style (3 widths drawn, 3 left out).
  virtual void line(ViewPoint from, ViewPoint to, const Paint& paint, float width,
                    bool dashed) = 0;
  virtual void ring(ViewPoint center, float radius, const Paint& paint, float width,
                    bool dashed) = 0;
  virtual void disc(ViewPoint center, float radius, const Paint& paint) = 0;
  // The closed outline through the points.
  virtual void polygon(const std::vector<ViewPoint>& points, const Paint& paint, float width,
                       bool dashed) = 0;
  virtual void fillRect(ViewPoint topLeft, ViewPoint bottomRight, const Paint& paint) = 0;
  virtual void icon(IconKind icon, ViewPoint topLeft, ViewPoint bottomRight) = 0;
};

}  // namespace Anchor
