#include "main_window/preview/anchor_item_list.h"

#include <array>
#include <utility>

namespace Anchor {

namespace {

// w / z - 1: positive in front of the visibility boundary.
float depthMargin(const XMath::Vector& clip) { return clip.w / clip.z - 1.0f; }

XMath::Vector lerp(const XMath::Vector& s, const XMath::Vector& e, float t) {
  return {s.x - t * (s.x - e.x), s.y - t * (s.y - e.y), s.z - t * (s.z - e.z),
          s.w - t * (s.w - e.w)};
}

}  // namespace

bool isVisible(const XMath::Vector& clip) {
  if (clip.w == 0.0f) return false;
  return !(depthMargin(clip) <= 0.0f);
}

ViewPoint viewPosition(const XMath::Vector& clip) { return {clip.x / clip.w, clip.y / clip.w}; }

PreviewAnchor& PreviewAnchorList::append(PreviewAnchor item) {
  return items_.emplace_back(std::move(item));
}

AnchorItem& PreviewAnchorList::scratch() {
  scratch_ = PreviewAnchor{};
  return scratch_;
}

AnchorItem& PreviewAnchorList::addCircle(AnchorType type, const ObjectRef& object,
                                         const EffectEntry& entry, int id,
                                         const XMath::Vector& point, const XMath::Matrix& matrix,
                                         int flags) {
  const XMath::Vector clip = XMath::transform3(point, matrix);
  if (!isVisible(clip)) return scratch();
  PreviewAnchor& item = append({type, flags | Flag::Tooltip, object, entry, id});
  item.points = {viewPosition(clip)};
  return item;
}

AnchorItem& PreviewAnchorList::addLargeCircle(const ObjectRef& object, const EffectEntry& entry,
                                              int id, const XMath::Vector& point,
                                              const XMath::Matrix& matrix, int flags) {
  return addCircle(AnchorType::LargeCircle, object, entry, id, point, matrix, flags);
}

AnchorItem& PreviewAnchorList::addMediumCircle(const ObjectRef& object, const EffectEntry& entry,
                                               int id, const XMath::Vector& point,
                                               const XMath::Matrix& matrix, int flags) {
  return addCircle(AnchorType::MediumCircle, object, entry, id, point, matrix, flags);
}

AnchorItem& PreviewAnchorList::addSmallCircle(const ObjectRef& object, const EffectEntry& entry,
                                              int id, const XMath::Vector& point,
                                              const XMath::Matrix& matrix, int flags) {
  return addCircle(AnchorType::SmallCircle, object, entry, id, point, matrix, flags);
}

AnchorItem& PreviewAnchorList::addFrame(const ObjectRef& object, const EffectEntry& entry, int id,
                                        float width, float height, const XMath::Matrix& matrix,
                                        int flags) {
  const float hw = width / 2.0f;
  const float hh = height / 2.0f;
  const std::array<XMath::Vector, 4> corners{
      XMath::transform3({-hw, hh, 0.0f, 1.0f}, matrix),
      XMath::transform3({-hw, -hh, 0.0f, 1.0f}, matrix),
      XMath::transform3({hw, -hh, 0.0f, 1.0f}, matrix),
      XMath::transform3({hw, hh, 0.0f, 1.0f}, matrix)};
  // Clips the outline at the boundary: each edge keeps its start when that is in front and
  // adds the point where it crosses the boundary.
  std::vector<ViewPoint> outline;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const XMath::Vector& s = corners[i];
    const XMath::Vector& e = corners[(i + 1) % corners.size()];
    const bool sIn = isVisible(s);
    const bool eIn = isVisible(e);
    if (sIn) outline.push_back(viewPosition(s));
    if (sIn == eIn) continue;
    const float ds = depthMargin(s);
    const float de = depthMargin(e);
    const XMath::Vector crossing = lerp(s, e, ds / (ds - de));
    // A boundary point that does not project (an unordered margin) is left out.
    if (crossing.w != 0.0f && crossing.w == crossing.w) outline.push_back(viewPosition(crossing));
  }
  if (outline.size() < 3) return scratch();
  PreviewAnchor& item = append({AnchorType::Frame, flags | Flag::Tooltip, object, entry, id});
  item.points = std::move(outline);
  if (flags & (Flag::Snap | Flag::SnapAllDragged)) {
    // Only a rectangle that faces the viewer (its corners at the centre's depth) snaps.
    const XMath::Vector center = XMath::transform3({0.0f, 0.0f, 0.0f, 1.0f}, matrix);
    for (const XMath::Vector& corner : corners)
      if (corner.z == center.z && corner.w != 0.0f) item.snapPoints.push_back(viewPosition(corner));
  }
  return item;
}

AnchorItem& PreviewAnchorList::addIcon(const ObjectRef& object, const EffectEntry& entry, int id,
                                       IconKind icon) {
  PreviewAnchor& item = append({AnchorType::Icon, Flag::IconFlags, object, entry, id});
  item.icon = icon;
  // The icon's size, not a position: the layout stacks icons at the picture's corner.
  item.points = {{0.0f, 0.0f}, {32.0f, 32.0f}};
  return item;
}

AnchorItem& PreviewAnchorList::addCameraHandle(const ObjectRef& object, const EffectEntry& entry,
                                               int id, int flags) {
  return append({AnchorType::Viewpoint, flags, object, entry, id});
}

AnchorItem& PreviewAnchorList::addLine(const XMath::Vector& projectedStart,
                                       const XMath::Vector& projectedEnd, const ObjectRef& object,
                                       const EffectEntry& entry, int id,
                                       const XMath::Vector& point, const XMath::Matrix& matrix,
                                       int flags) {
  const XMath::Vector& a = projectedStart;
  const XMath::Vector& b = projectedEnd;
  if (!isVisible(a) || !isVisible(b) || (a.x == b.x && a.y == b.y)) return scratch();
  PreviewAnchor& item = append({AnchorType::Line, flags, object, entry, id});
  // The third point lies one clip unit right of the start at the start's depth: the
  // layout keeps the line at a fixed length on screen with it.
  const ViewPoint start = viewPosition(a);
  item.points = {start, viewPosition(b), {start.x + 1.0f / a.w, start.y}};
  item.sourceMatrix = matrix;
  item.startPoint = item.currentPoint = {point.x, point.y, point.z, 1.0f};
  return item;
}

void PreviewAnchorList::addMarker(AnchorType type, const EffectEntry& entry,
                                  const XMath::Vector& point, std::optional<Color> color) {
  if (!isVisible(point)) return;
  PreviewAnchor& item = append({type, 0, nullptr, nullptr, 0});
  item.effectKey = entry.get();
  if (color) item.color = *color;
  item.points = {viewPosition(point)};
}

void PreviewAnchorList::addPoint(const EffectEntry& entry, const XMath::Vector& point,
                                 std::optional<Color> color) {
  addMarker(color ? AnchorType::ColorPoint : AnchorType::Cross, entry, point, color);
}

void PreviewAnchorList::addDot(const EffectEntry& entry, const XMath::Vector& point) {
  addMarker(AnchorType::Dot, entry, point, std::nullopt);
}

void PreviewAnchorList::addPolyline(const EffectEntry& entry,
                                    const std::vector<XMath::Vector>& points,
                                    std::optional<Color> color) {
  // Splits the line where it passes behind the boundary; a lone visible point draws nothing.
  const auto flush = [&](std::vector<ViewPoint>& run) {
    if (run.size() >= 2) {
      PreviewAnchor& item = append(
          {color ? AnchorType::ColorPolyline : AnchorType::Polyline, 0, nullptr, nullptr, 0});
      item.effectKey = entry.get();
      if (color) item.color = *color;
      item.points = std::move(run);
    }
    run.clear();
  };
  std::vector<ViewPoint> run;
  for (const XMath::Vector& point : points) {
    if (isVisible(point))
      run.push_back(viewPosition(point));
    else
      flush(run);
  }
  flush(run);
}

void PreviewAnchorList::addSizeHandles(const ObjectRef& object, const EffectEntry& entry, int id,
                                       float width, float height, const SizeHandleFrame& frame,
                                       int flags) {
  const float hw = width / 2.0f;
  const float hh = height / 2.0f;
  static constexpr std::array<int, 4> kCornerCodes{0xa0, 0xc0, 0x120, 0x140};
  const std::array<XMath::Vector, 4> rectangle{XMath::Vector{-hw, -hh, 0.0f, 1.0f},
                                               XMath::Vector{hw, -hh, 0.0f, 1.0f},
                                               XMath::Vector{hw, hh, 0.0f, 1.0f},
                                               XMath::Vector{-hw, hh, 0.0f, 1.0f}};
  std::array<XMath::Vector, 4> local;  // the corners where the effect keeps them
  std::array<XMath::Vector, 4> clip;   // and on the screen
  for (std::size_t i = 0; i < 4; ++i) {
    local[i] = XMath::transformCoord(rectangle[i], frame.anchorMatrix);
    local[i].w = 1.0f;
    clip[i] = XMath::transform3(local[i], frame.viewProjection);
  }
  for (std::size_t i = 0; i < 4; ++i) {
    const XMath::Vector& corner = clip[i];
    const XMath::Vector& before = clip[(i + 3) % 4];
    const XMath::Vector& after = clip[(i + 1) % 4];
    if (!isVisible(corner) || !isVisible(before) || !isVisible(after)) continue;
    if ((corner.x == before.x && corner.y == before.y) ||
        (corner.x == after.x && corner.y == after.y))
      continue;
    PreviewAnchor& item = append({AnchorType::Square,
                                  flags | Flag::SizeHandle | Flag::Tooltip | kCornerCodes[i],
                                  object, entry, id});
    // The neighbours keep the handles of a small rectangle apart in the layout.
    item.points = {viewPosition(corner), viewPosition(before), viewPosition(after)};
    item.sourceMatrix = frame.viewProjection;
    item.startPoint = item.currentPoint = local[i];
    item.handleCenter = {frame.center.x, frame.center.y, frame.center.z, 1.0f};
    item.handleOffset = XMath::scale3(XMath::subtract3(local[i], item.handleCenter), 0.5f);
    item.startSize = frame.size;
  }
}

}  // namespace Anchor
