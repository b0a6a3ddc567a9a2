#include "render/transform.h"

#include "gpu/render_buffer.h"
#include "render/control_state.h"

namespace Render {

Transform Transform::of(const Effect::OutputView& view) {
  return {view.x,      view.y,      view.z,      view.rotationX, view.rotationY, view.rotationZ,
          view.scaleX, view.scaleY, view.scaleZ, view.centerX,   view.centerY,   view.centerZ};
}

XMath::Matrix Transform::getAnchorMatrix() const {
  const XMath::Matrix scaled = XMath::scaling(scaleX, scaleY, scaleZ);
  const XMath::Matrix turnedZ = XMath::multiply(scaled, XMath::rotationZ(XMath::toRadians(rotationZ)));
  const XMath::Matrix turnedY = XMath::multiply(turnedZ, XMath::rotationY(XMath::toRadians(rotationY)));
  return XMath::multiply(turnedY, XMath::rotationX(XMath::toRadians(rotationX)));
}

XMath::Matrix Transform::getMatrix() const {
  using namespace XMath;
  return multiply(multiply(translation(-centerX, -centerY, -centerZ), getAnchorMatrix()),
                  translation(positionX, positionY, positionZ));
}

XMath::Matrix getDefaultView(const Effect::OutputView& view, unsigned width, unsigned height) {
  using namespace XMath;
  const float w = static_cast<float>(width);
  const float h = static_cast<float>(height);
  const Matrix a = translation(-view.x, -view.y, 1024.0f);
  Matrix p;
  p.m[0][0] = 2048.0f / w;
  p.m[1][1] = -2048.0f / h;
  p.m[2][3] = 1.0f;
  p.m[3][2] = 51.2f;
  const Matrix b = translation(2.0f * view.x / w, -2.0f * view.y / h, 0.0f);
  return multiply(multiply(a, p), b);
}

XMath::Matrix getViewMatrix(const Effect::OutputView& view) {
  if (const CameraControlState* camera = published<CameraControlState>(view.cameraControl))
    return camera->viewProjection;
  if (const GroupControlState* group = published<GroupControlState>(view.groupControl))
    return group->viewMatrix;
  const unsigned width = view.target ? static_cast<unsigned>(view.target->width()) : 0u;
  const unsigned height = view.target ? static_cast<unsigned>(view.target->height()) : 0u;
  return getDefaultView(view, width, height);
}

XMath::Matrix getObjectMatrix(const Effect::OutputView& view) {
  const XMath::Matrix own = Transform::of(view).getMatrix();
  if (const GroupControlState* group = published<GroupControlState>(view.groupControl))
    return XMath::multiply(own, group->worldMatrix);
  return own;
}

XMath::Matrix getViewProjectionMatrix(const Effect::OutputView& view) {
  const CameraControlState* camera = published<CameraControlState>(view.cameraControl);
  const GroupControlState* group = published<GroupControlState>(view.groupControl);
  if (camera && group) return XMath::multiply(group->worldMatrix, camera->viewProjection);
  if (camera) return camera->viewProjection;
  if (group) return XMath::multiply(group->worldMatrix, group->viewMatrix);
  return XMath::multiply(XMath::translation(0.0f, 0.0f, -view.z), getViewMatrix(view));
}

XMath::Matrix getWorldViewMatrix(const Effect::OutputView& view) {
  return XMath::multiply(getObjectMatrix(view), getViewMatrix(view));
}

}  // namespace Render
