// The camera control in the editing preview: the handles it adds to a preview frame and the
// mouse edits on them. A right-button drag anywhere in the preview orbits, pans, zooms or
// flies the camera; the mode icon switches the application-wide free view, in which the
// preview looks through the scene's edit camera and right drags move that camera instead.
//
// The values a drag starts from (the view-projection, the target offset, the target and
// the camera's angles and distance about it) travel in the handle, not in the effect, so
// that a drag never reads what a later frame's render wrote.
#include <algorithm>
#include <cmath>

#include "builtin/control/camera_control.h"
#include "edit/edit_command_view.h"
#include "edit/edit_service.h"
#include "edit/object.h"
#include "edit/render_switches.h"
#include "edit/scene.h"
#include "effect/anchor_edit_access.h"
#include "effect/anchor_points.h"
#include "effect/movement_registry.h"

namespace Effect {
namespace {

// Orbit: radians per pixel of mouse movement.
constexpr double kOrbitPerPixel = 6.2831855 * 0.0005;
// The polar angle stays off the vertical axis, where the view's up vector would flip.
constexpr float kPolarMinimum = 0.001f;
constexpr float kPolarMaximum = 3.1405928f;
// Zoom and fly: world units per pixel.
constexpr float kUnitsPerPixel = 8.0f;
// The nearest a zoom brings the camera to its target.
constexpr float kMinimumDistance = 4.0f;
// The nearest the edit camera's target may lie: closer, the free view would turn on the
// spot at the slightest drag.
constexpr float kFreeViewMinimumDistance = 256.0f;

// Indices of the handle's own numbers.
constexpr std::size_t kPolar = 0;
constexpr std::size_t kAzimuth = 1;
constexpr std::size_t kDistance = 2;
constexpr std::size_t kRelative = 3;

XMath::Vector point(const std::array<float, 4>& p) { return {p[0], p[1], p[2], 1.0f}; }

XMath::Vector valuesAt(const NumberItemList& items, const EffectContext& context) {
  return {static_cast<float>(items[0]->getValue(context)),
          static_cast<float>(items[1]->getValue(context)),
          static_cast<float>(items[2]->getValue(context)), 1.0f};
}

// Where the mouse movement (-dx, -dy) takes the world origin under the handle's matrix: the
// pan that keeps the scene under the mouse.
XMath::Vector panOffset(const Anchor::AnchorEvent& event) {
  Anchor::AnchorEvent probe;
  probe.sourceMatrix = event.sourceMatrix;
  probe.viewWidth = event.viewWidth;
  probe.viewHeight = event.viewHeight;
  probe.deltaX = -event.deltaX;
  probe.deltaY = -event.deltaY;
  probe.startPoint = {0.0f, 0.0f, 0.0f, 1.0f};
  const XMath::Vector moved = probe.movePosition();
  return {moved.x, moved.y, moved.z, 0.0f};
}

std::size_t longestTrack(const NumberItemList& items) {
  std::size_t longest = 0;
  for (const EffectItemNumber* item : items) longest = std::max(longest, item->values.size());
  return longest;
}

void addToItems(const NumberItemList& items, const Anchor::AnchorEvent& event,
                const XMath::Vector& delta) {
  const double values[3] = {delta.x, delta.y, delta.z};
  for (std::size_t axis = 0; axis < 3; ++axis)
    items[axis]->addValue(event.frames, event.id, values[axis]);
}

void setItems(const NumberItemList& items, const Anchor::AnchorEvent& event,
              const XMath::Vector& value) {
  const double values[3] = {value.x, value.y, value.z};
  for (std::size_t axis = 0; axis < 3; ++axis)
    items[axis]->setCurrentValue(event.frames, event.id, values[axis]);
}

// Keeps the edit camera's target at least the minimum distance in front of its eye, on the
// line it lay on (straight ahead along +z when it sat on the eye).
XMath::Vector keepTargetAway(const XMath::Vector& eye, XMath::Vector target) {
  if (target.x == eye.x && target.y == eye.y && target.z == eye.z) target.z += 1.0f;
  const XMath::Vector offset = XMath::subtract3(target, eye);
  if (XMath::length3(offset) >= kFreeViewMinimumDistance) return target;
  const XMath::Vector away =
      XMath::scale3(XMath::normalize3(offset), kFreeViewMinimumDistance);
  return {eye.x + away.x, eye.y + away.y, eye.z + away.z, 1.0f};
}

}  // namespace

bool CameraControl::isTargetRelative(const EffectContext& context) const {
  if (targetLayer.movement != defaultMovement() || targetLayer.values.size() != 1) return false;
  const int layer = static_cast<int>(std::floor(targetLayer.getDisplayValue(0))) - 1;
  return context.object && layer == context.object->layer;
}

void CameraControl::updateAnchor(EffectContext& context, int, int) {
  if (lock || !context.anchorList || !context.object) return;
  const AnchorEditAccess& edit = anchorEditAccess();
  // The end phase runs with the layer at which the pass closed the camera's range: the
  // lock that counts is the one of the camera's own layer.
  if (edit.isLayerLocked(context.scene, context.object->layer)) return;
  const EffectEntry entry = edit.findEffectEntry(*context.object, *this);
  if (!entry) return;
  addCameraAnchors(context, entry);
}

void CameraControl::addCameraAnchors(EffectContext& context, const EffectEntry& entry) {
  if (!context.anchorList || !context.object) return;
  Anchor::AnchorList& list = *context.anchorList;
  const bool freeViewOn = freeView && context.scene;

  if (isFocus(context)) addAnchorPoint(list, entry, point(camera.target), viewProjection);

  if (context.firstCameraScope) {
    Anchor::IconKind icon = Anchor::IconKind::CameraLocked;
    if (freeViewOn)
      icon = Anchor::IconKind::CameraFreeView;
    else if (isAnchorEditable(context) && Effect::isAnchorEditable(targetItems, context))
      icon = Anchor::IconKind::CameraEditable;
    list.addIcon(context.object, entry, Anchor::kCameraModeIconId, icon);
  }

  const XMath::Vector position = valuesAt(positionItems, context);
  const XMath::Vector offset = valuesAt(targetItems, context);
  const XMath::Vector eye = freeViewOn ? point(context.scene->camera.eye) : position;
  const XMath::Vector target =
      freeViewOn ? point(context.scene->camera.target) : computeTarget(context, position);
  const double vx = eye.x - target.x;
  const double vy = eye.y - target.y;
  const double vz = eye.z - target.z;

  const int id = anchorPointAtFrame(context.objectFrames, context.frame);
  Anchor::AnchorItem& handle =
      list.addCameraHandle(context.object, entry, id, Anchor::Flag::RawOffset);
  handle.sourceMatrix = viewProjection;
  handle.startPoint = offset;
  handle.currentPoint = target;
  handle.extra[kPolar] = static_cast<float>(std::atan2(std::sqrt(vx * vx + vz * vz), vy));
  handle.extra[kAzimuth] = static_cast<float>(std::atan2(vx, vz));
  handle.extra[kDistance] = static_cast<float>(std::sqrt(vx * vx + vy * vy + vz * vz));
  handle.extra[kRelative] = !freeViewOn && isTargetRelative(context) ? 1.0f : 0.0f;

  if (freeViewOn) {
    // The camera is seen from outside: it gets the handles of a moved object. They sample
    // other instants of the object; the frame and section position come back afterwards.
    const AnchorContextRestore restore(context);
    MoveEffect::setAnchor(context, entry, 0, 0);
  }
}

bool CameraControl::anchorEvent(Anchor::AnchorEvent& event) {
  if (event.kind == Anchor::EventKind::RightDrag) {
    dragCamera(event);
    return true;
  }
  if (event.kind == Anchor::EventKind::Press && event.id == Anchor::kCameraModeIconId) {
    Edit::EditCommand::setCameraFreeView(!Edit::renderSwitches().isCameraFreeView());
    return true;
  }
  if (event.kind == Anchor::EventKind::Press && event.id == Anchor::kClippingIconId) {
    Edit::EditCommand::setVisibleClippingObjectView(
        !Edit::renderSwitches().isVisibleClippingObject());
    return true;
  }
  return MoveEffect::anchorEvent(event);
}

void CameraControl::dragCamera(Anchor::AnchorEvent& event) {
  AnchorEditAccess& edit = anchorEditAccess();
  const float dx = event.deltaX;
  const float dy = event.deltaY;

  if (event.extra[kRelative] == 1.0f) {
    // The target rides on the camera: moving the camera moves both.
    if (!isCameraEditable(event)) {
      edit.showRefusedCursor();
      return;
    }
    if (event.control) {
      // Mouse up flies forward along the target offset.
      XMath::Vector ahead = event.startPoint;
      ahead.w = 0.0f;
      ahead = XMath::length3(ahead) > 0.0f ? XMath::normalize3(ahead)
                                           : XMath::Vector{0.0f, 0.0f, 1.0f, 0.0f};
      addToItems(positionItems, event, XMath::scale3(ahead, -dy * kUnitsPerPixel));
    } else {
      addToItems(positionItems, event, panOffset(event));
    }
    return;
  }

  float& polar = event.extra[kPolar];
  float& azimuth = event.extra[kAzimuth];
  float& distance = event.extra[kDistance];
  if (event.shift) {
    const XMath::Vector pan = panOffset(event);
    event.startPoint = XMath::add3(event.startPoint, pan);
    event.startPoint.w = 1.0f;
    event.currentPoint = XMath::add3(event.currentPoint, pan);
    event.currentPoint.w = 1.0f;
  } else if (event.control) {
    distance = std::max(distance + dy * kUnitsPerPixel, kMinimumDistance);
  } else {
    azimuth = static_cast<float>(azimuth + dx * kOrbitPerPixel);
    polar = std::clamp(static_cast<float>(polar + dy * kOrbitPerPixel), kPolarMinimum,
                       kPolarMaximum);
  }
  const XMath::Vector& target = event.currentPoint;
  const double r = distance;
  const double sinPolar = std::sin(static_cast<double>(polar));
  const XMath::Vector eye{
      static_cast<float>(target.x + r * sinPolar * std::sin(static_cast<double>(azimuth))),
      static_cast<float>(target.y + r * std::cos(static_cast<double>(polar))),
      static_cast<float>(target.z + r * sinPolar * std::cos(static_cast<double>(azimuth))),
      1.0f};

  if (Edit::renderSwitches().isCameraFreeView()) {
    event.currentPoint = keepTargetAway(eye, event.currentPoint);
    // The distance the next step starts from is the one kept: a shorter stored distance
    // would put the eye back inside the margin and push the camera away at every step.
    distance = std::max(distance, kFreeViewMinimumDistance);
    Edit::EditService* service = Edit::EditService::instance();
    if (!service || !service->currentScene()) return;
    Edit::CameraView& editCamera = service->currentScene()->camera;
    editCamera.eye = {eye.x, eye.y, eye.z, 1.0f};
    editCamera.target = {event.currentPoint.x, event.currentPoint.y, event.currentPoint.z, 1.0f};
    return;
  }
  if (!isCameraEditable(event)) {
    edit.showRefusedCursor();
    return;
  }
  setItems(positionItems, event, eye);
  if (event.shift) setItems(targetItems, event, event.startPoint);
}

bool CameraControl::isCameraEditable(const Anchor::AnchorEvent& event) const {
  const NumberItemList* groups[] = {&positionItems, &targetItems};
  if (event.id == Anchor::kCurrentPositionId) {
    for (const NumberItemList* group : groups)
      if (longestTrack(*group) >= 2) return false;
    return true;
  }
  const std::size_t midpoints = event.frames.midpoints.size();
  if (event.id <= 0 || static_cast<std::size_t>(event.id) > midpoints) return true;
  for (const NumberItemList* group : groups) {
    const std::size_t longest = longestTrack(*group);
    if (longest >= 2 && longest != midpoints + 2) return false;
  }
  return true;
}

}  // namespace Effect
