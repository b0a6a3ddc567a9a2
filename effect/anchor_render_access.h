#pragma once
// What the anchor effects ask of the render engine, which lies above the effect framework:
// the view an object is drawn with, the matrices that place it, what the governing group
// and camera controls hold, and the preview's clipping-view switch. The render engine
// implements it and the program installs it at start-up.
//
// Without one (a run without a render engine) an object's view is the context's own, the
// object matrix is a plain transform of that view (centre, scale, rotations about X, Y and
// Z, position), the view and projection are the identity, a governing group counts as a
// plain 2-D translation, a camera takes no focus point and clipping objects are shown.
#include "effect/effect_context.h"
#include "effect/output_view.h"
#include "system/xmath.h"

namespace Effect {

class AnchorRenderAccess {
 public:
  virtual ~AnchorRenderAccess() = default;
  // The view of the object's output effect at the context's time.
  virtual OutputView getOutputView(EffectContext& context) const;
  // The object's world matrix, with the governing group's when there is one.
  virtual XMath::Matrix getObjectMatrix(const OutputView& view) const;
  // The camera's view when a camera governs the object, else the group's, else the default
  // view for the frame's size.
  virtual XMath::Matrix getViewMatrix(const OutputView& view) const;
  // The view combined with the projection: what handles keep as their source matrix.
  virtual XMath::Matrix getViewProjectionMatrix(const OutputView& view) const;
  // The matrix size handles are placed with.
  virtual XMath::Matrix getAnchorMatrix(const OutputView& view) const;
  // Whether the governing group only moves in the plane (zoom 100, Z and rotations 0).
  virtual bool isGroupTransformPlain(const OutputView& view) const;
  // The governing group's world matrix.
  virtual XMath::Matrix getGroupMatrix(const OutputView& view) const;
  // Hands the focus object's position to the camera control that governs it.
  virtual void storeCameraFocusPoint(const OutputView& view, const XMath::Vector& point) const;
  // The render setting that shows clipping objects in the preview.
  virtual bool isClippingObjectVisible() const;
};

// Installs the access (nullptr removes it). Not while a frame renders.
void setAnchorRenderAccess(const AnchorRenderAccess* access);
// The installed access, or the headless one.
const AnchorRenderAccess& anchorRenderAccess();

// The object's matrix times its view matrix: where the object lands in view space.
XMath::Matrix getWorldViewMatrix(const OutputView& view);

}  // namespace Effect
