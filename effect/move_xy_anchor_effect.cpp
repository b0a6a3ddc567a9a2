#include "effect/move_xy_anchor_effect.h"

#include <algorithm>

#include "effect/anchor_points.h"
#include "effect/anchor_render_access.h"

namespace Effect {

namespace {

// Adds the drag's travel since the last step to the items, one axis per item, and keeps
// where the handle now is.
void addDragTravel(const NumberItemList& items, Anchor::AnchorEvent& event, bool withDepth) {
  const XMath::Vector moved = event.movePosition();
  const XMath::Vector last = event.currentPoint;
  event.currentPoint = {moved.x, moved.y, withDepth ? moved.z : last.z, 1.0f};
  const double travel[3] = {moved.x - last.x, moved.y - last.y, moved.z - last.z};
  const std::size_t axes = std::min<std::size_t>(items.size(), withDepth ? 3 : 2);
  for (std::size_t axis = 0; axis < axes; ++axis)
    items[axis]->addValue(event.frames, event.id, travel[axis]);
}

}  // namespace

XMath::Matrix MoveXYAnchorEffect::planeMatrix(EffectContext& context) {
  OutputView view = anchorRenderAccess().getOutputView(context);
  view.centerX = view.centerY = view.centerZ = 0.0f;
  return getWorldViewMatrix(view);
}

void MoveXYAnchorEffect::setAnchor(EffectContext& context, const EffectEntry& entry, int, int) {
  setCurrentAnchor(context, entry, Anchor::kCurrentPositionId, 0);
  if (!isFocus(context) || !anyItemMoves(positionItems)) return;
  for (int point = 0; point <= context.sectionPosition.sectionCount; ++point)
    setSectionAnchor(context, entry, point, Anchor::Flag::PointAnchor);
  setTrajectoryAnchor(context, entry);
}

void MoveXYAnchorEffect::setCurrentAnchor(EffectContext& context, const EffectEntry& entry,
                                          int id, int flags) {
  if (!context.anchorList || !hasPlaneItems()) return;
  const XMath::Vector point{static_cast<float>(positionItems[0]->getValue(context)),
                            static_cast<float>(positionItems[1]->getValue(context)), 0.0f, 1.0f};
  const XMath::Matrix worldView = planeMatrix(context);
  flags |= hiddenUnlessStaticFocus(context);
  if (!isFilter()) flags |= Anchor::Flag::ObjectAnchor;
  Anchor::AnchorItem& item =
      addAnchorCircle(*context.anchorList, context.object, entry, id, point, worldView, flags);
  item.sourceMatrix = worldView;
  item.startPoint = item.currentPoint = point;
  if (isFocus(context) && anyItemMoves(positionItems))
    addAnchorPoint(*context.anchorList, entry, point, worldView);
}

void MoveXYAnchorEffect::setSectionAnchor(EffectContext& context, const EffectEntry& entry,
                                          int index, int flags) {
  if (!context.anchorList || !hasPlaneItems()) return;
  const ObjectFrames frames = context.objectFrames;
  const int midpoints = static_cast<int>(frames.midpoints.size());
  if (!pointValuesAgree(positionItems, midpoints, index)) return;
  const auto indices = pointValueIndices(positionItems, midpoints, index);
  if (!indices || !anyEndValueAt(positionItems, index)) return;
  setContextTime(context, anchorPointFrame(frames, index));
  const XMath::Matrix worldView = planeMatrix(context);
  // The stored values are those the user placed at the point (display units).
  const XMath::Vector point{
      static_cast<float>(positionItems[0]->getDisplayValue((*indices)[0])),
      static_cast<float>(positionItems[1]->getDisplayValue((*indices)[1])), 0.0f, 1.0f};
  Anchor::AnchorItem& item =
      addAnchorCircle(*context.anchorList, context.object, entry, index, point, worldView, flags);
  item.sourceMatrix = worldView;
  item.startPoint = item.currentPoint = point;
}

XMath::Vector MoveXYAnchorEffect::getAnchorPosition(EffectContext& context, double frame) {
  setContextTime(context, frame);
  const XMath::Matrix worldView = planeMatrix(context);
  if (!hasPlaneItems()) return XMath::transform3({0.0f, 0.0f, 0.0f, 1.0f}, worldView);
  const XMath::Vector point{
      static_cast<float>(positionItems[0]->getValueAtFrame(context, context.time)),
      static_cast<float>(positionItems[1]->getValueAtFrame(context, context.time)), 0.0f, 1.0f};
  return XMath::transform3(point, worldView);
}

void MoveXYAnchorEffect::moveAnchor(Anchor::AnchorEvent& event) {
  addDragTravel(positionItems, event, false);
}

void MoveXYZAnchorEffect::moveAnchor(Anchor::AnchorEvent& event) {
  addDragTravel(positionItems, event, true);
}

}  // namespace Effect
