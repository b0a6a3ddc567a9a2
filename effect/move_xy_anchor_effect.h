#pragma once
// Anchor families whose position is a point inside the object's own image plane (a
// gradient's centre, a clipping line, a ripple's origin: MoveXYAnchorEffect, X and Y with
// Z 0), or a point in the object's space that is dragged in three axes
// (MoveXYZAnchorEffect, X, Y and Z).
//
// The handles sit under the object's world-view matrix with the view's centre cleared: the
// current position as a circle, and on the focus object one circle per point, a marker at
// the current position and the trajectory while the position moves.
#include "effect/anchor_effect_base.h"

namespace Effect {

class MoveXYAnchorEffect : public AnchorEffectBase {
 public:
  // The current position (id kCurrentPositionId); on the focus object with a moving
  // position also every point (ids 0 ... midpoints + 1) and the trajectory.
  void setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                 int height) override;
  // A drag adds the handle's travel in the image plane to X and Y, at the handle's point or
  // at every point for the current position.
  void moveAnchor(Anchor::AnchorEvent& event) override;
  void setCurrentAnchor(EffectContext& context, const EffectEntry& entry, int id,
                        int flags) override;
  void setSectionAnchor(EffectContext& context, const EffectEntry& entry, int index,
                        int flags) override;
  XMath::Vector getAnchorPosition(EffectContext& context, double frame) override;

 protected:
  using AnchorEffectBase::AnchorEffectBase;
  // The object's world-view matrix at the context's time, its centre cleared: X and Y are
  // image coordinates around the image's middle.
  static XMath::Matrix planeMatrix(EffectContext& context);
  // Whether the list holds the X and Y items the family works with.
  bool hasPlaneItems() const { return positionItems.size() >= 2; }
};

class MoveXYZAnchorEffect : public AnchorEffectBase {
 public:
  // As the plane drag, with the travel along Z added to the third item.
  void moveAnchor(Anchor::AnchorEvent& event) override;

 protected:
  using AnchorEffectBase::AnchorEffectBase;
};

}  // namespace Effect
