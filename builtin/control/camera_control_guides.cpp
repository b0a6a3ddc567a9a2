// The camera control's editing guides in the preview: the ground grid, the axes through the
// focused point and, in free view, the frame of the camera the picture is rendered with.
#include "builtin/control/camera_control.h"
#include "builtin/control/camera_geometry.h"
#include "edit/object.h"
#include "edit/scene.h"
#include "gpu/render_buffer.h"
#include "render/render_service.h"

namespace Effect {
namespace {

constexpr float kGridColour[4] = {0.4f, 0.4f, 0.4f, 0.8f};
constexpr float kAxisXColour[4] = {0.4f, 0.15f, 0.15f, 0.4f};
constexpr float kAxisZColour[4] = {0.15f, 0.15f, 0.4f, 0.4f};
constexpr float kAxisYColour[4] = {0.1f, 0.2f, 0.1f, 0.4f};
constexpr float kFrameColour[4] = {1.0f, 1.0f, 1.0f, 0.8f};
constexpr float kShadowFace[4] = {0.0f, 0.0f, 0.0f, 0.3f};
constexpr float kLitFace[4] = {1.0f, 1.0f, 1.0f, 0.3f};
// How far the axis lines reach each way.
constexpr float kAxisReach = 1000000.0f;

XMath::Vector point(const std::array<float, 4>& p) { return {p[0], p[1], p[2], 1.0f}; }

}  // namespace

std::array<XMath::Vector, 4> CameraControl::getCornerRays(const Edit::CameraView& camera,
                                                          float width, float height) {
  return CameraGeometry::cornerRays(camera, width, height);
}

void CameraControl::drawGuides(EffectContext& context, Media::RenderBuffer& frame) {
  if (!context.anchorList) return;
  const Render::RenderService* render = Render::RenderService::instance();
  if (!render) return;
  const Render::VideoSettings settings = render->video().settings();
  const Edit::CameraView& inEffect = freeView && context.scene ? context.scene->camera : camera;
  if (!resource_) createResource();
  CameraGuideResource::Drawing drawing(*resource_, frame, viewProjection, inEffect.extra[5]);

  if (settings.cameraGrid != 0) {
    for (const CameraGeometry::Segment& line :
         CameraGeometry::gridLines(settings.cameraGridRange, settings.cameraGridStep))
      drawing.drawGuideLine(line.from, line.to, 1.0f);
    drawing.flushLines(kGridColour);
  }

  if (context.scene && context.scene->focusObject &&
      context.scene->focusObject == context.outputView.cameraControl)
    guidePoint = point(camera.target);
  if (guidePoint.w > 0.0f) {
    const float gx = guidePoint.x, gy = guidePoint.y, gz = guidePoint.z;
    drawing.drawGuideLine({kAxisReach, gy, gz, 1.0f}, {-kAxisReach, gy, gz, 1.0f}, 1.5f);
    drawing.flushLines(kAxisXColour);
    drawing.drawGuideLine({gx, gy, kAxisReach, 1.0f}, {gx, gy, -kAxisReach, 1.0f}, 1.5f);
    drawing.flushLines(kAxisZColour);
    drawing.drawGuideLine({gx, kAxisReach, gz, 1.0f}, {gx, -kAxisReach, gz, 1.0f}, 1.5f);
    drawing.flushLines(kAxisYColour);
  }

  if (settings.cameraFreeView != 0) {
    // This camera's own frame, seen through the edit camera.
    const XMath::Vector eye = point(camera.eye);
    const auto c = CameraGeometry::imagePlaneCorners(makeViewMatrix(camera), camera.extra[5],
                                                     static_cast<float>(frame.width()),
                                                     static_cast<float>(frame.height()));
    drawing.drawGuideLine(eye, point(camera.target), 1.5f);
    for (int i = 0; i < 4; ++i) drawing.drawGuideLine(eye, c[static_cast<std::size_t>(i)], 1.5f);
    drawing.flushLines(kFrameColour);
    for (int i = 0; i < 4; ++i)
      drawing.drawGuideLine(c[static_cast<std::size_t>(i)],
                            c[static_cast<std::size_t>((i + 1) % 4)], 1.0f);
    drawing.flushLines(kFrameColour);
    drawing.fillTriangle({eye, c[0], c[1]}, kShadowFace);
    drawing.fillTriangle({eye, c[1], c[2]}, kShadowFace);
    drawing.fillTriangle({eye, c[3], c[0]}, kShadowFace);
    drawing.fillTriangle({eye, c[2], c[3]}, kLitFace);
  }
}

}  // namespace Effect
