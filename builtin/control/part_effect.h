#pragma once
// "部分フィルタ": applies the filters of the layers below to the frame drawn so far, only inside
// (or outside) a mask figure it places.
#include <memory>

#include "builtin/filter/filter_shader_set.h"
#include "effect/effect_item_check.h"
#include "effect/effect_item_mask_select.h"
#include "effect/effect_item_number.h"
#include "effect/move_xy_anchor_effect.h"

namespace Effect {

class PartEffect : public MoveXYAnchorEffect {
 public:
  static constexpr const char* kName = "部分フィルタ";
  // The blend shader (the filtered frame and the mask's weight as two outputs) and its
  // 32-byte constants.
  class CommonResource : public FilterShaderSet {
   public:
    CommonResource();
  };

  PartEffect();
  std::shared_ptr<EffectBase> create() const override;
  // Lets the mask start loading its file or scene frame.
  void preInputVideo(EffectContext& context) override;
  // The context's view with the position and the centre cleared.
  OutputView getOutputView(EffectContext& context) override;
  // Filters a copy of the frame through this object's chain and blends it back into the
  // frame inside the mask, or outside it when the mask is inverted.
  void controlVideo(EffectContext& context) override;
  // No handles without a mask figure.
  void setAnchor(EffectContext& context, const EffectEntry& entry, int width,
                 int height) override;
  void createResource() override;
  void shareResource(const EffectBase& prototype) override;

  EffectItemNumber x;
  EffectItemNumber y;
  EffectItemNumber rotation;
  EffectItemNumber size;
  EffectItemNumber aspect;
  EffectItemNumber blur;
  EffectItemMaskSelect mask;
  EffectItemCheck fitSceneLength;
  EffectItemCheck invert;

 private:
  // The prototype's shader; an instance made outside the registry makes its own.
  std::shared_ptr<CommonResource> resource_;
};

}  // namespace Effect
