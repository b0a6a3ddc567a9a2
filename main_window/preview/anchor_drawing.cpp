#include "main_window/preview/anchor_drawing.h"

#include <algorithm>
#include <vector>

#include "edit/object.h"

namespace Anchor {

namespace {

constexpr float kThinWidth = 1.2f;     // handles at rest
constexpr float kWideWidth = 2.2f;     // markers, and hovered or selected handles
constexpr float kOutlineWidth = 2.8f;  // the outline under wide strokes
constexpr float kOutlineExtra = 0.6f;  // the outline under strokes of a given width
constexpr float kSquareHalf = 6.0f;

const Paint kEdge{AnchorBrush::AnchorEdge, std::nullopt};

Paint own(const PreviewAnchor& item) { return {AnchorBrush::Anchor, item.color}; }

float ringRadius(AnchorType type) {
  switch (type) {
    case AnchorType::SmallCircle: return 10.0f;
    case AnchorType::MediumCircle: return 20.0f;
    default: return 36.0f;
  }
}

std::vector<ViewPoint> squareAround(ViewPoint p) {
  return {{p.x - kSquareHalf, p.y - kSquareHalf}, {p.x + kSquareHalf, p.y - kSquareHalf},
          {p.x + kSquareHalf, p.y + kSquareHalf}, {p.x - kSquareHalf, p.y + kSquareHalf}};
}

bool isWholeObjectOfSelected(const AnchorControl& control, const PreviewAnchor& item) {
  return item.id == kCurrentPositionId && (item.flags & Flag::ObjectAnchor) && item.owner &&
         control.host().isSelected(*item.owner);
}

AnchorBrush axisBrush(const PreviewAnchor& item, AnchorBrush x, AnchorBrush y, AnchorBrush z,
                      AnchorBrush otherwise) {
  if (item.flags & Flag::AxisX) return x;
  if (item.flags & Flag::AxisY) return y;
  if (item.flags & Flag::AxisZ) return z;
  return otherwise;
}

}  // namespace

AnchorBrush anchorBrush(const PreviewAnchor& item, const SectionHighlight& section) {
  switch (item.type) {
    case AnchorType::LargeCircle:
    case AnchorType::Frame:
      if (item.id >= 0 && item.id < kCurrentPositionId && section.currentSection >= 0) {
        if (item.id == section.currentSection) return AnchorBrush::AnchorIn;
        if (section.showsSectionEnd && item.id == section.currentSection + 1)
          return AnchorBrush::AnchorOut;
      }
      return AnchorBrush::Anchor;
    case AnchorType::Line:
      return axisBrush(item, AnchorBrush::HandleX, AnchorBrush::HandleY, AnchorBrush::HandleZ,
                       AnchorBrush::Anchor);
    default:
      return AnchorBrush::Anchor;
  }
}

void drawAnchor(AnchorCanvas& canvas, const PreviewAnchor& item, AnchorBrush brush, float width,
                bool dashed, bool hovered) {
  const auto& px = item.pixels;
  if (px.empty()) return;
  const ViewPoint p = px.front();
  const Paint paint{brush, std::nullopt};
  switch (item.type) {
    case AnchorType::Icon:
      if (px.size() < 2) return;
      if (hovered) {
        const std::vector<ViewPoint> box{px[0], {px[1].x, px[0].y}, px[1], {px[0].x, px[1].y}};
        canvas.polygon(box, kEdge, kOutlineWidth, false);
        canvas.polygon(box, paint, kWideWidth, false);
      } else {
        canvas.icon(item.icon, px[0], px[1]);
      }
      return;
    case AnchorType::Cross: {
      const auto draw = [&](const Paint& with, float w) {
        canvas.line({p.x - 8.0f, p.y}, {p.x + 8.0f, p.y}, with, w, false);
        canvas.line({p.x, p.y - 8.0f}, {p.x, p.y + 8.0f}, with, w, false);
        canvas.ring(p, 4.0f, with, w, false);
      };
      draw(kEdge, kOutlineWidth);
      draw(paint, kWideWidth);
      return;
    }
    case AnchorType::ColorPoint:
      canvas.ring(p, 4.0f, kEdge, kOutlineWidth, false);
      canvas.ring(p, 4.0f, own(item), kWideWidth, false);
      return;
    case AnchorType::Line:
      if (px.size() < 2) return;
      canvas.line(px[0], px[1], kEdge, kOutlineWidth, false);
      canvas.disc(px[1], 5.3f, kEdge);
      canvas.line(px[0], px[1], paint, kWideWidth, false);
      canvas.disc(px[1], 5.0f, paint);
      return;
    case AnchorType::Square:
      if (hovered) {
        canvas.fillRect({p.x - kSquareHalf, p.y - kSquareHalf},
                        {p.x + kSquareHalf, p.y + kSquareHalf}, paint);
      } else {
        canvas.polygon(squareAround(p), kEdge, width + kOutlineExtra, false);
        canvas.polygon(squareAround(p), paint, width, false);
      }
      return;
    case AnchorType::SmallCircle:
    case AnchorType::MediumCircle:
    case AnchorType::LargeCircle:
      canvas.ring(p, ringRadius(item.type), kEdge, width + kOutlineExtra, false);
      canvas.ring(p, ringRadius(item.type), paint, width, dashed);
      return;
    case AnchorType::Frame:
      canvas.polygon(px, kEdge, width + kOutlineExtra, false);
      canvas.polygon(px, paint, width, dashed);
      return;
    case AnchorType::ColorPolyline:
      for (std::size_t i = 1; i < px.size(); ++i) {
        canvas.line(px[i - 1], px[i], kEdge, width + kOutlineExtra, false);
        canvas.line(px[i - 1], px[i], own(item), width, dashed);
      }
      return;
    case AnchorType::Polyline:
      // Always the line colour, whatever brush is asked for.
      for (std::size_t i = 1; i < px.size(); ++i) {
        canvas.line(px[i - 1], px[i], kEdge, kOutlineWidth, false);
        canvas.line(px[i - 1], px[i], {AnchorBrush::AnchorLine, std::nullopt}, kWideWidth, false);
      }
      return;
    case AnchorType::Dot:
      canvas.disc(p, 3.3f, kEdge);
      canvas.disc(p, 3.0f, paint);
      return;
    case AnchorType::Viewpoint:
      return;
  }
}

void drawAnchors(const AnchorControl& control, AnchorCanvas& canvas,
                 const SectionHighlight& section) {
  if (control.anchors().empty()) return;
  canvas.begin();
  std::vector<const PreviewAnchor*> order;
  for (const PreviewAnchor& item : control.anchors().items())
    if (!(item.flags & Flag::NoDraw)) order.push_back(&item);
  // Higher types first: frames and circles under squares, lines and points; icons on top.
  std::stable_sort(order.begin(), order.end(), [](const PreviewAnchor* a, const PreviewAnchor* b) {
    return a->type > b->type;
  });
  const PreviewAnchor* hovered = control.hovered();
  const bool hideOthers = hovered && control.host().hoverHidesOtherAnchors();
  for (const PreviewAnchor* item : order) {
    if (isWholeObjectOfSelected(control, *item)) {
      drawAnchor(canvas, *item, AnchorBrush::AnchorSelect, kWideWidth, false, false);
      continue;
    }
    if (item->flags & Flag::Hidden) continue;
    if (hideOthers && item->effectKey != hovered->effectKey && !(item->flags & Flag::Pinned))
      continue;
    drawAnchor(canvas, *item, anchorBrush(*item, section), kThinWidth,
               item->id != kCurrentPositionId, false);
  }
  if (hovered) {
    AnchorBrush brush = AnchorBrush::AnchorHover;
    if (hovered->type == AnchorType::Line)
      brush = axisBrush(*hovered, AnchorBrush::HandleXHover, AnchorBrush::HandleYHover,
                        AnchorBrush::HandleZHover, AnchorBrush::AnchorHover);
    else if (isWholeObjectOfSelected(control, *hovered))
      brush = AnchorBrush::AnchorSelect;
    drawAnchor(canvas, *hovered, brush, kWideWidth, false, true);
  }
  canvas.end();
}

}  // namespace Anchor
