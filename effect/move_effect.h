#pragma once
// The anchor family of effects that place the whole object in its parent space: the
// drawing outputs (their X, Y, Z and 拡大率), the particle output, camera control and
// group control (X, Y, Z without a size).
//
// The object shows its frame (or a circle at its origin when it is drawn as several parts
// or the setting asks for centre anchors); a drag moves X, Y and Z, snapping to other
// objects where no camera and no turned group governs it. On the focus object it also
// shows one handle per point, the trajectory, axis handles under a camera and size
// handles that scale the size item.
#include "effect/anchor_effect_base.h"

namespace Effect {

class MoveEffect : public AnchorEffectBase {
 public:
  // The item a size handle scales and whether it belongs to the input effect.
  struct SizeItem {
    EffectItemNumber* item = nullptr;
    bool ofInput = false;
  };

  void setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                 int height) override;
  // A size handle scales the size item, an axis handle moves one axis, any other handle
  // moves X, Y and Z by its travel (snapped when allowed).
  void moveAnchor(Anchor::AnchorEvent& event) override;
  // The projected origin of the object at that instant.
  XMath::Vector getAnchorPosition(EffectContext& context, double frame) override;
  // For camera control and group control: the context's view moved by X, Y and Z.
  OutputView getOutputView(EffectContext& context) override;

  // The object's own handle (id kCurrentPositionId) and, on the focus object, the markers
  // at its centre and its group's origin; hands the focus object's position to a
  // governing camera.
  void setObjectAnchor(EffectContext& context, const EffectEntry& entry, int width, int height,
                       int flags);
  // The axis and size handles at the point the setting window is editing.
  void setPointHandles(EffectContext& context, const EffectEntry& entry, int point, int width,
                       int height);
  // The handle of one point of a moving position.
  void setPointAnchor(EffectContext& context, const EffectEntry& entry, int point, int width,
                      int height, int flags);
  // An output's size handles edit its input's "サイズ" when the input keeps one without
  // movement; otherwise this effect's own size item, if it has one.
  SizeItem getSizeItem(const Edit::Object& object) const;

  // The object is shown as a circle at its origin; recomputed at every setAnchor.
  bool centerAnchor = false;
  // The effect's own size item (an output's 拡大率); camera and group control have none.
  EffectItemNumber* sizeItem = nullptr;

 protected:
  using AnchorEffectBase::AnchorEffectBase;
  bool hasSpaceItems() const { return positionItems.size() >= 3; }
  // Whether the position and the size offer handles at every point.
  bool handlesAtPoints(const Edit::Object& object) const;
  void resizeByHandle(Anchor::AnchorEvent& event) const;
};

}  // namespace Effect
