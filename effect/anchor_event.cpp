#include "effect/anchor_event.h"

namespace Anchor {

XMath::Vector AnchorEvent::movePosition() const {
  const XMath::Vector start{startPoint.x, startPoint.y, startPoint.z, 1.0f};
  if (viewWidth <= 0 || viewHeight <= 0) return start;
  XMath::Vector projected = XMath::transform4(start, sourceMatrix);
  if (projected.w == 0.0f) return start;
  projected.x += 2.0f * deltaX / static_cast<float>(viewWidth) * projected.w;
  projected.y -= 2.0f * deltaY / static_cast<float>(viewHeight) * projected.w;
  double determinant = 0.0;
  const XMath::Matrix back = XMath::inverse(sourceMatrix, &determinant);
  if (determinant == 0.0) return start;
  const XMath::Vector moved = XMath::transform4(projected, back);
  if (moved.w == 0.0f) return start;
  return {moved.x / moved.w, moved.y / moved.w, moved.z / moved.w, 1.0f};
}

}  // namespace Anchor
