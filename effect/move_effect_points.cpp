// The handles a MoveEffect shows at the points of its object: one per point of a moving
// position, and the axis and size handles at the point the setting window edits.
#include "effect/anchor_edit_access.h"
#include "effect/anchor_points.h"
#include "effect/anchor_render_access.h"
#include "effect/move_effect.h"
#include "effect/movement_base.h"

namespace Effect {

namespace {

constexpr XMath::Vector kOrigin{0.0f, 0.0f, 0.0f, 1.0f};
constexpr float kAxisLength = 40.0f;

// The stored values at the point (display units) added to the position the object had
// before this effect placed it.
XMath::Vector storedPosition(const NumberItemList& items, const std::vector<int>& indices,
                             const OutputView& before) {
  return {static_cast<float>(items[0]->getDisplayValue(indices[0])) + before.x,
          static_cast<float>(items[1]->getDisplayValue(indices[1])) + before.y,
          static_cast<float>(items[2]->getDisplayValue(indices[2])) + before.z, 1.0f};
}

}  // namespace

void MoveEffect::setPointAnchor(EffectContext& context, const EffectEntry& entry, int point,
                                int width, int height, int flags) {
  if (!context.anchorList || !context.object || !hasSpaceItems()) return;
  const ObjectFrames frames = context.objectFrames;
  const int midpoints = static_cast<int>(frames.midpoints.size());
  if (!pointValuesAgree(positionItems, midpoints, point)) return;
  const auto indices = pointValueIndices(positionItems, midpoints, point);
  if (!indices || !anyEndValueAt(positionItems, point)) return;

  const AnchorRenderAccess& render = anchorRenderAccess();
  const int frame = anchorPointFrame(frames, point);
  setContextTime(context, frame);
  OutputView view = render.getOutputView(context);
  if (centerAnchor) view.centerX = view.centerY = view.centerZ = 0.0f;
  const XMath::Vector position = storedPosition(positionItems, *indices, context.outputView);
  view.x = position.x;
  view.y = position.y;
  view.z = position.z;
  const XMath::Matrix worldView = getWorldViewMatrix(view);

  Anchor::AnchorList& list = *context.anchorList;
  const bool frameShown =
      !centerAnchor && (handlesAtPoints(*context.object) || frame == frames.start || frame == frames.end);
  Anchor::AnchorItem& item =
      frameShown ? list.addFrame(context.object, entry, point, static_cast<float>(width),
                                 static_cast<float>(height), worldView, flags)
                 : list.addLargeCircle(context.object, entry, point, kOrigin, worldView, flags);
  item.sourceMatrix = render.getViewProjectionMatrix(view);
  item.startPoint = item.currentPoint = position;
}

void MoveEffect::setPointHandles(EffectContext& context, const EffectEntry& entry, int point,
                                 int width, int height) {
  if (!context.anchorList || !context.object || !hasSpaceItems()) return;
  const ObjectFrames frames = context.objectFrames;
  const int midpoints = static_cast<int>(frames.midpoints.size());
  if (!pointValuesAgree(positionItems, midpoints, point)) return;
  if (!anyEndValueAt(positionItems, point)) return;

  const AnchorRenderAccess& render = anchorRenderAccess();
  XMath::Vector handle;
  if (anyItemMoves(positionItems)) {
    const auto indices = pointValueIndices(positionItems, midpoints, point);
    if (!indices) return;
    // Only the handle's place comes from the point; the handles themselves belong to the
    // frame being shown, so the context goes back to it.
    const AnchorContextRestore restore(context);
    setContextTime(context, anchorPointFrame(frames, point));
    handle = storedPosition(positionItems, *indices, context.outputView);
  } else {
    const OutputView view = render.getOutputView(context);
    handle = {view.x, view.y, view.z, 1.0f};
  }

  const int id = anchorPointAtFrame(frames, context.frame);
  const OutputView view = render.getOutputView(context);
  const XMath::Matrix viewProjection = render.getViewProjectionMatrix(view);
  Anchor::AnchorList& list = *context.anchorList;
  if (view.cameraControl) {
    static constexpr int kAxes[3] = {Anchor::Flag::AxisX, Anchor::Flag::AxisY, Anchor::Flag::AxisZ};
    for (int axis = 0; axis < 3; ++axis) {
      XMath::Vector end = handle;
      (axis == 0 ? end.x : axis == 1 ? end.y : end.z) -= kAxisLength;
      Anchor::AnchorItem& item = list.addLine(
          XMath::transform3(handle, viewProjection), XMath::transform3(end, viewProjection),
          context.object, entry, id, handle, viewProjection, Anchor::Flag::AxisHandle | kAxes[axis]);
      item.sourceMatrix = viewProjection;
      item.startPoint = item.currentPoint = handle;
    }
  }

  const SizeItem size = getSizeItem(*context.object);
  if (!size.item || centerAnchor) return;
  const bool atEnd = context.frame == frames.start || context.frame == frames.end;
  if (!handlesAtPoints(*context.object) && !atEnd) return;
  if (!size.item->isValueEditable(context)) return;
  Anchor::SizeHandleFrame frame;
  frame.anchorMatrix = render.getAnchorMatrix(view);
  frame.viewProjection = viewProjection;
  frame.center = {view.centerX, view.centerY, view.centerZ, 1.0f};
  frame.size = static_cast<float>(size.item->getValue(context) * 0.01);
  list.addSizeHandles(context.object, entry, id, static_cast<float>(width),
                      static_cast<float>(height), frame, size.ofInput ? Anchor::Flag::InputSize : 0);
}

}  // namespace Effect
