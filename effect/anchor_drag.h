#pragma once
// The arithmetic of dragging an object's handles in the preview: the scale factor a size
// handle gives and where the handle is then drawn, and the correction that snaps a
// dragged object to the other objects' positions.
#include "effect/anchor_event.h"
#include "system/xmath.h"

namespace Effect {

// Lengths below this many units count as this many, so that a handle dragged onto the
// centre neither divides by zero nor collapses the object.
inline constexpr float kMinimumHandleReach = 16.0f;
// How close, in preview pixels, a position must come to another object's to snap to it.
inline constexpr float kSnapDistance = 8.0f;

struct HandleResize {
  double ratio = 1.0;     // the new size over the size at the press
  XMath::Vector handle;   // where the handle is drawn now
};

// The resize a size handle gives: c the object's centre, s where the handle started, p
// where it is now, over x and y only. Dragged past the centre (the two directions apart by
// 90 degrees or more) the object takes the smallest reach.
HandleResize resizeByHandle(const XMath::Vector& center, const XMath::Vector& start,
                            const XMath::Vector& current, const XMath::Vector& offset);

// The dragged position corrected so that a candidate point of the dragged item lands on a
// nearby point of another object, each axis on its own. Candidates are the item's own
// projected points, or with Anchor::Flag::SnapAllDragged the positions of every dragged
// object; both move by the drag so far before they are compared. Without a scene or a
// preview size nothing snaps.
XMath::Vector snapPosition(const Anchor::AnchorEvent& event, const XMath::Vector& position);

}  // namespace Effect
