#pragma once
// What the anchor effects ask of the render engine, answered from its views and the
// published state of the governing camera and group controls. The program installs it while
// the render service lives.
#include "effect/anchor_render_access.h"

namespace Render {

class RenderAnchorAccess : public Effect::AnchorRenderAccess {
 public:
  Effect::OutputView getOutputView(Effect::EffectContext& context) const override;
  XMath::Matrix getObjectMatrix(const Effect::OutputView& view) const override;
  XMath::Matrix getViewMatrix(const Effect::OutputView& view) const override;
  XMath::Matrix getViewProjectionMatrix(const Effect::OutputView& view) const override;
  XMath::Matrix getAnchorMatrix(const Effect::OutputView& view) const override;
  bool isGroupTransformPlain(const Effect::OutputView& view) const override;
  XMath::Matrix getGroupMatrix(const Effect::OutputView& view) const override;
  void storeCameraFocusPoint(const Effect::OutputView& view,
                             const XMath::Vector& point) const override;
  bool isClippingObjectVisible() const override;
};

}  // namespace Render
