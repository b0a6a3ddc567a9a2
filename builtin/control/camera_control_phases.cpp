// The camera control's two phases in a frame: the view it publishes for the layers it
// governs, and what it does once they are drawn.
#include <cmath>
#include <cstring>

#include "builtin/control/camera_control.h"
#include "builtin/control/camera_geometry.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "effect/movement_registry.h"
#include "gpu/direct3d_service.h"
#include "gpu/render_buffer.h"
#include "gpu/resource/resource_service.h"
#include "gpu/resource/shader_3d_set.h"
#include "gpu/resource_buffer.h"
#include "render/auxiliary_targets.h"
#include "render/camera_lighting.h"
#include "render/effect_chain.h"
#include "render/render_service.h"

namespace Effect {
namespace {

XMath::Vector point(const std::array<float, 4>& p) { return {p[0], p[1], p[2], p[3]}; }

}  // namespace

XMath::Vector CameraControl::computeTarget(EffectContext& context,
                                           const XMath::Vector& position) const {
  const XMath::Vector offset{static_cast<float>(targetX.getValue(context)),
                             static_cast<float>(targetY.getValue(context)),
                             static_cast<float>(targetZ.getValue(context)), 0.0f};
  // Only a target layer that never moves can name the camera itself: the target then
  // travels with the camera.
  if (isTargetRelative(context))
    return {position.x + offset.x, position.y + offset.y, position.z + offset.z, 1.0f};
  const XMath::Vector target = targetLayer.getTargetPosition(context);
  return {target.x + offset.x, target.y + offset.y, target.z + offset.z, 1.0f};
}

namespace {

// Lays the transparent layer of the camera's objects over the frame.
void resolveTransparentLayer(Media::RenderBuffer& frame) {
  Resource::ResourceService& resources = Resource::ResourceService::Get();
  Resource::Shader3dSet& set = resources.pixelShaders().set3d();
  const Render::AuxiliaryTargets targets(frame, 3);
  set.pixelShader(Resource::Shader3dSet::TRANSPARENT_RESOLVE)
      .draw(resources.blendStates().get(0), nullptr);
  Media::Direct3DService::Get().unbindRenderTargets();
}

}  // namespace

XMath::Matrix CameraControl::makeViewMatrix(const Edit::CameraView& camera) {
  XMath::Vector eye = point(camera.eye);
  XMath::Vector target = point(camera.target);
  if (eye.x == target.x && eye.y == target.y && eye.z == target.z) target.z += 1.0f;
  const XMath::Vector direction{target.x - eye.x, target.y - eye.y, target.z - eye.z, 0.0f};
  const XMath::Vector up{camera.extra[0], camera.extra[1], camera.extra[2], 0.0f};
  const XMath::Matrix look = XMath::lookToLH(eye, direction, up);
  return XMath::multiply(look, XMath::rotationZ(XMath::toRadians(camera.extra[4])));
}

XMath::Matrix CameraControl::makeProjection(float d, float width, float height) {
  XMath::Matrix p;
  p.m[0][0] = 2.0f * d / width;
  p.m[1][1] = -2.0f * d / height;
  p.m[2][3] = 1.0f;
  p.m[3][2] = d / 20.0f;
  return p;
}

void CameraControl::controlVideo(EffectContext& context) {
  Media::RenderBuffer* frame = context.outputView.target;
  if (!frame) return;
  const float width = static_cast<float>(frame->width());
  const float height = static_cast<float>(frame->height());
  // The camera object and its chain are never under a group control.
  context.outputView.groupControl.reset();

  if (context.outputView.cameraControl) {
    // End phase: the lighting, the guides, the transparent layer, then the camera filters'
    // control steps.
    const Edit::CameraView& inEffect =
        freeView && context.scene ? context.scene->camera : camera;
    if (!frame->lightSources.empty())
      Render::drawCameraQuads(*frame, getCornerRays(inEffect, width, height));
    drawGuides(context, *frame);
    resolveTransparentLayer(*frame);
    Render::Chain::collectChain(context, Render::Chain::CameraFilters);
    Render::Chain::controlVideo(context);
    context.objectChain.reset();
    return;
  }

  context.outputView.cameraControl = context.object;
  const Render::RenderService* render = Render::RenderService::instance();
  freeView = render && render->video().settings().cameraFreeView != 0 &&
             context.anchorList != nullptr;
  const XMath::Vector position{static_cast<float>(x.getValue(context)),
                               static_cast<float>(y.getValue(context)),
                               static_cast<float>(z.getValue(context)), 1.0f};
  const XMath::Vector target = computeTarget(context, position);
  camera.eye = {position.x, position.y, position.z, 1.0f};
  camera.target = {target.x, target.y, target.z, 1.0f};
  const float focal =
      CameraGeometry::focalDistance(static_cast<float>(fieldOfView.getValue(context)), height);
  camera.extra = {0.0f, 1.0f, 0.0f, 0.0f, static_cast<float>(roll.getValue(context)), focal};
  guidePoint = {};

  // The camera lights and the camera script see the camera first and may change it.
  Render::Chain::collectChain(context, Render::Chain::CameraFilters);
  Render::Chain::preInputVideo(context);
  context.objectChain.reset();

  const Edit::CameraView& inEffect = freeView && context.scene ? context.scene->camera : camera;
  viewProjection = XMath::multiply(makeViewMatrix(inEffect),
                                   makeProjection(inEffect.extra[5], width, height));
  Edit::CameraView adjusted = inEffect;
  if (adjusted.eye[0] == adjusted.target[0] && adjusted.eye[1] == adjusted.target[1] &&
      adjusted.eye[2] == adjusted.target[2])
    adjusted.target[2] += 1.0f;
  viewDirection = {adjusted.target[0] - adjusted.eye[0], adjusted.target[1] - adjusted.eye[1],
                   adjusted.target[2] - adjusted.eye[2], 0.0f};
  // The camera's handles are built after its end phase, once its range is drawn.
  context.anchorList = nullptr;
}

}  // namespace Effect
