#include "effect/anchor_drag.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "effect/anchor_list.h"

namespace Effect {

namespace {

double planeLength(const XMath::Vector& v) { return std::hypot(double{v.x}, double{v.y}); }

// The correction on one axis: target minus candidate for the last pair closer than the
// threshold, or nothing.
std::optional<float> axisCorrection(const std::vector<XMath::Vector>& candidates, float shift,
                                    const std::vector<XMath::Vector>& targets, float threshold,
                                    float XMath::Vector::*axis) {
  std::optional<float> correction;
  for (const XMath::Vector& candidate : candidates) {
    const float moved = candidate.*axis + shift;
    for (const XMath::Vector& target : targets)
      if (std::fabs(target.*axis - moved) < threshold) correction = target.*axis - moved;
  }
  return correction;
}

}  // namespace

HandleResize resizeByHandle(const XMath::Vector& center, const XMath::Vector& start,
                            const XMath::Vector& current, const XMath::Vector& offset) {
  const XMath::Vector fromCenter = XMath::subtract3(current, center);
  const XMath::Vector startFromCenter = XMath::subtract3(start, center);
  const double along =
      double{fromCenter.x} * startFromCenter.x + double{fromCenter.y} * startFromCenter.y;
  const double reach = along <= 0.0 ? kMinimumHandleReach
                                    : std::max(planeLength(fromCenter), double{kMinimumHandleReach});
  const double ratio = reach / std::max(planeLength(startFromCenter), double{kMinimumHandleReach});
  const float r = static_cast<float>(ratio);
  XMath::Vector handle = XMath::add3(center, XMath::scale3(startFromCenter, r / 2.0f));
  handle = XMath::add3(handle, XMath::scale3(offset, r));
  handle.w = 1.0f;
  return {ratio, handle};
}

XMath::Vector snapPosition(const Anchor::AnchorEvent& event, const XMath::Vector& position) {
  if (event.sceneWidth <= 0 || event.sceneHeight <= 0 || event.viewWidth <= 0 ||
      event.viewHeight <= 0)
    return position;
  const float halfWidth = event.sceneWidth / 2.0f;
  const float halfHeight = -event.sceneHeight / 2.0f;  // screen y grows downwards
  const std::vector<XMath::Vector>& candidates =
      (event.flags & Anchor::Flag::SnapAllDragged) ? event.draggedScreenPoints
                                                   : event.itemScreenPoints;
  const float shiftX = (position.x - event.startPoint.x) / halfWidth;
  const float shiftY = (position.y - event.startPoint.y) / halfHeight;
  const std::optional<float> dx =
      axisCorrection(candidates, shiftX, event.otherScreenPoints,
                     kSnapDistance / (event.viewWidth / 2.0f), &XMath::Vector::x);
  const std::optional<float> dy =
      axisCorrection(candidates, shiftY, event.otherScreenPoints,
                     kSnapDistance / (event.viewHeight / 2.0f), &XMath::Vector::y);
  XMath::Vector snapped = position;
  if (dx) snapped.x += *dx * halfWidth;
  if (dy) snapped.y += *dy * halfHeight;
  return snapped;
}

}  // namespace Effect
