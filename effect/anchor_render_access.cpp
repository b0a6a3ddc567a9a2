#include "effect/anchor_render_access.h"

#include <atomic>

namespace Effect {

namespace {
const AnchorRenderAccess headless;
std::atomic<const AnchorRenderAccess*> installed{nullptr};
}  // namespace

OutputView AnchorRenderAccess::getOutputView(EffectContext& context) const {
  return context.outputView;
}

XMath::Matrix AnchorRenderAccess::getObjectMatrix(const OutputView& view) const {
  XMath::Matrix m = XMath::translation(-view.centerX, -view.centerY, -view.centerZ);
  m = XMath::multiply(m, XMath::scaling(view.scaleX, view.scaleY, view.scaleZ));
  m = XMath::multiply(m, XMath::rotationX(XMath::toRadians(view.rotationX)));
  m = XMath::multiply(m, XMath::rotationY(XMath::toRadians(view.rotationY)));
  m = XMath::multiply(m, XMath::rotationZ(XMath::toRadians(view.rotationZ)));
  return XMath::multiply(m, XMath::translation(view.x, view.y, view.z));
}

XMath::Matrix AnchorRenderAccess::getViewMatrix(const OutputView&) const {
  return XMath::identity();
}

XMath::Matrix AnchorRenderAccess::getViewProjectionMatrix(const OutputView&) const {
  return XMath::identity();
}

XMath::Matrix AnchorRenderAccess::getAnchorMatrix(const OutputView& view) const {
  return getObjectMatrix(view);
}

bool AnchorRenderAccess::isGroupTransformPlain(const OutputView&) const { return true; }

XMath::Matrix AnchorRenderAccess::getGroupMatrix(const OutputView&) const {
  return XMath::identity();
}

void AnchorRenderAccess::storeCameraFocusPoint(const OutputView&, const XMath::Vector&) const {}

bool AnchorRenderAccess::isClippingObjectVisible() const { return true; }

void setAnchorRenderAccess(const AnchorRenderAccess* access) { installed.store(access); }

const AnchorRenderAccess& anchorRenderAccess() {
  const AnchorRenderAccess* access = installed.load();
  return access ? *access : headless;
}

XMath::Matrix getWorldViewMatrix(const OutputView& view) {
  const AnchorRenderAccess& render = anchorRenderAccess();
  return XMath::multiply(render.getObjectMatrix(view), render.getViewMatrix(view));
}

}  // namespace Effect
