#pragma once
// "カメラ制御": puts the layers below under a 3-D camera placed at X, Y, Z and looking at a target.
#include <array>
#include <memory>

#include "builtin/control/camera_guide_resource.h"
#include "effect/effect_item_integer.h"
#include "effect/effect_item_number.h"
#include "effect/move_effect.h"
#include "render/control_state.h"

namespace Effect {

class CameraControl : public MoveEffect, public Render::CameraControlState {
 public:
  static constexpr const char* kName = "カメラ制御";

  using CommonResource = CameraGuideResource;

  CameraControl();
  std::shared_ptr<EffectBase> create() const override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;
  // "対象レイヤー数": how many following layers the camera governs (0: all).
  EffectItemLayerRange* getLayerRange() override;
  // The begin phase (no camera linked yet): evaluates the camera and publishes its view and
  // projection. The end phase (the camera's range drawn): lights the camera's objects when
  // the frame has lights, draws the preview's guides, resolves the transparent layer of the
  // camera's objects into the frame and runs the camera filters' control steps.
  void controlVideo(EffectContext& context) override;

  // The point the camera looks at for the frame: relative to the camera position
  // `position` when the target layer is statically the camera's own, else the target
  // layer's object position; both plus the target offset.
  XMath::Vector computeTarget(EffectContext& context, const XMath::Vector& position) const;
  // Whether the target follows the camera: "目標レイヤー" keeps one static value naming the
  // camera object's own layer.
  bool isTargetRelative(const EffectContext& context) const;

  // The preview's handles, added after the end phase of a preview frame: see
  // addCameraAnchors. Nothing while the effect or the camera's layer is locked or the effect
  // is not in its object's chain.
  void updateAnchor(EffectContext& context, int width, int height) override;
  // The cross at the target of the focus camera, the mode icon (first camera of a pass only),
  // the shapeless handle that takes every right-button drag, and in free view the handles
  // of the camera's position as any moved object has them.
  void addCameraAnchors(EffectContext& context, const EffectEntry& entry);
  // Presses on the mode and clipping icons toggle those views; right-button drags move the
  // camera (dragCamera); drags, presses and double clicks on points as for any moved object.
  bool anchorEvent(Anchor::AnchorEvent& event) override;
  // One right-button drag step on the camera handle. A camera whose target follows it pans
  // (Ctrl: flies along its view); any other orbits about its target (Shift: pans both, Ctrl:
  // zooms). In free view the scene's edit camera moves instead of the items. A camera that
  // may not be edited at the handle's point stays as it is and the cursor says so.
  void dragCamera(Anchor::AnchorEvent& event);
  // Whether the handle's point may take new position and target values: the current value
  // between points only while every track is static; a midpoint only where the moving tracks
  // keep one value per point; the start and the end always.
  bool isCameraEditable(const Anchor::AnchorEvent& event) const;

  // The look-to view of a camera record turned by its roll.
  static XMath::Matrix makeViewMatrix(const Edit::CameraView& camera);
  // The projection for focal distance d on a W x H frame (depth d / (20 z), no far plane).
  static XMath::Matrix makeProjection(float focalDistance, float width, float height);
  // The unit rays from the camera's image-plane corners towards its eye, in the order
  // top-left, top-right, bottom-right, bottom-left of the picture.
  static std::array<XMath::Vector, 4> getCornerRays(const Edit::CameraView& camera, float width,
                                                    float height);
  // The preview's guides into the frame through the camera in effect: the ground grid, the
  // axes through `guidePoint`, and in free view this camera's own frame.
  void drawGuides(EffectContext& context, Media::RenderBuffer& frame);

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber z;
  EffectItemNumber targetX;
  EffectItemNumber targetY;
  EffectItemNumber targetZ;
  EffectItemLayerObject targetLayer;
  EffectItemNumber roll;
  EffectItemNumber fieldOfView;
  EffectItemLayerRange layerRange;

  // The target offset "目標X", "目標Y", "目標Z": moved together like the position.
  NumberItemList targetItems;

 private:
  // The prototype's guide shaders; an instance made outside the registry makes its own.
  std::shared_ptr<CommonResource> resource_;
};

}  // namespace Effect
