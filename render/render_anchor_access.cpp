#include "render/render_anchor_access.h"

#include "render/control_state.h"
#include "render/effect_chain.h"
#include "render/render_service.h"
#include "render/transform.h"

namespace Render {

Effect::OutputView RenderAnchorAccess::getOutputView(Effect::EffectContext& context) const {
  return Chain::getOutputView(context);
}

XMath::Matrix RenderAnchorAccess::getObjectMatrix(const Effect::OutputView& view) const {
  return Render::getObjectMatrix(view);
}

XMath::Matrix RenderAnchorAccess::getViewMatrix(const Effect::OutputView& view) const {
  return Render::getViewMatrix(view);
}

XMath::Matrix RenderAnchorAccess::getViewProjectionMatrix(const Effect::OutputView& view) const {
  return Render::getViewProjectionMatrix(view);
}

XMath::Matrix RenderAnchorAccess::getAnchorMatrix(const Effect::OutputView& view) const {
  return Transform::of(view).getAnchorMatrix();
}

bool RenderAnchorAccess::isGroupTransformPlain(const Effect::OutputView& view) const {
  const GroupControlState* group = published<GroupControlState>(view.groupControl);
  return !group || group->isFlat;
}

XMath::Matrix RenderAnchorAccess::getGroupMatrix(const Effect::OutputView& view) const {
  const GroupControlState* group = published<GroupControlState>(view.groupControl);
  return group ? group->worldMatrix : XMath::identity();
}

void RenderAnchorAccess::storeCameraFocusPoint(const Effect::OutputView& view,
                                               const XMath::Vector& point) const {
  if (CameraControlState* camera = published<CameraControlState>(view.cameraControl))
    camera->guidePoint = point;
}

bool RenderAnchorAccess::isClippingObjectVisible() const {
  const RenderService* service = RenderService::instance();
  return !service || service->video().settings().visibleClippingObject != 0;
}

}  // namespace Render
