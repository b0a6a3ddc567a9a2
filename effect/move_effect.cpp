#include "effect/move_effect.h"

#include "effect/anchor_drag.h"
#include "effect/anchor_edit_access.h"
#include "effect/anchor_points.h"
#include "effect/anchor_render_access.h"
#include "effect/movement_base.h"
#include "effect/movement_registry.h"

namespace Effect {

namespace {

constexpr Anchor::Color kGroupOrange{1.0f, 128.0f / 255.0f, 0.0f, 1.0f};
constexpr XMath::Vector kOrigin{0.0f, 0.0f, 0.0f, 1.0f};
constexpr const char* kInputSizeName = "サイズ";

XMath::Vector positionOf(const OutputView& view) { return {view.x, view.y, view.z, 1.0f}; }

void clearCenter(OutputView& view) { view.centerX = view.centerY = view.centerZ = 0.0f; }

}  // namespace

OutputView MoveEffect::getOutputView(EffectContext& context) {
  OutputView view = context.outputView;
  if (!hasSpaceItems()) return view;
  view.x += static_cast<float>(positionItems[0]->getValue(context));
  view.y += static_cast<float>(positionItems[1]->getValue(context));
  view.z += static_cast<float>(positionItems[2]->getValue(context));
  return view;
}

XMath::Vector MoveEffect::getAnchorPosition(EffectContext& context, double frame) {
  setContextTime(context, frame);
  OutputView view = anchorRenderAccess().getOutputView(context);
  if (centerAnchor) clearCenter(view);
  return XMath::transform3(kOrigin, getWorldViewMatrix(view));
}

void MoveEffect::setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                           int height) {
  if (!context.anchorList || !context.object || !hasSpaceItems()) return;
  const AnchorEditAccess& edit = anchorEditAccess();
  const AnchorRenderAccess& render = anchorRenderAccess();
  centerAnchor = context.individualParts || edit.getSettings().displayCenterAnchor;

  // Snapping compares screen positions in the scene's plane: only without a camera and
  // under no group that turns, lifts or zooms the object.
  int pointFlags = Anchor::Flag::PointAnchor;
  int objectFlags = Anchor::Flag::ObjectAnchor;
  const OutputView& links = context.outputView;
  if (!links.cameraControl && (!links.groupControl || render.isGroupTransformPlain(links))) {
    pointFlags |= Anchor::Flag::Snap;
    objectFlags |= Anchor::Flag::Snap | Anchor::Flag::SnapAllDragged;
  }
  if (context.clippingIcon && edit.isClippingObject(*context.object)) {
    const Anchor::IconKind icon = render.isClippingObjectVisible() ? Anchor::IconKind::ClippingShown
                                                                   : Anchor::IconKind::ClippingHidden;
    context.anchorList->addIcon(context.object, entry, Anchor::kClippingIconId, icon);
  }
  setObjectAnchor(context, entry, width, height, objectFlags);
  if (!isFocus(context)) return;
  setPointHandles(context, entry, edit.getSettingPointIndex(), width, height);
  if (!anyItemMoves(positionItems)) return;
  for (int point = 0; point <= context.sectionPosition.sectionCount; ++point)
    setPointAnchor(context, entry, point, width, height, pointFlags);
  setTrajectoryAnchor(context, entry);
}

void MoveEffect::setObjectAnchor(EffectContext& context, const EffectEntry& entry, int width,
                                 int height, int flags) {
  if (!context.anchorList) return;
  Anchor::AnchorList& list = *context.anchorList;
  const AnchorRenderAccess& render = anchorRenderAccess();
  OutputView view = render.getOutputView(context);
  flags |= hiddenUnlessStaticFocus(context);
  // Only parts drawn one by one make the object a circle here; the display setting shows
  // points as circles but keeps the object's frame.
  if (context.individualParts) clearCenter(view);
  const XMath::Matrix worldView = getWorldViewMatrix(view);
  const int id = Anchor::kCurrentPositionId;
  Anchor::AnchorItem& item =
      context.individualParts
          ? list.addLargeCircle(context.object, entry, id, kOrigin, worldView, flags)
          : list.addFrame(context.object, entry, id, static_cast<float>(width),
                          static_cast<float>(height), worldView, flags);
  item.sourceMatrix = render.getViewProjectionMatrix(view);
  item.startPoint = item.currentPoint = positionOf(view);
  if (!isFocus(context)) return;

  list.addPoint(entry, XMath::transform3({view.centerX, view.centerY, view.centerZ, 1.0f}, worldView),
                std::nullopt);
  if (view.groupControl) {
    const XMath::Matrix groupView =
        XMath::multiply(render.getGroupMatrix(view), render.getViewMatrix(view));
    list.addPoint(entry, XMath::transform3(kOrigin, groupView),
                  getStyleColor("CenterGroup", kGroupOrange));
  }
  if (view.cameraControl) {
    XMath::Vector focus = positionOf(view);
    if (view.groupControl) focus = XMath::transform3(focus, render.getGroupMatrix(view));
    render.storeCameraFocusPoint(view, focus);
  }
}

MoveEffect::SizeItem MoveEffect::getSizeItem(const Edit::Object& object) const {
  if (effectType == EffectType::Output) {
    const std::shared_ptr<EffectBase> first = anchorEditAccess().getFirstEffect(object);
    if (first && first->effectType == EffectType::Input) {
      for (EffectItem* item : first->items) {
        auto* number = dynamic_cast<EffectItemNumber*>(item);
        if (number && number->name == kInputSizeName && number->movement == defaultMovement())
          return {number, true};
      }
    }
  }
  return {sizeItem, false};
}

bool MoveEffect::handlesAtPoints(const Edit::Object& object) const {
  const SizeItem size = getSizeItem(object);
  return size.item && size.item->movement->midpointAnchors && allHandlesAtPoints(positionItems);
}

void MoveEffect::moveAnchor(Anchor::AnchorEvent& event) {
  if (!hasSpaceItems()) return;
  const XMath::Vector last = event.currentPoint;
  XMath::Vector moved = event.movePosition();
  if (event.flags & Anchor::Flag::SizeHandle) {
    event.currentPoint = moved;
    resizeByHandle(event);
    return;
  }
  const bool axisOnly = (event.flags & Anchor::Flag::AxisHandle) != 0;
  if (!axisOnly && (event.flags & Anchor::Flag::Snap) &&
      anchorEditAccess().getSettings().objectMoveSnap)
    moved = snapPosition(event, moved);
  event.currentPoint = moved;
  const double travel[3] = {moved.x - last.x, moved.y - last.y, moved.z - last.z};
  static constexpr int kAxisBits[3] = {Anchor::Flag::AxisX, Anchor::Flag::AxisY,
                                       Anchor::Flag::AxisZ};
  for (int axis = 0; axis < 3; ++axis) {
    double delta = travel[axis];
    if (axisOnly) {
      if (!(event.flags & kAxisBits[axis])) continue;
      delta *= event.axisScale;
    }
    positionItems[static_cast<std::size_t>(axis)]->addValue(event.frames, event.id, delta);
  }
}

void MoveEffect::resizeByHandle(Anchor::AnchorEvent& event) const {
  const HandleResize resize = Effect::resizeByHandle(event.handleCenter, event.startPoint,
                                                     event.currentPoint, event.handleOffset);
  event.currentPoint = resize.handle;
  if (!event.object) return;
  SizeItem size = getSizeItem(*event.object);
  // The handle says whose size it scales; the input's item is used only when it is the one.
  if (size.ofInput != ((event.flags & Anchor::Flag::InputSize) != 0))
    size = (event.flags & Anchor::Flag::InputSize) ? SizeItem{} : SizeItem{sizeItem, false};
  if (!size.item) return;
  // The handle carries the size as a fraction; the item keeps per cent.
  size.item->setCurrentValue(event.frames, event.id, resize.ratio * event.startSize * 100.0);
}

}  // namespace Effect
